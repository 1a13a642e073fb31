#include "settings_beside.h"

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <string>
#include <system_error>

#include "settings_file.h"

namespace forms::settings_detail {

namespace {

std::filesystem::path WithSuffix(const std::filesystem::path& store, std::string_view suffix) {
  std::filesystem::path result = store;
  result += std::string(suffix);
  return result;
}

std::string BackupPrefix(const std::filesystem::path& store) {
  return store.filename().string() + ".damaged-";
}

std::string UtcStamp() {
  const std::time_t now = std::time(nullptr);
  std::tm utc{};
  gmtime_r(&now, &utc);
  char text[32];
  std::strftime(text, sizeof text, "%Y%m%dT%H%M%SZ", &utc);
  return text;
}

}  // namespace

std::filesystem::path LockPathFor(const std::filesystem::path& store) {
  return WithSuffix(store, ".lock");
}

std::filesystem::path TempPathFor(const std::filesystem::path& store) {
  return WithSuffix(store, ".tmp");
}

std::filesystem::path NewBackupPath(const std::filesystem::path& store) {
  const std::filesystem::path base = WithSuffix(store, ".damaged-" + UtcStamp());
  std::filesystem::path candidate = base;
  std::error_code ec;
  for (int n = 2; std::filesystem::symlink_status(candidate, ec).type() !=
                  std::filesystem::file_type::not_found;
       ++n) {
    candidate = WithSuffix(base, "-" + std::to_string(n));
  }
  return candidate;
}

bool HasIdenticalBackup(const std::filesystem::path& store, std::string_view bytes) {
  const std::string prefix = BackupPrefix(store);
  std::error_code ec;
  std::filesystem::directory_iterator it(store.parent_path().empty() ? "." : store.parent_path(),
                                         ec);
  for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
    const auto& entry = *it;
    if (!entry.path().filename().string().starts_with(prefix)) continue;
    std::error_code statError;
    if (!entry.is_regular_file(statError) || entry.file_size(statError) != bytes.size()) continue;
    const FileContents copy = ReadFileContents(entry.path());
    if (copy.state == FileContents::State::kRead && copy.bytes == bytes) return true;
  }
  return false;
}

Expected<std::filesystem::path> KeepDamagedCopy(const std::filesystem::path& store,
                                                std::string_view bytes) {
  std::filesystem::path backup = NewBackupPath(store);
  if (auto written = ReplaceFileAtomically(backup, TempPathFor(store), bytes); !written) {
    return Failure{written.error()};
  }
  return backup;
}

Expected<std::filesystem::path> MoveDamagedAside(const std::filesystem::path& store) {
  std::filesystem::path backup = NewBackupPath(store);
  if (std::rename(store.c_str(), backup.c_str()) != 0) {
    return Failure{"cannot move " + store.string() + " aside: " + ErrnoText(errno)};
  }
  return backup;
}

}  // namespace forms::settings_detail
