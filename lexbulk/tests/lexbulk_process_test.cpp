// lexbulk as its own process: the start gate, start-up with the settings of
// the Windows directory's lx2000.ini, and lexora's Utility command starting
// it from a folder with a space in its path.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "lexbulk/src/lexbulk_ids.h"
#include "lexora/src/lexora_ids.h"
#include "lexora/tests/test_data.h"
#include "winlib/testing/process_driver.h"

using namespace lexora_test;

namespace {

const wl::testing::ProfileIniFile& Ini() {
    static const wl::testing::ProfileIniFile ini(wl::testing::WindowsDirectoryFile("lx2000.ini"));
    return ini;
}

// The frame of a lexbulk process, by its English title (UI language 0).
HWND FindUtilityFrame() {
    return ::FindWindowW(nullptr, L"Dictionary Utilities");
}

class LexbulkProcess : public ::testing::Test {
protected:
    static void SetUpTestSuite() { savedIni_ = std::make_unique<wl::testing::SetAsideFile>(Ini().Path()); }
    static void TearDownTestSuite() { savedIni_.reset(); }

    void SetUp() override {
        folders_ = MakeFolders("lexbulk process test");
        ASSERT_TRUE(MakeDictionary(folders_, {0, 1}, {{0, "tea", "caj", ""}}));
        for (auto [from, to] : {std::pair<const char*, const char*>{LEXBULK_EXE, "LEXBULK.exe"},
                                std::pair<const char*, const char*>{LEXORA_EXE, "lexora.exe"}}) {
            const std::string exe = wl::testing::WinePath(from);
            ASSERT_TRUE(::CopyFileA(exe.c_str(), (folders_.Program + to).c_str(), FALSE)) << exe;
        }
        Ini().Remove();
    }
    void TearDown() override { RemoveFolder(folders_.Base); }

    void WriteSettings(int uiLanguage) {
        Ini().Write("CESTY", "Umisteni slovni zasoby CD", folders_.Cd);
        Ini().Write("CESTY", "Umisteni slovni zasoby DISK", folders_.Disk);
        Ini().Write("KOMM", "JAZ", std::to_string(uiLanguage));
    }

    TestFolders folders_;
    static std::unique_ptr<wl::testing::SetAsideFile> savedIni_;
};

std::unique_ptr<wl::testing::SetAsideFile> LexbulkProcess::savedIni_;

TEST_F(LexbulkProcess, StartGateLetsOnlyTheWordStartThrough) {
    const char* refused[] = {"", "START", "start extra", "Start", "\"start \""};
    for (const char* args : refused) {
        SCOPED_TRACE(args);
        wl::testing::Process p;
        ASSERT_TRUE(p.Start(folders_.Program, "LEXBULK.exe", wl::testing::Process::StartBy::FullPath, args));
        ASSERT_TRUE(p.WaitForEnd());
        EXPECT_EQ(0u, p.ExitCode());
        // Nothing touched: no settings file, no action log.
        EXPECT_EQ(-1, FileSize(Ini().Path()));
        EXPECT_EQ(-1, FileSize(folders_.Program + "akce1.idx"));
    }
}

TEST_F(LexbulkProcess, StartRegistersTheDiskFolderUnderTheNextLogKey) {
    WriteSettings(0);
    Ini().Write("INDEX", "akce0.idx", "C:\\elsewhere\\");
    ::DeleteFileA((folders_.Program + "akce1.idx").c_str());
    wl::testing::Process p;
    ASSERT_TRUE(p.Start(folders_.Program, "LEXBULK.exe", wl::testing::Process::StartBy::FullPath, "start"));
    HWND frame = p.WaitForFrame();
    ASSERT_NE(nullptr, frame);
    EXPECT_EQ(L"Dictionary Utilities", wl::testing::Text(frame));
    EXPECT_EQ(folders_.Disk, Ini().Read("INDEX", "akce1.idx"));
    EXPECT_EQ(18, FileSize(folders_.Program + "akce1.idx"));
    // Closing asks nothing and ends the program.
    wl::testing::SendCommand(frame, CM_BULK_END);
    ASSERT_TRUE(p.WaitForEnd());
    EXPECT_EQ(0u, p.ExitCode());
}

TEST_F(LexbulkProcess, LexorasUtilityCommandStartsItFromAFolderWithASpace) {
    WriteSettings(0);
    Ini().Write("INDEX", "akce0.idx", folders_.Disk);
    ASSERT_NE(std::string::npos, folders_.Program.find(' '));
    wl::testing::Process lexora;
    ASSERT_TRUE(lexora.Start(folders_.Program, "lexora.exe"));
    HWND frame = lexora.WaitForFrame();
    ASSERT_NE(nullptr, frame);
    ASSERT_EQ(nullptr, FindUtilityFrame());
    wl::testing::SendCommand(frame, CM_UTILITY);
    HWND utility = wl::testing::WaitForWindow(FindUtilityFrame);
    ASSERT_NE(nullptr, utility);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(utility, &pid);
    EXPECT_NE(lexora.Id(), pid);
    wl::testing::SendCommand(utility, CM_BULK_END);
    EXPECT_TRUE(wl::testing::WaitForGone(utility));
    ::PostMessageW(frame, WM_CLOSE, 0, 0);
    EXPECT_TRUE(lexora.WaitForEnd());
}

}  // namespace
