#pragma once

// The settings the programs share: one application and section of the
// per-user settings store.

#include <string>
#include <string_view>

namespace suite {

inline constexpr std::string_view kSettingsApp = "Tesk";
inline constexpr std::string_view kSettingsSection = "Orvanta7";

// The store, always under the suite's application and section.
std::string ReadSetting(std::string_view key);
std::string ReadSetting(std::string_view key, std::string_view defaultValue);
// A write the store refuses is told to the user (once per cause).
void WriteSetting(std::string_view key, std::string_view value);

}  // namespace suite
