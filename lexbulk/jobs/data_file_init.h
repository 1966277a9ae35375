// Creation of empty data files for the user language pairs (slots 12..19).
#pragma once

#include <string>
#include <vector>

#include "core/engine/engine.h"

namespace lexbulk {

constexpr int kFirstUserSlot = 12;

struct InitResult {
    bool Done = false;              // something was asked and every step succeeded
    std::string FailedLog;          // the action log that could not be emptied (then no data file was touched)
    std::vector<int> FailedSlots;   // slots whose files could not be created
};

// Empties every action log in `logPaths` first (a failure stops before any
// data file is touched), then creates the empty file set of each chosen slot
// of 12..19, from slot 19 down. Other slots are ignored; with no slot chosen
// nothing happens at all.
InitResult InitialiseDataFiles(lex::EngineContext& ctx, const std::vector<int>& slots,
                               const std::vector<std::string>& logPaths);

}  // namespace lexbulk
