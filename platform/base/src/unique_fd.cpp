#include "base/unique_fd.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace base {

std::string ErrnoText(int error) {
  return std::strerror(error);
}

void UniqueFd::Reset() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

std::string UniqueFd::Close() {
  const int fd = std::exchange(fd_, -1);
  if (fd >= 0 && ::close(fd) != 0 && errno != EINTR) return ErrnoText(errno);
  return {};
}

}  // namespace base
