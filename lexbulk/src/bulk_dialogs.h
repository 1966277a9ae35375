// The dialogs of lexbulk's menu commands. The bulk work itself runs in the
// portable jobs (lexbulk/jobs); these dialogs read the user's choices, drive
// the steppers on their timer and show the messages.
#pragma once

#include <memory>

#include "lexbulk/jobs/archive_jobs.h"
#include "lexbulk/text/code_pages.h"
#include "core/ui/job_dialog.h"
#include "lexbulk/jobs/export_job.h"
#include "lexbulk/jobs/import_job.h"
#include "lexbulk/jobs/load_words.h"
#include "lexbulk_program.h"
#include "winlib/controls.h"

namespace lexbulk {

// Typing limit of the file path field of the archive, text and load-words dialogs.
constexpr int kPathFieldLimit = 254;
// Typing limit of the add-word dialog's word, pronunciation and reverse translation fields.
constexpr int kAddWordFieldLimit = 254;

// The three code-page radio buttons of the text dialogs (IDC_TEXT_CODE_1250,
// IDC_TEXT_CODE_852, IDC_TEXT_CODE_KAMENICKY).
class TextCodeButtons {
public:
    explicit TextCodeButtons(wl::Window* dialog);
    // Their texts in the UI language; Windows 1250 checked.
    void Setup(Program& program);
    // The code of the checked button; false when none is checked.
    bool Checked(TextCode& code) const;

private:
    wl::Window& dialog_;
    wl::Button windows1250_;
    wl::Button latin2_;
    wl::Button kamenicky_;
};

// Data-file initialisation of the user slots 12..19.
class TInicializaceWindow : public wl::Dialog {
public:
    TInicializaceWindow(wl::Window* parent, Program& program);
    void SetupWindow() override;
    WL_DECLARE_MESSAGE_TABLE();

private:
    void CmOk();
    void CmSelectAll();
    void CmCancelAll();
    Program& program_;
    wl::ListBox slots_;  // item k: slot 12 + k
};

// The dialogs that run a job on their timer show the job's counter, last
// word and translation, and its closing message.
class BulkJobDialog : public lex::JobDialog {
public:
    BulkJobDialog(wl::Window* parent, Program& program, int templateId);
    WL_DECLARE_MESSAGE_TABLE();

protected:
    void ShowProgress(const lex::JobProgress& progress) override;
    void JobEnded(lex::Stepper& job) override;
    // Starts `job`, which the dialog shows while it runs.
    bool RunJob(BulkJob& job);
    // The slot whose code pages the last word and translation are shown in.
    virtual int ShownSlot() const { return 0; }
    // A progress line with the percentage, or 0.
    int progressLine_ = 0;
    int progressText_ = 0;  // text shown after (or before) the percentage
    Program& program_;
    BulkJob* shown_ = nullptr;

    void CmBrowse();
    // Browse: the filter text and whether the file must exist.
    int browseFilter_ = 0;
    bool browseMustExist_ = true;

    wl::Edit path_;
    wl::Static count_;
    wl::Static lastWord_;         // in the original's code page of the shown slot
    wl::Static lastTranslation_;  // in its translation's code page
};

// Archive save (command 1208) and load (command 1207).
class ArchiveDialog : public BulkJobDialog {
public:
    enum Mode { kSave, kLoad };
    ArchiveDialog(wl::Window* parent, Program& program, Mode mode);
    void SetupWindow() override;
    ArchiveSaveJob& SaveJob() { return save_; }
    ArchiveLoadJob& LoadJob() { return load_; }
    WL_DECLARE_MESSAGE_TABLE();

protected:
    bool ConfirmCancel() override;

private:
    void CmStart();
    void CmSelectAll();
    void CmCancelAll();
    Mode mode_;
    ArchiveSaveJob save_;
    ArchiveLoadJob load_;
    wl::ListBox slots_;  // item s: slot s
};

// The import preview of one entry (template 4): 1 yes, 2 no, 3 yes and no
// more previews.
class TImpD : public wl::Dialog {
public:
    TImpD(wl::Window* parent, Program& program, const TextEntry& entry, int slot);
    void SetupWindow() override;
    WL_DECLARE_MESSAGE_TABLE();

private:
    void CmYes();
    void CmNo();
    Program& program_;
    TextEntry entry_;
    int slot_;
    wl::Static word_;
    wl::Static translation_;
    wl::Static pronunciation_;
    wl::Button noMore_;
};

// Import (command 202) and export (command 201) of entries as text.
class TextJobDialog : public BulkJobDialog, private ImportPreview {
public:
    enum Mode { kExport, kImport };
    TextJobDialog(wl::Window* parent, Program& program, Mode mode);
    void SetupWindow() override;
    ImportJob& Import() { return import_; }
    ExportJob& Export() { return export_; }
    WL_DECLARE_MESSAGE_TABLE();

protected:
    bool ConfirmCancel() override;
    void JobEnded(lex::Stepper& job) override;
    int ShownSlot() const override { return slot_; }

private:
    void CmStart();
    ImportPreview::Answer Show(const TextEntry& entry, int slot) override;
    Mode mode_;
    int slot_ = 0;
    ImportJob import_;
    ExportJob export_;
    wl::ComboBox slots_;
    wl::Edit template_;
    TextCodeButtons codes_;
};

// Loading the words of a text that a slot lacks (command 205).
class TLoadWordDialog : public wl::Dialog {
public:
    TLoadWordDialog(wl::Window* parent, Program& program);
    void SetupWindow() override;
    WL_DECLARE_MESSAGE_TABLE();

private:
    void CmOk();
    void CmBrowse();
    Program& program_;
    wl::Edit path_;
    wl::ComboBox slots_;
    TextCodeButtons codes_;
};

// The utility's own add-word dialog: the word with its translations, and
// optionally entries of the opposite direction; OK adds both, Skip goes on.
class TAddWordDialog : public wl::Dialog {
public:
    TAddWordDialog(wl::Window* parent, Program& program, int slot, const std::string& word);
    void SetupWindow() override;
    WL_DECLARE_MESSAGE_TABLE();

private:
    void CmOk();
    void CmTakeOver();
    void CmCleanUp();
    void CmSkip();
    // Gives `field` the font and code page of `side` of `slot`.
    void SetupField(wl::Edit& field, int slot, int side);
    Program& program_;
    int slot_;
    std::string word_;
    // The word and its pronunciation and translations (slot_), and the
    // entries of the opposite direction (its counterpart).
    wl::Edit wordField_;
    wl::Edit pronunciation_;
    wl::Edit translations_;
    wl::Edit reverseWords_;
    wl::Edit reversePronunciations_;
    wl::Edit reverseTranslation_;
};

}  // namespace lexbulk
