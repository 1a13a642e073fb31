#pragma once

#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace forms {

// The per-user settings store: text values addressed by (application,
// section, key). Names compare without regard to ASCII case; the spelling
// first written is the one kept in the file. Every write is atomic and
// serialised with other processes through a lock file beside the store, so
// all programs of the suite may share one store at the same time.
//
// A damaged store never stops a program: every line that still reads is
// used, a byte-exact copy of it is kept beside as
// "settings.conf.damaged-<UTC time>", and the next write makes a valid file
// of what was read. An unreadable store reads as empty and the next write
// moves it aside. A store that is a symbolic link stays one: writes replace
// the file it points to.
//
// A file that has not changed (same file, size and times) is parsed once per
// process. Faults the user must know about (damage, settings that cannot be
// saved) are logged once and queued once for TakeSettingsNotices().
struct SettingValue {
  std::string key;
  std::string value;
};

class SettingsStore {
 public:
  // A store kept in the given file; its folder is made on the first write.
  explicit SettingsStore(std::filesystem::path file);

  // $XDG_CONFIG_HOME/Tavrinel/settings.conf, with ~/.config when the
  // variable is unset, empty or not an absolute path. Read on every call.
  static std::filesystem::path DefaultPath();

  // The stored value, or defaultValue when the key is absent (from what of
  // a damaged store still reads) or the store is missing or unreadable.
  // Never throws.
  std::string GetSetting(std::string_view app, std::string_view section, std::string_view key,
                         std::string_view defaultValue = "") const;

  // Replaces (or adds) one value. Returns false, with a message on stderr,
  // when the store cannot be written; never throws.
  bool SaveSetting(std::string_view app, std::string_view section, std::string_view key,
                   std::string_view value) const;

  // Replaces (or adds) several values of one section in one atomic write:
  // after a crash the store holds all of them or none. Same failures as
  // SaveSetting.
  bool SaveSettings(std::string_view app, std::string_view section,
                    std::span<const SettingValue> values) const;

  const std::filesystem::path& file() const { return file_; }

 private:
  std::filesystem::path file_;
};

// The two operations on the user's own store (SettingsStore::DefaultPath()).
std::string GetSetting(std::string_view app, std::string_view section, std::string_view key,
                       std::string_view defaultValue = "");
bool SaveSetting(std::string_view app, std::string_view section, std::string_view key,
                 std::string_view value);
bool SaveSettings(std::string_view app, std::string_view section,
                  std::span<const SettingValue> values);

// The messages for the user about faults of the store (a damaged file, a
// store that cannot be saved) not taken yet, each in plain words naming the
// file. Each fault is queued once per process.
std::vector<std::string> TakeSettingsNotices();

}  // namespace forms
