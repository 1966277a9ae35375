// The dictionary file engine: opening a slot's six files, locating and reading
// entries, adding and deleting the user's entries, and the action log with
// undo and redo. Results: 1 done, 2 not found / already there, -1 file error;
// list operations return the number of rows filled.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "collation.h"
#include "dictionary_settings.h"
#include "engine_display.h"
#include "file_system.h"
#include "records.h"
#include "slots.h"

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

// The caller-owned working record of the engine (one per program).
struct EngineContext {
    EngineContext(const DictionarySettings& settings, FileSystem& files, EngineDisplay& display,
                  EngineHooks& hooks)
        : Settings(settings), Files(files), Display(display), Hooks(hooks) {}
    EngineContext(const EngineContext&) = delete;
    EngineContext& operator=(const EngineContext&) = delete;
    ~EngineContext();

    const DictionarySettings& Settings;
    FileSystem& Files;
    EngineDisplay& Display;
    EngineHooks& Hooks;

    FileHandle Handles[7] = {kNoFile, kNoFile, kNoFile, kNoFile, kNoFile, kNoFile, kNoFile};
    int OpenSlot = -1;
    int ArchiveMode = 0;
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
};

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
int ReadNodeAt(EngineContext& ctx, int32_t offset);  // node and texts into ctx.Node
int ReadNodeTexts(EngineContext& ctx);
int KeyIndexPosition(EngineContext& ctx, const std::string& word, int slot);  // key index open
int LocateWord(EngineContext& ctx, const std::string& word, int slot);
int FindWord(EngineContext& ctx, const std::string& word, int slot);
int StepToLiveNode(EngineContext& ctx, int32_t offset, ResultRow* row, int direction,
                   int readTexts);
// Opens and closes the slot itself.
int LookupWord(EngineContext& ctx, const std::string& word, std::vector<ResultRow>& rows,
               int slot);
int FillRowsFromNode(EngineContext& ctx, int32_t offset, std::vector<ResultRow>& rows);
int ShowTranslations(EngineContext& ctx, int32_t firstTranslation, uint8_t nodeFlags);
int FindCandidates(EngineContext& ctx, const std::string& word, std::vector<ResultRow>& rows,
                   int slot);
int LookupTranslations(EngineContext& ctx, const std::string& word, TranslationOutput& out,
                       int slot);
int WriteTranslationChain(EngineContext& ctx, int32_t firstTranslation, uint8_t nodeFlags,
                          TranslationOutput& out);
// The live translations of a chain of the open slot, grammar notes with the
// separator in front. 1, -1 on a read error or a corrupt chain.
int ReadLiveTranslations(EngineContext& ctx, int32_t firstTranslation, uint8_t nodeFlags,
                         std::vector<std::string>& out);

// --- Editing (the slot open with mode 34, the action log open) -----------------
int AddEntry(EngineContext& ctx, const std::string& word, const std::string& pronunciation,
             std::string& translation, int origin, int slot);
int DeleteWord(EngineContext& ctx, const std::string& word, int slot);
int DeleteTranslation(EngineContext& ctx, const std::string& word, std::string& translation,
                      int slot);
int MoveNodeToDisk(EngineContext& ctx);
void SetArchiveMode(EngineContext& ctx);

// --- Action log ----------------------------------------------------------------
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

}  // namespace lex
