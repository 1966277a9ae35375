// The keyboard session without windows: edit mode with its save question and
// the commands that leave it first, the current key and the shown state, and
// the activation and poll protocol with ts2000.ini, over a recording window,
// a fake hook library and ts2000.ini values in memory. The layouts are real
// files of a temporary folder.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "core/keyboard/tests/keyboard_fixture.h"
#include "ts/editor/keyboard_session.h"
#include "ts/editor/product_settings.h"

namespace {

using ts::ProductHook;
using ts::KeyboardStatus;
using ts::KeyboardView;
using Log = std::vector<std::string>;

std::string FileName(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

class RecordingWindow : public ts::KeyboardSessionWindow {
public:
    RecordingWindow(Log& log, lex::keyboard::KeyboardLayoutStore& store) : log_(log), store_(store) {}
    bool SaveAnswer = false;
    bool FinishAnswer = true;
    void LoadLayout(const std::string& path) override {
        log_.push_back("load " + FileName(path));
        store_.LoadKeyboardFile(path);
    }
    bool AskSaveChanges() override {
        log_.push_back("ask save");
        return SaveAnswer;
    }
    bool AskFinish() override {
        log_.push_back("ask finish");
        return FinishAnswer;
    }

private:
    Log& log_;
    lex::keyboard::KeyboardLayoutStore& store_;
};

class FakeHook : public ProductHook {
public:
    explicit FakeHook(Log& log) : log_(log) {}
    Result Next = Result::Installed;  // what the next installation gives
    Result Install() override {
        log_.push_back("install");
        installed_ = Next == Result::Installed;
        return Next;
    }
    void Remove() override {
        log_.push_back("remove");
        installed_ = false;
    }
    bool Installed() const override { return installed_; }
    void Reset() {
        Next = Result::Installed;
        installed_ = false;
    }

private:
    Log& log_;
    bool installed_ = false;
};

// ts2000.ini in memory, by key name ("Ukladat", "Tlacitko 4 data"); every
// write is logged as "key=value".
class MemoryValues : public ts::ProductValues {
public:
    MemoryValues(Log& log, const std::string& folder) : log_(log), folder_(folder) {}
    std::map<std::string, std::string> Ini;
    bool SaveLast() override { return Int("Ukladat", 1) == 1; }
    void WriteLastQuickButton(int index) override { Write("Posledni", std::to_string(index)); }
    bool AskToFinish() override { return Int("Ukoncit", 1) == 1; }
    bool HideAtStart() override { return Int("Minimalizovny", 0) == 1; }
    std::string ActiveKeyboard() override { return Text("Aktualni", ""); }
    void WriteActiveKeyboard(const std::string& path) override { Write("Aktualni", FileName(path)); }
    int ActiveQuickButton(int missing) override { return Int("AktTlac", missing); }
    void WriteActiveQuickButton(int index) override {
        Write("AktTlac", index < 0 ? std::string() : std::to_string(index));
    }
    void WriteInstallCount(int count) override { Write("pocitadlo", std::to_string(count)); }
    std::string QuickButtonData(int index) override { return folder_ + "k" + std::to_string(index); }
    int QuickButtonWindowsLayout(int index) override {
        return Int("Tlacitko " + std::to_string(index) + " WindowsKlavesnice", -1);
    }

private:
    std::string Text(const std::string& key, const std::string& missing) {
        auto it = Ini.find(key);
        return it == Ini.end() ? missing : it->second;
    }
    int Int(const std::string& key, int missing) {
        auto it = Ini.find(key);
        return it == Ini.end() || it->second.empty() ? missing : std::stoi(it->second);
    }
    void Write(const std::string& key, const std::string& value) {
        Ini[key] = value;
        log_.push_back(key + "=" + value);
    }
    Log& log_;
    std::string folder_;
};

// A session in normal mode (or editor-only mode on k0.tsb) on ten layouts
// k0.tsb .. k9.tsb, started as the start-up does: button 0 shown. Each Start
// begins anew (the cases of a table share the fixture).
class SessionTest : public ::testing::Test {
protected:
    void Start(bool editorOnly = false) {
        folder_ = dir_.Sub("") + "/";
        for (int i = 0; i < ts::kQuickButtonCount; ++i)
            keyboardtest::WriteFileBytes(folder_ + "k" + std::to_string(i) + ".tsb", std::string(lex::keyboard::kLayoutFileSize, '\0'));
        line_ = editorOnly ? ts::ParseCommandLine({"X", "0", folder_ + "k0.tsb"}) : ts::ParseCommandLine({});
        store_.SetFixedPath(editorOnly ? line_.EditorFilePath : std::string());
        hook_.Reset();
        window_.SaveAnswer = false;
        window_.FinishAnswer = true;
        values_ = std::make_unique<MemoryValues>(log_, folder_);
        session_ = std::make_unique<ts::KeyboardSession>(line_, store_, window_, hook_, *values_);
        if (editorOnly)
            session_->StartWithoutQuickButtons();
        else
            session_->StartQuickButtons(0);
        session_->SelectQuickButton(0);
        log_.clear();
    }
    // Edit mode on with an edit of the layout.
    void EditSomething() {
        session_->AllowChanges();
        store_.Tables.MainKeys[3].Chars[0] = 'q';
        session_->MarkModified();
    }
    void Activate() {
        session_->Activate();
        log_.clear();
    }
    bool SavedSinceStart() const {
        return keyboardtest::ReadFileBytes(folder_ + "k0.tsb") != std::string(lex::keyboard::kLayoutFileSize, '\0');
    }

    keyboardtest::KeyboardTempDir dir_;
    std::string folder_;
    Log log_;
    keyboardtest::TrackingFileLayer files_;
    keyboardtest::RecordingMessages messages_;
    lex::keyboard::KeyboardLayoutStore store_{files_, messages_};
    RecordingWindow window_{log_, store_};
    FakeHook hook_{log_};
    std::unique_ptr<MemoryValues> values_;
    ts::CommandLine line_;
    std::unique_ptr<ts::KeyboardSession> session_;
};

TEST_F(SessionTest, EditModeAsksBeforeLeavingAndCancelDiscardsWithoutAsking) {
    enum class Answer { NotAsked, Yes, YesButTheSaveFails, No };
    struct Case {
        const char* name;
        bool modified;
        bool cancel;  // the cancel button in place of the edit-mode button
        Answer answer;
        Log log;
        bool editMode, modifiedAfter, saved;
    };
    const Case cases[] = {
        {"unmodified", false, false, Answer::NotAsked, {"load k0.tsb"}, false, false, false},
        {"yes", true, false, Answer::Yes, {"ask save"}, false, false, true},
        {"yes, save fails", true, false, Answer::YesButTheSaveFails, {"ask save"}, true, true, false},
        {"no", true, false, Answer::No, {"ask save", "load k0.tsb"}, false, false, false},
        // The cancel button leaves without asking, and reloads once more.
        {"cancel", true, true, Answer::NotAsked, {"load k0.tsb", "load k0.tsb"}, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Start();
        const KeyboardView entered = session_->AllowChanges();
        EXPECT_EQ(entered.EditMode, std::optional<bool>(true));
        EXPECT_TRUE(session_->EditMode());
        if (c.modified) {
            store_.Tables.MainKeys[3].Chars[0] = 'q';
            session_->MarkModified();
        }
        window_.SaveAnswer = c.answer == Answer::Yes || c.answer == Answer::YesButTheSaveFails;
        files_.FailWritesTo = c.answer == Answer::YesButTheSaveFails ? "k0" : "";
        const KeyboardView left = c.cancel ? session_->CancelChanges() : session_->AllowChanges();
        files_.FailWritesTo.clear();
        EXPECT_EQ(log_, c.log);
        EXPECT_EQ(session_->EditMode(), c.editMode);
        EXPECT_EQ(left.EditMode, std::optional<bool>(c.editMode));
        EXPECT_EQ(session_->Modified(), c.modifiedAfter);
        EXPECT_EQ(SavedSinceStart(), c.saved);
        EXPECT_FALSE(session_->CancelPending());
        EXPECT_FALSE(hook_.Installed());
    }
}

// End, a quick-switch button, activation and the settings leave edit mode
// first, with the question; edits that could not be saved stop them.
TEST_F(SessionTest, CommandsLeaveEditModeFirst) {
    enum class Command { End, QuickButton4, Activate, Setup };
    enum class Answer { Yes, YesButTheSaveFails, No };
    struct Case {
        Command command;
        Answer answer;
        Log log;
        bool proceeds;  // closes, shows button 4, turns the keyboard on, opens the settings
    };
    const Log activation = {"load k0.tsb", "Aktualni=k0.tsb", "AktTlac=0", "pocitadlo=1", "install"};
    auto then = [](Log first, const Log& rest) {
        first.insert(first.end(), rest.begin(), rest.end());
        return first;
    };
    const Case cases[] = {
        {Command::End, Answer::Yes, {"ask save", "Posledni=0"}, true},
        {Command::End, Answer::No, {"ask save", "load k0.tsb", "Posledni=0"}, true},
        {Command::End, Answer::YesButTheSaveFails, {"ask save"}, false},
        {Command::QuickButton4, Answer::Yes, {"ask save", "load k4.tsb"}, true},
        {Command::QuickButton4, Answer::No, {"ask save", "load k0.tsb", "load k4.tsb"}, true},
        {Command::QuickButton4, Answer::YesButTheSaveFails, {"ask save"}, false},
        {Command::Activate, Answer::Yes, then({"ask save"}, activation), true},
        {Command::Activate, Answer::No, then({"ask save", "load k0.tsb"}, activation), true},
        {Command::Activate, Answer::YesButTheSaveFails, {"ask save"}, false},
        {Command::Setup, Answer::Yes, {"ask save"}, true},
        {Command::Setup, Answer::No, {"ask save", "load k0.tsb"}, true},
        {Command::Setup, Answer::YesButTheSaveFails, {"ask save"}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(static_cast<int>(c.command)) + " " + std::to_string(static_cast<int>(c.answer)));
        Start();
        values_->Ini["Ukoncit"] = "0";
        EditSomething();
        log_.clear();
        window_.SaveAnswer = c.answer != Answer::No;
        files_.FailWritesTo = c.answer == Answer::YesButTheSaveFails ? "k0" : "";
        KeyboardView view;
        switch (c.command) {
            case Command::End: view = session_->End(); break;
            case Command::QuickButton4: view = session_->PressQuickButton(4); break;
            case Command::Activate: view = session_->Activate(); break;
            case Command::Setup: view = session_->BeginSetup(); break;
        }
        files_.FailWritesTo.clear();
        EXPECT_EQ(log_, c.log);
        EXPECT_EQ(session_->EditMode(), !c.proceeds);
        EXPECT_EQ(session_->Modified(), !c.proceeds);
        switch (c.command) {
            case Command::End: EXPECT_EQ(view.Close, c.proceeds); break;
            case Command::QuickButton4: EXPECT_EQ(session_->ShownQuickButton(), c.proceeds ? 4 : 0); break;
            case Command::Activate: EXPECT_EQ(session_->KeyboardOn(), c.proceeds); break;
            case Command::Setup: EXPECT_EQ(view.Proceed, c.proceeds); break;
        }
    }
}

TEST_F(SessionTest, TheEditingDialogsTakeTheKeyInTheShownState) {
    Start();
    // Outside edit mode no editing dialog opens.
    KeyboardView view = session_->BeginEdit();
    EXPECT_FALSE(view.Proceed);
    EXPECT_EQ(view.Status, KeyboardStatus::PermitChangesFirst);
    EXPECT_FALSE(session_->BeginEditOfKey(0, 16).Proceed);
    session_->AllowChanges();
    view = session_->BeginEdit();
    EXPECT_TRUE(view.Proceed);
    EXPECT_EQ(view.Status, KeyboardStatus::Blank);
    // New key and delete key need a selected key.
    view = session_->BeginEditOfSelectedKey();
    EXPECT_FALSE(view.Proceed);
    EXPECT_EQ(view.Status, KeyboardStatus::ChooseKeyFirst);
    // The key clicked with Shift off; the dialog opened after Shift, Ctrl and
    // prefix 2 went on works on the state shown then: 1 + 4 + 8 x 2.
    EXPECT_TRUE(session_->ClickKey(2, 4).Selection);
    EXPECT_EQ(session_->Current().State, 0);
    session_->ToggleShift();
    session_->ToggleCtrl();
    session_->TogglePrefix();
    session_->TogglePrefix();
    view = session_->BeginEditOfSelectedKey();
    EXPECT_TRUE(view.Proceed);
    EXPECT_EQ(session_->Current().Group, 2);
    EXPECT_EQ(session_->Current().Key, 4);
    EXPECT_EQ(session_->Current().State, 21);
    // The focused key (none: nothing opens, without a word).
    view = session_->BeginEditOfKey(-1, -1);
    EXPECT_FALSE(view.Proceed);
    EXPECT_EQ(view.Status, KeyboardStatus::Blank);
    ASSERT_TRUE(session_->BeginEditOfKey(1, 11).Proceed);
    EXPECT_EQ(session_->Current().Group, 1);
    EXPECT_EQ(session_->Current().Key, 11);
    EXPECT_EQ(session_->SelectedGroup(), 2);  // the selection stays
    // The prefix selector goes round: 3, 4, none, 1.
    std::vector<int> prefixes;
    for (int i = 0; i < 4; ++i) prefixes.push_back((session_->TogglePrefix(), session_->Shown().PendingPrefix));
    EXPECT_EQ(prefixes, (std::vector<int>{2, 3, 4, -1}));
    // A reload shows the plain state again; the selection stays.
    session_->CancelChanges();
    EXPECT_EQ(session_->Shown().KeyState(), 0);
    EXPECT_FALSE(session_->EditMode());
    EXPECT_EQ(session_->SelectedKey(), 4);
}

TEST_F(SessionTest, ActivationNamesTheLayoutAndCountsTheInstallations) {
    struct Case {
        const char* name;
        ProductHook::Result result;
        Log log;
        bool on;
    };
    const Case cases[] = {
        {"installed", ProductHook::Result::Installed,
         {"load k0.tsb", "Aktualni=k0.tsb", "AktTlac=0", "pocitadlo=1", "install"}, true},
        {"no library", ProductHook::Result::NoLibrary,
         {"load k0.tsb", "Aktualni=k0.tsb", "AktTlac=0", "pocitadlo=1", "install"}, false},
        {"no procedure", ProductHook::Result::NoProcedure,
         {"load k0.tsb", "Aktualni=k0.tsb", "AktTlac=0", "pocitadlo=1", "install"}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Start();
        hook_.Next = c.result;
        const KeyboardView view = session_->Activate();
        EXPECT_EQ(log_, c.log);
        EXPECT_EQ(session_->KeyboardOn(), c.on);
        EXPECT_EQ(view.KeyboardOn, std::optional<bool>(c.on));
        EXPECT_EQ(view.ActiveIcon, c.on ? std::optional<bool>(true) : std::nullopt);
        EXPECT_EQ(view.HookFailure, c.on ? std::nullopt : std::optional<ProductHook::Result>(c.result));
        EXPECT_EQ(view.Title, std::optional<int>(0));
        EXPECT_TRUE(view.TogglesOff);
    }
    // Off and on again: the count goes on. Off re-selects the button of the
    // start (or the last report), not the one pressed since.
    Start();
    session_->Activate();
    session_->PressQuickButton(4);
    log_.clear();
    KeyboardView view = session_->Activate();
    EXPECT_EQ(log_, (Log{"load k0.tsb", "remove"}));
    EXPECT_EQ(view.KeyboardOn, std::optional<bool>(false));
    EXPECT_EQ(view.ActiveIcon, std::optional<bool>(false));
    EXPECT_EQ(session_->ShownQuickButton(), 0);
    log_.clear();
    session_->Activate();
    EXPECT_EQ(log_, (Log{"load k0.tsb", "Aktualni=k0.tsb", "AktTlac=0", "pocitadlo=2", "install"}));
    // Entering edit mode turns the keyboard off.
    log_.clear();
    view = session_->AllowChanges();
    EXPECT_EQ(log_, (Log{"load k0.tsb", "remove"}));
    EXPECT_FALSE(session_->KeyboardOn());
    EXPECT_TRUE(session_->EditMode());
    EXPECT_EQ(view.KeyboardOn, std::optional<bool>(false));
    EXPECT_EQ(view.EditMode, std::optional<bool>(true));
}

TEST_F(SessionTest, QuickButtonsNameTheLayoutOnlyWhileTheKeyboardIsOn) {
    Start();
    values_->Ini["Tlacitko 4 WindowsKlavesnice"] = "2";
    KeyboardView view = session_->PressQuickButton(4);
    EXPECT_EQ(log_, (Log{"load k4.tsb"}));
    EXPECT_EQ(view.Title, std::optional<int>(4));
    EXPECT_FALSE(view.TogglesOff);
    EXPECT_EQ(view.WindowsLayout, std::nullopt);
    EXPECT_EQ(session_->ShownQuickButton(), 4);
    EXPECT_EQ(session_->CurrentQuickButton(), 0);
    Activate();
    view = session_->PressQuickButton(4);
    EXPECT_EQ(log_, (Log{"load k4.tsb", "AktTlac=4", "Aktualni=k4.tsb"}));
    EXPECT_EQ(view.WindowsLayout, std::optional<int>(2));
    // Out of range, and in editor-only mode: nothing.
    log_.clear();
    session_->PressQuickButton(10);
    session_->PressQuickButton(-1);
    EXPECT_EQ(log_, Log());
    Start(true);
    session_->PressQuickButton(4);
    session_->Activate();
    EXPECT_FALSE(session_->BeginSetup().Proceed);
    EXPECT_EQ(log_, Log());
    EXPECT_FALSE(hook_.Installed());
}

TEST_F(SessionTest, EndRemembersTheButtonAndMayAsk) {
    struct Case {
        const char* name;
        bool editorOnly;
        const char* saveLast;  // "Ukladat", nullptr missing
        const char* askToFinish;
        bool finish;  // the answer
        Log log;
        bool closes;
    };
    const Case cases[] = {
        {"defaults", false, nullptr, nullptr, true, {"Posledni=4", "ask finish"}, true},
        {"not finished", false, "1", "1", false, {"Posledni=4", "ask finish"}, false},
        {"neither", false, "0", "0", true, {}, true},
        {"editor only", true, nullptr, nullptr, false, {}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Start(c.editorOnly);
        if (c.saveLast) values_->Ini["Ukladat"] = c.saveLast;
        if (c.askToFinish) values_->Ini["Ukoncit"] = c.askToFinish;
        window_.FinishAnswer = c.finish;
        session_->PressQuickButton(4);
        log_.clear();
        EXPECT_EQ(session_->End().Close, c.closes);
        EXPECT_EQ(log_, c.log);
    }
}

// While the keyboard is on, each tick follows what the resident program
// reports: "ne_exs" says temporarily off; a button index other than the
// current one (or any after "ne_exs") is shown; edits not yet saved stay.
TEST_F(SessionTest, ThePollFollowsTheReports) {
    struct Case {
        const char* name;
        bool on;
        bool modified;
        std::vector<std::pair<const char*, const char*>> reports;  // Aktualni, AktTlac per tick
        Log log;
        int current;
        bool temporarilyOff;
    };
    const Case cases[] = {
        {"another button", true, false, {{"k3.tsb", "3"}}, {"load k3.tsb"}, 3, false},
        {"the same button", true, false, {{"k0.tsb", "0"}}, {}, 0, false},
        {"no report is button 0", true, false, {{"k3.tsb", "3"}, {"", nullptr}}, {"load k3.tsb", "load k0.tsb"}, 0,
         false},
        {"out of range", true, false, {{"k3.tsb", "12"}, {"k3.tsb", "-1"}}, {}, 0, false},
        {"temporarily off", true, false, {{"ne_exs", "3"}}, {}, 0, true},
        {"back after temporarily off", true, false, {{"ne_exs", "3"}, {"k0.tsb", "0"}}, {"load k0.tsb"}, 0, false},
        {"edits stay", true, true, {{"k3.tsb", "3"}}, {}, 0, false},
        {"keyboard off", false, false, {{"k3.tsb", "3"}, {"ne_exs", "3"}}, {}, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Start();
        if (c.on) Activate();
        if (c.modified) session_->MarkModified();
        log_.clear();
        for (const auto& report : c.reports) {
            values_->Ini["Aktualni"] = report.first;
            if (report.second)
                values_->Ini["AktTlac"] = report.second;
            else
                values_->Ini.erase("AktTlac");
            const KeyboardView view = session_->Tick();
            EXPECT_EQ(view.TemporarilyOff, std::string(report.first) == ts::kTemporarilyOff && c.on);
            EXPECT_FALSE(view.Close);
        }
        EXPECT_EQ(log_, c.log);
        EXPECT_EQ(session_->CurrentQuickButton(), c.current);
        EXPECT_EQ(session_->ShownQuickButton(), c.current);
        EXPECT_EQ(session_->TemporarilyOff(), c.temporarilyOff);
    }
}

TEST_F(SessionTest, TheFirstTickHidesAndARefusedStartEnds) {
    for (bool editorOnly : {false, true}) {
        SCOPED_TRACE(editorOnly);
        Start(editorOnly);
        values_->Ini["Minimalizovny"] = "1";
        EXPECT_EQ(session_->Tick().Hide, !editorOnly);
        EXPECT_FALSE(session_->Tick().Hide);
        session_->RefuseStart();
        const KeyboardView view = session_->Tick();
        EXPECT_TRUE(view.Close);
        EXPECT_FALSE(view.Hide);
    }
}

TEST_F(SessionTest, TheSettingsTurnTheKeyboardOffAndReloadAfterwards) {
    Start();
    Activate();
    session_->PressQuickButton(6);
    log_.clear();
    KeyboardView view = session_->BeginSetup();
    EXPECT_TRUE(view.Proceed);
    EXPECT_EQ(view.KeyboardOn, std::optional<bool>(false));
    EXPECT_EQ(log_, (Log{"load k0.tsb", "remove"}));
    log_.clear();
    session_->PressQuickButton(6);
    log_.clear();
    view = session_->SetupDone();
    EXPECT_EQ(log_, (Log{"load k6.tsb"}));
    EXPECT_EQ(session_->CurrentPath(), folder_ + "k6.tsb");
}

}  // namespace
