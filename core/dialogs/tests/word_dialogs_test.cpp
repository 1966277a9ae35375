// The word dialogs with real messages against their real controls; what they
// write is read back from the slot files with the engine.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "core/dialogs/word_dialogs.h"
#include "core/engine/tests/engine_fixture.h"
#include "winlib/testing.h"

namespace {

using wl::testing::ClickButton;
using wl::testing::ExecuteWith;
using Lines = std::vector<std::string>;

class RecordingCoupling : public lex::KeyboardCoupling {
public:
    struct Call { int slot, field; bool pronunciation; };
    std::vector<Call> Calls;
    void SelectSlotKeyboard(int slot, int field, bool pronunciation) override {
        Calls.push_back({slot, field, pronunciation});
    }
    void SelectStandardKeyboard() override { Calls.push_back({-1, -1, false}); }
};

void SetWide(HWND dialog, int id, const wchar_t* text) { ::SetDlgItemTextW(dialog, id, text); }
std::wstring Wide(HWND dialog, int id) { return wl::testing::WideText(::GetDlgItem(dialog, id)); }

class WordDialogTest : public lextest::EngineTest {
protected:
    lex::TextLoader texts{::GetModuleHandleW(nullptr)};
    RecordingCoupling coupling;
    std::vector<std::pair<int, int>> messages;  // caption, text

    void SetUp() override {
        lextest::EngineTest::SetUp();
        texts.SetUiLanguage(0);
    }

    lex::WordDialogServices Services() {
        lex::WordDialogServices s{ctx, texts, coupling, {}, {}, {}, {}};
        s.SlotName = [](int slot, int kind) { return (kind ? "T" : "O") + std::to_string(slot); };
        s.CodePage = [](int, int) { return 1250u; };
        s.ShowMessage = [this](wl::Window*, int caption, int text) { messages.emplace_back(caption, text); };
        return s;
    }

    int32_t Records() {
        lextest::Bytes log = lextest::ReadFileBytes(settings.ActionLogPath);
        return lex::GetI32(reinterpret_cast<const uint8_t*>(log.data()));
    }

    // The node of a word in a slot (0 when it is not there).
    int32_t EntryOffset(const std::string& word, int slot = 0) {
        std::vector<lex::ResultRow> rows;
        lex::LookupWord(ctx, word, rows, slot);
        for (const lex::ResultRow& row : rows)
            if (row.Word == word) return row.Offset;
        return 0;
    }

    // house [haus] = dům, domek, with the reverse entries, as one command.
    void AddHouse() {
        lex::TAddWordDialog dialog(nullptr, Services(), lex::WordDialogView{0, "house", "[haus]", {}, "", 0});
        ASSERT_EQ(IDOK, ExecuteWith(dialog, [](wl::Dialog& d) {
                      SetWide(d.Handle(), IDC_WE_TRANSLATIONS, L"d\u016fm\r\ndomek");
                      ClickButton(d.Handle(), IDC_WE_TAKE_OVER);
                      ClickButton(d.Handle(), IDOK);
                  }));
    }

