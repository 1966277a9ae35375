// The word maintenance dialogs of the dictionary: add word (with Next Word),
// change word, delete word and delete translation. Each OK collects the
// fields and runs one command of core/lookup/word_edits over the language
// pair (the slot and its counterpart), so one Undo takes both sides back;
// the dialog shows its result.
//
// A dialog takes, when it is made, everything it works on from the main view
// (WordDialogView: slot, word, pronunciation, translations): nothing that
// happens while it is open (a DDE poke, a timer) can send its writes to
// another slot or word. After OK the opener reads NewWord() and puts it into
// its word box.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "core/dialogs/keyboard_coupling.h"
#include "core/dialogs/word_dialog_ids.h"
#include "core/engine/engine.h"
#include "core/lookup/word_edits.h"
#include "core/texts/text_loader.h"
#include "core/ui/edit2.h"
#include "winlib/controls.h"
#include "winlib/dialog.h"

namespace lex {

// Longest new current word an add or change dialog hands back (NewWord).
constexpr size_t kNewWordLength = 249;

// What the main view showed when the dialog was opened.
struct WordDialogView {
    int Slot = 0;
    std::string Word;           // word box text
    std::string Pronunciation;  // pronunciation line, with its brackets
    std::vector<std::string> TranslationLines;  // lines of the translation box
    std::string CaretLine;      // the translation box line holding the caret
    int32_t EntryOffset = 0;    // node of the selected list line (0: none)
};

// The program's parts that the dialogs use.
struct WordDialogServices {
    EngineContext& Engine;
    TextLoader& Texts;
    KeyboardCoupling& Coupling;
    // Label texts: OriginalNames (kind 0) and TranslationNames (kind 1) of a slot.
    std::function<std::string(int slot, int kind)> SlotName;
    // Font and code page of a slot's original (0), translation (1) and
    // pronunciation (2) texts; null / 0 keep the control's own.
    std::function<HFONT(int slot, int kind)> Font;
    std::function<UINT(int slot, int kind)> CodePage;
    // A failure message (caption and text ids); the dialog stays open.
    std::function<void(wl::Window* parent, int captionId, int textId)> ShowMessage;
};

// Result of Execute after a successful addition through Next Word.
constexpr INT_PTR kNextWordResult = 22;

// Shared parts of the four dialogs.
class WordDialogBase : public wl::Dialog {
public:
    WordDialogBase(wl::Window* parent, int templateId, WordDialogServices services, WordDialogView view);

    int Slot() const { return view_.Slot; }
    int Counterpart() const { return counterpart_; }
    // The word the opener shows after a successful OK.
    const std::string& NewWord() const { return newWord_; }

    WL_DECLARE_MESSAGE_TABLE();

protected:
    // Labels, caption and button texts, fonts and code pages of one field.
    void SetupField(wl::Window& field, int slot, int kind);
    void SetLabel(int id, int slot, int kind);
    // The common part of the two delete dialogs' set-up: caption, buttons,
    // and the word, translation, reverse words and reverse translation
    // fields with their labels (the entry's slot, then the counterpart).
    void SetupDeleteFields(int captionId, wl::Edit& word, wl::Edit& translations, wl::Edit& reverseWords,
                           wl::Edit& reverseTranslation);
    // Lines of a multi-line field, each cut to 253 characters.
    static std::vector<std::string> Lines(const wl::Edit& field);
    // A field's text cut to `limit` characters.
    static std::string FieldText(const wl::Edit& field, size_t limit = kMaxTextLength);
    static void AppendLines(wl::Edit& field, const std::vector<std::string>& lines);
    // Reports the result of a command: false (with the message) on a failure.
    bool CommandDone(int result);
    // The entry's live translations from the files, translations before
    // grammar notes; false when the entry cannot be read.
    bool ReadEntryTranslations(std::vector<std::string>& out);

    WordDialogServices services_;
    WordDialogView view_;
    int counterpart_;
    std::string newWord_;
};

// Add word and change word: template IDD_WORD_ENTRY.
class TAddWordDialog : public WordDialogBase {
public:
    TAddWordDialog(wl::Window* parent, WordDialogServices services, WordDialogView view);
    ~TAddWordDialog() override;
    void SetupWindow() override;

    wl::Edit& WordField() { return word_; }

    WL_DECLARE_MESSAGE_TABLE();

protected:
    // Whether the word may be written; false (with a message) for a word
    // that begins with the grammar-note separator.
    bool WordAccepted(const std::string& word);
    // Whether OK may write the fields, given the trimmed word and reverse
    // translation: false (with a message, nothing written) for a word or a
    // reverse word that begins with the grammar-note separator, and for a
    // field going into a slot that holds characters the slot's code page
    // cannot store.
    bool EntryAccepted(const std::string& word, const std::string& reverse);
    // The fields as the rules take them, and whether OK may write them
    // (EntryAccepted with the trimmed word and reverse translation).
    WordEntry Entry() const;
    bool Accepted(const WordEntry& entry);
    void CmTakeOver();
    void CmClear();
    virtual void CmOk();
    void CmOkNext();
    LRESULT EvTimer(WPARAM, LPARAM);
    void EvWordChange();
    void EvReverseTranslationChange();
    void ReverseCaret(wl::Edit& field);

    wl::Edit word_;
    wl::Edit pronunciation_;
    TEdit2 translations_;
    TEdit2 reverseWords_;
    TEdit2 reversePronunciations_;
    wl::Edit reverseTranslation_;
    bool nextWord_ = false;
};

class TChangeWordDialog : public TAddWordDialog {
public:
    TChangeWordDialog(wl::Window* parent, WordDialogServices services, WordDialogView view);
    void SetupWindow() override;

    // The old translations the dialog started from (from the files).
    const std::vector<std::string>& OldTranslations() const { return oldTranslations_; }

protected:
    void CmOk() override;

private:
    std::vector<std::string> oldTranslations_;
};

// Delete word (template IDD_DELETE_WORD) and delete translation
// (IDD_DELETE_TRANSLATION).
class TDeleteWordDialog : public WordDialogBase {
public:
    TDeleteWordDialog(wl::Window* parent, WordDialogServices services, WordDialogView view);
    void SetupWindow() override;
    WL_DECLARE_MESSAGE_TABLE();

private:
    void CmTakeOver();
    void CmClear();
    void CmOk();

    wl::Edit word_;
    TEdit2 translations_;
    TEdit2 reverseWords_;
    wl::Edit reverseTranslation_;
};

class TDeleteTranslationDialog : public WordDialogBase {
public:
    TDeleteTranslationDialog(wl::Window* parent, WordDialogServices services, WordDialogView view);
    void SetupWindow() override;
    WL_DECLARE_MESSAGE_TABLE();

private:
    void CmTakeOver();
    void CmClear();
    void CmOk();

    wl::Edit word_;
    wl::Edit translation_;
    wl::Edit reverseWord_;
    wl::Edit reverseTranslation_;
};

}  // namespace lex
