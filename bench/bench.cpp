// bench: builds a slot and times LookupWord on a list of words, files opened
// and closed per lookup as in the lookup window.
//   bench --entries FILE --lookups FILE   entries added one command each, as the add dialog does
//   bench --generate N                    N generated entries added so
//   bench --shipped SENSES [--adds N]     a generated shipped slot (as installed), N user adds on top
// --profile also prints the calls of the file layer per lookup; --results FILE
// writes what every lookup gave (rows, label, translations, history) for a
// byte-for-byte comparison of two builds (bench/compare_builds.sh).
// --dir DIR keeps the slot in DIR and uses it again when a later run asks for
// the same slot; --passes N times every lookup N times and gives the best
// pass; --stardict DIR writes the same entries as a StarDict dictionary and
// the lookup words as DIR/words.txt (bench/sdcv_compare.sh times sdcv on them).
// Figures come from a Release build, which is not sanitized:
//   cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release && cmake --build build/bench --target bench
//   build/bench/bench/bench --shipped 150000 --profile
// and under Wine from build/win/bench/bench.exe.
#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "core/engine/engine.h"
#include "tools/slotgen/generated_slot.h"
#ifdef LEX_BENCH_SESSION
#include "core/lookup/lookup_session.h"
#endif

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
    bool Truncate(lex::FileHandle h, int64_t size) override { return inner_.Truncate(h, size); }

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

// The 8-bit texts (code page 1250) in UTF-8, for the StarDict files.
std::string Utf8Of(const std::string& text) {
    static const char16_t kHigh[128] = {
        0x20AC, 0x81, 0x201A, 0x83, 0x201E, 0x2026, 0x2020, 0x2021, 0x88, 0x2030, 0x160, 0x2039, 0x15A, 0x164,
        0x17D, 0x179, 0x90, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x98, 0x2122, 0x161, 0x203A,
        0x15B, 0x165, 0x17E, 0x17A, 0xA0, 0x2C7, 0x2D8, 0x141, 0xA4, 0x104, 0xA6, 0xA7, 0xA8, 0xA9, 0x15E, 0xAB,
        0xAC, 0xAD, 0xAE, 0x17B, 0xB0, 0xB1, 0x2DB, 0x142, 0xB4, 0xB5, 0xB6, 0xB7, 0xB8, 0x105, 0x15F, 0xBB,
        0x13D, 0x2DD, 0x13E, 0x17C, 0x154, 0xC1, 0xC2, 0x102, 0xC4, 0x139, 0x106, 0xC7, 0x10C, 0xC9, 0x118, 0xCB,
        0x11A, 0xCD, 0xCE, 0x10E, 0x110, 0x143, 0x147, 0xD3, 0xD4, 0x150, 0xD6, 0xD7, 0x158, 0x16E, 0xDA, 0x170,
        0xDC, 0xDD, 0x162, 0xDF, 0x155, 0xE1, 0xE2, 0x103, 0xE4, 0x13A, 0x107, 0xE7, 0x10D, 0xE9, 0x119, 0xEB,
        0x11B, 0xED, 0xEE, 0x10F, 0x111, 0x144, 0x148, 0xF3, 0xF4, 0x151, 0xF6, 0xF7, 0x159, 0x16F, 0xFA, 0x171,
        0xFC, 0xFD, 0x163, 0x2D9};
    std::string out;
    for (unsigned char c : text) {
        const unsigned u = c < 0x80 ? c : kHigh[c - 0x80];
        if (u == static_cast<unsigned>(lex::kGrammarNoteByte)) continue;
        if (u < 0x80) {
            out += static_cast<char>(u);
        } else if (u < 0x800) {
            out += static_cast<char>(0xC0 | (u >> 6));
            out += static_cast<char>(0x80 | (u & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (u >> 12));
            out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (u & 0x3F));
        }
    }
    return out;
}

void PutBigEndian(std::string& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((v >> shift) & 0xFF);
}

