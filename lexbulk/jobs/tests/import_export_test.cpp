// Import and export steppers against real slot files in a temporary folder.
#include "lexbulk/jobs/archive_jobs.h"
#include "core/files/testing/faulty_file_system.h"
#include "lexbulk/jobs/export_job.h"
#include "lexbulk/jobs/import_job.h"
#include "jobs_fixture.h"

namespace lextest {
namespace {

using lexbulk::ExportJob;
using lexbulk::ExportRequest;
using lexbulk::ImportJob;
using lexbulk::ImportPreview;
using lexbulk::ImportRequest;
using lexbulk::TextCode;

// Answers the previews from a list (then Yes) and records what it was shown.
class ScriptedPreview : public ImportPreview {
public:
    std::vector<Answer> Answers;
    std::vector<std::string> Shown;
    Answer Show(const lexbulk::TextEntry& e, int) override {
        Shown.push_back(e.word + "|" + e.pronunciation + "|" + e.translation);
        if (Shown.size() <= Answers.size()) return Answers[Shown.size() - 1];
        return kYes;
    }
};

class ImportExportTest : public BulkJobTest {
protected:
    ScriptedPreview preview;

    lex::JobState Import(const std::string& text, TextCode code = TextCode::kWindows1250, ImportJob* out = nullptr) {
        WriteFileBytes(Path("in.txt"), text);
        ImportJob local(ctx, &preview);
        ImportJob& job = out ? *out : local;
        ImportRequest r;
        r.Path = Path("in.txt");
        r.Code = code;
        job.SetRequest(r);
        return Run(job);
    }
    std::string Export(bool sorted, TextCode code = TextCode::kWindows1250, lex::JobState* state = nullptr,
                       int slot = 0) {
        ExportJob job(ctx);
        ExportRequest r;
        r.Path = Path("out.txt");
        r.Code = code;
        r.Sorted = sorted;
        r.Slot = slot;
        job.SetRequest(r);
        lex::JobState s = Run(job);
        if (state) *state = s;
        EXPECT_EQ(0, files.OpenCount());
        return ReadFileBytes(Path("out.txt"));
    }
};

TEST_F(ImportExportTest, ImportsEntriesCountsNewOnesAndIsOneUndoGroup) {
    ASSERT_EQ(1, Add("cherry", "tresen"));
    const auto before = Dump();
    ImportJob job(ctx, &preview);
    // Two entries, a repeat of one (not counted), an existing translation (not
    // counted), a word beginning with the grammar separator (skipped), LF line ends
    // and a last entry without a line end.
    const std::string text =
        "apple\r\n\xe6pl\r\njablko\r\nbanana\r\n\r\nban\xe1n\r\napple\r\n\xe6pl\r\njablko\r\n"
        "cherry\r\n\r\ntresen\r\n.note\r\n\r\nskipped\nfig\n\nfik";
    ASSERT_EQ(lex::JobState::Done, Import(text, TextCode::kWindows1250, &job));
    EXPECT_EQ(lex::kTextImportDone, job.MessageText());
    EXPECT_EQ(lex::kTextImportStatus, job.MessageCaption());
    EXPECT_EQ(3, job.Count());
    EXPECT_EQ(2, job.Duplicates());
    EXPECT_EQ(0, files.OpenCount());
    EXPECT_EQ(5u, preview.Shown.size());
    EXPECT_EQ((std::vector<std::string>{"apple|\xe6pl|jablko", "banana||ban\xe1n", "cherry||tresen", "fig||fik"}),
              Dump());
    // One Undo takes back the whole import.
    ASSERT_EQ(1, lex::UndoLastAction(ctx));
    EXPECT_EQ(before, Dump());
}

TEST_F(ImportExportTest, PreviewAnswers) {
    const std::string text = "a\r\n\r\n1\r\nb\r\n\r\n2\r\nc\r\n\r\n3\r\n";
    // Yes-and-no-more: no further preview; the rest is imported.
    preview.Answers = {ImportPreview::kYesNoMore};
    ASSERT_EQ(lex::JobState::Done, Import(text));
    EXPECT_EQ(1u, preview.Shown.size());
    EXPECT_EQ(3u, Dump().size());
    // No at the second entry fails the run; the first stays.
    preview = ScriptedPreview();
    preview.Answers = {ImportPreview::kYes, ImportPreview::kNo};
    ImportJob job(ctx, &preview);
    ASSERT_EQ(lex::JobState::Failed, Import("x\r\n\r\n1\r\ny\r\n\r\n2\r\n", TextCode::kWindows1250, &job));
    EXPECT_EQ(lex::kTextImportError, job.MessageText());
    EXPECT_EQ(0, files.OpenCount());
    EXPECT_EQ(4u, Dump().size());
}

// Esc while the import searches a long stretch of the file for a separator
// ends the run as the end of the file does: done, the entries so far kept,
// the files closed. Between entries there is no search to end.
TEST_F(ImportExportTest, EndingASearchEndsTheRunAsTheEndOfTheFile) {
    const std::string junk(5 * 16 * 1024, 'x');
    WriteFileBytes(Path("in.txt"), "a\r\n\r\n1\r\nb\r\n\r\n2\r\n" + junk + "\r\n\r\nlost\r\n");
    ImportJob job(ctx, &preview);
    ImportRequest r;
    r.Path = Path("in.txt");
    job.SetRequest(r);
    EXPECT_FALSE(job.EndSearch());  // not running
    ASSERT_TRUE(job.Start());
    // One unit per step, until the search has gone past the two entries.
    while (job.Step(lex::SystemClock(), std::chrono::microseconds(0)) && job.Count() < 2) {
    }
    ASSERT_EQ(2, job.Count());
    EXPECT_FALSE(job.Searching());  // an entry was just read
    EXPECT_FALSE(job.EndSearch());
    while (job.Step(lex::SystemClock(), std::chrono::microseconds(0)) && !job.Searching()) {
    }
    ASSERT_TRUE(job.Searching());
    EXPECT_TRUE(job.EndSearch());
    EXPECT_FALSE(job.Step(lex::SystemClock(), std::chrono::microseconds(0)));
    EXPECT_EQ(lex::JobState::Done, job.State());
    EXPECT_EQ(lex::kTextImportStatus, job.MessageCaption());
    EXPECT_EQ(lex::kTextImportDone, job.MessageText());
    EXPECT_TRUE(job.LastWord().empty());
    EXPECT_EQ(0, files.OpenCount());
    EXPECT_EQ((std::vector<std::string>{"a||1", "b||2"}), Dump());
}

TEST_F(ImportExportTest, ImportConvertsFromLatin2) {
    // c caron is 0x9F in 852, 0xE8 in 1250; a acute 0xA0 / 0xE1.
    ASSERT_EQ(lex::JobState::Done, Import("\x9f" "aj\r\n\r\nt\xa0\r\n", TextCode::kLatin2));
    EXPECT_EQ((std::vector<std::string>{"\xe8" "aj||t\xe1"}), Dump());
}

TEST_F(ImportExportTest, ImportErrors) {
    struct Case {
        const char* name;
        std::string templateText;
        std::string path;
        int caption, text;
    } cases[] = {
        {"missing file", lexbulk::kDefaultTemplateText, "none.txt", lex::kTextBulkWarningCaption,
         lex::kTextCannotOpenGivenFile},
        {"adjacent fields", "$O$P\r\n", "in.txt", lex::kTextFormatErrorCaption,
         lexbulk::TemplateCheckTextId(lexbulk::TemplateCheck::kAdjacentFields)},
        {"no translation", "$O\r\n", "in.txt", lex::kTextFormatErrorCaption,
         lexbulk::TemplateCheckTextId(lexbulk::TemplateCheck::kWrongFieldCount)},
    };
    WriteFileBytes(Path("in.txt"), "a\r\n\r\nb\r\n");
    const auto before = Snapshot();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ImportJob job(ctx, &preview);
        ImportRequest r;
        r.Path = Path(c.path);
        r.TemplateText = c.templateText;
        job.SetRequest(r);
        EXPECT_EQ(lex::JobState::Failed, Run(job));
        EXPECT_EQ(c.caption, job.MessageCaption());
        EXPECT_EQ(c.text, job.MessageText());
        EXPECT_EQ(0, files.OpenCount());
        EXPECT_EQ(before, Snapshot());
    }
    // The log cannot be opened for writing: nothing applied, the entry-locked message.
    const std::string log = settings.ActionLogPath;
    settings.ActionLogPath = Path("missing/akce1.idx");
    ImportJob job(ctx, &preview);
    ImportRequest r;
    r.Path = Path("in.txt");
    job.SetRequest(r);
    EXPECT_EQ(lex::JobState::Failed, Run(job));
    EXPECT_EQ(lex::kTextEntryLocked, job.MessageText());
    settings.ActionLogPath = log;
    EXPECT_EQ(0, files.OpenCount());
    EXPECT_EQ(before, Snapshot());
}

TEST_F(ImportExportTest, ExportWritesExactBytesInBothOrders) {
    ASSERT_EQ(1, Add("pear", "hruska", "pe\xe6"));
    ASSERT_EQ(1, Add("apple", "jablko"));
    ASSERT_EQ(1, Add("apple", ".n. noun"));  // a grammar note: written with the separator
    ASSERT_EQ(1, Add("apple", "gone"));
    ASSERT_EQ(1, DeleteTranslation("apple", "gone"));
    ASSERT_EQ(1, Add("date", "datle"));
    ASSERT_EQ(1, DeleteWord("date"));
    const std::string pear = "pear\r\npe\xe6\r\nhruska\r\n";
    const std::string apple = "apple\r\n\r\njablko\r\napple\r\n\r\n.n. noun\r\n";
    lex::JobState state;
    EXPECT_EQ(pear + apple, Export(false, TextCode::kWindows1250, &state));
    EXPECT_EQ(lex::JobState::Done, state);
    EXPECT_EQ(apple + pear, Export(true, TextCode::kWindows1250, &state));
    EXPECT_EQ(lex::JobState::Done, state);
}

TEST_F(ImportExportTest, ExportConvertsToLatin2AndEmptySlotGivesEmptyFile) {
    EXPECT_EQ("", Export(false));
    ASSERT_EQ(1, Add("\xe8" "aj", "tea"));
    EXPECT_EQ("\x9f" "aj\r\n\r\ntea\r\n", Export(false, TextCode::kLatin2));
}

TEST_F(ImportExportTest, ExportFailures) {
    ASSERT_EQ(1, Add("apple", "jablko"));
    lex::JobState state;
    // A failing write is reported, never OK.
    files.FailWritesTo = "out.txt";
    Export(false, TextCode::kWindows1250, &state);
    EXPECT_EQ(lex::JobState::Failed, state);
    files.FailWritesTo.clear();
    // A failed or cancelled export leaves the file that was there as it was,
    // and says that writing failed, not that the file could not be opened.
    WriteFileBytes(Path("out.txt"), "previous");
    files.FailWritesTo = "out.txt";
    ExportJob failing(ctx);
    ExportRequest request;
    request.Path = Path("out.txt");
    failing.SetRequest(request);
    EXPECT_EQ(lex::JobState::Failed, Run(failing));
    EXPECT_EQ(lex::kTextWriteFailed, failing.MessageText());
    EXPECT_EQ(lex::kTextBulkWarningCaption, failing.MessageCaption());
    files.FailWritesTo.clear();
    EXPECT_EQ("previous", ReadFileBytes(Path("out.txt")));
    EXPECT_FALSE(std::filesystem::exists(Path("out.txt.tmp")));
    ExportJob cancelled(ctx);
    request.Sorted = true;
    cancelled.SetRequest(request);
    ASSERT_TRUE(cancelled.Start());
    EXPECT_TRUE(std::filesystem::exists(Path("out.txt.tmp")));
    cancelled.Cancel();
    EXPECT_EQ(0, files.OpenCount());
    EXPECT_EQ("previous", ReadFileBytes(Path("out.txt")));
    EXPECT_FALSE(std::filesystem::exists(Path("out.txt.tmp")));
    // A node file cut inside its sentinels is a corrupt slot, not an empty export.
    WriteFileBytes(settings.NodePaths[1], ReadFileBytes(settings.NodePaths[1]).substr(0, 50));
    ExportJob job(ctx);
    ExportRequest r;
    r.Path = Path("out.txt");
    r.Slot = 1;
    job.SetRequest(r);
    EXPECT_EQ(lex::JobState::Failed, Run(job));
    EXPECT_EQ(lex::kTextDataFilesCorrupted, job.MessageText());
    EXPECT_EQ(0, files.OpenCount());
}

// The export and the archive save with every change failed, every write
// written short and a kill before every change, in turn: the file under the
// user's name is the one that was there or the whole new one, never a part,
// and the job says Done only of the whole new one.
TEST_F(ImportExportTest, OutputFilesUnderEveryFault) {
    AddFruit();
    ASSERT_EQ(1, Add("sun", "slunce", "", 1));
    struct Writer {
        const char* name;
        std::string file;
        std::function<std::unique_ptr<lexbulk::BulkJob>()> make;
    } writers[] = {
        {"quick export", "out.txt",
         [&] {
             auto job = std::make_unique<ExportJob>(ctx);
             ExportRequest r;
             r.Path = Path("out.txt");
             job->SetRequest(r);
             return std::unique_ptr<lexbulk::BulkJob>(std::move(job));
         }},
        {"sorted export", "out.txt",
         [&] {
             auto job = std::make_unique<ExportJob>(ctx);
             ExportRequest r;
             r.Path = Path("out.txt");
             r.Sorted = true;
             job->SetRequest(r);
             return std::unique_ptr<lexbulk::BulkJob>(std::move(job));
         }},
        {"archive save", "a.ars",
         [&] {
             auto job = std::make_unique<lexbulk::ArchiveSaveJob>(ctx);
             lexbulk::SlotSelection slots{};
             slots[0] = slots[1] = true;
             job->SetRequest(Path("a.ars"), slots);
             return std::unique_ptr<lexbulk::BulkJob>(std::move(job));
         }},
    };
    for (const Writer& w : writers) {
        SCOPED_TRACE(w.name);
        const std::string target = Path(w.file);
        WriteFileBytes(target, "previous");
        const int changes = files.Changes, writes = files.Writes;
        ASSERT_EQ(lex::JobState::Done, Run(*w.make()));
        const std::string whole = ReadFileBytes(target);
        ASSERT_NE("previous", whole);
        for (const lex::testing::FaultCase& fault :
             lex::testing::FaultCases(files.Changes - changes, files.Writes - writes)) {
            SCOPED_TRACE(fault.Name());
            WriteFileBytes(target, "previous");
            std::filesystem::remove(target + ".tmp");
            fault.Apply(files);
            const lex::JobState state = Run(*w.make());
            files.ClearFaults();
            const std::string now = ReadFileBytes(target);
            EXPECT_TRUE(now == "previous" || now == whole);
            EXPECT_EQ(state == lex::JobState::Done, now == whole);
            EXPECT_EQ(0, files.OpenCount());
            if (fault.kind != lex::testing::FaultCase::kKilled && state != lex::JobState::Done) {
                EXPECT_FALSE(std::filesystem::exists(target + ".tmp"));
            }
        }
    }
}

TEST_F(ImportExportTest, ExportThenImportReproducesEntriesInEveryCode) {
    for (TextCode code : {TextCode::kWindows1250, TextCode::kLatin2, TextCode::kKamenicky}) {
        SCOPED_TRACE(static_cast<int>(code));
        ASSERT_EQ(1, lex::CreateSlotFiles(ctx, 0));
        ASSERT_EQ(1, lex::CreateSlotFiles(ctx, 1));
        ASSERT_EQ(1, Add("\xe8" "erven\xfd", "red", "x"));
        ASSERT_EQ(1, Add("\x9e" "lu\x9d" "ou\xe8k\xfd", "yellow"));
        ASSERT_EQ(1, Add("\xe1" "bc", "\xe9" "f"));
        const auto before = Dump();
        const std::string text = Export(true, code);
        ASSERT_EQ(1, lex::CreateSlotFiles(ctx, 0));
        preview.Answers = {ImportPreview::kYesNoMore};
        preview.Shown.clear();
        ASSERT_EQ(lex::JobState::Done, Import(text, code));
        EXPECT_EQ(before, Dump());
    }
}

}  // namespace
}  // namespace lextest

