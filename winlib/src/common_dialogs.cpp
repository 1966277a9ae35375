#include "winlib/common_dialogs.h"

#include <cstring>
#include <utility>
#include <vector>

#include "winlib/text.h"
#include "winlib/window.h"

namespace wl {

namespace {

FileDialogRunner& FileRunner() {
    static FileDialogRunner runner = [](OPENFILENAMEW& record, bool save) {
        return (save ? GetSaveFileNameW(&record) : GetOpenFileNameW(&record)) != 0;
    };
    return runner;
}

FontDialogRunner& FontRunner() {
    static FontDialogRunner runner = [](CHOOSEFONTW& record) { return ChooseFontW(&record) != 0; };
    return runner;
}

UINT CodePageFor(const Window* owner, UINT codePage) {
    if (codePage) return codePage;
    return owner ? owner->CodePage() : Window::DefaultCodePage();
}

HWND HandleOf(const Window* owner) { return owner ? owner->Handle() : nullptr; }

// Room for any path the system gives.
constexpr size_t kPathChars = 32768;

bool RunFileDialog(Window* owner, FileDialogOptions& options, bool save) {
    const UINT cp = CodePageFor(owner, options.codePage);
    const std::wstring filter = FilterFromText(options.filter, cp);
    const std::wstring title = ToWide(options.title, cp);
    const std::wstring dir = ToWide(options.initialDir, cp);
    const std::wstring ext = ToWide(options.defaultExt, cp);
    std::vector<wchar_t> file(kPathChars, L'\0');
    const std::wstring proposed = ToWide(options.fileName, cp);
    if (proposed.size() < kPathChars) std::memcpy(file.data(), proposed.data(), proposed.size() * sizeof(wchar_t));

    OPENFILENAMEW record{};
    record.lStructSize = sizeof(record);
    record.hwndOwner = HandleOf(owner);
    record.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
    record.nFilterIndex = options.filterIndex > 0 ? static_cast<DWORD>(options.filterIndex) : 1;
    record.lpstrFile = file.data();
    record.nMaxFile = static_cast<DWORD>(file.size());
    record.lpstrInitialDir = dir.empty() ? nullptr : dir.c_str();
    record.lpstrTitle = title.empty() ? nullptr : title.c_str();
    record.lpstrDefExt = ext.empty() ? nullptr : ext.c_str();
    record.Flags = options.flags | OFN_EXPLORER;

    if (!FileRunner() || !FileRunner()(record, save)) return false;
    file.back() = L'\0';
    options.fileName = FromWide(file.data(), cp);
    options.filterIndex = static_cast<int>(record.nFilterIndex);
    return true;
}

}  // namespace

std::wstring FilterFromText(const std::string& filter, UINT codePage) {
    if (filter.empty()) return std::wstring();
    std::wstring wide = ToWide(filter, codePage);
    if (wide.back() != L'|') wide.push_back(L'|');
    for (wchar_t& c : wide)
        if (c == L'|') c = L'\0';
    wide.push_back(L'\0');  // with the one c_str() adds: two NULs at the end
    return wide;
}

bool OpenFileDialog(Window* owner, FileDialogOptions& options) { return RunFileDialog(owner, options, false); }
bool SaveFileDialog(Window* owner, FileDialogOptions& options) { return RunFileDialog(owner, options, true); }

bool ChooseFontDialog(Window* owner, FontDialogOptions& options) {
    const UINT cp = CodePageFor(owner, options.codePage);
    LOGFONTW font{};
    std::memcpy(&font, &options.font, offsetof(LOGFONTA, lfFaceName));
    const std::wstring face = ToWide(std::string(options.font.lfFaceName, strnlen(options.font.lfFaceName, LF_FACESIZE)), cp);
    face.copy(font.lfFaceName, LF_FACESIZE - 1);

    CHOOSEFONTW record{};
    record.lStructSize = sizeof(record);
    record.hwndOwner = HandleOf(owner);
    record.lpLogFont = &font;
    record.Flags = options.flags | CF_INITTOLOGFONTSTRUCT;
    record.rgbColors = options.color;
    if (options.minPointSize > 0 && options.maxPointSize > 0) {
        record.Flags |= CF_LIMITSIZE;
        record.nSizeMin = options.minPointSize;
        record.nSizeMax = options.maxPointSize;
    }
    if (!FontRunner() || !FontRunner()(record)) return false;

    std::memcpy(&options.font, &font, offsetof(LOGFONTA, lfFaceName));
    font.lfFaceName[LF_FACESIZE - 1] = L'\0';
    const std::string chosen = FromWide(font.lfFaceName, cp);
    std::memset(options.font.lfFaceName, 0, LF_FACESIZE);
    chosen.copy(options.font.lfFaceName, LF_FACESIZE - 1);
    options.color = record.rgbColors;
    options.pointSize = record.iPointSize;
    return true;
}

ScopedFileDialogRunner::ScopedFileDialogRunner(FileDialogRunner runner) : saved_(std::move(FileRunner())) {
    FileRunner() = std::move(runner);
}
ScopedFileDialogRunner::~ScopedFileDialogRunner() { FileRunner() = std::move(saved_); }

ScopedFontDialogRunner::ScopedFontDialogRunner(FontDialogRunner runner) : saved_(std::move(FontRunner())) {
    FontRunner() = std::move(runner);
}
ScopedFontDialogRunner::~ScopedFontDialogRunner() { FontRunner() = std::move(saved_); }

}  // namespace wl
