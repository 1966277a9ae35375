// The counting and failing file system of the tests: the platform's file
// system underneath, every call counted, every open handle known with its
// path, and faults on demand:
//   - by number: the nth call of an operation fails (FailNth), or the nth
//     write writes only half of its bytes (ShortNthWrite);
//   - a kill point: from the nth change on (create, write, truncate, replace, remove)
//     nothing more reaches the files, as if the process had been killed
//     before that call (StopAtChange); BeforeWrite is called before each write;
//   - by path: writes, reads, opens, replacements or closes of chosen files.
// A fault run counts the changes of a clean run first (Changes), then runs
// again with each of them failed, written short or killed in turn.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/files/file_system.h"

namespace lex {
namespace testing {

enum class FileOp { Open, Create, Read, Write, Replace, Remove, Truncate };

class FaultyFileSystem : public FileSystem {
public:
    std::unique_ptr<FileSystem> Inner = MakePlatformFileSystem();

    // The handles open now, with their paths.
    std::map<FileHandle, std::string> Open_;
    int OpenCount() const { return static_cast<int>(Open_.size()); }

    // Counts of calls since construction.
    int Opens = 0;         // successful opens
    int Reads = 0;         // calls that read a file
    int Writes = 0;        // calls that write a file (truncations among them)
    int Changes = 0;       // creates, writes, truncations, replaces and removes
    int Pauses = 0;        // waits between open attempts (the fake does not wait)
    int ExistsChecks = 0;  // files asked for without an open

    // Faults by number, counted from the call that sets them: the nth call of
    // `op` on a path containing `pathPart` (any path when empty) fails, or
    // writes half of its bytes and reports that.
    void FailNth(FileOp op, int nth, const std::string& pathPart = "");
    void ShortNthWrite(int nth, const std::string& pathPart = "");
    // The nth change (counted from now), whatever it is, fails.
    void FailNthChange(int nth);
    // From the nth change on (counted from now) nothing reaches the files:
    // creates, writes, truncations, replacements and removals fail without effect. Reads,
    // opens and closes go on.
    void StopAtChange(int nth);
    bool Stopped() const { return stopped_; }
    // Forgets the faults by number and the kill point; the counts stay.
    void ClearFaults();

    // Faults by path (a path "contains" the text given; empty: none).
    std::string FailWritesTo;     // writes (and truncations) of such files fail...
    int FailAfterWrites = 0;      // ...after this many good ones
    bool ShortWrites = false;     // ...by writing half of their bytes instead
    bool FailClose = false;       // ...or they pass and the close reports the failure
    std::string FailReadsFrom;    // reads from such files fail
    std::string FailOpenOf;       // opens of such files fail
    std::string FailReplaceOf;    // replacements of such files fail
    // Called before every write and truncation with the file's path.
    std::function<void(const std::string&)> BeforeWrite;
    // Called before every read with the file's path (another program may
    // change the files there), and at every wait between attempts.
    std::function<void(const std::string&)> BeforeRead;
    std::function<void()> AtPause;

    FileHandle Open(const std::string& path, int mode) override;
    FileHandle Create(const std::string& path) override;
    FileHandle CreateNew(const std::string& path) override;
    int32_t Read(FileHandle h, void* buffer, uint32_t count) override;
    int32_t Write(FileHandle h, const void* buffer, uint32_t count) override;
    int64_t Seek(FileHandle h, int64_t offset) override { return Inner->Seek(h, offset); }
    int64_t Size(FileHandle h) override { return Inner->Size(h); }
    bool Close(FileHandle h) override;
    bool Exists(const std::string& path) override;
    int64_t FileSize(const std::string& path) override { return Inner->FileSize(path); }
    bool Replace(const std::string& from, const std::string& to) override;
    bool Remove(const std::string& path) override;
    bool Truncate(FileHandle h, int64_t size) override;
    void Pause(int) override {
        ++Pauses;
        if (AtPause) AtPause();
    }

private:
    enum class Effect { None, Fail, Short };
    struct Fault {
        FileOp op;
        int left;  // calls until it strikes
        Effect effect;
        std::string pathPart;
    };
    // The effect the faults by number have on this call.
    Effect Strike(FileOp op, const std::string& path);
    // Counts a change; false when it must not reach the files (it fails).
    bool Change();
    std::string PathOf(FileHandle h) const;
    FileHandle Track(FileHandle h, const std::string& path);

    std::vector<Fault> faults_;
    int failChangeAt_ = 0;  // changes until the one that fails (0: none)
    int stopAt_ = 0;        // changes until the kill point (0: none)
    bool stopped_ = false;
};

// One fault of a fault run: the nth change failed, the nth write written
// short, or a kill before the nth change.
struct FaultCase {
    enum Kind { kFailed, kShort, kKilled };
    Kind kind;
    int nth;
    std::string Name() const;
    void Apply(FaultyFileSystem& files) const;
};

// Every fault of a write of `changes` changes and `writes` writes (counted by
// a clean run): each change failed, each write short, a kill before each change.
std::vector<FaultCase> FaultCases(int changes, int writes);

}  // namespace testing
}  // namespace lex
