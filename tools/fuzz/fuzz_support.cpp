#include "fuzz_support.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <set>
#include <system_error>

#include "core/engine/collation.h"
#include "core/engine/records.h"
#include "core/engine/slots.h"
#include "core/files/whole_files.h"

namespace lexfuzz {

std::string Input::Bytes(size_t count) {
    const size_t n = std::min(count, Left());
    std::string out(reinterpret_cast<const char*>(data_ + at_), n);
    at_ += n;
    return out;
}

void Check(bool ok, const std::string& what) {
    if (ok) return;
    std::fprintf(stderr, "\n*** property failed: %s\n", what.c_str());
    std::fflush(stderr);
    std::abort();
}

void Trace(const std::string& line) {
    static const bool on = std::getenv("LEX_FUZZ_TRACE") != nullptr;
    if (on) std::fprintf(stderr, "%s\n", line.c_str());
}

bool PropertyOn(const char* name) {
    const char* off = std::getenv("LEX_FUZZ_OFF");
    if (!off) return true;
    const std::string list = std::string(",") + off + ",";
    return list.find(std::string(",") + name + ",") == std::string::npos;
}

RunFolder::RunFolder() {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path base = "/dev/shm";
    if (!fs::is_directory(base, ec) || ::access(base.c_str(), W_OK) != 0) base = fs::temp_directory_path(ec);
    path_ = (base / ("lexfuzz-" + std::to_string(::getpid()))).string();
    fs::remove_all(path_, ec);
    fs::create_directories(path_, ec);
}

RunFolder::~RunFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

void RunFolder::Clear() {
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(path_, ec)) std::filesystem::remove_all(e.path(), ec);
}

