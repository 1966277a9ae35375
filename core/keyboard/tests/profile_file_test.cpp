#include "keyboard_fixture.h"

namespace {

using keyboardtest::Bytes;

class ProfileFileTest : public ::testing::Test {
protected:
    keyboardtest::KeyboardTempDir dir;
    keyboardtest::TrackingFileLayer files;
    std::string path = dir.Sub("k.in_");
    lex::keyboard::TextProfileFile ini{files, path};
};

TEST_F(ProfileFileTest, ReadsAsTheProfileFunctions) {
    keyboardtest::WriteFileBytes(path,
                           "; comment\r\n"
                           "[RUN]\r\n"
                           "0_12_1=C:\\Prog\\calc.exe\r\n"
                           "  0_1_0  =   spaced value \t \r\n"
                           "quoted=\"q v\"\r\n"
                           "single='x'\r\n"
                           "lonequote=\"\r\n"
                           "mixed=\"a'\r\n"
                           "novalue\r\n"
                           "empty=\r\n"
                           "dup=first\r\n"
                           "dup=second\r\n"
                           "\r\n"
                           "[font]\r\n"
                           "lfHeight=-20\n"
                           "[RUN]\r\n"
                           "later=not seen\r\n"
                           "last=no newline");
    struct Case {
        const char* section;
        const char* key;
        int size;
        const char* expected;
    };
    const Case cases[] = {
        {"RUN", "0_12_1", 253, "C:\\Prog\\calc.exe"},
        {"run", "0_12_1", 253, "C:\\Prog\\calc.exe"},  // names without regard to case
        {"RUN", "0_1_0", 253, "spaced value"},
        {"RUN", "quoted", 253, "q v"},
        {"RUN", "single", 253, "x"},
        {"RUN", "lonequote", 253, "\""},
        {"RUN", "mixed", 253, "\"a'"},
        {"RUN", "novalue", 253, "def"},
        {"RUN", "empty", 253, ""},
        {"RUN", "dup", 253, "first"},
        {"RUN", "later", 253, "def"},  // only the first section of a name counts
        {"RUN", "missing", 253, "def"},
        {"FONT", "lfHeight", 253, "-20"},
        {"NONE", "0_12_1", 253, "def"},
        {"RUN", "last", 253, "def"},  // in the second [RUN]
        {"RUN", "0_12_1", 5, "C:\\P"},  // at most size - 1 characters
        {"RUN", "0_12_1", 1, ""},
        {"RUN", "missing", 3, "de"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.section) + "/" + c.key);
        EXPECT_EQ(c.expected, ini.GetString(c.section, c.key, "def", c.size));
    }
    EXPECT_EQ(0, files.OpenCount());
    lex::keyboard::TextProfileFile missing(files, dir.Sub("none.ini"));
    EXPECT_EQ("def", missing.GetString("RUN", "0_12_1", "def", 253));
}

TEST_F(ProfileFileTest, ReadsNumbersAsTheProfileFunctions) {
    keyboardtest::WriteFileBytes(path,
                           "[FONT]\r\na=-13\r\nb= 700\r\nc=+5\r\nd=12abc\r\ne=abc\r\nf=\r\n"
                           "g=4294967295\r\nh=\"238\"\r\n");
    const std::pair<const char*, int> cases[] = {{"a", -13}, {"b", 700}, {"c", 5},  {"d", 12}, {"e", 0},
                                                 {"f", 99},  {"g", -1},  {"h", 238}, {"z", 99}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.first);
        EXPECT_EQ(c.second, ini.GetInt("FONT", c.first, 99));
    }
}

TEST_F(ProfileFileTest, WritesChangeOnlyTheirLine) {
    struct Case {
        const char* name;
        Bytes before;  // "-" for no file
        const char* section;
        const char* key;
        const char* value;
        Bytes after;
    };
    const Bytes base = "[RUN]\r\n0_1_0=a.exe\r\n\r\n[FONT]\r\nlfHeight=-13\r\n";
    const Case cases[] = {
        {"in place", base, "RUN", "0_1_0", "b.exe", "[RUN]\r\n0_1_0=b.exe\r\n\r\n[FONT]\r\nlfHeight=-13\r\n"},
        {"in place, spelling kept", "[Run]\r\n  Key = old \r\nnext=1\r\n", "RUN", "KEY", "new",
         "[Run]\r\nKey=new\r\nnext=1\r\n"},
        {"new key at the end of its section", base, "run", "0_2_0", "c.exe",
         "[RUN]\r\n0_1_0=a.exe\r\n0_2_0=c.exe\r\n\r\n[FONT]\r\nlfHeight=-13\r\n"},
        {"new key in the last section", base, "FONT", "lfWidth", "0", base + "lfWidth=0\r\n"},
        {"new section", base, "NEW", "k", "v", base + "\r\n[NEW]\r\nk=v\r\n"},
        {"empty value", base, "RUN", "0_1_0", "", "[RUN]\r\n0_1_0=\r\n\r\n[FONT]\r\nlfHeight=-13\r\n"},
        {"no final line break", "[RUN]\r\n0_1_0=a.exe", "RUN", "0_2_0", "x",
         "[RUN]\r\n0_1_0=a.exe\r\n0_2_0=x\r\n"},
        {"lines ending in LF", "[RUN]\n0_1_0=a.exe\n", "RUN", "0_2_0", "x", "[RUN]\n0_1_0=a.exe\n0_2_0=x\n"},
        {"bare section header", "[RUN]", "RUN", "0_1_0", "a", "[RUN]\r\n0_1_0=a\r\n"},
        {"new file", "-", "RUN", "0_1_0", "a", "[RUN]\r\n0_1_0=a\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        files.Remove(path);
        if (c.before != "-") keyboardtest::WriteFileBytes(path, c.before);
        ASSERT_TRUE(ini.WriteString(c.section, c.key, c.value));
        EXPECT_EQ(c.after, keyboardtest::ReadFileBytes(path));
        EXPECT_EQ(c.value, ini.GetString(c.section, c.key, "def", 253));
        EXPECT_EQ(0, files.OpenCount());
        EXPECT_FALSE(keyboardtest::FileExists(lex::TemporaryName(path)));
    }
}

TEST_F(ProfileFileTest, RefusedAndFailedWritesLeaveTheFile) {
    const Bytes base = "[RUN]\r\n0_1_0=a.exe\r\n";
    keyboardtest::WriteFileBytes(path, base);
    EXPECT_FALSE(ini.WriteString("RUN", "0_1_0", "two\r\nlines"));
    EXPECT_FALSE(ini.WriteString("RUN", "", "x"));
    EXPECT_FALSE(ini.WriteString("", "k", "x"));
    files.FailWritesTo = "k.in_";
    EXPECT_FALSE(ini.WriteString("RUN", "0_1_0", "b.exe"));
    // A file that is there but cannot be read is not replaced by one key.
    files.FailWritesTo.clear();
    files.FailOpenOf = "k.in_";
    EXPECT_FALSE(ini.WriteString("RUN", "0_2_0", "c.exe"));
    EXPECT_EQ(base, keyboardtest::ReadFileBytes(path));
    EXPECT_EQ(0, files.OpenCount());
    EXPECT_FALSE(keyboardtest::FileExists(lex::TemporaryName(path)));
}

}  // namespace
