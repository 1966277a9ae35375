// TDrawWindow: the client of the main frame. It holds the word box with its
// list of 25 neighbouring headwords, the scroll bar over the slot's key index,
// the pronunciation line and the translation box, and runs the lookup: from a
// change of the word box text to the filled list and, on selecting a line, to
// the shown entry. It is the engine's display (translation box, pronunciation).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/engine/engine_display.h"
#include "program.h"
#include "word_controls.h"
#include "winlib/controls.h"
#include "winlib/dialog.h"

namespace lexora {

// What the lookup window asks of the window that holds it.
class LookupHost {
public:
    virtual void SetCaption(const std::string& text) = 0;
    // Runs the handler of a command id (accelerators forwarded by the client).
    virtual void RunCommand(unsigned id) = 0;

protected:
    ~LookupHost() = default;
};

class TDrawWindow : public wl::Dialog, public lex::EngineDisplay {
public:
    TDrawWindow(wl::Window* parent, Program& program);
    ~TDrawWindow() override;

    void SetHost(LookupHost* host) { host_ = host; }
    void SetupWindow() override;

    // Shows the current slot and word again (after a change of either from
    // outside): captions, labels, fonts, and a new lookup of the word.
    void RefreshView();
    // Looks the word box text up and refills the list.
    void EvWordEditChange();

    // Paste: the clipboard text becomes the word and is looked up.
    void PasteWord(const std::string& word);

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
    const std::vector<lex::ResultRow>& Rows() const { return rows_; }
    bool ListDirty() const { return listDirty_; }

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

    // lex::EngineDisplay
    void ClearTranslation() override;
    void AppendTranslation(const std::string& text) override;
    void ScrollTranslationToTop() override;
    void SetPronunciation(const std::string& text) override;
    bool QualifyingKeyWaiting() override;

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
    void Scroll(int code);
    // Fills the list from the first `count` rows that a lookup returned; keeps
    // at most kVisibleRows lines. A failed lookup (`count` negative) leaves no
    // rows and tells the user.
    void ShowRows(int count);
    void ClearRows();
    // Moves the list one entry: up (a live entry before row 0 comes in at the
    // top) or down (one after the last row comes in at the bottom). The slot's
    // files must be open. True when the list moved.
    bool SlideUp();
    bool SlideDown();
    // The first live row from node `from` on (direction 1 along the next
    // links, -1 along the previous ones); false at the end or on an error.
    bool NextLiveRow(int32_t from, int direction, lex::ResultRow& row);
    // Puts the scroll bar at the word's place in the key index; false when
    // the key index cannot be opened.
    bool ScrollToWord(const std::string& word);
    void ShowMessage(int captionId, int textId);
    UINT OriginalCodePage() const;
    UINT TranslationCodePage() const;

    Program& program_;
    LookupHost* host_ = nullptr;
    std::vector<lex::ResultRow> rows_;
    bool listDirty_ = false;
    int scrollMaximum_ = 0;
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
    int lastScrollCode_ = 0;
};

}  // namespace lexora
