#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <iostream>
#include <system_error>
#include <vector>

#include "forms/settings.h"
#include "settings_beside.h"
#include "settings_document.h"
#include "settings_file.h"

namespace forms {

namespace {

using namespace settings_detail;

void Report(const std::string& message) {
  std::cerr << "Tavrinel settings: " << message << '\n';
}

void ReportKeptCopy(const std::filesystem::path& store, const std::string& problem,
                    const std::filesystem::path& backup) {
  Report(store.string() + " is damaged (" + problem + "); it is kept as " + backup.string() +
         "; defaults apply until the next save writes a valid file");
}

std::filesystem::path HomeFolder() {
  if (const char* home = std::getenv("HOME"); home && *home) return home;
  std::vector<char> buffer(16384);
  passwd entry{};
  passwd* found = nullptr;
  if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found &&
      found->pw_dir) {
    return found->pw_dir;
  }
  return ".";
}

// Called by a reader that found damage: keeps one copy of it. Under the
// writers' lock the file is read again, since a writer may have replaced it
// in the meantime and two readers must not both keep a copy.
void KeepCopyOfDamage(const std::filesystem::path& store) {
  auto lock = ExclusiveLock::Acquire(LockPathFor(store));
  if (!lock) return;  // a folder we may not write: the next write reports it
  const FileContents again = ReadFileContents(store);
  if (again.state != FileContents::State::kRead) return;
  const ParsedSettings parsed = ParseSettings(again.bytes);
  if (!parsed.damaged() || HasIdenticalBackup(store, again.bytes)) return;
  if (auto backup = KeepDamagedCopy(store, again.bytes)) {
    ReportKeptCopy(store, parsed.problem, *backup);
  } else {
    Report(backup.error());
  }
}

struct StoreForWriting {
  SettingsDocument document;
  bool sound = false;  // the file exists and is valid as it is
};

// The current content of the store for a writer that holds the lock. A
// damaged store is first kept beside, so that replacing it loses nothing;
// what of it could be read safely is carried over.
Expected<StoreForWriting> LoadForWriting(const std::filesystem::path& store) {
  FileContents current = ReadFileContents(store);
  switch (current.state) {
    case FileContents::State::kMissing:
      return StoreForWriting{};
    case FileContents::State::kUnreadable: {
      auto moved = MoveDamagedAside(store);
      if (!moved) return Failure{moved.error()};
      ReportKeptCopy(store, current.error, *moved);
      return StoreForWriting{};
    }
    case FileContents::State::kRead:
      break;
  }
  ParsedSettings parsed = ParseSettings(current.bytes);
  if (parsed.damaged() && !HasIdenticalBackup(store, current.bytes)) {
    auto backup = KeepDamagedCopy(store, current.bytes);
    if (!backup) return Failure{backup.error()};
    ReportKeptCopy(store, parsed.problem, *backup);
  }
  return StoreForWriting{std::move(parsed.document), !parsed.damaged()};
}

}  // namespace

SettingsStore::SettingsStore(std::filesystem::path file) : file_(std::move(file)) {}

std::filesystem::path SettingsStore::DefaultPath() {
  std::filesystem::path base;
  if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config == '/') {
    base = config;
  } else {
    base = HomeFolder() / ".config";
  }
  return base / "Tavrinel" / "settings.conf";
}

std::string SettingsStore::GetSetting(std::string_view app, std::string_view section,
                                      std::string_view key, std::string_view defaultValue) const {
  try {
    const FileContents contents = ReadFileContents(file_);
    if (contents.state != FileContents::State::kRead) return std::string(defaultValue);
    const ParsedSettings parsed = ParseSettings(contents.bytes);
    if (parsed.damaged()) {
      KeepCopyOfDamage(file_);
      return std::string(defaultValue);
    }
    const std::string* value = parsed.document.Find(app, section, key);
    return value ? *value : std::string(defaultValue);
  } catch (const std::exception&) {
    return std::string(defaultValue);
  }
}

bool SettingsStore::SaveSetting(std::string_view app, std::string_view section,
                                std::string_view key, std::string_view value) const {
  try {
    const std::filesystem::path folder = file_.parent_path();
    std::error_code ec;
    if (!folder.empty()) std::filesystem::create_directories(folder, ec);
    if (ec) {
      Report("cannot create the folder " + folder.string() + ": " + ec.message());
      return false;
    }
    auto lock = ExclusiveLock::Acquire(LockPathFor(file_));
    if (!lock) {
      Report(lock.error());
      return false;
    }
    auto current = LoadForWriting(file_);
    if (!current) {
      Report(current.error());
      return false;
    }
    // An unchanged value of a sound store needs no write; a damaged store
    // is replaced even then, so that the next reader finds a valid file.
    const bool changed = current->document.Set(app, section, key, value);
    if (!changed && current->sound) return true;
    const std::string text = current->document.Serialize();
    if (auto written = ReplaceFileAtomically(file_, TempPathFor(file_), text); !written) {
      Report(written.error());
      return false;
    }
    return true;
  } catch (const std::exception& e) {
    Report(std::string("cannot save: ") + e.what());
    return false;
  }
}

std::string GetSetting(std::string_view app, std::string_view section, std::string_view key,
                       std::string_view defaultValue) {
  return SettingsStore(SettingsStore::DefaultPath()).GetSetting(app, section, key, defaultValue);
}

bool SaveSetting(std::string_view app, std::string_view section, std::string_view key,
                 std::string_view value) {
  return SettingsStore(SettingsStore::DefaultPath()).SaveSetting(app, section, key, value);
}

}  // namespace forms
