// Helpers shared by the engine's source files.
#pragma once

#include <string>
#include <vector>

#include "engine.h"

namespace lex {
namespace detail {

inline FileHandle H(EngineContext& ctx, int n) { return ctx.Handles[n]; }

// Node records lie at offset 40 or later.
bool ReadNodeRecord(EngineContext& ctx, FileHandle h, int32_t offset, WordNode& node);
bool WriteNodeRecord(EngineContext& ctx, FileHandle h, int32_t offset, const WordNode& node);
bool WriteHead(EngineContext& ctx, FileHandle h, int32_t offset, const TranslationHead& head);

// How many nodes the node file can hold: the bound of every walk along the list.
int64_t NodeWalkBound(EngineContext& ctx, FileHandle nodeFile);

struct ChainRecord {
    int32_t Offset = 0;
    TranslationHead Head;
    std::string Text;
};
// Reads a whole translation chain (heads, and texts when `texts`), checking every
// offset (at least `minOffset`) and length and bounding the walk by the file size.
// 1, or -1 on a short read or a corrupt chain.
int ReadChain(EngineContext& ctx, FileHandle h, int32_t first, int32_t minOffset, bool texts,
              std::vector<ChainRecord>& out);

// Takes back the action record appended last (its data could not be written).
void RetractActionRecord(EngineContext& ctx);

inline uint8_t NewRecordFlags(const EngineContext& ctx) {
    return static_cast<uint8_t>(kFlagDisk | (ctx.ArchiveMode ? kFlagArchive : 0));
}

}  // namespace detail
}  // namespace lex
