#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace forms {

// The per-user settings store: text values addressed by (application,
// section, key). Names compare without regard to ASCII case; the spelling
// first written is the one kept in the file. Every write is atomic and
// serialised with other processes through a lock file beside the store, so
// all programs of the suite may share one store at the same time.
//
// A damaged or unreadable store never stops a program: it reads as empty,
// a copy of it is kept beside as "settings.conf.damaged-<UTC time>", and the
// next write makes a valid file again.
class SettingsStore {
 public:
  // A store kept in the given file; its folder is made on the first write.
  explicit SettingsStore(std::filesystem::path file);

  // $XDG_CONFIG_HOME/Tavrinel/settings.conf, with ~/.config when the
  // variable is unset, empty or not an absolute path. Read on every call.
  static std::filesystem::path DefaultPath();

  // The stored value, or defaultValue when the key is absent or the store
  // is missing, damaged or unreadable. Never throws.
  std::string GetSetting(std::string_view app, std::string_view section, std::string_view key,
                         std::string_view defaultValue = "") const;

  // Replaces (or adds) one value. Returns false, with a message on stderr,
  // when the store cannot be written; never throws.
  bool SaveSetting(std::string_view app, std::string_view section, std::string_view key,
                   std::string_view value) const;

  const std::filesystem::path& file() const { return file_; }

 private:
  std::filesystem::path file_;
};

// The two operations on the user's own store (SettingsStore::DefaultPath()).
std::string GetSetting(std::string_view app, std::string_view section, std::string_view key,
                       std::string_view defaultValue = "");
bool SaveSetting(std::string_view app, std::string_view section, std::string_view key,
                 std::string_view value);

}  // namespace forms
