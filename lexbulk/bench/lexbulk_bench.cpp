// Runs the import, export and archive steppers on a generated slot and prints
// entries per second. Usage: lexbulk_bench [entries] [folder]
//   entries: how many entries the generated text holds (default 150000)
//   folder:  where the slots and files go (default: a new temporary folder)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "lexbulk/jobs/archive_jobs.h"
#include "lexbulk/jobs/export_job.h"
#include "lexbulk/jobs/import_job.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

// The budget of one dialog tick.
constexpr std::chrono::milliseconds kBudget(8);

bool RunJob(const char* name, lexbulk::BulkJob& job, long entries) {
    const auto start = Clock::now();
    const lex::JobState state = lex::RunToEnd(job, lex::SystemClock(), kBudget);
    const double s = Seconds(start);
    std::printf("%-22s %8ld entries %8.2f s %10.0f entries/s  (%s)\n", name, entries, s, s > 0 ? entries / s : 0.0,
                state == lex::JobState::Done ? "done" : "FAILED");
    return state == lex::JobState::Done;
}

}  // namespace

int main(int argc, char** argv) {
    const long count = argc > 1 ? std::atol(argv[1]) : 150000;
    std::filesystem::path base = argc > 2 ? std::filesystem::path(argv[2])
                                          : std::filesystem::temp_directory_path() /
                                                ("lexbulk-bench-" + std::to_string(std::random_device()()));
    std::filesystem::create_directories(base / "cd");
    std::filesystem::create_directories(base / "disk");

    lex::DictionarySettings settings;
    lex::FillSlotPaths(settings, (base / "cd").string(), (base / "disk").string());
    for (int s = 0; s < lex::kSlotCount; ++s) settings.SortType[s] = static_cast<int16_t>(lex::DefaultSortType(s));
    settings.ActionLogPath = (base / "akce0.idx").string();
    auto files = lex::MakePlatformFileSystem();
    lex::RecordingDisplay display;
    lex::RecordingHooks hooks;
    lex::EngineContext ctx(settings, *files, display, hooks);
    if (lex::CreateSlotFiles(ctx, 0) != 1 || lex::CreateSlotFiles(ctx, 2) != 1 ||
        lex::CreateActionLog(ctx, settings.ActionLogPath) != 1) {
        std::fprintf(stderr, "cannot create the slots in %s\n", base.string().c_str());
        return 1;
    }

    // The text: word, pronunciation, translation per entry, words in random order.
    const std::string text = (base / "entries.txt").string();
    {
        std::mt19937 random(42);
        std::ofstream out(text, std::ios::binary);
        for (long i = 0; i < count; ++i) {
            std::string word;
            for (unsigned v = static_cast<unsigned>(random()); word.size() < 7; v /= 26) word += char('a' + v % 26);
            word += std::to_string(i);
            out << word << "\r\n\r\nt" << i << "\r\n";
        }
    }
    std::printf("%ld generated entries in %s\n", count, base.string().c_str());

    lexbulk::ImportJob import(ctx, nullptr);
    lexbulk::ImportRequest in;
    in.Path = text;
    import.SetRequest(in);
    bool ok = RunJob("import", import, count);

    for (bool sorted : {false, true}) {
        lexbulk::ExportJob job(ctx);
        lexbulk::ExportRequest r;
        r.Path = (base / (sorted ? "sorted.txt" : "quick.txt")).string();
        r.Sorted = sorted;
        job.SetRequest(r);
        ok = RunJob(sorted ? "export sorted" : "export quick", job, count) && ok;
    }

    lexbulk::SlotSelection slot0{};
    slot0[0] = true;
    const std::string archive = (base / "archive.ars").string();
    lexbulk::ArchiveSaveJob save(ctx);
    save.SetRequest(archive, slot0);
    ok = RunJob("archive save", save, count) && ok;
    // Load into emptied files of the same slot.
    lex::CreateSlotFiles(ctx, 0);
    lex::CreateActionLog(ctx, settings.ActionLogPath);
    lexbulk::ArchiveLoadJob load(ctx);
    load.SetRequest(archive, slot0);
    ok = RunJob("archive load", load, count) && ok;

    if (argc <= 2) std::filesystem::remove_all(base);
    return ok ? 0 : 1;
}
