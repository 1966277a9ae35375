// POSIX part of the file layer for the native build.
#include <sys/stat.h>

#include <cstdio>

#include "ts/keyboard/file_layer_platform.h"

namespace ts {

bool PlatformReplace(const std::string& from, const std::string& to) {
    return std::rename(from.c_str(), to.c_str()) == 0;
}

bool PlatformExists(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

}  // namespace ts
