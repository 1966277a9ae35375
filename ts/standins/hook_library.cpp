// Stand-in of the keyboard product's hook library "tsdll.dll": each process
// that loads it adds a line "loaded <process id>" to "tsdll.log" beside the
// library; its keyboard hook procedure passes every key on unchanged. Built
// once more without the procedure, to show how ts takes a library without it.
#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

void LogLoading(HINSTANCE module) {
    char path[MAX_PATH] = {};
    const DWORD n = ::GetModuleFileNameA(module, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return;
    char* slash = std::strrchr(path, '\\');
    if (!slash) return;
    std::strcpy(slash + 1, "tsdll.log");
    if (FILE* log = std::fopen(path, "ab")) {
        std::fprintf(log, "loaded %lu\n", static_cast<unsigned long>(::GetCurrentProcessId()));
        std::fclose(log);
    }
}

}  // namespace

#ifndef TS_STANDIN_WITHOUT_HOOK
extern "C" __declspec(dllexport) LRESULT CALLBACK SpyGetMsgProc(int code, WPARAM wp, LPARAM lp) {
    return ::CallNextHookEx(nullptr, code, wp, lp);
}
#endif

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) LogLoading(module);
    return TRUE;
}
