// The archive reader and the archive load: any bytes as an "*.ars" file, fed
// in chunks of any size, and loaded into two small slots by the load job
// (possibly with one change of the run failed, written short or killed).
// Properties:
//   - the records, and how the file ends, do not depend on the chunks;
//   - a file of sound records only encodes back to its own bytes;
//   - after the load (a killed one settled by the next opening of the log)
//     no file stays open, archive mode is off, both slots are sound
//     (fuzz_support.h: LookAtSlot), and one Undo of a load that logged
//     anything gives the words and translations before it.
// Input: a byte of chunk sizes, a byte for the slots loaded (bit 0: slot 0,
// bit 1: slot 1), a fault byte and its argument, then the archive.
#include <cstdint>
#include <string>
#include <vector>

#include "lexbulk/jobs/archive_jobs.h"
#include "core/files/testing/faulty_file_system.h"
#include "fuzz_support.h"

namespace {

using lexbulk::ArchiveRecord;
using lexbulk::ArchiveResult;
using lexfuzz::Check;
using lexfuzz::PropertyOn;

struct Read {
    std::vector<ArchiveRecord> Records;
    int Damaged = 0;
    ArchiveResult End = ArchiveResult::kEnd;
    bool Older = false;
};

bool Same(const ArchiveRecord& a, const ArchiveRecord& b) {
    return a.slot == b.slot && a.nodeFlags == b.nodeFlags && a.word == b.word && a.pronunciation == b.pronunciation &&
           a.translationFlags == b.translationFlags && a.translation == b.translation;
}

Read ReadAll(const std::string& bytes, uint8_t cut) {
    lexbulk::ArchiveReader reader;
    Read out;
    size_t at = 0;
    uint32_t state = cut;
    for (int guard = 0; guard < 1000000; ++guard) {
        ArchiveRecord record;
        const ArchiveResult r = reader.Next(record);
        switch (r) {
        case ArchiveResult::kNeedInput: {
            if (at >= bytes.size()) {
                reader.EndInput();
                break;
            }
            const size_t take = lexfuzz::NextPieceSize(state, cut, 128, bytes.size() - at);
            reader.Feed(bytes.data() + at, take);
            at += take;
            break;
        }
        case ArchiveResult::kRecord: out.Records.push_back(record); break;
        case ArchiveResult::kDamaged: ++out.Damaged; break;
        default:
            out.End = r;
            out.Older = reader.olderVariant();
            return out;
        }
    }
    Check(false, "the archive reader does not come to an end");
    return out;
}

using Harness = lexfuzz::EngineHarness;

// The words and translations of both slots (pronunciations aside: an Undo
// does not take back a pronunciation an addition changed).
std::vector<std::string> Words(Harness& h) {
    std::vector<std::string> all;
    for (int slot = 0; slot < 2; ++slot) {
        const lexfuzz::SlotState s = lexfuzz::LookAtSlot(*h.files.Inner, h.settings, slot);
        Check(!PropertyOn("walk") || s.Problem.empty(), "after the archive load: " + s.Problem);
        all.insert(all.end(), s.Words.begin(), s.Words.end());
        all.push_back("--");
    }
    return all;
}

int32_t CurrentCount(Harness& h) {
    const std::string log = lexfuzz::FileBytes(*h.files.Inner, h.settings.ActionLogPath).value_or("");
    return log.size() >= 18 ? lex::GetI32(reinterpret_cast<const uint8_t*>(log.data()) + 10) : -1;
}

int Add(Harness& h, int slot, const char* word, const char* tr, const char* pron) {
    std::string t = tr;
    return lex::RunSlotCommand(h.ctx, slot, [&] { return lex::AddEntry(h.ctx, word, pron, t, 1); });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    lexfuzz::Input in(data, size);
    const uint8_t cut = in.Byte(), which = in.Byte(), faultKind = in.Byte(), faultArg = in.Byte();
    const std::string archive = in.Rest();

    const Read whole = ReadAll(archive, 0), pieces = ReadAll(archive, cut | 1);
    Check(whole.End == pieces.End && whole.Damaged == pieces.Damaged && whole.Older == pieces.Older &&
              whole.Records.size() == pieces.Records.size(),
          "the chunks change what is read");
    for (size_t i = 0; i < whole.Records.size(); ++i)
        Check(Same(whole.Records[i], pieces.Records[i]), "the chunks change record " + std::to_string(i));
    if (whole.End == ArchiveResult::kEnd && whole.Damaged == 0 && !whole.Older) {
        std::string again;
        for (const ArchiveRecord& r : whole.Records) Check(lexbulk::EncodeArchiveRecord(r, again), "a sound record does not encode");
        Check(again == archive, "the records do not encode back to the file");
    }

    // The load into two small slots.
    static Harness* harness = new Harness;
    Harness& h = *harness;
    h.files.ClearFaults();
    h.folder.Clear();
    Check(lex::CreateSlotFiles(h.ctx, 0) == 1 && lex::CreateSlotFiles(h.ctx, 1) == 1 &&
              lex::CreateActionLog(h.ctx, h.settings.ActionLogPath) == 1,
          "the slots cannot be created");
    Check(Add(h, 0, "apple", "jablko", "\xe6pl") == 1 && Add(h, 0, "apple", ".n. noun", "\xe6pl") == 1 &&
              Add(h, 0, "tea", "\xe8" "aj", "") == 1 && Add(h, 1, "pes", "dog", "") == 1,
          "the first entries cannot be added");
    const std::string path = h.folder.Sub("a.ars");
    Check(lexfuzz::PutFile(*h.files.Inner, path, archive), "the archive cannot be written");
    const std::vector<std::string> before = Words(h);
    const int32_t countBefore = CurrentCount(h);
    lexbulk::SlotSelection slots{};
    slots[0] = which & 1;
    slots[1] = (which & 2) != 0;
    const bool faulty = faultKind % 4 != 0;
    if (faulty)
        lex::testing::FaultCase{faultKind % 4 == 1 ? lex::testing::FaultCase::kFailed
                                : faultKind % 4 == 2 ? lex::testing::FaultCase::kShort
                                                     : lex::testing::FaultCase::kKilled,
                                1 + faultArg}
            .Apply(h.files);
    {
        lexbulk::ArchiveLoadJob job(h.ctx);
        job.SetRequest(path, slots);
        lex::RunToEnd(job);
    }
    h.files.ClearFaults();
    if (faulty) {
        lex::OpenActionLog(h.ctx);
        lex::CloseActionLog(h.ctx);
    }
    Check(h.files.OpenCount() == 0, "a file stays open after the archive load");
    Check(h.ctx.ArchiveMode == 0, "archive mode stays on after the archive load");
    Words(h);
    if (CurrentCount(h) > countBefore && PropertyOn("undo")) {
        Check(lex::UndoLastAction(h.ctx) == 1, "the archive load cannot be undone");
        const std::vector<std::string> after = Words(h);
        Check(after == before, "one Undo does not give the words before the archive load: " +
                                   lexfuzz::Differ(before, after));
    }
    return 0;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    using lexfuzz::Script;
    lexfuzz::WriteSeedsIfAsked([](const lexfuzz::SeedSink& seed) {
        auto record = [](int slot, int nodeFlags, const std::string& w, const std::string& p, int trFlags,
                         const std::string& t) {
            return Script({slot, nodeFlags, int(w.size()), int(p.size())}) + w + p +
                   Script({trFlags, int(t.size())}) + t;
        };
        const std::string sound = record(0, 1, "tea", "ti:", 1, "odvar") + record(0, 1, "apple", "\xe6pl", 0x81, "jablko") +
                                  record(1, 1, "kocka", "", 1, "cat") + record(0, 1, "sun", "", 1, "\x1fn. noun") +
                                  record(7, 1, "other", "", 1, "slot");
        seed("sound-both-slots", Script({9, 3, 0, 0}) + sound);
        seed("slot-0-only", Script({17, 1, 0, 0}) + sound);
        seed("damaged-and-truncated", Script({3, 3, 0, 0}) + record(0, 1, "", "", 1, "x") + sound +
                                          Script({0, 1, 9, 0, 'a'}));
        std::string older(100, '\0');
        older += Script({0, 1, 3, 0}) + "owl" + Script({1, 0, 4}) + "sova";
        seed("older-variant", Script({5, 1, 0, 0}) + older);
        seed("killed", Script({9, 3, 3, 7}) + sound);
        seed("failed-and-short", Script({9, 3, 1, 12}) + sound);
        seed("short-write", Script({9, 3, 2, 3}) + sound);
    });
    return 0;
}
