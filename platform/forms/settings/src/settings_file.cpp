#include "settings_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "base/atomic_file.h"

namespace forms::settings_detail {

namespace {

constexpr mode_t kFileMode = 0644;

Failure ErrnoFailure(std::string_view what, const std::filesystem::path& path, int error) {
  return Failure{std::string(what) + " " + path.string() + ": " + ErrnoText(error)};
}

long long Nanoseconds(const timespec& t) {
  return static_cast<long long>(t.tv_sec) * 1000000000LL + t.tv_nsec;
}

FileIdentity IdentityFromStat(const struct stat& info) {
  return FileIdentity{
      static_cast<unsigned long long>(info.st_dev), static_cast<unsigned long long>(info.st_ino),
      static_cast<long long>(info.st_size), Nanoseconds(info.st_mtim), Nanoseconds(info.st_ctim)};
}

}  // namespace

std::optional<FileIdentity> IdentityOf(const std::filesystem::path& file) {
  struct stat info {};
  if (::stat(file.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
  return IdentityFromStat(info);
}

MaybeChanged ReadIfChanged(const std::filesystem::path& file,
                           const std::optional<FileIdentity>& known) {
  MaybeChanged out;
  FileContents& result = out.contents;
  UniqueFd fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
  if (!fd.valid()) {
    const int error = errno;
    if (error == ENOENT || error == ENOTDIR) return out;
    result.state = FileContents::State::kUnreadable;
    result.error = ErrnoText(error);
    return out;
  }
  // The identity comes from the open file, so the bytes read below are
  // those of the version it names even when a writer renames meanwhile.
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
    result.state = FileContents::State::kUnreadable;
    result.error = S_ISDIR(info.st_mode) ? "a folder stands in its place" : "not a regular file";
    return out;
  }
  result.identity = IdentityFromStat(info);
  result.state = FileContents::State::kRead;
  if (known && *known == result.identity) {
    out.unchanged = true;
    return out;
  }
  result.bytes.reserve(static_cast<std::size_t>(info.st_size));
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
    if (n > 0) {
      result.bytes.append(buffer, static_cast<std::size_t>(n));
    } else if (n == 0) {
      break;
    } else if (errno != EINTR) {
      result.state = FileContents::State::kUnreadable;
      result.error = ErrnoText(errno);
      result.bytes.clear();
      return out;
    }
  }
  return out;
}

FileContents ReadFileContents(const std::filesystem::path& file) {
  return ReadIfChanged(file, std::nullopt).contents;
}

Expected<ExclusiveLock> ExclusiveLock::Acquire(const std::filesystem::path& lockFile) {
  UniqueFd fd(::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOCTTY, kFileMode));
  if (!fd.valid()) return ErrnoFailure("cannot open the lock file", lockFile, errno);
  while (::flock(fd.get(), LOCK_EX) != 0) {
    if (errno != EINTR) return ErrnoFailure("cannot lock", lockFile, errno);
  }
  return ExclusiveLock(std::move(fd));
}

Outcome ReplaceFileAtomically(const std::filesystem::path& target,
                              const std::filesystem::path& temp, std::string_view bytes) {
  if (std::string failed = base::WriteFileAtomically(target, temp, bytes, kFileMode);
      !failed.empty())
    return Failure{std::move(failed)};
  return Success();
}

}  // namespace forms::settings_detail
