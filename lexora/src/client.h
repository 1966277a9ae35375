// TDrawWindow: the client of the main frame. It holds the word box with its
// list of 25 neighbouring headwords, the scroll bar over the slot's key index,
// the pronunciation line and the translation box. The road of a lookup (from a
// change of the word box text to the filled list and, on selecting a line, to
// the shown entry) is the lookup session's (core/lookup); the window passes
// it its messages and draws what it gives back.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/lookup/lookup_session.h"
#include "lexora_program.h"
#include "word_controls.h"
#include "winlib/controls.h"
#include "winlib/dialog.h"

namespace lexora {

// Typing limit of the word box.
constexpr int kWordBoxTextLimit = 250;

// What the lookup window asks of the window that holds it.
class LookupHost {
public:
    virtual void SetCaption(const std::string& text) = 0;
    // Runs the handler of a command id (accelerators forwarded by the client).
    virtual void RunCommand(unsigned id) = 0;

protected:
    ~LookupHost() = default;
};

class TDrawWindow : public wl::Dialog {
public:
    TDrawWindow(wl::Window* parent, Program& program);
    ~TDrawWindow() override;

    void SetHost(LookupHost* host) { host_ = host; }
    void SetupWindow() override;

    // The road of every command that takes the lookup elsewhere: the lookup
    // session goes to `word` in `slot`, and the window shows it (captions,
    // labels, fonts, the word box and every text in its side's code page of
    // the new slot).
    void GoTo(int slot, const std::string& word);
    // Shows the current slot and word again (after a change of the files or
    // the fonts): GoTo where the lookup is.
    void RefreshView();
    // Looks the word box text up and refills the list.
    void EvWordEditChange();
    // The word box shows `word` (the current slot's bytes), which is looked up.
    void LookUpWord(const std::string& word);

    // Paste: the clipboard text becomes the word and is looked up.
    void PasteWord(const std::string& word);

    // Where the lookup is and the entry the window shows, as the session has
    // them (what the word dialogs take).
    lex::LookupShown ShownEntry() { return Session().ShownEntry(); }

    WordBox* WordBoxControl() const { return wordBox_; }
    TranslationBox* TranslationControl() const { return translation_; }
    wl::Edit& CopyEdit() { return copyEdit_; }
    bool Laid() const { return !firstLayout_; }
    // Builds the children now when no size message has done it yet.
    void EnsureLayout() {
        if (!noneYet_) return;
        firstLayout_ = false;
        Layout();
    }

    // The lookup: the rows behind the list lines (row i = line i) and whether
    // the list was refilled since the rows were last shown.
    const std::vector<lex::ResultRow>& Rows() { return Session().Rows(); }
    bool ListDirty() { return Session().ListDirty(); }

    // Focus memory: which of word box and translation box had the focus last.
    bool WordBoxFocused() const { return wordBoxFocused_; }
    bool TranslationFocused() const { return translationFocused_; }
    // The frame was activated: the word box gets the focus (its own focus
    // notification then changes nothing) and counts as focused.
    void FocusWordBoxOnActivation();
    // Notes which box holds `focus`, if either does.
    void NoteFocus(HWND focus);
    // Gives the focus back to the box that had it last.
    void RestoreFocus();
    // The box that holds the focus now, if either does; and giving the focus
    // to one (nothing changes for none, or when that box has it already).
    enum class FocusedBox { None, Word, Translation };
    FocusedBox FocusNow() const;
    void FocusBox(FocusedBox box);

    WL_DECLARE_MESSAGE_TABLE();

private:
    void EvWordBox(UINT code);
    void EvTranslationBox(UINT code);
    void EvWordSelChange();
    LRESULT EvVScroll(WPARAM, LPARAM);
    LRESULT EvSize(WPARAM, LPARAM);
    LRESULT EvClose(WPARAM, LPARAM);
    LRESULT EvCommandMessage(WPARAM, LPARAM);
    void CmNothing() {}

    void Layout();
    void DestroyChildren();
    // The session, made once the program's engine exists.
    lex::LookupSession& Session();
    // Draws what a step of the session gave back, then reports its failures.
    void Show(const lex::LookupView& view);
    void ClearRows();
    void ClearTranslation();
    // Whether a key press waits that gives the display of an entry up.
    bool QualifyingKeyWaiting();
    // Looks `word` (the word box's text) up, keeping the caret where the user types.
    void LookUpText(const std::string& word);
    // The word box shows `word` in the current slot's code page.
    void ShowWord(const std::string& word);
    void ShowMessage(int captionId, int textId);
    UINT OriginalCodePage() const;
    UINT TranslationCodePage() const;

    Program& program_;
    LookupHost* host_ = nullptr;
    std::unique_ptr<lex::LookupSession> session_;
    bool wordBoxFocused_ = true;
    bool translationFocused_ = false;
    bool skipNextFocus_ = false;
    wl::Edit copyEdit_;
    wl::Static* label1_ = nullptr;
    wl::Static* label2_ = nullptr;
    WordBox* wordBox_ = nullptr;
    wl::ScrollBar* scroll_ = nullptr;
    wl::Static* pronunciation_ = nullptr;
    TranslationBox* translation_ = nullptr;
    bool firstLayout_ = true;
    bool noneYet_ = true;
};

}  // namespace lexora