namespace lextest {
namespace {

// Turns every entry of slot 0 into a shipped one: its texts copied into the
// CD files (the words after the sentinels' texts, the translations at the same
// offsets), its node and translation flags "CD".
void MakeShipped(lex::DictionarySettings& s) {
    Bytes cdWords = ReadFileBytes(s.CdWordsPaths[0]);
    const int32_t shift = static_cast<int32_t>(cdWords.size()) - static_cast<int32_t>(lex::kFileHeaderSize);
    WriteFileBytes(s.CdWordsPaths[0], cdWords + ReadFileBytes(s.UserWordsPaths[0]).substr(lex::kFileHeaderSize));
    Bytes translations = ReadFileBytes(s.UserTranslationsPaths[0]);
    Bytes nodes = ReadFileBytes(s.NodePaths[0]);
    for (size_t at = lex::kLowSentinelNode + 2 * lex::WordNode::kSize; at + lex::WordNode::kSize <= nodes.size();
         at += lex::WordNode::kSize) {
        lex::WordNode n = lex::WordNode::Decode(reinterpret_cast<const uint8_t*>(nodes.data()) + at);
        n.Flags = lex::kFlagCd;
        n.TextOffset += shift;
        n.Encode(reinterpret_cast<uint8_t*>(&nodes[at]));
        for (int32_t tr = n.FirstTranslation; tr != 0;) {
            lex::TranslationHead h =
                lex::TranslationHead::Decode(reinterpret_cast<const uint8_t*>(translations.data()) + tr);
            translations[tr + 4] = char(lex::kFlagCd);
            tr = h.Next;
        }
    }
    WriteFileBytes(s.CdTranslationsPaths[0], translations);
    WriteFileBytes(s.NodePaths[0], nodes);
}

TEST_F(ImportExportTest, ShippedEntriesAreNeitherExportedNorArchived) {
    ASSERT_EQ(1, Add("apple", "jablko"));
    ASSERT_EQ(1, Add("pear", "hruska"));
    const auto entries = Dump();
    MakeShipped(settings);
    ASSERT_EQ(entries, Dump());  // still there, now as shipped entries
    lex::JobState state;
    EXPECT_EQ("", Export(false, TextCode::kWindows1250, &state));
    EXPECT_EQ(lex::JobState::Done, state);
    EXPECT_EQ("", Export(true, TextCode::kWindows1250, &state));
    EXPECT_EQ(lex::JobState::Done, state);
    lexbulk::ArchiveSaveJob save(ctx);
    lexbulk::SlotSelection slots{};
    slots[0] = true;
    save.SetRequest(Path("a.ars"), slots);
    EXPECT_EQ(lex::JobState::Done, Run(save));
    EXPECT_EQ(0, save.Count());
    EXPECT_EQ("", ReadFileBytes(Path("a.ars")));
}

}  // namespace
}  // namespace lextest
