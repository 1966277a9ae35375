// The dictionary file engine: opening a slot's six files, locating and reading
// entries, adding and deleting the user's entries, and the action log with
// undo and redo. Results: 1 done, 2 not found / already there, -1 file error;
// list operations return the number of rows filled.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "collation.h"
#include "dictionary_settings.h"
#include "engine_display.h"
#include "core/files/file_system.h"
#include "read_cache.h"
#include "records.h"
#include "slots.h"
#include "write_watch.h"

namespace lex {

// Handle numbers of a slot's open files.
enum SlotHandle : int {
    kCdWordsHandle = 1,
    kUserWordsHandle = 2,
    kNodeHandle = 3,
    kUserTranslationsHandle = 4,
    kKeyIndexHandle = 5,
    kCdTranslationsHandle = 6,
};

// The node last read with its texts.
struct NodeBuffer {
    WordNode Node;
    std::string Word;
    std::string Pronunciation;
};

// One row of the lookup list.
struct ResultRow {
    int32_t Offset = 0;  // of the node in the node file
    WordNode Node;
    std::string Word;
    std::string Pronunciation;
};

// Output of the text translator's chain writer: `slot` is the slot whose
// language the text is in.
class TranslationOutput {
public:
    virtual ~TranslationOutput() = default;
    virtual bool Write(const std::string& text, int slot) = 0;
};

// Why an engine operation gave -1 (see FailureOf).
enum class EngineFailure {
    None,
    WriteRefused,  // the system refused a write (a full disk, a file that takes no more)
    Damaged,       // the files were read, and what they hold is not a sound slot
    NotOpened,     // a file cannot be opened (missing, or held by another program)
};

// The caller-owned working record of the engine (one per program).
struct EngineContext {
    EngineContext(const DictionarySettings& settings, FileSystem& files, EngineDisplay& display,
                  EngineHooks& hooks)
        : Settings(settings), Watch(files), Files(Watch), Display(display), Hooks(hooks) {}
    EngineContext(const EngineContext&) = delete;
    EngineContext& operator=(const EngineContext&) = delete;
    ~EngineContext();

    const DictionarySettings& Settings;
    // The caller's file system as the engine uses it (Files): it notes the
    // writes the system refused.
    WriteWatch Watch;
    FileSystem& Files;
    EngineDisplay& Display;
    EngineHooks& Hooks;

    FileHandle Handles[7] = {kNoFile, kNoFile, kNoFile, kNoFile, kNoFile, kNoFile, kNoFile};
    int OpenSlot = -1;
    int OpenMode = 0;  // of the open slot's Disk files
    // What the engine found wrong since the slot's files were last opened or
    // a command began (None: nothing but what Watch noted).
    EngineFailure Failure = EngineFailure::None;
    // While a read may run again (a writer at work), the reports of
    // impossible file states wait here; only those of the last attempt go out.
    std::vector<std::pair<std::string, std::string>>* HeldReports = nullptr;
    int ArchiveMode = 0;
    // A lookup opens the shipped (CD) files of its slot only when it reads a
    // node that lives there: the slot whose CD files may be opened so.
    int CdOnDemandSlot = -1;
    // Blocks read by the running lookup; dropped when the slot's files close.
    BlockCache Cache;
    bool ReversedEntry = false;  // the user types right to left

    // Results of the last search.
    int32_t FoundOffset = 0;
    int32_t InsertPosition = -1;
    int32_t ExactMatch = -1;
    KeyRecord LastKey;
    NodeBuffer Node;

