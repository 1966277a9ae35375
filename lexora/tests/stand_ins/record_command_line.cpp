// A stand-in for a program that lexora starts (the keyboard program, a
// program of a keyboard's run key, the editor): it writes its command line to
// the file "<its own path>.args", and as UTF-16 to "<its own path>.wargs",
// and ends.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>

namespace {

// Writes `size` bytes to `out`; the file appears whole.
bool Record(const std::string& out, const void* data, size_t size) {
    const std::string temp = out + ".tmp";
    FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f) return false;
    std::fwrite(data, 1, size, f);
    std::fclose(f);
    return ::MoveFileA(temp.c_str(), out.c_str()) != 0;
}

}  // namespace

int main() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    const wchar_t* wide = ::GetCommandLineW();
    if (!Record(std::string(path) + ".wargs", wide, std::wcslen(wide) * sizeof(wchar_t))) return 1;
    const char* line = ::GetCommandLineA();
    return Record(std::string(path) + ".args", line, std::strlen(line)) ? 0 : 1;
}
