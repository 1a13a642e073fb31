#pragma once

// What every store of one process shares: the parsed version of each file
// read, so that an unchanged file is parsed once however often it is read,
// and the faults already told, so that each is told once.

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "settings_document.h"
#include "settings_file.h"

namespace forms::settings_detail {

struct CachedStore {
  FileIdentity identity;
  std::shared_ptr<const ParsedSettings> parsed;
  // The damage of this version has been dealt with (a copy kept or its
  // failure told), so readers need not look at the copies again.
  bool damageHandled = false;
  // File times tick coarsely (a few ms), so an edit in place right after a
  // read may leave size and times as they were. A version is trusted only
  // once it was read (or written) well after its last change.
  bool settled = false;
};

// Whether a version with this identity, read just now, can be trusted
// while its identity stays the same.
bool SettledNow(const FileIdentity& identity);

std::optional<CachedStore> CachedVersion(const std::filesystem::path& store);
void RememberVersion(const std::filesystem::path& store, CachedStore version);
void MarkDamageHandled(const std::filesystem::path& store, const FileIdentity& identity);

// Writes a line to standard error, unless the same line was written before.
void LogOnce(const std::string& line);
// Queues a message for the user, unless the same one was queued before.
void NoticeOnce(const std::string& message);
std::vector<std::string> TakeNotices();

}  // namespace forms::settings_detail
