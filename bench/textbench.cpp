// textbench: the full-text search and the text translator over a large slot.
// Builds a slot of N entries (with translations, in batches of one command
// each), then times
//   - the search (its stepper run to the end with the dialog's 8 ms budget)
//     for a string found nowhere, in the headwords and in both parts;
//   - the matcher alone over the slot's headwords held in memory;
//   - the translator on a long text of W words into the slot;
// and prints nodes, headwords and words per second.
//   textbench [--entries N] [--words W]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "core/engine/engine.h"
#include "lexora/wordtools/text_search.h"
#include "lexora/wordtools/text_translator.h"

namespace {

using Clock = std::chrono::steady_clock;
double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// Pronounceable words with a few thousand distinct starts.
std::string MakeWord(std::mt19937& rng) {
    static const char* kOnsets[] = {"b", "c", "d", "f", "g", "h", "k", "l", "m", "n", "p",
                                    "r", "s", "t", "v", "st", "tr", "pr", "br", "ch"};
    static const char* kVowels[] = {"a", "e", "i", "o", "u", "ea", "ou"};
    std::string w;
    const int syllables = 2 + static_cast<int>(rng() % 3);
    for (int s = 0; s < syllables; ++s) {
        w += kOnsets[rng() % 20];
        w += kVowels[rng() % 7];
    }
    if (rng() % 3 == 0) w += kOnsets[rng() % 14];
    return w;
}

struct CountingHits : lexora::SearchHitHandler {
    long hits = 0;
    bool OnHit(const lexora::SearchHit&) override {
        ++hits;
        return true;
    }
};

}  // namespace

int main(int argc, char** argv) {
    int entries = 150000;
    int words = 5000;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string a = argv[i];
        if (a == "--entries") entries = std::atoi(argv[i + 1]);
        else if (a == "--words") words = std::atoi(argv[i + 1]);
        else {
            std::fprintf(stderr, "usage: textbench [--entries N] [--words W]\n");
            return 2;
        }
    }

    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path dir = fs::temp_directory_path(ec) / ("lextextbench-" + std::to_string(std::random_device{}()));
    fs::create_directories(dir, ec);
    lex::DictionarySettings settings;
    lex::FillSlotPaths(settings, dir.string(), dir.string());
    for (int s = 0; s < lex::kSlotCount; ++s) settings.SortType[s] = static_cast<int16_t>(lex::DefaultSortType(s));
    settings.ActionLogPath = (dir / "akce1.idx").string();
    auto files = lex::MakePlatformFileSystem();
    lex::RecordingDisplay display;
    lex::RecordingHooks hooks;
    lex::EngineContext ctx(settings, *files, display, hooks);
    if (ec || lex::CreateSlotFiles(ctx, 0) != 1 || lex::CreateActionLog(ctx, settings.ActionLogPath) != 1) {
        std::fprintf(stderr, "textbench: cannot create the slot in %s\n", dir.string().c_str());
        return 2;
    }

    // The slot: every entry with one translation, a third with a second one.
    std::mt19937 rng(4711);
    std::vector<std::string> headwords;
    const auto buildStart = Clock::now();
    constexpr int kBatch = 2000;
    for (int done = 0; done < entries;) {
        const int n = std::min(kBatch, entries - done);
        const int r = lex::RunSlotCommand(ctx, 0, [&] {
            for (int i = 0; i < n; ++i) {
                const std::string w = MakeWord(rng);
                std::string tr = "p\xF8" "eklad " + w;
                if (lex::AddEntry(ctx, w, "", tr, 1) < 0) return -1;
                if (rng() % 3 == 0) {
                    std::string second = "jin\xFD " + w;
                    if (lex::AddEntry(ctx, w, "", second, 1) < 0) return -1;
                }
                headwords.push_back(w);
            }
            return 1;
        });
        if (r != 1) {
            std::fprintf(stderr, "textbench: adding entries failed (%d)\n", r);
            return 2;
        }
        done += n;
    }
    std::printf("textbench: slot of %d entries built in %.1f s\n", entries, Seconds(Clock::now() - buildStart));

    // The search, as the dialog runs it.
    CountingHits hits;
    auto search = [&](bool translations) {
        lexora::TextSearchState state;
        state.Text = "xq";  // in no headword and no translation
        state.Slot = 0;
        state.InHeadwords = true;
        state.InTranslations = translations;
        lexora::TextSearchJob job(ctx, state, hits, "Ready");
        const auto start = Clock::now();
        const lex::JobState end = lex::RunToEnd(job, lex::SystemClock(), std::chrono::milliseconds(8));
        const double s = Seconds(Clock::now() - start);
        if (end != lex::JobState::Done) std::fprintf(stderr, "textbench: the search did not finish\n");
        return std::make_pair(state.ProcessedRecords / std::max(s, 1e-9), s);
    };
    const auto headwordSearch = search(false);
    const auto bothSearch = search(true);
    std::printf("textbench: search in headwords %.2f s, in both parts %.2f s\n", headwordSearch.second,
                bothSearch.second);

    // The matcher alone.
    lexora::CollationMatcher matcher("xq", 0, settings);
    long found = 0;
    const auto matchStart = Clock::now();
    constexpr int kRounds = 5;
    for (int round = 0; round < kRounds; ++round)
        for (const std::string& w : headwords)
            if (matcher.Find(w, 0) != lexora::CollationMatcher::kNone) ++found;
    const double matchSeconds = Seconds(Clock::now() - matchStart);

    // The translator: known words and a share of unknown ones.
    std::string text;
    for (int i = 0; i < words; ++i) {
        text += (i % 5 == 4) ? MakeWord(rng) + "s" : headwords[rng() % headwords.size()];
        text += (i % 12 == 11) ? ".\r\n" : " ";
    }
    lexora::StringSink sink;
    lexora::TranslationWriter out(sink, lexora::OutputMode::kEightBit, [](int) { return 1250u; });
    out.Begin();
    const auto translateStart = Clock::now();
    const lexora::TranslationRun run = lexora::TranslateText(ctx, text, {0}, out);
    const double translateSeconds = Seconds(Clock::now() - translateStart);
    if (run.status != lexora::TranslationRun::kDone || run.words != static_cast<size_t>(words))
        std::fprintf(stderr, "textbench: the translation ended early\n");

    fs::remove_all(dir, ec);
    std::printf("textbench: entries=%d search_nodes_per_s=%.0f search_both_nodes_per_s=%.0f "
                "matcher_headwords_per_s=%.0f translator_words_per_s=%.0f (hits %ld, found %ld, output %zu bytes)\n",
                entries, headwordSearch.first, bothSearch.first, kRounds * headwords.size() / std::max(matchSeconds, 1e-9),
                words / std::max(translateSeconds, 1e-9), hits.hits, found, sink.Bytes.size());
    return 0;
}