    // The view of an entry of slot 0 as the main window shows it.
    lex::WordDialogView View(const std::string& word, Lines box) {
        lex::WordDialogView v;
        v.Slot = 0;
        v.Word = word;
        v.Pronunciation = "[haus]";
        v.TranslationLines = std::move(box);
        v.CaretLine = v.TranslationLines.empty() ? "" : v.TranslationLines[0];
        v.EntryOffset = EntryOffset(word);
        return v;
    }
};

TEST_F(WordDialogTest, AddWritesBothSidesAsOneGroup) {
    const int32_t before0 = WordCount(0), before1 = WordCount(1);
    lex::TAddWordDialog dialog(nullptr, Services(), lex::WordDialogView{0, "house", "[haus]", {}, "", 0});
    std::wstring reverseWords, reverseTranslation, pronunciation;
    ASSERT_EQ(IDOK, ExecuteWith(dialog, [&](wl::Dialog& d) {
                  pronunciation = Wide(d.Handle(), IDC_WE_PRONUNCIATION);
                  SetWide(d.Handle(), IDC_WE_TRANSLATIONS, L"d\u016fm\r\ndomek");
                  ClickButton(d.Handle(), IDC_WE_TAKE_OVER);
                  ClickButton(d.Handle(), IDC_WE_TAKE_OVER);  // twice gives the same right side
                  reverseWords = Wide(d.Handle(), IDC_WE_REVERSE_WORDS);
                  reverseTranslation = Wide(d.Handle(), IDC_WE_REVERSE_TRANSLATION);
                  ClickButton(d.Handle(), IDOK);
              }));
    EXPECT_EQ(L"haus", pronunciation);
    EXPECT_EQ(L"d\u016fm\r\ndomek\r\n", reverseWords);
    EXPECT_EQ(L"house", reverseTranslation);
    EXPECT_EQ(Lines{"house|haus|d\xf9m|domek"}, Dump(0));
    EXPECT_EQ((Lines{"domek||house", "d\xf9m||house"}), Dump(1));
    EXPECT_EQ(before0 + 2, WordCount(0));
    EXPECT_EQ(before1 + 2, WordCount(1));
    EXPECT_EQ(4, Records());
    EXPECT_EQ("house", dialog.NewWord());
    EXPECT_TRUE(messages.empty());
    ASSERT_EQ(1, lex::UndoLastAction(ctx));
    EXPECT_TRUE(Dump(0).empty());
    EXPECT_TRUE(Dump(1).empty());
    EXPECT_EQ(0, lex::CanUndo(ctx));
}

TEST_F(WordDialogTest, NextWordThenAPlainOkAfterAnError) {
    {
        lex::TAddWordDialog dialog(nullptr, Services(), lex::WordDialogView{0, "house", "", {}, "", 0});
        EXPECT_EQ(lex::kNextWordResult, ExecuteWith(dialog, [](wl::Dialog& d) {
                      SetWide(d.Handle(), IDC_WE_TRANSLATIONS, L"d\u016fm");
                      ClickButton(d.Handle(), IDC_WE_NEXT_WORD);
                  }));
        EXPECT_EQ("", dialog.NewWord());
    }
    EXPECT_EQ(Lines{"house||d\xf9m"}, Dump(0));
    // Next Word fails (the log is held); then a plain OK closes as a plain OK.
    lex::TAddWordDialog dialog(nullptr, Services(), lex::WordDialogView{0, "", "", {}, "", 0});
    bool stayedOpen = false;
    EXPECT_EQ(IDOK, ExecuteWith(dialog, [&](wl::Dialog& d) {
                  SetWide(d.Handle(), IDC_WE_WORD, L"tree");
                  SetWide(d.Handle(), IDC_WE_TRANSLATIONS, L"strom");
                  lex::FileHandle held = files.Open(settings.ActionLogPath, lex::kOpenWriteExclusive);
                  ClickButton(d.Handle(), IDC_WE_NEXT_WORD);
                  files.Close(held);
                  stayedOpen = ::IsWindow(d.Handle()) != 0;
                  ClickButton(d.Handle(), IDOK);
              }));
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ((std::vector<std::pair<int, int>>{{lex::kTextVocabularyErrorCaption, lex::kTextEntryLocked}}), messages);
    EXPECT_EQ("tree", dialog.NewWord());
    EXPECT_EQ((Lines{"house||d\xf9m", "tree||strom"}), Dump(0));
}

TEST_F(WordDialogTest, AddFailures) {
    struct Case {
        const char* what;
        const wchar_t* word;
        bool holdLog;
        bool holdCounterpart;
        int text;
        Lines left;
        const char* failWritesTo = "";  // the system refuses writes to these files (a full disk)
        bool damagedKeys = false;       // slot 0's key index names a node outside its node file
    };
    const Case cases[] = {
        {"log held", L"house", true, false, lex::kTextEntryLocked, {}},
        {"disk full", L"house", false, false, lex::kTextWriteFailed, {}, "disk"},
        {"damaged slot", L"house", false, false, lex::kTextDataFilesCorrupted, {}, "", true},
        {"counterpart held", L"house", false, true, lex::kTextEntryLocked, {"house||d\xf9m"}},
        {"grammar-note word", L".n.", false, false, lex::kTextWordIsGrammarNote, {}},
    };
    for (const Case& c : cases) {
        messages.clear();
        const lextest::Bytes keys = lextest::ReadFileBytes(settings.KeyIndexPaths[0]);
        auto before1 = Snapshot(1);
        before1.pop_back();  // the log
        const int32_t records = Records();
        lex::TAddWordDialog dialog(nullptr, Services(), lex::WordDialogView{0, "", "", {}, "", 0});
        EXPECT_EQ(IDCANCEL, ExecuteWith(dialog, [&](wl::Dialog& d) {
                      SetWide(d.Handle(), IDC_WE_WORD, c.word);
                      SetWide(d.Handle(), IDC_WE_TRANSLATIONS, L"d\u016fm");
                      ClickButton(d.Handle(), IDC_WE_TAKE_OVER);
                      lex::FileHandle held = lex::kNoFile;
                      if (c.holdLog) held = files.Open(settings.ActionLogPath, lex::kOpenWriteExclusive);
                      if (c.holdCounterpart) held = files.Open(settings.NodePaths[1], lex::kOpenWriteExclusive);
                      files.FailWritesTo = c.failWritesTo;
                      for (size_t at = 0; c.damagedKeys && at + 9 <= keys.size(); at += 9)
                          lextest::PatchFile(settings.KeyIndexPaths[0], at + 5, lextest::I32(1000000));
                      ClickButton(d.Handle(), IDOK);
                      files.FailWritesTo.clear();
                      lextest::WriteFileBytes(settings.KeyIndexPaths[0], keys);
                      if (held != lex::kNoFile) files.Close(held);
                      ClickButton(d.Handle(), IDCANCEL);
                  }))
            << c.what;
        EXPECT_EQ((std::vector<std::pair<int, int>>{{lex::kTextVocabularyErrorCaption, c.text}}), messages) << c.what;
        EXPECT_EQ(c.left, Dump(0)) << c.what;
        auto after1 = Snapshot(1);
        after1.pop_back();
        EXPECT_EQ(before1, after1) << c.what;  // the right side untouched
        EXPECT_EQ(records + static_cast<int32_t>(c.left.size()), Records()) << c.what;
        if (!c.left.empty()) {
            ASSERT_EQ(1, lex::UndoLastAction(ctx));
            EXPECT_TRUE(Dump(0).empty());
        }
    }
}

// Text that a slot's code page cannot hold would be stored as '?' (and
// different words would become the same "???"); a reverse word that begins
// with the grammar-note separator would be dropped. Both dialogs refuse them
// with a message, stay open and write nothing; a grammar note of the
// translations that "->" copies along is still passed over.
TEST_F(WordDialogTest, UnstorableTextAndGrammarNoteReverseWordsAreRefused) {
    struct Case {
        const char* what;
        int field;            // set after "->"
        const wchar_t* text;
        int message;          // 0: OK writes
    };
    const wchar_t* ipa = L"\u02c8s\u0259\u028af\u0259";
    const Case cases[] = {
        {"Cyrillic word", IDC_WE_WORD, L"\u0434\u043e\u043c", lex::kTextCannotStoreText},
        {"IPA pronunciation", IDC_WE_PRONUNCIATION, ipa, lex::kTextCannotStoreText},
        {"a translation line", IDC_WE_TRANSLATIONS, L"d\u016fm\r\n\u0434\u043e\u043c", lex::kTextCannotStoreText},
        {"a reverse word", IDC_WE_REVERSE_WORDS, L"d\u016fm\r\n\u0434\u043e\u043c\r\n", lex::kTextCannotStoreText},
        {"a reverse pronunciation", IDC_WE_REVERSE_PRONUNCIATIONS, ipa, lex::kTextCannotStoreText},
        {"the reverse translation", IDC_WE_REVERSE_TRANSLATION, L"h\u00f8use", lex::kTextCannotStoreText},
        {"grammar-note reverse word", IDC_WE_REVERSE_WORDS, L"d\u016fm\r\n .n. \r\n", lex::kTextWordIsGrammarNote},
        {"copied grammar note", 0, nullptr, 0},
    };
    for (bool change : {false, true}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(change ? "change: " : "add: ") + c.what);
            messages.clear();
            const auto left = Snapshot(0), right = Snapshot(1);
            const lex::WordDialogView view = View("house", {"d\xf9m"});
            std::unique_ptr<lex::TAddWordDialog> dialog =
                change ? std::make_unique<lex::TChangeWordDialog>(nullptr, Services(), view)
                       : std::make_unique<lex::TAddWordDialog>(nullptr, Services(), view);
            bool stayedOpen = false;
            const INT_PTR result = ExecuteWith(*dialog, [&](wl::Dialog& d) {
                SetWide(d.Handle(), IDC_WE_TRANSLATIONS, L"d\u016fm\r\n.n. noun");
                ClickButton(d.Handle(), IDC_WE_TAKE_OVER);
                if (c.field) SetWide(d.Handle(), c.field, c.text);
                ClickButton(d.Handle(), IDOK);
                stayedOpen = ::IsWindow(d.Handle()) && ::IsWindowVisible(d.Handle());
                if (stayedOpen) ClickButton(d.Handle(), IDCANCEL);
            });
            if (!c.message) {
                EXPECT_EQ(IDOK, result);
                EXPECT_TRUE(messages.empty());
                EXPECT_EQ(Lines{"house|haus|d\xf9m|.n. noun"}, Dump(0));
                EXPECT_EQ(Lines{"d\xf9m||house"}, Dump(1));
                ASSERT_EQ(1, lex::UndoLastAction(ctx));
                continue;
            }
            EXPECT_EQ(IDCANCEL, result);
            EXPECT_TRUE(stayedOpen);
            EXPECT_EQ((std::vector<std::pair<int, int>>{{lex::kTextVocabularyErrorCaption, c.message}}), messages);
            EXPECT_EQ(left, Snapshot(0));
            EXPECT_EQ(right, Snapshot(1));
        }
    }
}

