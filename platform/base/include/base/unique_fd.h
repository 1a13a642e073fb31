#pragma once

// Owns one POSIX file descriptor.

#include <string>
#include <utility>

namespace base {

class UniqueFd {
 public:
  UniqueFd() = default;
  explicit UniqueFd(int fd) : fd_(fd) {}
  ~UniqueFd() { Reset(); }
  UniqueFd(UniqueFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept {
    if (this != &other) {
      Reset();
      fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
  }
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;

  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  // Closes now; the text of the error close gives (it may be the first word
  // of a failed delayed write), empty when it closed cleanly.
  std::string Close();

 private:
  void Reset();
  int fd_ = -1;
};

// The system's text for an errno value.
std::string ErrnoText(int error);

}  // namespace base
