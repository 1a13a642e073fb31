#include "file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <utility>

namespace dao {

namespace {

bool SameFile(int fd, const std::filesystem::path& path) {
  struct stat a {
  }, b{};
  if (fstat(fd, &a) != 0 || stat(path.c_str(), &b) != 0) return false;
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

}  // namespace

FileLock::FileLock(FileLock&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), path_(std::move(other.path_)) {}

FileLock& FileLock::operator=(FileLock&& other) noexcept {
  if (this != &other) {
    Release();
    fd_ = std::exchange(other.fd_, -1);
    path_ = std::move(other.path_);
  }
  return *this;
}

FileLock::~FileLock() {
  Release();
}

std::filesystem::path FileLock::LockFileFor(const std::filesystem::path& database) {
  std::filesystem::path p = database;
  p += ".ldb";
  return p;
}

FileLock::Result FileLock::Acquire(const std::filesystem::path& database, Mode mode) {
  Release();
  const std::filesystem::path path = LockFileFor(database);
  const int op = (mode == Mode::kExclusive ? LOCK_EX : LOCK_SH) | LOCK_NB;
  // The last holder removes the lock file as it leaves. A file opened just
  // before that removal is stale, so a lock on it means nothing: open again.
  // A holder on its way out also shows as busy for a moment; a few short
  // retries tell it from a real one.
  int busyTries = 0;
  for (int attempt = 0; attempt < 50; ++attempt) {
    int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd < 0 && (errno == EACCES || errno == EROFS))
      fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return Result::kNoLockFile;
    if (flock(fd, op) == 0) {
      if (SameFile(fd, path)) {
        fd_ = fd;
        path_ = path;
        return Result::kLocked;
      }
      close(fd);
      continue;
    }
    const bool stale = !SameFile(fd, path);
    close(fd);
    if (stale) continue;
    if (++busyTries > 3) return Result::kBusy;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return Result::kBusy;
}

std::vector<int> FileLock::Holders(const std::filesystem::path& database) {
  std::vector<int> out;
  struct stat st {};
  if (stat(LockFileFor(database).c_str(), &st) != 0) return out;
  // The system lists every lock with its holder, device and inode:
  // "1: FLOCK  ADVISORY  WRITE 1234 08:01:5678 0 EOF". Lines with "->" are
  // waiters, which hold nothing.
  std::ifstream locks("/proc/locks");
  std::string line;
  while (std::getline(locks, line)) {
    if (line.find("->") != std::string::npos) continue;
    std::istringstream in(line);
    std::string number, kind, advisory, access, file;
    int pid = 0;
    if (!(in >> number >> kind >> advisory >> access >> pid >> file) || kind != "FLOCK") continue;
    unsigned maj = 0, min = 0;
    unsigned long long inode = 0;
    if (std::sscanf(file.c_str(), "%x:%x:%llu", &maj, &min, &inode) != 3) continue;
    if (inode == st.st_ino && maj == major(st.st_dev) && min == minor(st.st_dev) &&
        std::find(out.begin(), out.end(), pid) == out.end())
      out.push_back(pid);
  }
  return out;
}

void FileLock::ReleaseAllAtEnd() {
  // The descriptors are found through the system rather than a list of our
  // own: a program may end from anywhere, holding locks no one tracks.
  std::vector<std::pair<std::filesystem::path, int>> held;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd", ec)) {
    int fd = -1;
    const std::string name = entry.path().filename().string();
    if (std::sscanf(name.c_str(), "%d", &fd) != 1) continue;
    std::error_code linkError;
    const std::filesystem::path target = std::filesystem::read_symlink(entry.path(), linkError);
    // A lock file already removed reads "<path> (deleted)" and is left alone.
    if (linkError || target.extension() != ".ldb") continue;
    held.emplace_back(target, fd);
  }
  std::sort(held.begin(), held.end());
  // Two connections of this process lock one file through two descriptors,
  // which exclude each other: all but the last of each file go first.
  for (std::size_t i = 0; i < held.size(); ++i) {
    const auto& [path, fd] = held[i];
    const bool lastOfFile = i + 1 == held.size() || held[i + 1].first != path;
    if (lastOfFile && flock(fd, LOCK_EX | LOCK_NB) == 0 && SameFile(fd, path)) unlink(path.c_str());
    close(fd);
  }
}

void FileLock::Release() {
  if (fd_ < 0) return;
  // Whoever can turn its lock into an exclusive one is the last holder.
  if (flock(fd_, LOCK_EX | LOCK_NB) == 0 && SameFile(fd_, path_)) unlink(path_.c_str());
  close(fd_);
  fd_ = -1;
  path_.clear();
}

}  // namespace dao
