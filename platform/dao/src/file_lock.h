#pragma once

// Who may use a database file at the same time. Every connection holds a
// lock on a small lock file beside the database ("<file>.ldb"): a shared
// lock for a shared open, an exclusive one for an exclusive open. The
// locks are flock() locks, so they exclude one another across processes
// and between two connections of the same process alike, and the system
// drops them when a process dies. A separate file is needed because any
// descriptor of the database file that we closed ourselves would drop
// SQLite's own record locks on it.

#include <filesystem>
#include <vector>

namespace dao {

class FileLock {
 public:
  enum class Mode { kShared, kExclusive };
  enum class Result {
    kLocked,      // the lock is held
    kBusy,        // another connection's lock is in the way
    kNoLockFile,  // the lock file cannot be made here (a read-only folder)
  };

  FileLock() = default;
  FileLock(FileLock&& other) noexcept;
  FileLock& operator=(FileLock&& other) noexcept;
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;
  ~FileLock();

  // Takes the lock for `database`, without waiting.
  Result Acquire(const std::filesystem::path& database, Mode mode);
  // Lets go; the last holder removes the lock file.
  void Release();

  static std::filesystem::path LockFileFor(const std::filesystem::path& database);
  // The ids of the processes holding a lock on the lock file of `database`.
  static std::vector<int> Holders(const std::filesystem::path& database);
  // For a process that ends without unwinding: lets go of every lock it
  // holds, removing the lock files that no other process holds. The
  // FileLock objects still alive are unusable afterwards.
  static void ReleaseAllAtEnd();

 private:
  int fd_ = -1;
  std::filesystem::path path_;
};

}  // namespace dao
