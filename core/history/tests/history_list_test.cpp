#include "core/history/history_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lex {
namespace {

std::vector<std::string> Texts(const HistoryList& h) {
    std::vector<std::string> out;
    for (int i = 0; i < h.Size(); ++i) out.push_back(h.Text(i));
    return out;
}

TEST(HistoryList, AllocClampsTheSizeAndStoresItBack) {
    struct Case { int32_t asked; int32_t size; };
    for (Case c : {Case{3, 5}, Case{-7, 5}, Case{5, 5}, Case{10, 10}, Case{100, 100}, Case{500, 100}}) {
        HistoryList h;
        h.ResetHistory();
        int32_t setting = c.asked;
        ASSERT_EQ(h.AllocHistory(setting), 1);
        EXPECT_EQ(setting, c.size) << c.asked;
        ASSERT_EQ(h.Size(), c.size);
        for (int i = 0; i < h.Size(); ++i) {
            EXPECT_EQ(h.Text(i), "");
            EXPECT_EQ(h.Slot(i), 500);
        }
    }
}

// A new size keeps the newest entries that fit (the configuration dialog's
// change of size must not empty the history).
TEST(HistoryList, ResizeKeepsTheNewestEntries) {
    HistoryList h;
    int32_t size = 10;
    ASSERT_EQ(h.AllocHistory(size), 1);
    for (int i = 0; i < 10; ++i) h.AddToHistory("w" + std::to_string(i), i);  // w9 is the newest
    struct Case { int32_t asked; int32_t size; std::vector<std::string> texts; };
    const Case cases[] = {
        {7, 7, {"w9", "w8", "w7", "w6", "w5", "w4", "w3"}},
        {2, 5, {"w9", "w8", "w7", "w6", "w5"}},
        {8, 8, {"w9", "w8", "w7", "w6", "w5", "", "", ""}},
    };
    for (const Case& c : cases) {
        int32_t setting = c.asked;
        ASSERT_EQ(h.ResizeHistory(setting), 1);
        EXPECT_EQ(setting, c.size);
        EXPECT_EQ(Texts(h), c.texts) << c.asked;
    }
    EXPECT_EQ(h.Slot(0), 9);
    EXPECT_EQ(h.Slot(7), 500);
    h.AddToHistory("new", 3);
    EXPECT_EQ(h.Text(0), "new");
    EXPECT_EQ(h.Text(5), "w5");
}

TEST(HistoryList, NewestFirstWithoutDuplicatesDroppingTheOldest) {
    HistoryList h;
    int32_t size = 5;
    h.AllocHistory(size);
    for (const char* w : {"one", "two", "three"}) h.AddToHistory(w, 0);
    EXPECT_EQ(Texts(h), (std::vector<std::string>{"three", "two", "one", "", ""}));

    // The same word again (other slot, surrounding blanks): moves up with the new slot.
    h.AddToHistory("  one\t", 7);
    EXPECT_EQ(Texts(h), (std::vector<std::string>{"one", "three", "two", "", ""}));
    EXPECT_EQ(h.Slot(0), 7);
    EXPECT_EQ(h.Slot(1), 0);

    for (const char* w : {"four", "five", "six"}) h.AddToHistory(w, 1);
    EXPECT_EQ(Texts(h), (std::vector<std::string>{"six", "five", "four", "one", "three"}));

    // Top entry again: nothing moves.
    h.AddToHistory("six", 1);
    EXPECT_EQ(Texts(h), (std::vector<std::string>{"six", "five", "four", "one", "three"}));
    // The last entry again: moves to the top, nothing drops out.
    h.AddToHistory("three", 2);
    EXPECT_EQ(Texts(h), (std::vector<std::string>{"three", "six", "five", "four", "one"}));
    EXPECT_EQ(h.Slot(0), 2);
}

TEST(HistoryList, TrimsAndIgnoresEmptyWords) {
    HistoryList h;
    int32_t size = 5;
    h.AllocHistory(size);
    h.AddToHistory("word", 3);
    h.AddToHistory(" \t ", 4);
    h.AddToHistory("", 4);
    EXPECT_EQ(Texts(h), (std::vector<std::string>{"word", "", "", "", ""}));
    h.AddToHistory(std::string("a\x01" "b \xe8"), 4);  // inner control byte becomes a blank; 0xE8 stays
    EXPECT_EQ(h.Text(0), "a b \xe8");
    h.AddToHistory(std::string(400, 'x'), 4);
    EXPECT_EQ(h.Text(0).size(), 253u);
}

TEST(HistoryList, UnallocatedOrOutOfRangeNeverCrashes) {
    HistoryList h;
    h.ResetHistory();
    h.AddToHistory("word", 0);
    EXPECT_EQ(h.Size(), 0);
    EXPECT_EQ(h.Text(0), "");
    EXPECT_EQ(h.Slot(-1), 500);
    EXPECT_FALSE(h.SetEntry(0, "x", 0));

    int32_t size = 5;
    h.AllocHistory(size);
    EXPECT_TRUE(h.SetEntry(0, "a", 19));
    EXPECT_TRUE(h.SetEntry(1, "b", 20));
    EXPECT_TRUE(h.SetEntry(2, "c", -1));
    EXPECT_FALSE(h.SetEntry(5, "d", 0));
    EXPECT_EQ(h.Slot(0), 19);
    EXPECT_EQ(h.Slot(1), 500);
    EXPECT_EQ(h.Slot(2), 500);
    EXPECT_EQ(h.Text(100), "");

    h.FreeHistory();
    EXPECT_FALSE(h.Allocated());
    h.AddToHistory("word", 0);
    EXPECT_EQ(h.Size(), 0);
}

}  // namespace
}  // namespace lex
