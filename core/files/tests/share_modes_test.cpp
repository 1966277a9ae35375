// The share modes of the platform's file layer: an open that another handle's
// share mode stands against fails at once, whether that handle lies in this
// process or in another, and a file some handle holds is not removed.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <random>

#include "core/files/file_system.h"
#include "core/files/testing/test_files.h"

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

using lex::FileHandle;
using lex::kNoFile;

class ShareModesTest : public ::testing::Test {
protected:
    void SetUp() override { lex::testing::WriteFileBytes(Path("f"), "contents"); }
    std::string Path(const std::string& name) const { return dir_.Sub(name); }

    std::unique_ptr<lex::FileSystem> fs = lex::MakePlatformFileSystem();
    lex::testing::TempFolder dir_{"lexshare-test-"};
};

// How a handle is held: one of the open modes, or a created file.
enum class Held { Read = lex::kOpenReadShared, DenyWrite = lex::kOpenWriteDenyWrite,
                  Exclusive = lex::kOpenWriteExclusive, Created = 0 };

FileHandle Take(lex::FileSystem& fs, const std::string& path, Held how) {
    return how == Held::Created ? fs.Create(path) : fs.Open(path, static_cast<int>(how));
}

// What a second handle may do beside the first, as Windows allows it.
struct Expected {
    Held first;
    bool read, denyWrite, exclusive, create, remove;
};
const Expected kTable[] = {
    {Held::Read, true, true, false, true, false},
    {Held::DenyWrite, true, false, false, false, false},
    {Held::Exclusive, false, false, false, false, false},
    {Held::Created, true, false, false, true, false},
};

const char* Name(Held h) {
    switch (h) {
    case Held::Read: return "held for reading (64)";
    case Held::DenyWrite: return "held for writing, others read (34)";
    case Held::Exclusive: return "held exclusively (18)";
    default: return "held as created";
    }
}

// Tries every kind of second access to `path` and gives what worked, in the
// order of Expected. Nothing stays open afterwards.
std::vector<bool> Attempts(lex::FileSystem& fs, const std::string& path) {
    std::vector<bool> got;
    for (Held how : {Held::Read, Held::DenyWrite, Held::Exclusive, Held::Created}) {
        const FileHandle h = Take(fs, path, how);
        got.push_back(h != kNoFile);
        fs.Close(h);
    }
    got.push_back(fs.Remove(path));
    return got;
}

std::vector<bool> Wanted(const Expected& e) { return {e.read, e.denyWrite, e.exclusive, e.create, e.remove}; }

TEST_F(ShareModesTest, SecondHandleInTheSameProcess) {
    for (const Expected& e : kTable) {
        SCOPED_TRACE(Name(e.first));
        lex::testing::WriteFileBytes(Path("f"), "contents");
        const FileHandle first = Take(*fs, Path("f"), e.first);
        ASSERT_NE(kNoFile, first);
        EXPECT_EQ(Wanted(e), Attempts(*fs, Path("f")));
        EXPECT_TRUE(fs->Exists(Path("f")));
        // A refused create empties nothing; the first handle still reads.
        char buffer[16] = {};
        EXPECT_EQ(e.first == Held::Created || e.create ? 0 : 8, fs->ReadSome(first, 0, buffer, sizeof buffer));
        EXPECT_TRUE(fs->Close(first));
        EXPECT_EQ((std::vector<bool>{true, true, true, true, true}), Attempts(*fs, Path("f")));
        EXPECT_FALSE(fs->Exists(Path("f")));
    }
}

// Remove says whether the file is gone: a folder is no file to remove, and
// nothing there is nothing to do.
TEST_F(ShareModesTest, RemoveReportsWhatItCouldNotDo) {
    std::filesystem::create_directories(Path("folder"));
    EXPECT_FALSE(fs->Remove(Path("folder")));
    EXPECT_TRUE(std::filesystem::is_directory(Path("folder")));
    EXPECT_TRUE(fs->Remove(Path("none")));
    EXPECT_TRUE(fs->Remove(Path("f")));
    EXPECT_FALSE(std::filesystem::exists(Path("f")));
}

#ifndef _WIN32
// The same table with the first handle in a second process (natively the
// share modes are locks of the open file, which a second process sees as
// Windows shows it another process's handles).
TEST_F(ShareModesTest, SecondHandleInAnotherProcess) {
    for (const Expected& e : kTable) {
        SCOPED_TRACE(Name(e.first));
        lex::testing::WriteFileBytes(Path("f"), "contents");
        int toParent[2], toChild[2];
        ASSERT_EQ(0, pipe(toParent));
        ASSERT_EQ(0, pipe(toChild));
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // The holder: takes the file, says so, and keeps it until told.
            auto own = lex::MakePlatformFileSystem();
            const FileHandle h = Take(*own, Path("f"), e.first);
            const char ready = h != kNoFile ? 'y' : 'n';
            char go = 0;
            if (write(toParent[1], &ready, 1) != 1 || read(toChild[0], &go, 1) != 1) _exit(2);
            own->Close(h);
            _exit(0);
        }
        char ready = 0;
        ASSERT_EQ(1, read(toParent[0], &ready, 1));
        EXPECT_EQ('y', ready);
        EXPECT_EQ(Wanted(e), Attempts(*fs, Path("f")));
        const char go = 'g';
        EXPECT_EQ(1, write(toChild[1], &go, 1));
        int status = -1;
        EXPECT_EQ(child, waitpid(child, &status, 0));
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        for (int fd : {toParent[0], toParent[1], toChild[0], toChild[1]}) close(fd);
        // Once the other process let go, everything is possible again.
        EXPECT_EQ((std::vector<bool>{true, true, true, true, true}), Attempts(*fs, Path("f")));
    }
}
#endif

}  // namespace
