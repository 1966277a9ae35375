// bench: builds a slot and times LookupWord on a list of words, files opened
// and closed per lookup as in the lookup window.
//   bench --entries FILE --lookups FILE   entries added one command each, as the add dialog does
//   bench --generate N                    N generated entries added so
//   bench --shipped SENSES [--adds N]     a generated shipped slot (as installed), N user adds on top
// --profile also prints the calls of the file layer per lookup; --results FILE
// writes what every lookup gave (rows, label, translations, history) for a
// byte-for-byte comparison of two builds (bench/compare_builds.sh).
// Figures come from a Release build, which is not sanitized:
//   cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release && cmake --build build/bench --target bench
//   build/bench/bench/bench --shipped 150000 --profile
// and under Wine from build/win/bench/bench.exe.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "engine.h"
#include "generated_slot.h"

namespace {

struct Entry {
    std::string Word, Translation, Pronunciation;
};

using Clock = std::chrono::steady_clock;

// Counts and times the calls of the file layer (bench --profile).
class ProfilingFileSystem : public lex::FileSystem {
    template <class F>
    auto Time(int k, F f) {
        if (!Enabled) return f();
        ++Calls[k];
        if (!Timing) return f();
        auto t0 = Clock::now();
        auto r = f();
        Micros[k] += std::chrono::duration<double, std::micro>(Clock::now() - t0).count();
        return r;
    }
public:
    explicit ProfilingFileSystem(lex::FileSystem& inner) : inner_(inner) {}
    enum Kind { kOpen, kCreate, kRead, kWrite, kSeek, kSize, kClose, kReadAt, kKinds };
    long Calls[kKinds] = {};
    double Micros[kKinds] = {};
    bool Enabled = false;  // count the calls
    bool Timing = false;   // and time them
    long Reads() const { return Calls[kRead] + Calls[kReadAt]; }

    lex::FileHandle Open(const std::string& p, int m) override { return Time(kOpen, [&] { return inner_.Open(p, m); }); }
    lex::FileHandle Create(const std::string& p) override { return Time(kCreate, [&] { return inner_.Create(p); }); }
    lex::FileHandle CreateNew(const std::string& p) override { return Time(kCreate, [&] { return inner_.CreateNew(p); }); }
    int32_t Read(lex::FileHandle h, void* b, uint32_t n) override { return Time(kRead, [&] { return inner_.Read(h, b, n); }); }
    int32_t Write(lex::FileHandle h, const void* b, uint32_t n) override { return Time(kWrite, [&] { return inner_.Write(h, b, n); }); }
    int64_t Seek(lex::FileHandle h, int64_t o) override { return Time(kSeek, [&] { return inner_.Seek(h, o); }); }
    int64_t Size(lex::FileHandle h) override { return Time(kSize, [&] { return inner_.Size(h); }); }
    bool Close(lex::FileHandle h) override { return Time(kClose, [&] { return inner_.Close(h); }); }
    bool ReadAt(lex::FileHandle h, int64_t o, void* b, uint32_t n) override { return Time(kReadAt, [&] { return inner_.ReadAt(h, o, b, n); }); }
    int32_t ReadSome(lex::FileHandle h, int64_t o, void* b, uint32_t n) override { return Time(kReadAt, [&] { return inner_.ReadSome(h, o, b, n); }); }
    void Pause(int ms) override { inner_.Pause(ms); }
    bool Exists(const std::string& p) override { return inner_.Exists(p); }
    int64_t FileSize(const std::string& p) override { return inner_.FileSize(p); }
    bool Replace(const std::string& from, const std::string& to) override { return inner_.Replace(from, to); }
    bool Remove(const std::string& p) override { return inner_.Remove(p); }

    void Print(long lookups) const {
        static const char* kNames[kKinds] = {"open", "create", "read", "write", "seek", "size", "close", "read-at"};
        for (int k = 0; k < kKinds; ++k)
            if (Calls[k])
                std::printf("bench: profile %-8s %6.1f calls/lookup %8.1f us/lookup %6.2f us/call\n", kNames[k],
                            double(Calls[k]) / lookups, Micros[k] / lookups, Micros[k] / Calls[k]);
    }

private:
    lex::FileSystem& inner_;
};

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

bool ReadLines(const std::string& path, std::vector<std::string>& lines) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) lines.push_back(line);
    }
    return true;
}

