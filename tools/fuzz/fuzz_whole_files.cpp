// The whole-file reads, the replacing writes and the pair save of the file
// layer under fault schedules of the failing fake (a change failed, a write
// short, a kill before a change, or faults by path: opens, reads, writes,
// closes or replacements of chosen files). A script of operations on two
// files; a model holds what each should contain. Properties:
//   - a read gives the file's bytes when it says Whole, and leaves the
//     caller's bytes alone otherwise;
//   - a write or pair save that reports Done put the new contents in place;
//     any other outcome left the old ones (a pair save's HalfReplaced: the
//     first new, the second old, the old first in its backup);
//   - killed: each file is old or new, and a pair is both old, both new or
//     the first new beside the second old (what the pair save's order allows);
//   - leftovers: after a write that was not killed and whose removals
//     worked no temporary file or backup stays (but the backup of
//     HalfReplaced); no handle stays open;
//   - recovery: after a kill or a HalfReplaced pair save, finishing the
//     interrupted pair save leaves both files old or both new.
// Input: the two files' first contents (a flag byte, then a 16-bit length
// and the bytes), then operations: a fault byte, a fault argument, an
// operation byte and its arguments.
#include <cstdint>
#include <optional>
#include <string>

#include "core/files/testing/faulty_file_system.h"
#include "core/files/whole_files.h"
#include "fuzz_support.h"

