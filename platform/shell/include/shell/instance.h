#pragma once

// One copy of a program per user: the lock that tells a second copy that a
// first one runs, and the channel through which it asks the first to come
// to the front.

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace shell {

// Held from construction to destruction. First() is false when another
// process of this user already holds the lock of the same program.
class InstanceLock {
 public:
  explicit InstanceLock(std::string_view program);
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;
  bool First() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

// Answers activation requests from other copies of the program; the handler
// runs on the GUI thread with the title that was asked for and says whether
// it found a window of that title.
class ActivationListener {
 public:
  ActivationListener(std::string_view program,
                     std::function<bool(const std::string& title)> handler);
  ~ActivationListener();
  ActivationListener(const ActivationListener&) = delete;
  ActivationListener& operator=(const ActivationListener&) = delete;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// Asks the running copy of `program` to bring its window titled `title` to
// the front. False when no copy answered or it has no such window.
bool RequestActivation(std::string_view program, std::string_view title, int timeoutMs = 2000);

// The folder for per-user run-time files (locks, sockets).
std::string RuntimeFolder();

}  // namespace shell