TEST_F(WordDialogTest, RightToLeftTypingAndKeyboardOfTheFocusedField) {
    ctx.ReversedEntry = true;
    lex::TAddWordDialog dialog(nullptr, Services(), lex::WordDialogView{4, "", "", {}, "", 0});
    std::wstring typed;
    EXPECT_EQ(IDCANCEL, ExecuteWith(dialog, [&](wl::Dialog& d) {
                  HWND word = ::GetDlgItem(d.Handle(), IDC_WE_WORD);
                  ::SetFocus(word);
                  for (wchar_t c : {L'a', L'b', L'c'}) ::SendMessageW(word, WM_CHAR, c, 1);
                  typed = wl::testing::WideText(word);
                  d.Send(WM_TIMER, 0);
                  ::SetFocus(::GetDlgItem(d.Handle(), IDC_WE_REVERSE_PRONUNCIATIONS));
                  d.Send(WM_TIMER, 0);
                  ::SetFocus(::GetDlgItem(d.Handle(), IDC_WE_REVERSE_TRANSLATION));
                  d.Send(WM_TIMER, 0);
                  ::SetFocus(::GetDlgItem(d.Handle(), IDC_WE_TAKE_OVER));  // a button: no call
                  d.Send(WM_TIMER, 0);
                  ClickButton(d.Handle(), IDCANCEL);
              }));
    EXPECT_EQ(L"cba", typed);
    ASSERT_EQ(3u, coupling.Calls.size());
    EXPECT_EQ(4, coupling.Calls[0].slot);
    EXPECT_EQ(lex::kOriginalField, coupling.Calls[0].field);
    EXPECT_FALSE(coupling.Calls[0].pronunciation);
    EXPECT_EQ(5, coupling.Calls[1].slot);
    EXPECT_TRUE(coupling.Calls[1].pronunciation);
    EXPECT_EQ(5, coupling.Calls[2].slot);
    EXPECT_EQ(lex::kTranslationField, coupling.Calls[2].field);
}