std::vector<std::string> RunFolder::Names() const {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(path_, ec)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::optional<std::string> FileBytes(lex::FileSystem& fs, const std::string& path) {
    std::string bytes;
    const lex::ReadOutcome r = lex::ReadWholeFile(fs, path, bytes);
    if (r == lex::ReadOutcome::Missing) return std::nullopt;
    Check(r == lex::ReadOutcome::Whole, path + " cannot be read");
    return bytes;
}

bool PutFile(lex::FileSystem& fs, const std::string& path, const std::string& bytes) {
    const lex::FileHandle h = fs.Create(path);
    if (h == lex::kNoFile) return false;
    const bool written = bytes.empty() || fs.Write(h, bytes.data(), static_cast<uint32_t>(bytes.size())) ==
                                              static_cast<int32_t>(bytes.size());
    return fs.Close(h) && written;
}

void FillSettings(lex::DictionarySettings& settings, const RunFolder& folder) {
    lex::FillSlotPaths(settings, folder.Path(), folder.Path());
    for (int s = 0; s < lex::kSlotCount; ++s) settings.SortType[s] = static_cast<int16_t>(lex::DefaultSortType(s));
    settings.ActionLogPath = folder.Sub("akce1.idx");
    settings.CurrentSlot = 0;
}

const std::vector<int32_t>* SlotState::ChainOf(int32_t node) const {
    for (const auto& c : Chains)
        if (c.first == node) return &c.second;
    return nullptr;
}

namespace {

const uint8_t* At(const std::string& file, int64_t offset) {
    return reinterpret_cast<const uint8_t*>(file.data()) + offset;
}

bool Inside(const std::string& file, int64_t offset, int64_t size) {
    return offset >= 0 && size >= 0 && offset + size <= static_cast<int64_t>(file.size());
}

// The walk of the list and the chains; the first problem found, or "".
std::string Walk(const std::string& nodes, const std::string& userWords, const std::string& cdWords,
                 const std::string& userTr, const lex::DictionarySettings& settings, int slot, SlotState& out) {
    using lex::WordNode;
    if (nodes.size() < 78) return "node file shorter than its header and sentinels";
    if (userTr.size() < 44) return "user translations file shorter than its header and count";
    out.WordCount = lex::GetI32(At(userTr, lex::kWordCountOffset));
    std::set<int32_t> seen;
    int32_t at = lex::kLowSentinelNode, previous = 0;
    std::string previousWord;
    bool previousIsWord = false;
    for (;;) {
        if (!Inside(nodes, at, WordNode::kSize)) return "node " + std::to_string(at) + " outside the node file";
        if ((at - lex::kLowSentinelNode) % static_cast<int32_t>(WordNode::kSize) != 0)
            return "node " + std::to_string(at) + " off the 19-byte grid";
        if (!seen.insert(at).second) return "cycle at node " + std::to_string(at);
        const WordNode n = WordNode::Decode(At(nodes, at));
        if (n.Previous != previous)
            return "node " + std::to_string(at) + " links back to " + std::to_string(n.Previous) + ", not " +
                   std::to_string(previous);
        const bool disk = n.Flags & lex::kFlagDisk, cd = n.Flags & lex::kFlagCd;
        if (disk == cd) return "node " + std::to_string(at) + " names no single words file";
        const std::string& words = disk ? userWords : cdWords;
        if (!Inside(words, n.TextOffset, int64_t(n.WordLength) + n.PronunciationLength) || n.TextOffset < 40)
            return "texts of node " + std::to_string(at) + " outside the words file";
        const std::string word = words.substr(n.TextOffset, n.WordLength);
        const std::string pron = words.substr(n.TextOffset + n.WordLength, n.PronunciationLength);
        const bool sentinel = at == lex::kLowSentinelNode || at == lex::kHighSentinelNode;
        if (sentinel && !n.Deleted()) return "a live sentinel";
        if (!sentinel) {
            if (previousIsWord && lex::CompareSlotWords(previousWord, word, slot, settings) > 0)
                return "node " + std::to_string(at) + " out of collation order";
            previousWord = word;
            previousIsWord = true;
        }
        out.Nodes.push_back(at);
        std::vector<int32_t> chain;
        std::string entry = word + "|" + pron, bare = word;
        bool anyLive = false;
        if (disk) {
            std::set<int32_t> links;
            for (int32_t t = n.FirstTranslation; t != 0;) {
                if (t < lex::kFirstUserTranslation || !Inside(userTr, t, lex::TranslationHead::kSize))
                    return "chain of node " + std::to_string(at) + " leaves the file at " + std::to_string(t);
                if (!links.insert(t).second) return "cycle in the chain of node " + std::to_string(at);
                const lex::TranslationHead h = lex::TranslationHead::Decode(At(userTr, t));
                if (!Inside(userTr, t + int64_t(lex::TranslationHead::kSize), h.Length))
                    return "translation " + std::to_string(t) + " runs past the file";
                chain.push_back(t);
                if (!h.Deleted()) {
                    anyLive = true;
                    if (!n.Deleted()) {
                        ++out.LiveTranslations;
                        const std::string text = userTr.substr(t + lex::TranslationHead::kSize, h.Length);
                        entry += "|" + text;
                        bare += "|" + text;
                    }
                }
                t = h.Next;
            }
            if (!n.Deleted() && !anyLive) return "live node " + std::to_string(at) + " without a live translation";
            // A word goes with its last live translation, and comes back with one.
            if (n.Deleted() && anyLive && PropertyOn("hidden"))
                return "deleted node " + std::to_string(at) + " with a live translation";
        }
        if (!n.Deleted() && !sentinel) {
            out.Entries.push_back(entry);
            out.Words.push_back(bare);
        }
        out.Chains.emplace_back(at, std::move(chain));
        if (at == lex::kHighSentinelNode) {
            if (n.Next != 0) return "the high sentinel links on";
            break;
        }
        if (n.Next == 0) return "the list ends at node " + std::to_string(at) + " before the high sentinel";
        previous = at;
        at = n.Next;
    }
    // Whole node records outside the list are deleted (the readers in file
    // order pass over them).
    for (int64_t o = lex::kLowSentinelNode; o + int64_t(WordNode::kSize) <= int64_t(nodes.size());
         o += WordNode::kSize) {
        if (seen.count(static_cast<int32_t>(o))) continue;
        if (!WordNode::Decode(At(nodes, o)).Deleted())
            return "live node " + std::to_string(o) + " outside the list";
    }
    return "";
}

std::string Keys(const std::string& keys, const SlotState& s) {
    if (keys.size() < 18) return "key index shorter than its two sentinels";
    // The index may end with room for one more record (a copy of the high
    // sentinel's) and a part record a full disk left; readers count whole records.
    const size_t count = keys.size() / lex::KeyRecord::kSize;
    const std::set<int32_t> nodes(s.Nodes.begin(), s.Nodes.end());
    for (size_t i = 0; i < count; ++i) {
        const lex::KeyRecord k = lex::KeyRecord::Decode(At(keys, i * lex::KeyRecord::kSize));
        const std::string where = "key record " + std::to_string(i);
        if (i == 0 && (k.SortKey != lex::kLowSentinelKey || k.Node != lex::kLowSentinelNode))
            return "the first key record is not the low sentinel's";
        if (i + 1 == count && (k.SortKey != lex::kHighSentinelKey || k.Node != lex::kHighSentinelNode))
            return "the last key record is not the high sentinel's";
        if (!nodes.count(k.Node)) return where + " points at " + std::to_string(k.Node) + ", no node of the list";
        if (i > 0) {
            const lex::KeyRecord p = lex::KeyRecord::Decode(At(keys, (i - 1) * lex::KeyRecord::kSize));
            if (p.SortKey > k.SortKey) return where + " out of order";
            if (p.SortKey == k.SortKey && k.SortKey != lex::kHighSentinelKey && PropertyOn("keys"))
                return where + " repeats the key before it";
        }
    }
    return "";
}

}  // namespace

SlotState LookAtSlot(lex::FileSystem& fs, const lex::DictionarySettings& settings, int slot) {
    SlotState s;
    const std::string nodes = FileBytes(fs, settings.NodePaths[slot]).value_or("");
    const std::string userWords = FileBytes(fs, settings.UserWordsPaths[slot]).value_or("");
    const std::string cdWords = FileBytes(fs, settings.CdWordsPaths[slot]).value_or("");
    const std::string userTr = FileBytes(fs, settings.UserTranslationsPaths[slot]).value_or("");
    const std::string keys = FileBytes(fs, settings.KeyIndexPaths[slot]).value_or("");
    s.Problem = Walk(nodes, userWords, cdWords, userTr, settings, slot, s);
    if (s.Problem.empty()) s.Problem = Keys(keys, s);
    if (s.Problem.empty() && PropertyOn("count") && s.WordCount != s.LiveTranslations)
        s.Problem = "word count " + std::to_string(s.WordCount) + ", live translations " +
                    std::to_string(s.LiveTranslations);
    if (!s.Problem.empty()) s.Problem = "slot " + std::to_string(slot) + ": " + s.Problem;
    return s;
}

std::string Differ(const std::vector<std::string>& expected, const std::vector<std::string>& found) {
    for (size_t i = 0; i < std::max(expected.size(), found.size()); ++i) {
        const std::string e = i < expected.size() ? expected[i] : "<end>", f = i < found.size() ? found[i] : "<end>";
        if (e != f) return "expected \"" + e + "\", found \"" + f + "\"";
    }
    return "the same";
}

std::vector<std::string> EngineWalk(lex::EngineContext& ctx, int slot) {
    std::vector<std::string> out;
    lex::NodeWalk walk = lex::WalkFromNode(slot, lex::kLowSentinelNode);
    walk.WithTranslations = true;
    for (int guard = 0; !walk.End && guard < 100000; ++guard) {
        std::vector<lex::WalkEntry> entries;
        const int r = lex::StepNodeWalk(ctx, walk, 50, 0, entries);
        for (const lex::WalkEntry& e : entries) {
            std::string line = e.Word + "|" + e.Pronunciation;
            for (const lex::EntryTranslation& t : e.Translations) line += "|" + t.Text;
            out.push_back(line);
        }
        if (r < 0) {
            out.push_back("<error>");
            break;
        }
        if (r == 0) break;
    }
    return out;
}

void WriteSeedsIfAsked(const std::function<void(const SeedSink&)>& write) {
    const char* folder = std::getenv("LEX_FUZZ_SEEDS");
    if (!folder) return;
    std::unique_ptr<lex::FileSystem> fs = lex::MakePlatformFileSystem();
    int count = 0;
    write([&](const std::string& name, const std::string& bytes) {
        Check(PutFile(*fs, std::string(folder) + "/" + name, bytes), "the seed " + name + " cannot be written");
        ++count;
    });
    std::printf("%d seeds written to %s\n", count, folder);
    std::exit(0);
}

std::string Script(std::initializer_list<int> bytes) {
    std::string out;
    for (int b : bytes) out.push_back(static_cast<char>(b));
    return out;
}

std::string BlobOf(const std::string& bytes) {
    const size_t n = std::min<size_t>(bytes.size(), 0xFFFF);
    return Script({int(n & 0xFF), int(n >> 8)}) + bytes.substr(0, n);
}

}  // namespace lexfuzz
