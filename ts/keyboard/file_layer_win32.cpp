// Windows part of the file layer: a rename that replaces the target.
#include <windows.h>

#include "ts/keyboard/file_layer_platform.h"

namespace ts {

bool PlatformReplace(const std::string& from, const std::string& to) {
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool PlatformExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace ts
