#include "product.h"

#include "core/settings/ts2000_ini.h"
#include "ts_program.h"
#include "ts/texts/ts_text_ids.h"
#include "winlib/program_starter.h"

namespace tsapp {

QuickButton LoadQuickButton(Program& program, int index) {
    QuickButton b;
    if (program.EditorOnly()) {
        const std::string& path = program.Line.EditorFilePath;
        b.Data = path.size() >= 4 ? path.substr(0, path.size() - 4) : std::string();
        return b;
    }
    const lex::Ts2000IniFile ts2000;
    b.ShortName = ts2000.ReadText(lex::Ts2000Key::QuickButtonShortName, index);
    b.Name = ts2000.ReadText(lex::Ts2000Key::QuickButtonName, index);
    if (b.Name == ts::kDefaultNameMark && ts::IsQuickButton(index))
        b.Name = ts::CutText(program.Text(ts::kTextKeyboardName0 + 10 * index), ts::kLongNameSize);
    b.Data = ts2000.ReadText(lex::Ts2000Key::QuickButtonData, index);
    b.WindowsLayout = ts2000.ReadInt(lex::Ts2000Key::QuickButtonWindowsLayout, index);
    return b;
}

void SaveQuickButton(int index, const QuickButton& b) {
    const lex::Ts2000IniFile ts2000;
    ts2000.WriteText(lex::Ts2000Key::QuickButtonShortName, ts::CutText(b.ShortName, ts::kShortNameSize), index);
    ts2000.WriteText(lex::Ts2000Key::QuickButtonName, ts::CutText(b.Name, ts::kLongNameSize), index);
    ts2000.WriteText(lex::Ts2000Key::QuickButtonData, ts::CutText(b.Data, ts::kDataSize), index);
    ts2000.WriteInt(lex::Ts2000Key::QuickButtonWindowsLayout, b.WindowsLayout, index);
}

HookLibrary::Result HookLibrary::Install(const std::string& path) {
    Remove();
    library_ = ::LoadLibraryA(path.c_str());
    if (!library_) return Result::NoLibrary;
    const auto procedure = reinterpret_cast<HOOKPROC>(
        reinterpret_cast<void*>(::GetProcAddress(library_, ts::kHookProcedureName)));
    if (procedure) hook_ = ::SetWindowsHookExA(WH_KEYBOARD, procedure, library_, 0);
    if (!hook_) {
        // Without its hook the library is of no use: the keyboard stays off.
        ::FreeLibrary(library_);
        library_ = nullptr;
        return Result::NoProcedure;
    }
    return Result::Installed;
}

void HookLibrary::Remove() {
    if (hook_) ::UnhookWindowsHookEx(hook_);
    if (library_) ::FreeLibrary(library_);
    hook_ = nullptr;
    library_ = nullptr;
}

HookLibrary::Result ProgramHookLibrary::Install() {
    return library_.Install(program_.ProgramDirectory() + ts::kHookLibraryName);
}

bool Ts2000ProductValues::SaveLast() { return ts2000_.ReadInt(lex::Ts2000Key::SaveLast) == 1; }

void Ts2000ProductValues::WriteLastQuickButton(int index) { ts2000_.WriteInt(lex::Ts2000Key::LastQuickButton, index); }

bool Ts2000ProductValues::AskToFinish() { return ts2000_.ReadInt(lex::Ts2000Key::AskToFinish) == 1; }

bool Ts2000ProductValues::HideAtStart() { return ts2000_.ReadInt(lex::Ts2000Key::HideAtStart) == 1; }

std::string Ts2000ProductValues::ActiveKeyboard() { return ts2000_.ReadText(lex::Ts2000Key::ActiveKeyboard); }

void Ts2000ProductValues::WriteActiveKeyboard(const std::string& path) {
    ts2000_.WriteText(lex::Ts2000Key::ActiveKeyboard, path);
}

int Ts2000ProductValues::ActiveQuickButton(int missing) {
    return ts2000_.ReadIntOr(lex::Ts2000Key::ActiveQuickButton, missing);
}

void Ts2000ProductValues::WriteActiveQuickButton(int index) {
    ts2000_.WriteText(lex::Ts2000Key::ActiveQuickButton, index < 0 ? std::string() : std::to_string(index));
}

void Ts2000ProductValues::WriteInstallCount(int count) { ts2000_.WriteInt(lex::Ts2000Key::InstallCount, count); }

std::string Ts2000ProductValues::QuickButtonData(int index) { return LoadQuickButton(program_, index).Data; }

int Ts2000ProductValues::QuickButtonWindowsLayout(int index) {
    return ts2000_.ReadInt(lex::Ts2000Key::QuickButtonWindowsLayout, index);
}

namespace {

struct ProductSearch {
    HWND except;
    bool found;
};

BOOL CALLBACK FindProductWindow(HWND hwnd, LPARAM lp) {
    auto& search = *reinterpret_cast<ProductSearch*>(lp);
    if (hwnd == search.except) return TRUE;
    char title[400] = {};
    ::GetWindowTextA(hwnd, title, static_cast<int>(sizeof title - 1));
    if (ts::IsProductTitle(title)) search.found = true;
    return TRUE;
}

}  // namespace

bool ProductWindowPresent(HWND except) {
    ProductSearch search{except, false};
    ::EnumWindows(FindProductWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool StartResidentProgram(const std::string& programDirectory) {
    return wl::StartSucceeded(wl::Starter().Start(ts::ResidentCommand(programDirectory), SW_SHOWNORMAL));
}

int InstalledLayouts(HKL* layouts, int room) { return ::GetKeyboardLayoutList(room, layouts); }

}  // namespace tsapp
