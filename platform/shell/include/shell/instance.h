#pragma once

// One copy of a program per user: the lock that tells a second copy that a
// first one runs, and the channel through which it asks the first to come
// to the front.

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace shell {

// Held from construction to destruction. First() is false only when
// another running process of this user holds the lock of the same program.
//
// The lock lives in the per-user run-time folder. When it cannot be opened
// there (the folder is a file or belongs to someone else, the lock file is
// a folder), it goes to the next private place, the same for every copy;
// when no place will do, the program runs without the protection. Either
// way Problem() says what went wrong and it is logged once.
class InstanceLock {
 public:
  explicit InstanceLock(std::string_view program);
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;
  bool First() const { return !heldByAnother_; }
  // Whether a second copy would find this lock.
  bool Protected() const { return fd_ >= 0; }
  const std::string& Problem() const { return problem_; }

 private:
  int fd_ = -1;
  bool heldByAnother_ = false;
  std::string problem_;
};

// What the lock and the activation channel of this program are named by:
// the file name of the program's real path, so that a program started
// through a link or under another name is still the same program.
std::string ProgramIdentity();

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
