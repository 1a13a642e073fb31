// Writes to a settings store from its own process, for the tests that run
// several writers at once or kill one in the middle of its work.
//
//   settings_store_writer STORE PREFIX COUNT
// writes the keys PREFIX0 .. PREFIX<COUNT-1>, each with the value
// "value of <key>", and exits 0 when every write succeeded. With COUNT 0 it
// writes ever-changing long values to a few keys until it is killed; with
// COUNT -1 it writes blocks of 23 keys PREFIX0 .. PREFIX22, all with the
// value of the round, in one write each, until it is killed.
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "forms/settings.h"

namespace {

constexpr std::string_view kApp = "Tesk";
constexpr std::string_view kSection = "Orvanta7";

int WriteKeys(const forms::SettingsStore& store, const std::string& prefix, long count) {
  for (long i = 0; i < count; ++i) {
    const std::string key = prefix + std::to_string(i);
    if (!store.SaveSetting(kApp, kSection, key, "value of " + key)) return 1;
  }
  return 0;
}

[[noreturn]] void WriteUntilKilled(const forms::SettingsStore& store, const std::string& prefix) {
  // Values of changing length, with characters that need escaping, so that
  // the file keeps growing and shrinking while it is being replaced.
  for (unsigned long round = 0;; ++round) {
    const std::string key = prefix + std::to_string(round % 40);
    std::string value = "round " + std::to_string(round) + " = \"città\"\n";
    value.append((round * 7919) % 6000, static_cast<char>('a' + round % 26));
    store.SaveSetting(kApp, kSection, key, value);
  }
}

[[noreturn]] void WriteBlocksUntilKilled(const forms::SettingsStore& store,
                                         const std::string& prefix) {
  for (unsigned long round = 0;; ++round) {
    std::vector<forms::SettingValue> block;
    for (int i = 0; i < 23; ++i)
      block.push_back({prefix + std::to_string(i), "round " + std::to_string(round)});
    store.SaveSettings(kApp, kSection, block);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: settings_store_writer STORE PREFIX COUNT\n";
    return 2;
  }
  const forms::SettingsStore store(argv[1]);
  const long count = std::strtol(argv[3], nullptr, 10);
  if (count < 0) WriteBlocksUntilKilled(store, argv[2]);
  if (count == 0) WriteUntilKilled(store, argv[2]);
  return WriteKeys(store, argv[2], count);
}
