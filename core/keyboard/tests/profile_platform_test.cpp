// The portable profile file against the system's profile functions, on the same
// files: what either writes, the other reads the same way.
#include <windows.h>

#include "keyboard_fixture.h"

namespace {

std::string SystemGet(const std::string& path, const char* section, const char* key, const char* fallback,
                      int size) {
    std::vector<char> buffer(static_cast<size_t>(size) + 1, '\0');
    GetPrivateProfileStringA(section, key, fallback, buffer.data(), static_cast<DWORD>(size), path.c_str());
    return buffer.data();
}

const char kContent[] =
    "; comment\r\n"
    "[RUN]\r\n"
    "0_12_1=C:\\Prog\\calc.exe\r\n"
    "  0_1_0  =   spaced value \t \r\n"
    "quoted=\"q v\"\r\n"
    "single='x'\r\n"
    "lonequote=\"\r\n"
    "novalue\r\n"
    "empty=\r\n"
    "dup=first\r\n"
    "dup=second\r\n"
    "\r\n"
    "[font]\r\n"
    "lfHeight=-20\n"
    "lfWeight= 700\r\n"
    "lfItalic=12abc\r\n"
    "[RUN]\r\n"
    "later=not seen\r\n";

struct Key {
    const char* section;
    const char* key;
    int size;
};
const Key kKeys[] = {
    {"RUN", "0_12_1", 253}, {"run", "0_12_1", 253}, {"RUN", "0_1_0", 253},  {"RUN", "quoted", 253},
    {"RUN", "single", 253}, {"RUN", "lonequote", 253}, {"RUN", "novalue", 253}, {"RUN", "empty", 253},
    {"RUN", "dup", 253},    {"RUN", "later", 253},  {"RUN", "missing", 253}, {"FONT", "lfHeight", 253},
    {"NONE", "0_12_1", 253}, {"RUN", "0_12_1", 5},  {"RUN", "missing", 3},
};

TEST(ProfilePlatform, ReadsAsTheSystem) {
    keyboardtest::KeyboardTempDir dir;
    keyboardtest::TrackingFileLayer files;
    const std::string path = dir.Sub("read.ini");
    keyboardtest::WriteFileBytes(path, kContent);
    lex::keyboard::TextProfileFile ini(files, path);
    for (const Key& k : kKeys) {
        SCOPED_TRACE(std::string(k.section) + "/" + k.key + "/" + std::to_string(k.size));
        EXPECT_EQ(SystemGet(path, k.section, k.key, "def", k.size), ini.GetString(k.section, k.key, "def", k.size));
    }
    for (const char* key : {"lfHeight", "lfWeight", "lfItalic", "lfWidth"}) {
        SCOPED_TRACE(key);
        EXPECT_EQ(static_cast<int>(GetPrivateProfileIntA("FONT", key, 99, path.c_str())),
                  ini.GetInt("FONT", key, 99));
    }
}

TEST(ProfilePlatform, EachReadsTheOthersWrites) {
    keyboardtest::KeyboardTempDir dir;
    keyboardtest::TrackingFileLayer files;
    struct Write {
        const char* section;
        const char* key;
        const char* value;
    };
    const Write writes[] = {
        {"RUN", "0_12_1", "D:\\new.exe"}, {"RUN", "0_2_0", "c.exe"}, {"FONT", "lfWidth", "0"},
        {"NEW", "k", "v"},                 {"RUN", "dup", ""},        {"run", "0_1_0", "x y"},
    };
    // Ours written, the system's read.
    const std::string ours = dir.Sub("ours.ini");
    keyboardtest::WriteFileBytes(ours, kContent);
    lex::keyboard::TextProfileFile ini(files, ours);
    for (const Write& w : writes) ASSERT_TRUE(ini.WriteString(w.section, w.key, w.value));
    // The system's written, ours read.
    const std::string theirs = dir.Sub("theirs.ini");
    keyboardtest::WriteFileBytes(theirs, kContent);
    for (const Write& w : writes) ASSERT_TRUE(WritePrivateProfileStringA(w.section, w.key, w.value, theirs.c_str()));
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, theirs.c_str());  // flush the system's cache
    for (const std::string& path : {ours, theirs}) {
        SCOPED_TRACE(path);
        lex::keyboard::TextProfileFile f(files, path);
        for (const Key& k : kKeys) {
            SCOPED_TRACE(std::string(k.section) + "/" + k.key);
            EXPECT_EQ(SystemGet(path, k.section, k.key, "def", k.size), f.GetString(k.section, k.key, "def", k.size));
        }
        for (const Write& w : writes) {
            SCOPED_TRACE(std::string(w.section) + "/" + w.key);
            EXPECT_EQ(w.value, SystemGet(path, w.section, w.key, "def", 253));
            EXPECT_EQ(w.value, f.GetString(w.section, w.key, "def", 253));
        }
    }
}

}  // namespace
