// TNajdiWindow: the full-text search. It searches one slot for a string in
// headwords, in translations or in both, shows every match in the main window
// and asks whether to go on; a stopped search continues later ("Locate Next")
// from the node after the one of its last match. The search runs on the
// dialog's timer with a time budget per tick and shows its progress.
#pragma once

#include <memory>

#include "core/ui/job_dialog.h"
#include "lexora_program.h"
#include "lexora/wordtools/text_search.h"
#include "winlib/controls.h"

namespace lexora {

class TDrawWindow;

class TNajdiWindow : public lex::JobDialog, private SearchHitHandler {
public:
    // `resume`: continue the last search (command 301) instead of a new one (300).
    TNajdiWindow(wl::Window* parent, Program& program, TDrawWindow& client, bool resume);
    ~TNajdiWindow() override;
    void SetupWindow() override;
    WL_DECLARE_MESSAGE_TABLE();

    // Work of one timer tick.
    static constexpr int kTickBudgetMs = 8;

protected:
    void JobEnded(lex::Stepper& job) override;

private:
    void CmStartSearch();
    void CmKeyboardToggle();
    // The keyboard of the toggle's side of the slot chosen for the search.
    void SelectSideKeyboard();
    void EvSlotChange(UINT code);
    void EvSearchText(UINT code);
    // Font of the search text: the chosen slot's source language.
    void ShowSlotFont(int slot);
    void Warn(int captionId, int textId);
    bool OnHit(const SearchHit& hit) override;

    Program& program_;
    TDrawWindow& client_;
    bool resume_;
    int keyboardSide_ = 0;  // 0 original, 1 translation
    // The search reads the slot through an engine context of its own, so its
    // open files are never those of a lookup.
    std::unique_ptr<lex::EngineDisplay> display_;
    lex::EngineContext engine_;
    TextSearchJob job_;
    wl::Edit text_;
    wl::ComboBox slots_;
};

}  // namespace lexora
