#include "ini_file.h"

#include <windows.h>

#include <cstdio>

namespace lex {
namespace ini {

namespace {
constexpr DWORD kDefaultBufferSize = 255;

std::string Format(const char* format, int a, int b) {
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, format, a, b);
    return buffer;
}
}  // namespace

std::string SectionName(const char* section, SettingArgs args, int a, int b) {
    if (args != SettingArgs::FontTypeSlot) return section;
    const char letter = a == 0 ? 'O' : a == 1 ? 'T' : 'V';
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, section, letter, b);
    return buffer;
}

std::string KeyName(const char* key, SettingArgs args, int a, int b) {
    if (args == SettingArgs::Index || args == SettingArgs::PairDirection) return Format(key, a, b);
    return key;
}

std::string ReadText(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& defaultText, int bufferSize) {
    const DWORD size = bufferSize > 0 ? static_cast<DWORD>(bufferSize) : kDefaultBufferSize;
    std::string buffer(size, '\0');
    const DWORD length = GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultText.c_str(), &buffer[0],
                                                  size, file.c_str());
    buffer.resize(length < size ? length : size - 1);
    return buffer;
}

int ReadInt(const std::string& file, const std::string& section, const std::string& key, int defaultValue) {
    return static_cast<int>(GetPrivateProfileIntA(section.c_str(), key.c_str(), defaultValue, file.c_str()));
}

bool WriteText(const std::string& file, const std::string& section, const std::string& key,
               const std::string& value) {
    return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str()) != FALSE;
}

}  // namespace ini
}  // namespace lex