TEST_F(WordDialogTest, ChangeRenamesBothSidesAndOneUndoRestores) {
    AddHouse();
    const Lines left = Dump(0), right = Dump(1);
    lex::TChangeWordDialog dialog(nullptr, Services(), View("house", {"d\xf9m", "domek"}));
    bool nextWordGone = false;
    ASSERT_EQ(IDOK, ExecuteWith(dialog, [&](wl::Dialog& d) {
                  nextWordGone = ::GetDlgItem(d.Handle(), IDC_WE_NEXT_WORD) == nullptr;
                  SetWide(d.Handle(), IDC_WE_WORD, L"home");
                  ClickButton(d.Handle(), IDC_WE_TAKE_OVER);
                  ClickButton(d.Handle(), IDOK);
              }));
    EXPECT_TRUE(nextWordGone);
    EXPECT_EQ(Lines{"home|haus|d\xf9m|domek"}, Dump(0));
    EXPECT_EQ((Lines{"domek||home", "d\xf9m||home"}), Dump(1));
    EXPECT_EQ("home", dialog.NewWord());
    ASSERT_EQ(1, lex::UndoLastAction(ctx));
    EXPECT_EQ(left, Dump(0));
    EXPECT_EQ(right, Dump(1));
}

TEST_F(WordDialogTest, ChangeTakesEveryTranslationFromTheFiles) {
    AddHouse();
    std::string grammar = ".n. noun";
    ASSERT_EQ(1, Add("house", grammar, "haus"));
    const Lines left = Dump(0);
    // The translation box shows only the first line (a long entry cut short).
    lex::TChangeWordDialog dialog(nullptr, Services(), View("house", {"d\xf9m"}));
    ASSERT_EQ(IDOK, ExecuteWith(dialog, [](wl::Dialog& d) { ClickButton(d.Handle(), IDOK); }));
    EXPECT_EQ(left, Dump(0));
    EXPECT_EQ((Lines{"d\xf9m", "domek", ".n. noun"}), dialog.OldTranslations());
}

