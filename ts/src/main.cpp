// ts: the configuration program of the keyboard product. Started by the
// dictionary programs as "ts X <language> "<keyboard file>"" it edits that one
// keyboard file; without arguments it shows the keyboard chosen last.
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "core/settings/ts2000_ini.h"
#include "ts_keyboard_dialog.h"
#include "ts_program.h"
#include "winlib/exception_barrier.h"
#include "winlib/text.h"

namespace {

// The arguments after the program name as the system splits them (blanks
// separate, quotes group and are removed), in the system's code page, in
// which the file functions take paths.
std::vector<std::string> Arguments() {
    std::vector<std::string> out;
    int count = 0;
    LPWSTR* args = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (!args) return out;
    for (int i = 1; i < count; ++i) out.push_back(wl::FromWide(args[i], CP_ACP));
    ::LocalFree(args);
    return out;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const ts::CommandLine line = ts::ParseCommandLine(Arguments());
    if (line.Mode() == ts::StartMode::EndAtOnce) return 0;
    tsapp::Program program(line);
    if (line.Mode() == ts::StartMode::Normal) {
        const lex::Ts2000IniFile ts2000;
        program.SetProgramDirectory(ts::TrimProgramDirectory(ts2000.ReadText(lex::Ts2000Key::ProgramFolder)));
    }
    tsapp::KeyboardDialog dialog(program);
    dialog.Execute();
    return 0;
}
