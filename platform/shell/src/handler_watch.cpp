#include "handler_watch.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QTimer>
#include <memory>
#include <vector>

extern char** environ;

namespace shell::detail {

namespace {

// A file descriptor closed with its owner.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

struct Watch {
  explicit Watch(int errorFile) : errors(errorFile) {}
  pid_t pid = -1;
  Descriptor errors;
  std::string target;
  OpenFailure failed;
  int polls = 0;
};

std::string ReadAll(int fd) {
  std::string text;
  char buffer[4096];
  for (off_t at = 0;;) {
    const ssize_t n = ::pread(fd, buffer, sizeof buffer, at);
    if (n <= 0) break;
    text.append(buffer, static_cast<std::size_t>(n));
    at += n;
    if (text.size() > 65536) break;
  }
  return text;
}

void Poll(const std::shared_ptr<Watch>& watch) {
  int status = 0;
  const pid_t ended = ::waitpid(watch->pid, &status, WNOHANG);
  if (ended == 0) {
    // Quick at first, where failures are; a handler that stays (a browser
    // it waits for) is looked at now and then, only to be reaped.
    const int delay = ++watch->polls < 100 ? 50 : 1000;
    QTimer::singleShot(delay, QCoreApplication::instance(), [watch] { Poll(watch); });
    return;
  }
  if (ended < 0) return;  // reaped elsewhere: nothing to tell
  const int code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  if (code == 0) return;
  watch->failed("Could not open " + watch->target + ": " +
                HandlerFailure(code, ReadAll(watch->errors.get())) + ".");
}

}  // namespace

std::string HandlerFailure(int exitCode, const std::string& errorOutput) {
  std::string why;
  switch (exitCode) {
    case 2:
      why = "the desktop did not find it";
      break;
    case 3:
    case 4:
      why = "this desktop has no program that opens it (a web browser or mail program)";
      break;
    case -1:
      why = "the desktop's opener ended unexpectedly";
      break;
    default:
      why = "the desktop's opener failed (exit code " + std::to_string(exitCode) + ")";
  }
  // Its own last words say most.
  std::string last;
  std::size_t end = errorOutput.find_last_not_of(" \t\r\n");
  if (end != std::string::npos) {
    const std::size_t start = errorOutput.rfind('\n', end);
    last = errorOutput.substr(start == std::string::npos ? 0 : start + 1,
                              end - (start == std::string::npos ? 0 : start + 1) + 1);
    if (last.size() > 300) last = last.substr(0, 300) + "...";
  }
  return last.empty() ? why : why + " (" + last + ")";
}

bool StartWatchedHandler(const std::string& handler, const std::string& target,
                         OpenFailure failed) {
  auto watch = std::make_shared<Watch>(::memfd_create("xdg-open errors", MFD_CLOEXEC));
  watch->target = target;
  watch->failed = std::move(failed);

  posix_spawn_file_actions_t actions;
  posix_spawnattr_t attributes;
  ::posix_spawn_file_actions_init(&actions);
  ::posix_spawnattr_init(&attributes);
  ::posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  ::posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  if (watch->errors.get() >= 0)
    ::posix_spawn_file_actions_adddup2(&actions, watch->errors.get(), STDERR_FILENO);
  // Its own session: a terminal's Ctrl+C for the program does not reach
  // the browser it starts.
  ::posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
  std::vector<char*> argv{const_cast<char*>(handler.c_str()), const_cast<char*>(target.c_str()),
                          nullptr};
  const int started =
      ::posix_spawn(&watch->pid, handler.c_str(), &actions, &attributes, argv.data(), environ);
  ::posix_spawnattr_destroy(&attributes);
  ::posix_spawn_file_actions_destroy(&actions);
  if (started != 0) return false;
  Poll(watch);
  return true;
}

}  // namespace shell::detail