// Pronounceable words: a few thousand distinct four-letter starts, as in a
// real word list.
std::vector<Entry> Generate(int n, std::vector<std::string>& lookups) {
    static const char* kOnsets[] = {"b", "c", "d", "f", "g", "h", "k", "l", "m", "n", "p",
                                    "r", "s", "t", "v", "st", "tr", "pr", "br", "ch"};
    static const char* kVowels[] = {"a", "e", "i", "o", "u", "ea", "ou"};
    std::mt19937 rng(12345);
    std::vector<Entry> entries;
    entries.reserve(n);
    std::vector<std::string> words;
    while (static_cast<int>(entries.size()) < n) {
        std::string w;
        int syllables = 2 + static_cast<int>(rng() % 3);
        for (int s = 0; s < syllables; ++s) {
            w += kOnsets[rng() % 20];
            w += kVowels[rng() % 7];
        }
        if (rng() % 3 == 0) w += kOnsets[rng() % 14];
        Entry e;
        e.Word = w;
        e.Translation = "tr-" + w;
        if (rng() % 2) e.Pronunciation = "'" + w;
        entries.push_back(e);
        words.push_back(w);
    }
    // Lookups: present words and a share of absent ones.
    for (size_t i = 0; i < words.size() && lookups.size() < 20000; i += 4) {
        lookups.push_back(words[i]);
        if (i % 20 == 0) lookups.push_back(words[i] + "zq");
    }
    return entries;
}

}  // namespace

