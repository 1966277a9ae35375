// The system's open file, save file and font dialogs, with 8-bit texts in a
// code page (converted once, here, for the W functions).
//
//   wl::FileDialogOptions o;
//   o.filter = texts.LoadText(kTextFileFilter);   // "Text Files|*.txt|All Files|*.*|" in the UI language
//   o.flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
//   if (wl::OpenFileDialog(this, o)) path.SetText(o.fileName);
//
//   wl::FontDialogOptions f;  f.font = logFont;  f.minPointSize = 8;  f.maxPointSize = 18;
//   if (wl::ChooseFontDialog(this, f)) logFont = f.font;
//
// Tests answer the dialogs without showing them through ScopedFileDialogRunner
// and ScopedFontDialogRunner: the runner gets the prepared system record and
// fills it as the user's choice would.
#pragma once

#include <windows.h>
#include <commdlg.h>

#include <functional>
#include <string>

namespace wl {

class Window;

struct FileDialogOptions {
    std::string title;       // caption; empty: the system's own
    std::string filter;      // "name|pattern|name|pattern|" ('|' separates, as in the text tables)
    int filterIndex = 1;     // the filter shown, from 1; the one in use when the user chose
    std::string initialDir;  // empty: the system's choice
    std::string defaultExt;  // added to a name typed without one ("txt")
    std::string fileName;    // proposed name; the chosen path (with folder) afterwards
    DWORD flags = 0;         // OFN_ flags (OFN_EXPLORER is always added; one file, no OFN_ALLOWMULTISELECT)
    UINT codePage = 0;       // of every text above; 0: the owner's code page
};

// Shows the dialog; true when the user chose a file (`options` then holds
// it), false after Cancel or a failure (nothing changes).
bool OpenFileDialog(Window* owner, FileDialogOptions& options);
bool SaveFileDialog(Window* owner, FileDialogOptions& options);

struct FontDialogOptions {
    LOGFONTA font{};           // the font shown first; the chosen font afterwards (face name in codePage)
    DWORD flags = CF_SCREENFONTS;  // CF_ flags (CF_INITTOLOGFONTSTRUCT is always added)
    COLORREF color = 0;        // with CF_EFFECTS: the colour shown first and the one chosen
    int minPointSize = 0;      // both non-zero: the sizes offered (CF_LIMITSIZE)
    int maxPointSize = 0;
    int pointSize = 0;         // afterwards: the chosen size in tenths of a point
    UINT codePage = 0;         // of the face name; 0: the owner's code page
};

bool ChooseFontDialog(Window* owner, FontDialogOptions& options);

// What shows the system dialogs: GetOpenFileNameW / GetSaveFileNameW
// (`save` tells which) and ChooseFontW. True: the user chose.
using FileDialogRunner = std::function<bool(OPENFILENAMEW& record, bool save)>;
using FontDialogRunner = std::function<bool(CHOOSEFONTW& record)>;

// Test seams: replace the runner until the guard ends.
class ScopedFileDialogRunner {
public:
    explicit ScopedFileDialogRunner(FileDialogRunner runner);
    ~ScopedFileDialogRunner();
    ScopedFileDialogRunner(const ScopedFileDialogRunner&) = delete;
    ScopedFileDialogRunner& operator=(const ScopedFileDialogRunner&) = delete;
private:
    FileDialogRunner saved_;
};

class ScopedFontDialogRunner {
public:
    explicit ScopedFontDialogRunner(FontDialogRunner runner);
    ~ScopedFontDialogRunner();
    ScopedFontDialogRunner(const ScopedFontDialogRunner&) = delete;
    ScopedFontDialogRunner& operator=(const ScopedFontDialogRunner&) = delete;
private:
    FontDialogRunner saved_;
};

// The "a|b|" filter of the texts as the system wants it: each '|' a NUL,
// ending in two NULs.
std::wstring FilterFromText(const std::string& filter, UINT codePage);

}  // namespace wl
