#include "base/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "base/unique_fd.h"

namespace base {

namespace {

std::string Failed(std::string_view what, const std::filesystem::path& path, int error) {
  return std::string(what) + " " + path.string() + ": " + ErrnoText(error);
}

void FlushFolder(const std::filesystem::path& folder) {
  // Some file systems refuse fsync on a folder; the rename is done and
  // visible by then, so that refusal is not a failure of the write.
  UniqueFd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.valid()) ::fsync(dir.get());
}

// Flushes and closes fd; on failure removes temp.
std::string Finish(UniqueFd fd, const std::filesystem::path& temp) {
  while (::fsync(fd.get()) != 0) {
    if (errno == EINTR) continue;
    const int error = errno;
    fd = UniqueFd();
    ::unlink(temp.c_str());
    return Failed("cannot flush", temp, error);
  }
  if (std::string closed = fd.Close(); !closed.empty()) {
    ::unlink(temp.c_str());
    return "cannot close " + temp.string() + ": " + closed;
  }
  return {};
}

std::string Rename(const std::filesystem::path& temp, const std::filesystem::path& target) {
  if (::rename(temp.c_str(), target.c_str()) != 0) {
    const int error = errno;
    ::unlink(temp.c_str());
    return Failed("cannot replace", target, error);
  }
  FlushFolder(target.parent_path().empty() ? "." : target.parent_path());
  return {};
}

}  // namespace

std::string WriteFileAtomically(const std::filesystem::path& target,
                                const std::filesystem::path& temp, std::string_view bytes,
                                unsigned mode) {
  UniqueFd fd(::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOCTTY,
                     static_cast<mode_t>(mode)));
  if (!fd.valid()) return Failed("cannot create", temp, errno);
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd.get(), bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      const int error = errno;
      fd = UniqueFd();
      ::unlink(temp.c_str());
      return Failed("cannot write", temp, error);
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  if (std::string failed = Finish(std::move(fd), temp); !failed.empty()) return failed;
  return Rename(temp, target);
}

std::string CommitFile(const std::filesystem::path& temp, const std::filesystem::path& target) {
  UniqueFd fd(::open(temp.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY));
  if (!fd.valid()) {
    const int error = errno;
    ::unlink(temp.c_str());
    return Failed("cannot open", temp, error);
  }
  if (std::string failed = Finish(std::move(fd), temp); !failed.empty()) return failed;
  return Rename(temp, target);
}

}  // namespace base