    // The action log.
    FileHandle LogHandle = kNoFile;
    ActionRecord LogState;  // the current count is in its Node field
    int32_t LogRecordsWritten = 0;
    uint8_t ActionSlot = 0;
    int32_t CurrentGroup = 0;
    // A step that failed half-way and could not be taken back: the note of
    // its word count stays in the log when it closes, for the next settle.
    bool KeepLogNote = false;
    // The records an Undo left for Redo, from RedoFrom on, when this
    // command's first record was written over them; put back when the
    // command leaves nothing in the log. RedoFrom -1: none kept.
    std::string RedoRecords;
    int32_t RedoFrom = -1, RedoWritten = 0;
};

// Why the operation that just gave -1 failed: a write the system refused
// since the slot's files were opened (or the command began) comes first; then
// what the engine noted (a file it could not open); else the files were read
// and found damaged.
EngineFailure FailureOf(const EngineContext& ctx);
// Starts a new account of failures (OpenSlotFiles and RunSlotCommand do).
void RestartFailures(EngineContext& ctx);

// --- Slot files --------------------------------------------------------------
int OpenSlotFiles(EngineContext& ctx, int slot, int mode);
int CloseSlotFiles(EngineContext& ctx);
int CreateDictionaryFiles(EngineContext& ctx, const std::string& keyIndexPath,
                          const std::string& nodePath, const std::string& userWordsPath,
                          const std::string& cdWordsPath, const std::string& userTranslationsPath,
                          const std::string& cdTranslationsPath);
// CreateDictionaryFiles with the slot's paths from the settings.
int CreateSlotFiles(EngineContext& ctx, int slot);
int AdjustWordCount(EngineContext& ctx, int32_t delta);
// The word count of the open slot, -1 on a read error.
int32_t ReadWordCount(EngineContext& ctx);

// --- Reading (the slot open unless noted) --------------------------------------
// Functions that work on the open slot take its collation from ctx.OpenSlot.
int ReadNodeAt(EngineContext& ctx, int32_t offset);  // node and texts into ctx.Node
int ReadNodeTexts(EngineContext& ctx);
int KeyIndexPosition(EngineContext& ctx, const std::string& word);  // key index open
int LocateWord(EngineContext& ctx, const std::string& word);
int FindWord(EngineContext& ctx, const std::string& word);
int StepToLiveNode(EngineContext& ctx, int32_t offset, ResultRow* row, int direction,
                   int readTexts);
// Open `slot` themselves and close it again.
int LookupWord(EngineContext& ctx, const std::string& word, std::vector<ResultRow>& rows,
               int slot);
// The translator's two lookups read the files again when they find them
// inconsistent (see kReadAttempts).
int FindCandidates(EngineContext& ctx, const std::string& word, std::vector<ResultRow>& rows,
                   int slot);
int LookupTranslations(EngineContext& ctx, const std::string& word, TranslationOutput& out,
                       int slot);
// Rows of the current slot from the node at `offset` on (opens its files itself).
int FillRowsFromNode(EngineContext& ctx, int32_t offset, std::vector<ResultRow>& rows);
// The translations of the open slot, else of the current slot (opened for the call).
int ShowTranslations(EngineContext& ctx, int32_t firstTranslation, uint8_t nodeFlags);
int WriteTranslationChain(EngineContext& ctx, int32_t firstTranslation, uint8_t nodeFlags,
                          TranslationOutput& out);
// The live translations of a chain of the open slot, grammar notes with the
// separator in front. 1, -1 on a read error or a corrupt chain.
int ReadLiveTranslations(EngineContext& ctx, int32_t firstTranslation, uint8_t nodeFlags,
                         std::vector<std::string>& out);

// A reader beside a writer: a step of a walk or a cursor, or a translator's
// lookup, that finds the files inconsistent reads them again after a short
// wait, as another program may be linking a node or a translation there. It
// gives -1 (damaged) after this many attempts when no other program holds
// the slot's files for writing, and after at most the second number while
// one does.
constexpr int kReadAttempts = 5;
constexpr int kReadAttemptsBesideWriter = 50;
constexpr int kReadAgainPauseMs = 20;

// --- Cursor over a slot ---------------------------------------------------------
// These open the slot's files for the call and close them again; when the
// same slot is open already (ctx.OpenSlot), its open files serve.

// A word's place in the slot's key index.
struct KeyPosition {
    int32_t Position = -1;  // record number where the word's key is or would go; -1 unknown
    int32_t Records = 0;    // records in the key index
};
// 1; -1 when the key index cannot be opened. Position stays -1 when the key
// index holds no record or cannot be read.
int WordKeyPosition(EngineContext& ctx, int slot, const std::string& word, KeyPosition& out);

// The node that key record `position` points to; a position outside the key
// index reads its first or last record. 1; 2 when the key index holds no
// record or the record cannot be read; -1 when the key index cannot be opened.
int KeyRecordNode(EngineContext& ctx, int slot, int32_t position, int32_t& node);

// A walk along the node list, resumed step by step. The caller keeps it
// between steps; it holds no open file.
struct NodeWalk {
    int Slot = 0;
    int32_t Next = kLowSentinelNode;  // node the next step reads first
    int Direction = 1;                // 1 along the next links, -1 along the previous ones
    bool WithTranslations = false;    // deliver each entry's live translation records
    int64_t Visited = 0;              // nodes read by all steps so far
    bool End = false;                 // a link 0 was reached
};
// A walk that starts at `node`.
NodeWalk WalkFromNode(int slot, int32_t node, int direction = 1);
// A walk that starts at the node of key record `position` (see KeyRecordNode).
int WalkFromKey(EngineContext& ctx, int slot, int32_t position, NodeWalk& walk);

// One translation record of an entry, its text as stored (a grammar note
// starts with kGrammarNoteByte).
struct EntryTranslation {
    int32_t Offset = 0;
    TranslationHead Head;
    std::string Text;
};
// One live entry delivered by a walk.
struct WalkEntry : ResultRow {
    std::vector<EntryTranslation> Translations;  // live ones, with WithTranslations
};
// One step: reads at most `maxNodes` nodes and stops after `maxEntries` live
// entries (0: no limit); appends the live entries to `out`. Gives the nodes
// read in this step (0 once the walk has ended); -1 when a file cannot be
// opened or read, or the walk has read more nodes than the node file holds
// (a cycle in a damaged list). A step that finds the files inconsistent is
// read again from where it began (see kReadAttempts).
int StepNodeWalk(EngineContext& ctx, NodeWalk& walk, int maxNodes, int maxEntries,
                 std::vector<WalkEntry>& out);

// A walk over a slot's user nodes in node-file order (the order in which the
// words were first added), resumed step by step, for the jobs that copy the
// user's own records (archive save, quick export). Unlike the node walk it
// delivers deleted user nodes too, each with every record of its chain; nodes
// whose texts still lie in the shipped files are passed over. The caller keeps
// it between steps; it holds no open file.
struct NodeFileCursor {
    int Slot = 0;
    int64_t Next = 2;   // record number of the node the next step reads (0 and 1 are the sentinels)
    int64_t Count = 0;  // whole node records in the node file when the cursor began
};
// One user node with its whole translation chain in chain order, deleted
// records included.
struct StoredEntry : ResultRow {
    std::vector<EntryTranslation> Translations;
};
// Begins a cursor over `slot`. 1; 2 when the node file is shorter than its
// header and the two sentinels (a damaged slot); -1 when the slot's files
// cannot be opened.
int BeginNodeFileCursor(EngineContext& ctx, int slot, NodeFileCursor& cursor);
// One step: reads at most `maxNodes` node records and appends the user nodes
// among them to `out`. Gives the records read in this step (0 at the end);
// -1 when a file cannot be opened or read, or a text or a chain lies outside
// its file, links back or is longer than the file holds. A step that finds
// the files inconsistent is read again (see kReadAttempts).
int StepNodeFileCursor(EngineContext& ctx, NodeFileCursor& cursor, int maxNodes,
                       std::vector<StoredEntry>& out);

// The line between the translations and the grammar notes of an entry.
constexpr char kSeparatorLine[] = "----------------------------------------------------";
static_assert(sizeof(kSeparatorLine) == 53, "the separator line is 52 dashes");

// --- Editing (the slot open with mode 34, the action log open) -----------------
// The word is located in the open slot, with its collation.
int AddEntry(EngineContext& ctx, const std::string& word, const std::string& pronunciation,
             std::string& translation, int origin);
int DeleteWord(EngineContext& ctx, const std::string& word);
int DeleteTranslation(EngineContext& ctx, const std::string& word, std::string& translation);
int MoveNodeToDisk(EngineContext& ctx);
void SetArchiveMode(EngineContext& ctx);

// --- Action log ----------------------------------------------------------------
// How an empty action log is made: in the place of a log that is there (the
// data-file initialisation empties every log), or only where none is (a log
// registered for a new Disk folder; one that appears meanwhile is left alone,
// a file shorter than an empty log is no log and is replaced).
enum class LogCreation { Empty, OnlyWhenMissing };
// Writes an empty log (records written 0 and the zero state, 18 bytes): 1, or
// -1 when it cannot be created or written whole. A failure leaves no short
// log behind: an emptied log stays as it was, a new one is not there.
int CreateActionLog(FileSystem& files, const std::string& path, LogCreation how);
// Whether a log is at `path`: a file at least as long as an empty log.
bool ActionLogThere(FileSystem& files, const std::string& path);
// CreateActionLog (ctx.Files, path, LogCreation::Empty).
int CreateActionLog(EngineContext& ctx, const std::string& path);
int OpenActionLog(EngineContext& ctx);
void SetActionSlot(EngineContext& ctx, int slot);
int AppendActionRecord(EngineContext& ctx, uint8_t action, int32_t node, int32_t translation);
void CloseActionLog(EngineContext& ctx);
int CanUndo(EngineContext& ctx);
int CanRedo(EngineContext& ctx);
int UndoLastAction(EngineContext& ctx);
int RedoAction(EngineContext& ctx);

// One user command on one slot: opens the action log (a new action group) and
// the slot's files for writing, runs the edit, closes both again. Gives the
// edit's result, or kCommandNoAccess when the log or the slot's files cannot be
// opened for writing (another program is changing the vocabulary).
constexpr int kCommandNoAccess = -100;
int RunSlotCommand(EngineContext& ctx, int slot, const std::function<int()>& edit);

// One user command on a language pair: one action group over two sides. For
// each side that has an edit (an empty function skips the side), in order:
// opens the slot's files for writing, names the slot to the log, runs the
// edit, closes the files. A side's failure stops the command; what the sides
// before it wrote stays in the group, so one Undo takes all of it back.
// Gives 1 when every side given ran without an error, kCommandNoAccess when
// the log or a slot's files cannot be opened for writing, -1 when an edit
// gave -1 (a damaged file).
struct SlotEdit {
    int Slot = 0;
    std::function<int()> Edit;  // empty: nothing to do on this side
};
int RunSlotCommand(EngineContext& ctx, const SlotEdit& first, const SlotEdit& second);

}  // namespace lex