int main(int argc, char** argv) {
    std::string entriesPath, lookupsPath, resultsPath;
    int generate = -1, shipped = -1, adds = 1000;
    bool profile = false;
    for (int i = 1; i < argc; i += 2) {
        std::string a = argv[i];
        if (a == "--profile") {
            profile = true;
            --i;
            continue;
        }
        if (i + 1 >= argc) {
            std::fprintf(stderr, "bench: %s needs a value\n", a.c_str());
            return 2;
        }
        if (a == "--entries") entriesPath = argv[i + 1];
        else if (a == "--lookups") lookupsPath = argv[i + 1];
        else if (a == "--generate") generate = std::atoi(argv[i + 1]);
        else if (a == "--shipped") shipped = std::atoi(argv[i + 1]);
        else if (a == "--adds") adds = std::atoi(argv[i + 1]);
        else if (a == "--results") resultsPath = argv[i + 1];
        else {
            std::fprintf(stderr, "bench: unknown option %s\n", a.c_str());
            return 2;
        }
    }
    std::vector<Entry> entries;
    std::vector<std::string> lookups;
    std::vector<lex::GeneratedEntry> shippedEntries;
    if (shipped > 0) {
        shippedEntries = lex::GenerateEntries(shipped, 7);
        lookups = lex::LookupWords(shippedEntries);
        // User entries on top: new words and further translations of shipped ones.
        std::vector<std::string> unused;
        entries = Generate(std::max(adds, 0), unused);
        for (size_t i = 0; i < entries.size(); i += 2)
            entries[i].Word = shippedEntries[(i * 7919) % shippedEntries.size()].Word;
        for (const Entry& e : entries) lookups.push_back(e.Word);
    } else if (generate > 0) {
        entries = Generate(generate, lookups);
    } else if (!entriesPath.empty() && !lookupsPath.empty()) {
        std::vector<std::string> lines;
        if (!ReadLines(entriesPath, lines) || !ReadLines(lookupsPath, lookups)) {
            std::fprintf(stderr, "bench: cannot read the input files\n");
            return 2;
        }
        for (const std::string& l : lines) {
            size_t t1 = l.find('\t');
            if (t1 == std::string::npos) continue;
            size_t t2 = l.find('\t', t1 + 1);
            Entry e;
            e.Word = l.substr(0, t1);
            e.Translation = l.substr(t1 + 1, t2 == std::string::npos ? std::string::npos : t2 - t1 - 1);
            if (t2 != std::string::npos) e.Pronunciation = l.substr(t2 + 1);
            entries.push_back(e);
        }
    } else {
        std::fprintf(stderr, "usage: bench [--profile] [--results FILE] (--entries FILE --lookups FILE | --generate N | --shipped SENSES [--adds N])\n");
        return 2;
    }

    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path dir = fs::temp_directory_path(ec) / ("lexbench-" + std::to_string(std::random_device{}()));
    fs::create_directories(dir, ec);
    if (ec) {
        std::fprintf(stderr, "bench: cannot create %s\n", dir.string().c_str());
        return 2;
    }
    lex::DictionarySettings settings;
    lex::FillSlotPaths(settings, dir.string(), dir.string());
    for (int s = 0; s < lex::kSlotCount; ++s)
        settings.SortType[s] = static_cast<int16_t>(lex::DefaultSortType(s));
    settings.ActionLogPath = (dir / "akce1.idx").string();
    settings.CurrentSlot = 0;
    auto platformFiles = lex::MakePlatformFileSystem();
    ProfilingFileSystem profiled(*platformFiles);
    lex::FileSystem* files = &profiled;
    lex::RecordingDisplay display;
    lex::RecordingHooks hooks;
    lex::EngineContext ctx(settings, *files, display, hooks);
    if (lex::CreateSlotFiles(ctx, 0) != 1 || lex::CreateActionLog(ctx, settings.ActionLogPath) != 1) {
        std::fprintf(stderr, "bench: cannot create the slot in %s\n", dir.string().c_str());
        return 2;
    }
    std::printf("bench: slot in %s\n", dir.string().c_str());
    if (!shippedEntries.empty()) {
        auto t0 = Clock::now();
        if (lex::WriteShippedSlot(ctx, 0, shippedEntries) != 1) {
            std::fprintf(stderr, "bench: cannot write the shipped slot\n");
            return 2;
        }
        std::printf("bench: shipped slot of %d senses, %zu words written in %.2f s\n", shipped,
                    shippedEntries.size(), Seconds(Clock::now() - t0));
    }

    int failures = 0;
    auto addStart = Clock::now();
    for (size_t i = 0; i < entries.size(); ++i) {
        Entry& e = entries[i];
        int r = lex::RunSlotCommand(
            ctx, 0, [&] { return lex::AddEntry(ctx, e.Word, e.Pronunciation, e.Translation, 1); });
        if (r < 0) ++failures;
        if ((i + 1) % 10000 == 0)
            std::printf("bench: %zu entries added, %.1f s\n", i + 1, Seconds(Clock::now() - addStart));
    }
    const double addSeconds = Seconds(Clock::now() - addStart);
    const double addsPerSecond = entries.empty() ? 0 : entries.size() / std::max(addSeconds, 1e-9);
    std::printf("bench: %zu adds in %.2f s (%d failed)\n", entries.size(), addSeconds, failures);

    profiled.Enabled = true;
    profiled.Timing = profile;
    std::vector<double> times;
    std::vector<long> reads;
    times.reserve(lookups.size());
    std::vector<lex::ResultRow> rows;
    size_t found = 0, lookupFailures = 0;
    std::FILE* results = resultsPath.empty() ? nullptr : std::fopen(resultsPath.c_str(), "wb");
    if (!resultsPath.empty() && !results) {
        std::fprintf(stderr, "bench: cannot write %s\n", resultsPath.c_str());
        return 2;
    }
    const long opensBefore = profiled.Calls[ProfilingFileSystem::kOpen];
    for (const std::string& w : lookups) {
        hooks.History.clear();
        const long readsBefore = profiled.Reads();
        auto t0 = Clock::now();
        int n = lex::LookupWord(ctx, w, rows, 0);
        times.push_back(std::chrono::duration<double, std::micro>(Clock::now() - t0).count());
        reads.push_back(profiled.Reads() - readsBefore);
        if (n < 0) ++lookupFailures;
        if (!display.Translation.empty()) ++found;
        if (results) {
            std::string out = "== " + w + "\n" + std::to_string(n) + "\n[" + display.Pronunciation + "]\n" +
                              display.Translation + "\n";
            for (const auto& h : hooks.History) out += "history " + h.first + " " + std::to_string(h.second) + "\n";
            for (const lex::ResultRow& r : rows) {
                uint8_t node[lex::WordNode::kSize];
                r.Node.Encode(node);
                out += std::to_string(r.Offset) + " " + r.Word + "\t" + r.Pronunciation + " ";
                for (uint8_t b : node) out += "0123456789abcdef"[b >> 4], out += "0123456789abcdef"[b & 15];
                out += "\n";
            }
            std::fwrite(out.data(), 1, out.size(), results);
        }
    }
    if (results) std::fclose(results);
    const long opens = profiled.Calls[ProfilingFileSystem::kOpen] - opensBefore;
    profiled.Enabled = false;
    if (profile) profiled.Print(static_cast<long>(std::max<size_t>(lookups.size(), 1)));
    std::sort(times.begin(), times.end());
    auto pick = [&](double q) {
        if (times.empty()) return 0.0;
        size_t i = static_cast<size_t>(q * (times.size() - 1) + 0.5);
        return times[std::min(i, times.size() - 1)];
    };
    std::printf("bench: %zu lookups, %zu with translations, %zu failed; mean %.1f us, max %.1f us\n",
                lookups.size(), found, lookupFailures,
                times.empty() ? 0.0 : [&] { double s = 0; for (double t : times) s += t; return s / times.size(); }(),
                times.empty() ? 0.0 : times.back());
    // What the six opens and closes of a slot cost alone, for comparison.
    std::vector<double> openClose;
    for (size_t i = 0; i < std::min<size_t>(lookups.size(), 5000); ++i) {
        auto t0 = Clock::now();
        lex::OpenSlotFiles(ctx, 0, lex::kOpenReadShared);
        lex::CloseSlotFiles(ctx);
        openClose.push_back(std::chrono::duration<double, std::micro>(Clock::now() - t0).count());
    }
    std::sort(openClose.begin(), openClose.end());
    std::printf("bench: six opens and closes alone: median %.1f us\n",
                openClose.empty() ? 0.0 : openClose[openClose.size() / 2]);
    std::sort(reads.begin(), reads.end());
    const size_t nLookups = std::max<size_t>(lookups.size(), 1);
    std::printf("bench: reads per lookup: median %ld, max %ld; opens per lookup %.2f\n",
                reads.empty() ? 0 : reads[reads.size() / 2], reads.empty() ? 0 : reads.back(),
                double(opens) / nLookups);
    std::printf("bench: entries=%zu adds_per_s=%.0f lookup_median_us=%.1f lookup_p99_us=%.1f\n",
                entries.size() + shippedEntries.size(), addsPerSecond, pick(0.5), pick(0.99));
    fs::remove_all(dir, ec);
    return 0;
}
