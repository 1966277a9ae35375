#include "data_file_init.h"

#include <algorithm>

namespace lexbulk {

InitResult InitialiseDataFiles(lex::EngineContext& ctx, const std::vector<int>& slots,
                               const std::vector<std::string>& logPaths) {
    InitResult result;
    std::vector<int> chosen;
    for (int s : slots)
        if (s >= kFirstUserSlot && s < lex::kSlotCount && std::find(chosen.begin(), chosen.end(), s) == chosen.end())
            chosen.push_back(s);
    if (chosen.empty()) return result;
    std::sort(chosen.rbegin(), chosen.rend());
    // No undo record may point into the emptied files.
    lex::CloseActionLog(ctx);
    for (const std::string& log : logPaths) {
        if (lex::CreateActionLog(ctx, log) != 1) {
            result.FailedLog = log;
            return result;
        }
    }
    lex::CloseSlotFiles(ctx);
    for (int s : chosen)
        if (lex::CreateSlotFiles(ctx, s) != 1) result.FailedSlots.push_back(s);
    result.Done = result.FailedSlots.empty();
    return result;
}

}  // namespace lexbulk
