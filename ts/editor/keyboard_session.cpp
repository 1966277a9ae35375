#include "keyboard_session.h"

#include "ts/editor/product_settings.h"

namespace ts {

namespace {

// The result of a step that changes only what the keys show.
KeyboardView KeysRedrawn() {
    KeyboardView view;
    view.Keys = true;
    return view;
}

}  // namespace

KeyboardSession::KeyboardSession(const CommandLine& line, lex::keyboard::KeyboardLayoutStore& store,
                                 KeyboardSessionWindow& window, ProductHook& hook, ProductValues& values)
    : line_(line), store_(store), window_(window), hook_(hook), values_(values) {}

std::string KeyboardSession::CurrentPath() const { return EditorOnly() ? line_.EditorFilePath : data_ + ".tsb"; }

// ---- start-up ----

void KeyboardSession::StartQuickButtons(int current) {
    currentQuickButton_ = current;
    shownQuickButton_ = IsQuickButton(current) ? current : -1;
}

void KeyboardSession::StartWithoutQuickButtons() {
    currentQuickButton_ = 0;
    shownQuickButton_ = -1;
}

// ---- edit mode ----

KeyboardView KeyboardSession::AllowChanges() {
    KeyboardView view;
    AllowChanges(view);
    return view;
}

void KeyboardSession::AllowChanges(KeyboardView& view) {
    // The keyboard goes off while its layouts can change.
    if (hook_.Installed()) Activate(view);
    if (!editMode_) {
        editMode_ = true;
        view.EditMode = true;
        return;
    }
    editMode_ = false;
    view.EditMode = false;
    if (!cancelPending_ && store_.Modified && window_.AskSaveChanges()) {
        store_.SaveKeyboardFile(CurrentPath());
        if (store_.Modified) {
            // Not saved (the store has said so): the edits and edit mode stay.
            editMode_ = true;
            view.EditMode = true;
        }
        return;
    }
    store_.Modified = false;
    Reload();
    cancelPending_ = false;
}

bool KeyboardSession::LeaveEditModeFirst(KeyboardView& view) {
    if (editMode_) AllowChanges(view);
    return !editMode_;
}

void KeyboardSession::Reload() {
    shown_ = ShownState();
    window_.LoadLayout(CurrentPath());
}

KeyboardView KeyboardSession::CancelChanges() {
    KeyboardView view;
    if (editMode_) {
        cancelPending_ = true;
        AllowChanges(view);
    }
    cancelPending_ = false;
    Reload();
    return view;
}

KeyboardView KeyboardSession::Save() {
    store_.SaveKeyboardFile(CurrentPath());
    return KeyboardView();
}

KeyboardView KeyboardSession::End() {
    KeyboardView view;
    if (!LeaveEditModeFirst(view)) return view;  // the edits could not be saved
    if (!EditorOnly()) {
        if (values_.SaveLast()) values_.WriteLastQuickButton(shownQuickButton_ < 0 ? 0 : shownQuickButton_);
        if (values_.AskToFinish() && !window_.AskFinish()) return view;
    }
    view.Close = true;
    return view;
}

// ---- keys and the shown state ----

void KeyboardSession::TakeKey(int group, int key) { current_ = KeyRef{group, key, shown_.KeyState()}; }

KeyboardView KeyboardSession::ClickKey(int group, int key) {
    KeyboardView view;
    if (group < 0 || group >= lex::keyboard::kKeyGroupCount || key < 0 || key >= lex::keyboard::KeyCount(group)) return view;
    selectedGroup_ = group;
    selectedKey_ = key;
    view.Selection = true;
    TakeKey(group, key);
    return view;
}

KeyboardView KeyboardSession::BeginEdit() {
    KeyboardView view;
    view.Status = editMode_ ? KeyboardStatus::Blank : KeyboardStatus::PermitChangesFirst;
    view.Proceed = editMode_;
    return view;
}

KeyboardView KeyboardSession::BeginEditOfSelectedKey() {
    KeyboardView view = BeginEdit();
    if (!view.Proceed) return view;
    if (selectedGroup_ < 0) {
        view.Status = KeyboardStatus::ChooseKeyFirst;
        view.Proceed = false;
        return view;
    }
    TakeKey(selectedGroup_, selectedKey_);
    return view;
}

KeyboardView KeyboardSession::BeginEditOfKey(int group, int key) {
    KeyboardView view = BeginEdit();
    if (!view.Proceed) return view;
    if (group < 0 || group >= lex::keyboard::kKeyGroupCount || key < 0 || key >= lex::keyboard::KeyCount(group)) {
        view.Proceed = false;
        return view;
    }
    TakeKey(group, key);
    return view;
}

KeyboardView KeyboardSession::ToggleShift() {
    shown_.Shift = !shown_.Shift;
    return KeysRedrawn();
}

KeyboardView KeyboardSession::ToggleAlt() {
    shown_.Alt = !shown_.Alt;
    return KeysRedrawn();
}

KeyboardView KeyboardSession::ToggleCtrl() {
    shown_.Ctrl = !shown_.Ctrl;
    return KeysRedrawn();
}

KeyboardView KeyboardSession::TogglePrefix() {
    int& pending = shown_.PendingPrefix;
    pending = pending >= lex::keyboard::kPrefixCount - 1 ? -1 : pending + 1;
    return KeysRedrawn();
}

// ---- quick-switch buttons and activation ----

KeyboardView KeyboardSession::SelectQuickButton(int index) {
    KeyboardView view;
    SelectQuickButton(index, view);
    return view;
}

void KeyboardSession::SelectQuickButton(int index, KeyboardView& view) {
    if (!IsQuickButton(index)) return;
    data_ = values_.QuickButtonData(index);
    view.Title = index;
    Reload();
    view.TogglesOff = true;
    shownQuickButton_ = IsQuickButton(currentQuickButton_) ? currentQuickButton_ : -1;
    view.QuickButtons = true;
}

KeyboardView KeyboardSession::PressQuickButton(int index) {
    KeyboardView view;
    if (EditorOnly()) return view;
    if (!LeaveEditModeFirst(view)) return view;  // the edits could not be saved
    if (!IsQuickButton(index)) return view;
    shownQuickButton_ = index;
    view.QuickButtons = true;
    view.Title = index;
    data_ = values_.QuickButtonData(index);
    Reload();
    if (!hook_.Installed()) return view;
    values_.WriteActiveQuickButton(index);
    values_.WriteActiveKeyboard(CurrentPath());
    const int active = values_.ActiveQuickButton(-1);
    if (!IsQuickButton(active)) return view;
    const int layout = values_.QuickButtonWindowsLayout(active);
    if (layout >= 0) view.WindowsLayout = layout;
    return view;
}

KeyboardView KeyboardSession::Activate() {
    KeyboardView view;
    Activate(view);
    return view;
}

void KeyboardSession::Activate(KeyboardView& view) {
    if (EditorOnly()) return;
    // Edit mode is left first, so that its question comes before the layout
    // shown is replaced.
    if (!LeaveEditModeFirst(view)) return;  // the edits could not be saved
    SelectQuickButton(currentQuickButton_, view);
    if (keyboardOn_) {
        RemoveHook(view);
        keyboardOn_ = false;
        view.KeyboardOn = false;
        return;
    }
    values_.WriteActiveKeyboard(CurrentPath());
    values_.WriteActiveQuickButton(shownQuickButton_);
    RemoveHook(view);
    InstallHook(view);
    keyboardOn_ = hook_.Installed();
    view.KeyboardOn = keyboardOn_;
}

void KeyboardSession::InstallHook(KeyboardView& view) {
    if (hook_.Installed()) return;
    ++installCount_;
    values_.WriteInstallCount(installCount_);
    const ProductHook::Result result = hook_.Install();
    if (result == ProductHook::Result::Installed)
        view.ActiveIcon = true;
    else
        view.HookFailure = result;
}

void KeyboardSession::RemoveHook(KeyboardView& view) {
    if (!hook_.Installed()) return;
    hook_.Remove();
    view.ActiveIcon = false;
}

KeyboardView KeyboardSession::BeginSetup() {
    KeyboardView view;
    view.Proceed = false;
    if (EditorOnly()) return view;
    if (!LeaveEditModeFirst(view)) return view;  // the edits could not be saved
    if (hook_.Installed()) Activate(view);
    view.Proceed = true;
    return view;
}

KeyboardView KeyboardSession::SetupDone() {
    KeyboardView view;
    data_ = values_.QuickButtonData(shownQuickButton_);
    Reload();
    return view;
}

KeyboardView KeyboardSession::Tick() {
    KeyboardView view;
    if (quitRequested_) {
        view.Close = true;
        return view;
    }
    if (!firstTickDone_) {
        firstTickDone_ = true;
        if (!EditorOnly() && values_.HideAtStart()) view.Hide = true;
    }
    if (keyboardOn_) Poll(view);
    return view;
}

void KeyboardSession::Poll(KeyboardView& view) {
    if (EditorOnly()) return;
    if (values_.ActiveKeyboard() == kTemporarilyOff) {
        view.TemporarilyOff = true;
        temporarilyOff_ = true;
        return;
    }
    const int reported = values_.ActiveQuickButton(0);
    // A report outside 0..9 names no button; edits not yet saved are never
    // replaced by a reload.
    if (!IsQuickButton(reported) || store_.Modified) return;
    if (reported != currentQuickButton_ || temporarilyOff_) {
        currentQuickButton_ = reported;
        temporarilyOff_ = false;
        SelectQuickButton(reported, view);
    }
}

}  // namespace ts
