#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <system_error>
#include <vector>

#include "forms/settings.h"
#include "settings_beside.h"
#include "settings_document.h"
#include "settings_file.h"
#include "settings_shared.h"

namespace forms {

namespace {

using namespace settings_detail;

std::string KeptText(std::size_t kept) {
  if (kept == 0)
    return "None of its settings could be read, so all of them are back to their defaults.";
  if (kept == 1)
    return "The one setting that could still be read was kept; the others are back to their "
           "defaults.";
  return "The " + std::to_string(kept) +
         " settings that could still be read were kept; the others are back to their defaults.";
}

// Tells the user, once, that the store was damaged, what of it is used and
// where its copy is (or why none could be kept).
void TellDamage(const std::filesystem::path& store, const std::string& problem, std::size_t kept,
                const Expected<std::filesystem::path>& backup) {
  const std::string where = backup
                                ? "A copy of the damaged file is kept as " + backup->string() + "."
                                : "No copy of it could be kept: " + backup.error() + ".";
  LogOnce(store.string() + " is damaged (" + problem + "); " + std::to_string(kept) +
          " settings that still read are used. " + where);
  NoticeOnce("The settings file " + store.string() + " was damaged (" + problem + "). " +
             KeptText(kept) + " " + where);
}

// Tells the user, once per cause, that what they change is not kept.
bool CannotSave(const std::string& why) {
  LogOnce(why);
  NoticeOnce("Your settings cannot be saved: " + why +
             ". What you change now lasts only until the program ends.");
  return false;
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

// The file a write replaces: the end of a chain of symbolic links, so that a
// store linked to the user's dotfiles stays linked. A link whose target is
// missing names the file to create.
std::filesystem::path WriteTarget(const std::filesystem::path& store) {
  std::filesystem::path path = store;
  for (int hops = 0; hops < 40; ++hops) {
    std::error_code ec;
    if (!std::filesystem::is_symlink(std::filesystem::symlink_status(path, ec))) return path;
    const std::filesystem::path next = std::filesystem::read_symlink(path, ec);
    if (ec) return path;
    path = next.is_absolute() ? next : path.parent_path() / next;
  }
  return path;
}

// The store as a reader sees it now: the cached version while the file is
// unchanged, otherwise the file read and parsed once more.
struct Snapshot {
  FileContents::State state = FileContents::State::kMissing;
  std::shared_ptr<const ParsedSettings> parsed;
  FileIdentity identity;
  bool damageHandled = false;
};

Snapshot ReadVersion(const std::filesystem::path& store) {
  const std::optional<CachedStore> cached = CachedVersion(store);
  MaybeChanged read = ReadIfChanged(store, cached ? std::optional(cached->identity) : std::nullopt);
  Snapshot snapshot;
  snapshot.state = read.contents.state;
  if (snapshot.state != FileContents::State::kRead) return snapshot;
  if (read.unchanged) {
    snapshot.parsed = cached->parsed;
    snapshot.identity = cached->identity;
    snapshot.damageHandled = cached->damageHandled;
    return snapshot;
  }
  snapshot.parsed = std::make_shared<const ParsedSettings>(ParseSettings(read.contents.bytes));
  snapshot.identity = read.contents.identity;
  // A damaged version read again while unsettled was dealt with already.
  snapshot.damageHandled = cached && cached->identity == snapshot.identity && cached->damageHandled;
  RememberVersion(store, CachedStore{snapshot.identity, snapshot.parsed, snapshot.damageHandled,
                                     SettledNow(snapshot.identity)});
  return snapshot;
}

// Called by a reader that found damage: keeps one copy of it. Under the
// writers' lock the file is read again, since a writer may have replaced it
// in the meantime and two readers must not both keep a copy.
void KeepCopyOfDamage(const std::filesystem::path& store, const Snapshot& seen) {
  auto lock = ExclusiveLock::Acquire(LockPathFor(store));
  if (!lock) {
    TellDamage(store, seen.parsed->problem, seen.parsed->document.KeyCount(),
               Failure{lock.error()});
  } else {
    const FileContents again = ReadFileContents(store);
    if (again.state == FileContents::State::kRead) {
      const ParsedSettings parsed = ParseSettings(again.bytes);
      if (parsed.damaged() && !HasIdenticalBackup(store, again.bytes)) {
        TellDamage(store, parsed.problem, parsed.document.KeyCount(),
                   KeepDamagedCopy(store, again.bytes));
      }
    }
  }
  MarkDamageHandled(store, seen.identity);
}

struct StoreForWriting {
  SettingsDocument document;
  bool sound = false;  // the file exists and is valid as it is
  std::filesystem::path target;
};

// The current content of the store for a writer that holds the lock. A
// damaged store is first kept beside, so that replacing it loses nothing;
// what of it could be read safely is carried over.
Expected<StoreForWriting> LoadForWriting(const std::filesystem::path& store,
                                         const std::filesystem::path& target) {
  const std::optional<CachedStore> cached = CachedVersion(store);
  const bool cachedSound = cached && cached->settled && !cached->parsed->damaged();
  MaybeChanged read =
      ReadIfChanged(target, cachedSound ? std::optional(cached->identity) : std::nullopt);
  switch (read.contents.state) {
    case FileContents::State::kMissing:
      return StoreForWriting{{}, false, target};
    case FileContents::State::kUnreadable: {
      // Moving the name aside (a link, not what it points to) keeps the
      // unreadable thing as it is; a plain file then takes its place.
      auto moved = MoveDamagedAside(store);
      if (!moved) return Failure{moved.error()};
      TellDamage(store, read.contents.error, 0, moved);
      return StoreForWriting{{}, false, store};
    }
    case FileContents::State::kRead:
      break;
  }
  if (read.unchanged) return StoreForWriting{cached->parsed->document, true, target};
  const std::string& bytes = read.contents.bytes;
  ParsedSettings parsed = ParseSettings(bytes);
  if (parsed.damaged() && !HasIdenticalBackup(store, bytes)) {
    auto backup = KeepDamagedCopy(store, bytes);
    if (!backup) return Failure{backup.error()};
    TellDamage(store, parsed.problem, parsed.document.KeyCount(), backup);
  }
  return StoreForWriting{std::move(parsed.document), !parsed.damaged(), target};
}

Outcome MakeFolder(const std::filesystem::path& folder) {
  std::error_code ec;
  if (!folder.empty()) std::filesystem::create_directories(folder, ec);
  if (ec) return Failure{"cannot create the folder " + folder.string() + ": " + ec.message()};
  return Success();
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
    const Snapshot snapshot = ReadVersion(file_);
    if (snapshot.state != FileContents::State::kRead) return std::string(defaultValue);
    if (snapshot.parsed->damaged() && !snapshot.damageHandled) KeepCopyOfDamage(file_, snapshot);
    const std::string* value = snapshot.parsed->document.Find(app, section, key);
    return value ? *value : std::string(defaultValue);
  } catch (const std::exception& e) {
    // Only this one value is lost: the caller's default stands in for it.
    LogOnce(file_.string() + ": cannot read a setting: " + e.what());
    NoticeOnce("Your settings in " + file_.string() + " cannot be read: " + e.what() +
               ". The programs use their defaults until it can be read.");
    return std::string(defaultValue);
  }
}

bool SettingsStore::SaveSetting(std::string_view app, std::string_view section,
                                std::string_view key, std::string_view value) const {
  const SettingValue one{std::string(key), std::string(value)};
  return SaveSettings(app, section, std::span(&one, 1));
}

bool SettingsStore::SaveSettings(std::string_view app, std::string_view section,
                                 std::span<const SettingValue> values) const {
  try {
    const std::filesystem::path target = WriteTarget(file_);
    for (const auto& folder : {file_.parent_path(), target.parent_path()}) {
      if (auto made = MakeFolder(folder); !made) return CannotSave(made.error());
    }
    auto lock = ExclusiveLock::Acquire(LockPathFor(file_));
    if (!lock) return CannotSave(lock.error());
    auto current = LoadForWriting(file_, target);
    if (!current) return CannotSave(current.error());
    // Unchanged values of a sound store need no write; a damaged store is
    // replaced even then, so that the next reader finds a valid file.
    bool changed = false;
    for (const auto& v : values)
      changed = current->document.Set(app, section, v.key, v.value) || changed;
    if (!changed && current->sound) return true;
    const std::string text = current->document.Serialize();
    if (auto written = ReplaceFileAtomically(current->target, TempPathFor(current->target), text);
        !written) {
      return CannotSave(written.error());
    }
    // Still under the lock: what was written is the current version.
    if (auto identity = IdentityOf(file_)) {
      RememberVersion(file_, CachedStore{*identity,
                                         std::make_shared<const ParsedSettings>(
                                             ParsedSettings{std::move(current->document), {}}),
                                         true, SettledNow(*identity)});
    }
    return true;
  } catch (const std::exception& e) {
    return CannotSave(std::string("cannot save: ") + e.what());
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

bool SaveSettings(std::string_view app, std::string_view section,
                  std::span<const SettingValue> values) {
  return SettingsStore(SettingsStore::DefaultPath()).SaveSettings(app, section, values);
}

std::vector<std::string> TakeSettingsNotices() {
  return TakeNotices();
}

}  // namespace forms
