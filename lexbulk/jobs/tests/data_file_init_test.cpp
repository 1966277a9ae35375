// Data-file initialisation: logs first, chosen user slots only, failures named.
#include <filesystem>

#include "lexbulk/jobs/data_file_init.h"
#include "jobs_fixture.h"

namespace lextest {
namespace {

class DataFileInitTest : public BulkJobTest {
protected:
    void SetUp() override {
        BulkJobTest::SetUp();
        for (int s = 12; s < lex::kSlotCount; ++s) ASSERT_EQ(1, lex::CreateSlotFiles(ctx, s));
    }
    std::vector<Bytes> SlotFiles(int slot) {
        const auto& s = settings;
        return {ReadFileBytes(s.KeyIndexPaths[slot]), ReadFileBytes(s.NodePaths[slot]),
                ReadFileBytes(s.UserWordsPaths[slot]), ReadFileBytes(s.CdWordsPaths[slot]),
                ReadFileBytes(s.UserTranslationsPaths[slot]), ReadFileBytes(s.CdTranslationsPaths[slot])};
    }
};

TEST_F(DataFileInitTest, EmptiesChosenUserSlotsAndEveryLog) {
    // The empty file set as the engine makes it, for comparison.
    const auto emptySet = SlotFiles(14);
    for (int s : {12, 13, 14}) ASSERT_EQ(1, Add("word", "slovo", "", s)) << s;
    ASSERT_EQ(1, Add("tea", "caj"));
    const std::string otherLog = Path("akce2.idx");
    WriteFileBytes(otherLog, Bytes(32, 'x'));
    const auto slot0 = Snapshot(0);
    const auto slot14 = SlotFiles(14);

    // No slot chosen: nothing at all happens.
    lexbulk::InitResult none = lexbulk::InitialiseDataFiles(ctx, {}, {settings.ActionLogPath, otherLog});
    EXPECT_FALSE(none.Done);
    EXPECT_EQ(Bytes(32, 'x'), ReadFileBytes(otherLog));
    // Base slots are refused even when asked for.
    none = lexbulk::InitialiseDataFiles(ctx, {0, 11}, {otherLog});
    EXPECT_FALSE(none.Done);
    EXPECT_EQ(Bytes(32, 'x'), ReadFileBytes(otherLog));

    lexbulk::InitResult r = lexbulk::InitialiseDataFiles(ctx, {12, 13, 0, 5}, {settings.ActionLogPath, otherLog});
    EXPECT_TRUE(r.Done);
    EXPECT_TRUE(r.FailedSlots.empty());
    EXPECT_EQ(emptySet, SlotFiles(12));
    EXPECT_EQ(emptySet, SlotFiles(13));
    EXPECT_EQ(slot14, SlotFiles(14));
    const Bytes emptyLog(18, '\0');
    EXPECT_EQ(emptyLog, ReadFileBytes(otherLog));
    EXPECT_EQ(emptyLog, ReadFileBytes(settings.ActionLogPath));
    // Slot 0's data files are untouched (only its log was emptied).
    auto now0 = Snapshot(0);
    now0.pop_back();
    auto was0 = slot0;
    was0.pop_back();
    EXPECT_EQ(was0, now0);
    EXPECT_EQ(0, files.OpenCount());
}

TEST_F(DataFileInitTest, FailuresAreNamedAndALogFailureTouchesNoDataFile) {
    ASSERT_EQ(1, Add("word", "slovo", "", 12));
    const auto slot12 = SlotFiles(12);
    // A log that cannot be written: stop before any data file.
    const std::string badLog = Path("nofolder/akce3.idx");
    lexbulk::InitResult r = lexbulk::InitialiseDataFiles(ctx, {12}, {badLog});
    EXPECT_FALSE(r.Done);
    EXPECT_EQ(badLog, r.FailedLog);
    EXPECT_EQ(slot12, SlotFiles(12));
    // A slot whose node file cannot be created is named; the others are made.
    std::filesystem::remove(settings.NodePaths[15]);
    std::filesystem::create_directories(settings.NodePaths[15]);
    r = lexbulk::InitialiseDataFiles(ctx, {12, 15}, {settings.ActionLogPath});
    EXPECT_FALSE(r.Done);
    EXPECT_EQ(std::vector<int>{15}, r.FailedSlots);
    EXPECT_NE(slot12, SlotFiles(12));
    EXPECT_EQ(0, files.OpenCount());
}

}  // namespace
}  // namespace lextest
