#include <windows.h>

#include <shellapi.h>

#include "lexbulk_frame.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // The utility is started by the dictionary with the one word "start";
    // any other command line ends it at once, touching nothing.
    int argc = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    const bool start = argv && lexbulk::IsStartCommand(argc, argv);
    if (argv) ::LocalFree(argv);
    if (!start) return 0;
    lexbulk::Program program(instance);
    return lexbulk::OwlMain(instance, program);
}
