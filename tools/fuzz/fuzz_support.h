// Shared pieces of the fuzz targets: reading the fuzzer's bytes as a script,
// a private folder for the files of one run, checks that stop the run with a
// message, and the structural check of a slot's files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/engine/engine.h"
#include "core/engine/engine_display.h"
#include "core/files/file_system.h"
#include "core/files/testing/faulty_file_system.h"

namespace lexfuzz {

// The fuzzer's bytes, taken from the front; past the end every read gives 0.
class Input {
public:
    Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool Empty() const { return at_ >= size_; }
    size_t Left() const { return at_ < size_ ? size_ - at_ : 0; }
    uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
    uint16_t U16() {
        const uint16_t lo = Byte();
        return static_cast<uint16_t>(lo | Byte() << 8);
    }
    int32_t I32() {
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(Byte()) << (8 * i);
        return static_cast<int32_t>(v);
    }
    // Up to `count` bytes (fewer at the end).
    std::string Bytes(size_t count);
    // A length byte, then that many bytes.
    std::string Text() { return Bytes(Byte()); }
    // A 16-bit length, then that many bytes.
    std::string Blob() { return Bytes(U16()); }
    // What is left.
    std::string Rest() { return Bytes(Left()); }

private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

// Stops the run (abort) with `what` when `ok` is false: the fuzzer keeps the
// input as a crash.
void Check(bool ok, const std::string& what);

// With LEX_FUZZ_TRACE set, prints a line of what a target does (to follow
// one input: run the target with the input's file as its argument).
void Trace(const std::string& line);

// Whether the property `name` is checked: LEX_FUZZ_OFF="name,name" turns
// properties off, so that a search can go past a fault already known.
bool PropertyOn(const char* name);

// A folder of this process for the files of one run, emptied by Clear (under
// /dev/shm when it can be written, else the temporary folder); removed at exit.
class RunFolder {
public:
    RunFolder();
    ~RunFolder();
    const std::string& Path() const { return path_; }
    std::string Sub(const std::string& name) const { return path_ + "/" + name; }
    void Clear();
    // The names in the folder, sorted.
    std::vector<std::string> Names() const;

private:
    std::string path_;
};

// A file's bytes through the file layer; nullopt when it is missing (a file
// that cannot be read whole stops the run).
std::optional<std::string> FileBytes(lex::FileSystem& fs, const std::string& path);
// Writes a file through the file layer (Create, Write, Close); false on failure.
bool PutFile(lex::FileSystem& fs, const std::string& path, const std::string& bytes);

// Settings of slots 0 and 1 (and the other slots' paths) in `folder`, with
// the default sort types and the action log there.
void FillSettings(lex::DictionarySettings& settings, const RunFolder& folder);

// The size of the next piece of an input fed in pieces: all of it when `cut`
// is 0, else 1 to cut % `spread` + 1 bytes chosen by `state` (a small
// generator moved on here), never more than `left`.
inline size_t NextPieceSize(uint32_t& state, unsigned cut, size_t spread, size_t left) {
    state = state * 1103515245u + 12345u;
    const size_t n = cut == 0 ? left : 1 + (state >> 16) % (1 + cut % spread);
    return n < left ? n : left;
}

// One engine over slots 0 and 1 in a folder of its own, on the failing file
// system, recording what the engine shows and reports.
struct EngineHarness {
    RunFolder folder;
    lex::DictionarySettings settings;
    lex::testing::FaultyFileSystem files;
    lex::RecordingDisplay display;
    lex::RecordingHooks hooks;
    lex::EngineContext ctx{settings, files, display, hooks};
    EngineHarness() { FillSettings(settings, folder); }
};

// What a structural look at one slot's Disk files finds.
struct SlotState {
    std::string Problem;                     // empty when the slot is sound
    std::vector<std::string> Entries;        // live entries in list order: "word|pron|tr|tr..."
    // The same without the pronunciations ("word|tr|tr..."): an Undo does not
    // take back a pronunciation that an addition changed.
    std::vector<std::string> Words;
    std::vector<int32_t> Nodes;              // the nodes of the list, in list order
    int64_t LiveTranslations = 0;            // live translations in the chains of live nodes
    int32_t WordCount = 0;
    // The offsets of the chain of each node of the list, by node offset.
    std::vector<std::pair<int32_t, std::vector<int32_t>>> Chains;
    const std::vector<int32_t>* ChainOf(int32_t node) const;
};

// Reads the slot's files whole and checks them: the node list runs from the
// low to the high sentinel with links that agree both ways, on the 19-byte
// grid, without a cycle; every node names one words file and its texts lie
// inside it; every chain of the Disk files stays inside the file without a
// cycle; a live node has a live translation, and (property "hidden") a
// deleted one none; every whole node record that is not in the list is deleted; the key
// index begins and ends with the sentinels, is sorted and points at nodes of
// the list. With the properties "keys" and "count" on, also no two key
// records are equal and the word count equals the live translations.
SlotState LookAtSlot(lex::FileSystem& fs, const lex::DictionarySettings& settings, int slot);

// The first place where two lists of entries differ ("expected ..., found ...").
std::string Differ(const std::vector<std::string>& expected, const std::vector<std::string>& found);

// The slot as the engine's own walk reads it (the engine's reading of the
// files): the live entries, or "<error>" at the end when a step failed.
std::vector<std::string> EngineWalk(lex::EngineContext& ctx, int slot);

// The seed corpus of a target is made by the target itself: started with
// LEX_FUZZ_SEEDS=FOLDER, it writes its seeds there (through `write`, which
// gives each a name and its bytes) and ends.
using SeedSink = std::function<void(const std::string& name, const std::string& bytes)>;
void WriteSeedsIfAsked(const std::function<void(const SeedSink&)>& write);

// Bytes from a list of numbers 0..255 (seed scripts).
std::string Script(std::initializer_list<int> bytes);
// A 16-bit length and the bytes (the Blob of Input).
std::string BlobOf(const std::string& bytes);

}  // namespace lexfuzz
