// The program-wide state of lexora: one object, owned by the application and
// handed to the frame and the client window.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/engine/engine.h"
#include "core/settings/settings.h"
#include "core/ui/dictionary_program.h"
#include "core/texts/text_loader.h"
#include "core/ui/message_boxes.h"
#include "core/ui/quiet_display.h"
#include "core/ui/slot_look.h"
#include "core/history/history_list.h"
#include "lexora_keyboard_coupling.h"
#include "keyboard_hook.h"
#include "lexora/wordtools/text_search.h"
#include "lexora/rules/clipboard_rule.h"
#include "dde_server.h"

namespace lexora {

constexpr int kVisibleRows = 25;

// Settings, texts, message buffers, history, files and the fonts per slot come
// from lex::DictionaryProgramState.
class Program : public lex::EngineHooks, public lex::DictionaryProgramState {
public:
    explicit Program(HINSTANCE instance, const std::string& settingsFile = lex::kSettingsFileName);
    ~Program() override;

    // The lookup window draws what its lookup session gives back, so the
    // engine itself shows nothing.
    lex::QuietDisplay Display;
    std::unique_ptr<lex::EngineContext> Engine;
    // The file layer for paths kept in UTF-8 (the translator's source and output).
    std::unique_ptr<lex::FileSystem> Utf8PathFiles = lex::MakePlatformFileSystem(lex::PathEncoding::Utf8);
    LexoraKeyboardCoupling Coupling;  // the keyboards of the focused fields
    // What the windows with dictionary fields call when the focus may have
    // moved: the coupling above (tests put a recorder in its place).
    lex::KeyboardCoupling* Keyboards = &Coupling;

    DdeServer Dde;

    // The dialog-open flag: set while a command of the frame shows a modal
    // dialog (DialogOpenScope); the clipboard watch does nothing meanwhile.
    bool DialogOpen() const { return dialogOpen_; }
    // A command's dialog opens: true when no other one was open, so that this
    // one is the outer one, which leaves the flag.
    bool EnterDialog();
    // The outer dialog has closed: the flag cleared, then the after-dialog
    // work when `tickAfter`.
    void LeaveDialog(bool tickAfter);
    // What runs when a command's dialog has closed (the frame's clipboard tick).
    void SetAfterDialog(std::function<void()> work) { afterDialog_ = std::move(work); }
    // Where the keys go around a command's dialog: `note` runs as the outer
    // dialog opens (where the focus is), `giveBack` after the dialog has closed
    // and the after-dialog work has run (the focus back where it was).
    void SetDialogFocus(std::function<void()> note, std::function<void()> giveBack) {
        noteFocus_ = std::move(note);
        giveBackFocus_ = std::move(giveBack);
    }

    // The keyboard hook of the coupling: installed while it types through
    // the coupling's keyboards.
    bool HookInstalled() const { return hook_.Installed(); }
    // With the coupling setting on: the coupling on and the hook installed
    // (at start, and when a restart could not start the new copy).
    void StartKeyboardCoupling();
    // After the keyboard configuration's OK: the hook goes in when the
    // setting is on and it is not in (the coupling on only when it went in),
    // out when the setting is off and it is in; the layout is loaded again.
    void ApplyKeyboardCouplingSetting();
    // The coupling off and the hook removed.
    void StopKeyboardCoupling();

    // The clipboard link switch: from the settings at start, then the link
    // commands. Switching it on settles a copy of our own made while it was
    // off: still on the clipboard (its change count `change` unchanged since),
    // its text (`readText`) becomes the last text seen and is not looked up;
    // replaced by another copy, it holds back nothing.
    bool ClipboardLink() const { return clipboardLink_; }
    void SetClipboardLink(bool on, unsigned long change = 0, const std::function<std::string()>& readText = nullptr);
    // The own copy command has put its text on the clipboard (`copied`, the
    // clipboard's change count then being `change`) or failed to: only a copy
    // that got there keeps the next text that the watch reads from being
    // looked up.
    void NoteOwnCopy(bool copied, unsigned long change) {
        clipboard_.OwnCopy = copied;
        clipboard_.OwnCopyChange = change;
    }
    // A text the clipboard watch read: true when it is to be looked up (the
    // watch's memory of the last text and of our own copy is updated).
    bool TakeClipboardText(std::string text);

    // The translator's chosen slots and output mode (0 8-bit, 1 UTF-16):
    // kept between the dialogs' runs.
    const std::array<bool, lex::kSlotCount>& ChosenSlots() const { return chosenSlots_; }
    void ChooseSlots(const std::array<bool, lex::kSlotCount>& chosen) { chosenSlots_ = chosen; }
    int TranslatorOutputMode() const { return translatorOutputMode_; }
    void SetTranslatorOutputMode(int mode) { translatorOutputMode_ = mode; }

    // The full-text search's state, kept between the dialog's runs.
    TextSearchState Search;

    // Where the lookup is. Only the lookup session changes them (the lookup
    // window's GoTo).
    int CurrentSlot() const { return Config.Dictionary.CurrentSlot; }
    const std::string& CurrentWord() const { return Config.Dictionary.CurrentWord; }

    // Source-language font and code page of the slots, for the word controls.
    lex::SlotLook Look();

    // lex::EngineHooks
    void ReportEngineError(const std::string& text, const std::string& caption) override;
    void AddToHistory(const std::string& word, int slot) override;

private:
    bool dialogOpen_ = false;
    std::function<void()> afterDialog_;
    std::function<void()> noteFocus_, giveBackFocus_;
    KeyboardHook hook_{Coupling, *Files};
    bool clipboardLink_ = false;
    ClipboardMemory clipboard_;  // the clipboard watch's last text and own-copy flag
    std::array<bool, lex::kSlotCount> chosenSlots_{};
    int translatorOutputMode_ = 0;
};

}  // namespace lexora