TEST_F(WordDialogTest, DeleteWordWithAndWithoutTheReverseSide) {
    AddHouse();
    const Lines left = Dump(0), right = Dump(1);
    for (bool takeOver : {false, true}) {
        lex::TDeleteWordDialog dialog(nullptr, Services(), View("house", {"d\xf9m", "domek", lex::kSeparatorLine}));
        std::wstring shown;
        ASSERT_EQ(IDOK, ExecuteWith(dialog, [&](wl::Dialog& d) {
                      shown = Wide(d.Handle(), IDC_WD_TRANSLATIONS);
                      if (takeOver) ClickButton(d.Handle(), IDC_WD_TAKE_OVER);
                      ClickButton(d.Handle(), IDOK);
                  }));
        EXPECT_EQ(L"d\u016fm\r\ndomek\r\n", shown);
        EXPECT_TRUE(Dump(0).empty());
        EXPECT_EQ(takeOver ? Lines{} : right, Dump(1));
        ASSERT_EQ(1, lex::UndoLastAction(ctx));
        EXPECT_EQ(left, Dump(0));
        EXPECT_EQ(right, Dump(1));
    }
}

TEST_F(WordDialogTest, DeleteTranslationOfTheFirstLineAndOfTheLast) {
    AddHouse();
    const Lines left = Dump(0), right = Dump(1);
    {
        lex::TDeleteTranslationDialog dialog(nullptr, Services(), View("house", {"d\xf9m", "domek"}));
        ASSERT_EQ(IDOK, ExecuteWith(dialog, [](wl::Dialog& d) {
                      ClickButton(d.Handle(), IDC_WD_TAKE_OVER);
                      ClickButton(d.Handle(), IDOK);
                  }));
    }
    EXPECT_EQ(Lines{"house|haus|domek"}, Dump(0));
    EXPECT_EQ(Lines{"domek||house"}, Dump(1));
    {
        lex::WordDialogView v = View("house", {"domek"});
        lex::TDeleteTranslationDialog dialog(nullptr, Services(), v);
        ASSERT_EQ(IDOK, ExecuteWith(dialog, [](wl::Dialog& d) { ClickButton(d.Handle(), IDOK); }));
    }
    EXPECT_TRUE(Dump(0).empty());  // the last translation went with the word
    EXPECT_EQ(Lines{"domek||house"}, Dump(1));
    ASSERT_EQ(1, lex::UndoLastAction(ctx));
    ASSERT_EQ(1, lex::UndoLastAction(ctx));
    EXPECT_EQ(left, Dump(0));
    EXPECT_EQ(right, Dump(1));
}

TEST_F(WordDialogTest, ASlotSwitchWhileOpenDoesNotMoveTheWrite) {
    lex::WordDialogView view{0, "house", "", {}, "", 0};
    lex::TAddWordDialog dialog(nullptr, Services(), view);
    ASSERT_EQ(IDOK, ExecuteWith(dialog, [&](wl::Dialog& d) {
                  SetWide(d.Handle(), IDC_WE_TRANSLATIONS, L"d\u016fm");
                  settings.CurrentSlot = 1;  // what a poke or a language command does meanwhile
                  settings.CurrentWord = "other";
                  ClickButton(d.Handle(), IDOK);
              }));
    EXPECT_EQ(Lines{"house||d\xf9m"}, Dump(0));
    EXPECT_TRUE(Dump(1).empty());
}

}  // namespace