namespace {

using lex::ReadOutcome;
using lex::WriteOutcome;
using lexfuzz::Check;
using lexfuzz::PropertyOn;
using Contents = std::optional<std::string>;  // nullopt: no file

const char* const kPathParts[] = {"first", "second", ".tmp", ".bak"};

struct Harness {
    lexfuzz::RunFolder folder;
    std::string First = folder.Sub("first.dat"), Second = folder.Sub("second.dat");
};

Contents Now(lex::FileSystem& fs, const std::string& path) { return lexfuzz::FileBytes(fs, path); }

void Put(lex::FileSystem& fs, const std::string& path, const Contents& c) {
    if (c)
        Check(lexfuzz::PutFile(fs, path, *c), "a file cannot be written");
    else
        fs.Remove(path);
}

std::string Show(const Contents& c) { return c ? "\"" + c->substr(0, 40) + "\"" : "<none>"; }

// Applies fault `kind` with argument `arg`; true for a kill.
bool Arm(lex::testing::FaultyFileSystem& files, uint8_t kind, uint8_t arg) {
    const int nth = 1 + arg % 16;
    const std::string part = kPathParts[arg % 4];
    switch (kind % 10) {
    case 1: files.FailNthChange(nth); break;
    case 2: files.ShortNthWrite(nth); break;
    case 3: files.StopAtChange(nth); return true;
    case 4: files.FailOpenOf = part; break;
    case 5: files.FailReadsFrom = part; break;
    case 6: files.FailReplaceOf = part; break;
    case 7: files.FailWritesTo = part; files.ShortWrites = arg & 0x10; files.FailAfterWrites = arg >> 5; break;
    case 8: files.FailWritesTo = part; files.FailClose = true; break;
    case 9: files.FailNth(lex::testing::FileOp::Remove, nth); break;
    default: break;  // no fault
    }
    return false;
}

void Disarm(lex::testing::FaultyFileSystem& files) {
    files.ClearFaults();
    files.FailOpenOf = files.FailReadsFrom = files.FailReplaceOf = files.FailWritesTo = "";
    files.ShortWrites = files.FailClose = false;
    files.FailAfterWrites = 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Harness* harness = new Harness;
    Harness& h = *harness;
    h.folder.Clear();
    lex::testing::FaultyFileSystem files;
    lex::FileSystem& real = *files.Inner;
    lexfuzz::Input in(data, size);
    Contents model[2];
    const std::string* paths[2] = {&h.First, &h.Second};
    for (int i = 0; i < 2; ++i) {
        const uint8_t flag = in.Byte();
        if (flag & 1) model[i] = in.Blob();
        Put(real, *paths[i], model[i]);
    }
    for (int ops = 0; !in.Empty() && ops < 24; ++ops) {
        const uint8_t faultKind = in.Byte(), faultArg = in.Byte();
        const uint8_t op = in.Byte() % 6;
        const int which = in.Byte() & 1;
        const std::string& path = *paths[which];
        const bool killed = Arm(files, faultKind, faultArg);
        std::string what;
        // A failed removal (a failed change may be one) leaves its file.
        bool leftoversAllowed = killed || faultKind % 10 == 1 || faultKind % 10 == 9;
        switch (op) {
        case 0:
        case 1: {  // read whole, or its start
            std::string bytes = "<untouched>";
            const size_t count = in.U16();
            const ReadOutcome r = op == 0 ? lex::ReadWholeFile(files, path, bytes)
                                          : lex::ReadFileStart(files, path, count, bytes);
            what = op == 0 ? "a whole read" : "a read of the start";
            if (r == ReadOutcome::Whole) {
                Check(model[which].has_value(), what + " read a missing file");
                const std::string expected = op == 0 ? *model[which] : model[which]->substr(0, count);
                Check(bytes == expected && (op == 0 || model[which]->size() >= count), what + " read other bytes");
            } else {
                Check(bytes == "<untouched>", what + " that failed changed the caller's bytes");
                if (r == ReadOutcome::Missing) Check(!model[which], what + " missed a file that is there");
                if (r == ReadOutcome::Short && files.FailReadsFrom.empty())
                    Check(op == 1 && model[which] && model[which]->size() < count, what + " came back short");
            }
            break;
        }
        case 2:
        case 3: {  // a replacing write, or one piece by piece
            const std::string bytes = in.Blob();
            WriteOutcome r;
            if (op == 2) {
                what = "a replacing write";
                r = lex::WriteFileReplacing(files, path, bytes);
            } else {
                what = "a writer piece by piece";
                lex::ReplacingWriter writer(files);
                const uint8_t how = in.Byte();
                r = WriteOutcome::NotCreated;
                if (writer.Create(path)) {
                    const size_t piece = 1 + how % 64;
                    for (size_t at = 0; at < bytes.size(); at += piece) writer.Append(bytes.substr(at, piece));
                    if (how & 0x80) {
                        writer.Abandon();
                        r = WriteOutcome::WriteFailed;  // abandoned: the old file stays
                    } else {
                        r = writer.Commit();
                    }
                }
            }
            const Contents now = Now(real, path);
            if (killed) {
                Check(now == model[which] || now == Contents(bytes),
                      what + " killed left " + Show(now) + ", neither old nor new");
                model[which] = now;
            } else if (r == WriteOutcome::Done) {
                Check(now == Contents(bytes), what + " said Done but the file holds " + Show(now));
                model[which] = now;
            } else {
                Check(now == model[which], what + " failed but the file changed to " + Show(now));
            }
            break;
        }
        default: {  // the pair save (which file goes first from the byte before)
            what = "a pair save";
            const std::string newFirst = in.Blob(), newSecond = in.Blob();
            const int first = which, second = 1 - which;
            const WriteOutcome r =
                lex::SaveFilePair(files, {*paths[first], newFirst}, {*paths[second], newSecond});
            const Contents a = Now(real, *paths[first]), b = Now(real, *paths[second]);
            const Contents oldA = model[first], oldB = model[second];
            const bool bothOld = a == oldA && b == oldB, bothNew = a == Contents(newFirst) && b == Contents(newSecond);
            const bool firstOnly = a == Contents(newFirst) && b == oldB;
            const std::string state = " (first " + Show(a) + ", second " + Show(b) + ")";
            if (killed) {
                Check(bothOld || bothNew || firstOnly, what + " killed left a pair that never was" + state);
            } else if (r == WriteOutcome::Done) {
                Check(bothNew, what + " said Done" + state);
            } else if (r == WriteOutcome::HalfReplaced) {
                Check(firstOnly, what + " said HalfReplaced" + state);
                if (oldA)
                    Check(Now(real, lex::BackupName(*paths[first])) == oldA,
                          what + " half replaced without the old first file in its backup");
                leftoversAllowed = true;
            } else {
                Check(bothOld, what + " failed but changed the files" + state);
            }
            model[first] = a;
            model[second] = b;
            if ((killed || r == WriteOutcome::HalfReplaced) && PropertyOn("recovery")) {
                // The next load or save finishes what stopped: both old or both new.
                Check(lex::FinishInterruptedPairSave(real, *paths[first], *paths[second]),
                      what + " could not be finished" + state);
                const Contents ra = Now(real, *paths[first]), rb = Now(real, *paths[second]);
                Check((ra == oldA && rb == oldB) || (ra == Contents(newFirst) && rb == Contents(newSecond)),
                      what + " was finished as a pair that never was (first " + Show(ra) + ", second " + Show(rb) + ")");
                model[first] = ra;
                model[second] = rb;
            }
            break;
        }
        }
        Disarm(files);
        Check(files.OpenCount() == 0, "a file stays open after " + what);
        if (!leftoversAllowed && PropertyOn("leftovers")) {
            const auto names = h.folder.Names();
            for (const std::string& name : names)
                Check(name == "first.dat" || name == "second.dat", what + " left " + name + " behind");
        }
        // What a kill or a half replacement left goes before the next operation.
        for (const std::string* p : paths) {
            real.Remove(lex::TemporaryName(*p));
            real.Remove(lex::BackupName(*p));
            real.Remove(lex::PairJournalName(*p));
        }
    }
    return 0;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    using lexfuzz::BlobOf;
    using lexfuzz::Script;
    lexfuzz::WriteSeedsIfAsked([](const lexfuzz::SeedSink& seed) {
        const std::string both = Script({1}) + BlobOf("old first\r\n") + Script({1}) + BlobOf("[RUN]\r\n0_1_0=x\r\n");
        const std::string firstOnly = Script({1}) + BlobOf(std::string(300, 'L')) + Script({0});
        auto pair = [](int fault, int arg, int order) {
            return Script({fault, arg, 4, order}) + BlobOf("new first") + BlobOf("new second");
        };
        auto write = [](int fault, int arg, int piecewise) {
            return Script({fault, arg, piecewise ? 3 : 2, 0}) + BlobOf(std::string(200, 'n')) +
                   (piecewise ? Script({7}) : "");
        };
        auto read = [](int fault, int arg, int start) { return Script({fault, arg, start ? 1 : 0, 0, 10, 0}); };
        seed("clean-reads-writes-pairs",
             both + read(0, 0, 0) + read(0, 0, 1) + write(0, 0, 0) + write(0, 0, 1) + pair(0, 0, 0) + pair(0, 0, 1));
        seed("failed-changes", both + pair(1, 1, 0) + pair(1, 3, 0) + pair(1, 5, 1) + write(1, 1, 0) + write(1, 2, 1));
        seed("short-writes", both + pair(2, 0, 0) + pair(2, 1, 1) + write(2, 0, 0) + write(2, 0, 1));
        seed("killed", both + pair(3, 2, 0) + pair(3, 4, 0) + pair(3, 5, 1) + write(3, 1, 0) + write(3, 2, 1));
        seed("faults-by-path", both + pair(4, 0, 0) + pair(5, 0, 0) + pair(6, 1, 0) + pair(7, 0x12, 0) +
                                   pair(8, 1, 0) + read(5, 0, 0) + read(4, 0, 1) + write(6, 0, 0) + write(8, 2, 1));
        seed("missing-first", firstOnly + pair(0, 0, 1) + pair(6, 1, 1) + pair(3, 3, 1) + read(0, 0, 0) +
                                  pair(9, 0, 1));
    });
    return 0;
}
