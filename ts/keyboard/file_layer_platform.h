// The two file operations that differ between the platforms.
#pragma once

#include <string>

namespace ts {

// Puts `from` in the place of `to`, replacing an existing `to` in one step.
bool PlatformReplace(const std::string& from, const std::string& to);
bool PlatformExists(const std::string& path);

}  // namespace ts