// The same entries as a StarDict dictionary (DIR/dic/lexbench.{ifo,idx,dict}):
// one article per word, its pronunciation in brackets and then its
// translations a line each; and the lookup words as DIR/words.txt.
bool WriteStarDict(const std::string& dir, const std::vector<lex::GeneratedEntry>& shipped,
                   const std::vector<Entry>& added, const std::vector<std::string>& lookups) {
    struct Article {
        std::string Pronunciation;
        std::vector<std::string> Lines;
    };
    std::map<std::string, Article> articles;
    for (const lex::GeneratedEntry& e : shipped) {
        if (e.Deleted) continue;
        Article& a = articles[e.Word];
        if (a.Pronunciation.empty()) a.Pronunciation = e.Pronunciation;
        for (const std::string& t : e.Translations) a.Lines.push_back(t);
    }
    for (const Entry& e : added) {
        Article& a = articles[e.Word];
        if (a.Pronunciation.empty()) a.Pronunciation = e.Pronunciation;
        a.Lines.push_back(e.Translation);
    }
    // The order sdcv searches in: ASCII case-insensitive, then byte order.
    std::vector<std::pair<std::string, std::string>> sorted;
    for (const auto& [word, a] : articles) {
        std::string text = a.Pronunciation.empty() ? std::string() : "[" + Utf8Of(a.Pronunciation) + "]\n";
        for (const std::string& line : a.Lines) text += Utf8Of(line) + "\n";
        sorted.emplace_back(Utf8Of(word), text);
    }
    auto folded = [](const std::string& a, const std::string& b) {
        for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
            unsigned char ca = static_cast<unsigned char>(a[i]), cb = static_cast<unsigned char>(b[i]);
            if (ca < 0x80) ca = static_cast<unsigned char>(std::tolower(ca));
            if (cb < 0x80) cb = static_cast<unsigned char>(std::tolower(cb));
            if (ca != cb) return ca < cb ? -1 : 1;
        }
        return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
    };
    std::sort(sorted.begin(), sorted.end(), [&](const auto& a, const auto& b) {
        const int c = folded(a.first, b.first);
        return c != 0 ? c < 0 : a.first < b.first;
    });
    std::string idx, dict;
    for (const auto& [word, text] : sorted) {
        idx += word;
        idx += '\0';
        PutBigEndian(idx, static_cast<uint32_t>(dict.size()));
        PutBigEndian(idx, static_cast<uint32_t>(text.size()));
        dict += text;
    }
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path dic = fs::path(dir) / "dic";
    fs::create_directories(dic, ec);
    if (ec) return false;
    const std::string ifo = "StarDict's dict ifo file\nversion=2.4.2\nwordcount=" + std::to_string(sorted.size()) +
                            "\nidxfilesize=" + std::to_string(idx.size()) +
                            "\nbookname=lexbench\nsametypesequence=m\n";
    std::string words;
    for (const std::string& w : lookups) words += Utf8Of(w) + "\n";
    const std::pair<fs::path, const std::string*> files[] = {
        {dic / "lexbench.ifo", &ifo}, {dic / "lexbench.idx", &idx}, {dic / "lexbench.dict", &dict},
        {fs::path(dir) / "words.txt", &words}};
    for (const auto& [path, bytes] : files) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes->data(), static_cast<std::streamsize>(bytes->size()));
        if (!out) return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    std::string entriesPath, lookupsPath, resultsPath, keepDir, stardictDir;
    int generate = -1, shipped = -1, adds = 1000, passes = 1;
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
        else if (a == "--dir") keepDir = argv[i + 1];
        else if (a == "--passes") passes = std::max(1, std::atoi(argv[i + 1]));
        else if (a == "--stardict") stardictDir = argv[i + 1];
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
        std::fprintf(stderr, "usage: bench [--profile] [--results FILE] [--dir DIR] [--passes N] [--stardict DIR]\n"
                             "             (--entries FILE --lookups FILE | --generate N | --shipped SENSES [--adds N])\n");
        return 2;
    }

    if (!stardictDir.empty() && !WriteStarDict(stardictDir, shippedEntries, entries, lookups)) {
        std::fprintf(stderr, "bench: cannot write the StarDict files in %s\n", stardictDir.c_str());
        return 2;
    }

    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path dir = keepDir.empty() ? fs::temp_directory_path(ec) / ("lexbench-" + std::to_string(std::random_device{}()))
                                   : fs::path(keepDir);
    // A kept slot is used again by a run that asks for the same one.
    std::string stamp = shipped > 0    ? "shipped " + std::to_string(shipped) + " adds " + std::to_string(adds)
                        : generate > 0 ? "generate " + std::to_string(generate)
                                       : "entries " + entriesPath;
    const fs::path stampPath = dir / "bench-slot.txt";
    std::string oldStamp;
    {
        std::ifstream in(stampPath, std::ios::binary);
        std::getline(in, oldStamp);
    }
    const bool reuse = !keepDir.empty() && oldStamp == stamp;
    if (!keepDir.empty() && !reuse) fs::remove(stampPath, ec);
    ec.clear();
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
    const size_t entryCount = entries.size() + shippedEntries.size();
    if (reuse) {
        std::printf("bench: slot of an earlier run in %s\n", dir.string().c_str());
        shippedEntries.clear();
        entries.clear();
    } else if (lex::CreateSlotFiles(ctx, 0) != 1 || lex::CreateActionLog(ctx, settings.ActionLogPath) != 1) {
        std::fprintf(stderr, "bench: cannot create the slot in %s\n", dir.string().c_str());
        return 2;
    } else {
        std::printf("bench: slot in %s\n", dir.string().c_str());
    }
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
    if (!keepDir.empty() && !reuse) {
        std::ofstream out(stampPath, std::ios::binary);
        out << stamp << "\n";
    }

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
    // What the six opens and closes of a slot cost alone, for comparison:
    // timed between the lookups, so that both meet the same load of the
    // machine.
    std::vector<double> openClose;
    const size_t openCloseEvery = std::max<size_t>(1, lookups.size() / 5000);
    auto OpenCloseOnce = [&] {
        const bool counting = profiled.Enabled;
        profiled.Enabled = false;
        auto t0 = Clock::now();
        lex::OpenSlotFiles(ctx, 0, lex::kOpenReadShared);
        lex::CloseSlotFiles(ctx);
        const double t = std::chrono::duration<double, std::micro>(Clock::now() - t0).count();
        profiled.Enabled = counting;
        return t;
    };
    // Each lookup's time is the best of the passes; the pass time is the
    // best pass's mean.
    double bestPass = 0;
    for (int pass = 0; pass < passes; ++pass) {
      const bool first = pass == 0;
      if (pass == 1) profiled.Enabled = false;
      double passTotal = 0;
      for (size_t i = 0; i < lookups.size(); ++i) {
        const std::string& w = lookups[i];
        hooks.History.clear();
        const long readsBefore = profiled.Reads();
        auto t0 = Clock::now();
        int n = lex::LookupWord(ctx, w, rows, 0);
        const double t = std::chrono::duration<double, std::micro>(Clock::now() - t0).count();
        passTotal += t;
        if (!first) {
            times[i] = std::min(times[i], t);
            continue;
        }
        times.push_back(t);
        reads.push_back(profiled.Reads() - readsBefore);
        if (i % openCloseEvery == 0) openClose.push_back(OpenCloseOnce());
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
      const double passMean = passTotal / static_cast<double>(std::max<size_t>(lookups.size(), 1));
      if (first || passMean < bestPass) bestPass = passMean;
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
    // The lookup window's road of one lookup: the scroll bar's place in the
    // key index and the lookup, through the lookup session where the tree
    // has one.
#ifdef LEX_BENCH_SESSION
    lex::LookupSession session(ctx, settings);
    const char* road = "lookup session";
    auto windowLookup = [&](const std::string& w) { session.LookUp(w); };
#else
    const char* road = "key position and LookupWord";
    auto windowLookup = [&](const std::string& w) {
        lex::KeyPosition place;
        lex::WordKeyPosition(ctx, 0, w, place);
        lex::LookupWord(ctx, w, rows, 0);
    };
#endif
    std::vector<double> windowTimes;
    for (const std::string& w : lookups) {
        hooks.History.clear();
        auto t0 = Clock::now();
        windowLookup(w);
        windowTimes.push_back(std::chrono::duration<double, std::micro>(Clock::now() - t0).count());
    }
    std::sort(windowTimes.begin(), windowTimes.end());
    std::printf("bench: lookups as the window makes them (%s): median %.1f us\n", road,
                windowTimes.empty() ? 0.0 : windowTimes[windowTimes.size() / 2]);
    std::sort(openClose.begin(), openClose.end());
    const double openCloseMedian = openClose.empty() ? 0.0 : openClose[openClose.size() / 2];
    std::printf("bench: six opens and closes alone: median %.1f us; lookup median %.2f times that\n",
                openCloseMedian, openCloseMedian > 0 ? pick(0.5) / openCloseMedian : 0.0);
    std::sort(reads.begin(), reads.end());
    const size_t nLookups = std::max<size_t>(lookups.size(), 1);
    std::printf("bench: reads per lookup: median %ld, max %ld; opens per lookup %.2f\n",
                reads.empty() ? 0 : reads[reads.size() / 2], reads.empty() ? 0 : reads.back(),
                double(opens) / nLookups);
    std::printf("bench: best pass of %d: %.1f us per lookup\n", passes, bestPass);
    std::printf("bench: entries=%zu adds_per_s=%.0f lookup_median_us=%.1f lookup_p99_us=%.1f\n",
                entryCount, addsPerSecond, pick(0.5), pick(0.99));
    if (keepDir.empty()) fs::remove_all(dir, ec);
    return 0;
}
