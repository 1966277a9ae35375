// The helpers of the settings dialogs: script preselection, separator check,
// folders, count lines, word counts and the licence text.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

#include "core/dialogs/settings_dialogs.h"
#include "core/files/testing/faulty_file_system.h"
#include "winlib/testing.h"

namespace lex {
namespace {

TEST(ScriptPreselection, BySlotSideAndLastChoice) {
    struct Case { int slot, side, charSet, index; };
    const Case cases[] = {
        {0, 0, 0, 0},   {1, 0, 0, 4},  {2, 0, 0, 0},  {3, 1, 0, 0},  {4, 0, 0, 5},  {5, 1, 0, 5},
        {4, 1, 0, 4},   {5, 0, 0, 4},  {11, 1, 0, 0}, {11, 0, 0, 4}, {10, 0, 238, 0},
        {12, 0, 0, 0},  {19, 1, 0, 0}, {14, 0, 204, 5}, {15, 1, 177, 7}, {16, 0, 99, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ScriptPreselection({c.slot, c.side, c.charSet}), c.index) << c.slot << "/" << c.side;
    const BYTE sets[] = {0, 161, 162, 186, 238, 204, 2, 177, 178};
    for (int i = 0; i < 9; ++i) EXPECT_EQ(ScriptCharSet(i), sets[i]);
}

TEST(GrammarSeparator, OneVisibleCharacterThatCannotBeginAWord) {
    struct Case { std::string typed; UINT codePage; bool valid; };
    const Case cases[] = {
        {".", 1250, true}, {";", 1250, true}, {"/", 1251, true}, {"", 1250, false}, {" ", 1250, false},
        {"\t", 1250, false}, {"a", 1250, false}, {"Z", 1250, false}, {"7", 1250, false},
        {"\xE8", 1250, false},  // č
        {"\xE4", 1251, false},  // д
        {"\xA7", 1250, true},   // §
    };
    for (const Case& c : cases) EXPECT_EQ(IsValidGrammarSeparator(c.typed, c.codePage), c.valid) << c.typed;
}

TEST(Folders, TrimmedWithABackslash) {
    EXPECT_EQ(CompletedFolder("  C:\\data "), "C:\\data\\");
    EXPECT_EQ(CompletedFolder("C:\\data\\"), "C:\\data\\");
    EXPECT_EQ(CompletedFolder("  "), "");
}

TEST(AboutCounts, CountLineAndFilesTooShort) {
    EXPECT_EQ(CountLine(1234), std::string(27, ' ') + std::string(16, '.') + " 1234");
    EXPECT_EQ(CountLine(0), std::string(27, ' ') + std::string(16, '.') + " 0");

    char folder[MAX_PATH];
    ::GetTempPathA(MAX_PATH, folder);
    const std::string path = std::string(folder) + "lexdialogs_count.slo";
    auto write = [&](const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    };
    const std::string header(40, 'h');
    const std::unique_ptr<FileSystem> files = MakePlatformFileSystem();
    write(header + std::string("\xD2\x04\x00\x00", 4));  // 1234
    EXPECT_EQ(ReadSlotWordCount(*files, path), 1234);
    write(header + std::string("\xD2\x04\x00", 3));
    EXPECT_EQ(ReadSlotWordCount(*files, path), 0);
    write(header);
    EXPECT_EQ(ReadSlotWordCount(*files, path), 0);
    std::remove(path.c_str());
    EXPECT_EQ(ReadSlotWordCount(*files, path), 0);
}

TEST(Licence, EveryLineShownWhole) {
    struct Case { std::string file, shown; };
    const Case cases[] = {
        {"", ""},
        {"one\ntwo\n", "one\r\ntwo\r\n"},
        {"one\r\n\r\ntwo\r\n", "one\r\n\r\ntwo\r\n"},
        {"one\nlast without end", "one\r\nlast without end\r\n"},
        {"\n", "\r\n"},
        {std::string(5000, 'x') + "\nend", std::string(5000, 'x') + "\r\nend\r\n"},
    };
    for (const Case& c : cases) EXPECT_EQ(LicenceViewText(c.file), c.shown) << c.file.substr(0, 20);
}

// The licence viewer reads through the program's file layer: a licence that
// is there but cannot be opened or read says "error opening file", never
// shows an empty (or partly read) text.
TEST(Licence, UnreadableFileIsReported) {
    char temp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, temp);
    ProgramSettings config;
    config.ProgramFolder = std::string(temp) + "lexdialogs_licence_" + std::to_string(::GetCurrentProcessId()) + "\\";
    ::CreateDirectoryA(config.ProgramFolder.c_str(), nullptr);
    const std::string licence = config.ProgramFolder + kLicenceFileName;
    std::ofstream(licence, std::ios::binary) << "Terms\r\nof use\r\n";
    SettingsFile settings(config.ProgramFolder + "lx2000.ini");
    TextLoader texts(::GetModuleHandleW(nullptr));
    MessageBuffers messages;
    auto shown = [&](testing::FaultyFileSystem& files) {
        SettingsDialogHost host(settings, config, texts, messages, files);
        TProdejci viewer(nullptr, host);
        std::string text;
        wl::testing::ExecuteWith(viewer, [&](wl::Dialog& d) {
            text = d.GetItemText(IDC_LICENCE_TEXT);
            d.CloseWindow(IDOK);
        });
        EXPECT_EQ(files.OpenCount(), 0);
        return text;
    };
    struct Case {
        const char* what;
        std::function<void(testing::FaultyFileSystem&)> fault;
    };
    const Case cases[] = {
        {"open fails", [](testing::FaultyFileSystem& f) { f.FailOpenOf = kLicenceFileName; }},
        {"read fails", [](testing::FaultyFileSystem& f) { f.FailReadsFrom = kLicenceFileName; }},
        {"first read fails", [](testing::FaultyFileSystem& f) { f.FailNth(testing::FileOp::Read, 1); }},
    };
    for (const Case& c : cases) {
        testing::FaultyFileSystem files;
        c.fault(files);
        EXPECT_EQ(shown(files), "error opening file") << c.what;
    }
    testing::FaultyFileSystem clean;
    EXPECT_EQ(shown(clean), "Terms\r\nof use\r\n");
    ::DeleteFileA(licence.c_str());
    ::RemoveDirectoryA(config.ProgramFolder.c_str());
}

}  // namespace
}  // namespace lex
