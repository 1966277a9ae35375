// The program-wide state of lexora: one object, owned by the application and
// handed to the frame and the client window.
#pragma once

#include <windows.h>

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
#include "keyboard_coupling.h"
#include "text_search.h"
#include "clipboard_rule.h"
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
    KeyboardCoupling Coupling;  // the keyboards of the focused fields
    // What the windows with dictionary fields call when the focus may have
    // moved: the coupling above (tests put a recorder in its place).
    lex::KeyboardCoupling* Keyboards = &Coupling;

    // Flags shared by the frame's commands.
    bool DialogOpen = false;
    bool HookInstalled = false;
    bool ClipboardLink = false;
    ClipboardMemory Clipboard;  // the clipboard watch's last text and own-copy flag
    // Runs when a command's dialog has closed (the frame's clipboard tick).
    std::function<void()> AfterDialog;
    DdeServer Dde;

    // The translator's chosen slots and output mode (0 8-bit, 1 UTF-16), and
    // the full-text search's state: kept between the dialogs' runs.
    std::array<bool, lex::kSlotCount> ChosenSlots{};
    int TranslatorOutputMode = 0;
    TextSearchState Search;

    int CurrentSlot() const { return Config.Dictionary.CurrentSlot; }
    void SetCurrentSlot(int slot);
    std::string& CurrentWord() { return Config.Dictionary.CurrentWord; }

    // Source-language font and code page of the slots, for the word controls.
    lex::SlotLook Look();

    // lex::EngineHooks
    void ReportEngineError(const std::string& text, const std::string& caption) override;
    void AddToHistory(const std::string& word, int slot) override;
};

}  // namespace lexora
