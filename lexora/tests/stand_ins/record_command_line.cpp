// A stand-in for a program that lexora starts (the keyboard program, a
// program of a keyboard's run key): it writes its command line to the file
// "<its own path>.args" and ends.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

int main() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string out = std::string(path) + ".args";
    const std::string temp = out + ".tmp";
    FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f) return 1;
    const char* line = ::GetCommandLineA();
    std::fwrite(line, 1, std::strlen(line), f);
    std::fclose(f);
    ::MoveFileA(temp.c_str(), out.c_str());  // the file appears whole
    return 0;
}
