#pragma once

// The POSIX file steps of the store: whole-file reads, the writers' lock,
// and replacing a file atomically and durably.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "base/unique_fd.h"
#include "settings_result.h"

namespace forms::settings_detail {

using base::ErrnoText;
using base::UniqueFd;

// What tells one version of a file from another without reading it: a
// writer's rename gives a new inode, an edit in place a new size or time.
struct FileIdentity {
  unsigned long long device = 0;
  unsigned long long inode = 0;
  long long size = 0;
  long long modifiedNs = 0;
  long long changedNs = 0;
  bool operator==(const FileIdentity&) const = default;
};

// The identity of the file a path names (links followed), when it is a
// regular file.
std::optional<FileIdentity> IdentityOf(const std::filesystem::path& file);

struct FileContents {
  enum class State {
    kMissing,     // no such file (or no such folder)
    kRead,        // bytes holds the whole file
    kUnreadable,  // present but not a readable regular file
  };
  State state = State::kMissing;
  std::string bytes;
  std::string error;      // why it is unreadable
  FileIdentity identity;  // of the file read (kRead only)
};

FileContents ReadFileContents(const std::filesystem::path& file);

// Reads the file unless the one the path names now has the identity
// `known`: then state is kRead, bytes stay empty and unchanged is set.
struct MaybeChanged {
  FileContents contents;
  bool unchanged = false;
};
MaybeChanged ReadIfChanged(const std::filesystem::path& file,
                           const std::optional<FileIdentity>& known);

// An exclusive flock on a lock file; released when the object ends (or
// when the process dies, so a killed writer never blocks the others).
class ExclusiveLock {
 public:
  static Expected<ExclusiveLock> Acquire(const std::filesystem::path& lockFile);

 private:
  explicit ExclusiveLock(UniqueFd fd) : fd_(std::move(fd)) {}
  UniqueFd fd_;
};

// Replaces target whole through temp (in target's folder), with the
// permissions of every store file.
Outcome ReplaceFileAtomically(const std::filesystem::path& target,
                              const std::filesystem::path& temp, std::string_view bytes);

}  // namespace forms::settings_detail
