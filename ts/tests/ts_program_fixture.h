// The common part of the tests that run ts.exe as its own process: a
// temporary root of the test holding a program folder whose name has a blank
// (with a copy of ts.exe) and a folder for keyboard files. At the end ts, if
// still running, is closed through its End button, and both folders go with
// everything in them.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "ts/src/ts_ids.h"
#include "winlib/testing/process_driver.h"

namespace ts_test {

using Bytes = std::string;

inline Bytes ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

class TsProgramFixture : public ::testing::Test {
protected:
    // `kind` names the temporary root (with the process id and the test's name).
    explicit TsProgramFixture(const char* kind) : kind_(kind) {}

    void SetUp() override {
        char temp[MAX_PATH] = {};
        ::GetTempPathA(MAX_PATH, temp);
        root_ = std::string(temp) + kind_ + " " + std::to_string(::GetCurrentProcessId()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name() + "\\";
        folder_ = root_ + "ts program\\";
        keyboards_ = root_ + "keyboards\\";
        ::CreateDirectoryA(root_.c_str(), nullptr);
        ::CreateDirectoryA(folder_.c_str(), nullptr);
        ::CreateDirectoryA(keyboards_.c_str(), nullptr);
        ASSERT_TRUE(::CopyFileA(wl::testing::WinePath(TS_EXE).c_str(), (folder_ + "ts.exe").c_str(), FALSE));
    }

    void TearDown() override {
        if (process_.Running()) {
            wl::testing::PostCommand(main_, IDC_END);
            process_.WaitForEnd();
        }
        for (const std::string& dir : {folder_, keyboards_}) {
            WIN32_FIND_DATAA found;
            HANDLE h = ::FindFirstFileA((dir + "*").c_str(), &found);
            if (h == INVALID_HANDLE_VALUE) continue;
            do {
                ::DeleteFileA((dir + found.cFileName).c_str());
            } while (::FindNextFileA(h, &found));
            ::FindClose(h);
            ::RemoveDirectoryA(dir.c_str());
        }
        ::RemoveDirectoryA(root_.c_str());
    }

    // The demo layout's files of the source tree: `DemoFile("tsb")`.
    static std::string DemoFile(const char* extension) {
        return wl::testing::WinePath(TS_DEMO_DATA_DIR) + "\\demo." + extension;
    }

    HWND Item(int id) const { return ::GetDlgItem(main_, id); }
    std::wstring ItemText(int id) const { return wl::testing::Text(Item(id)); }

    std::string kind_;
    std::string root_, folder_, keyboards_;
    wl::testing::Process process_;
    HWND main_ = nullptr;
};

}  // namespace ts_test
