#include "shell/instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>

#include <QObject>
#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <list>
#include <utility>
#include <vector>

#include "base/unique_fd.h"

namespace shell {

std::string RuntimeFolder() {
  if (const char* d = std::getenv("XDG_RUNTIME_DIR"); d && *d && std::filesystem::is_directory(d))
    return std::string(d) + "/tavrinel";
  return "/tmp/tavrinel-" + std::to_string(getuid());
}

namespace {

// The places a lock may go, in the order every copy tries them: the
// run-time folder, then private folders of the user's own.
std::vector<std::string> LockFolders() {
  std::vector<std::string> folders = {RuntimeFolder()};
  const auto add = [&](std::string folder) {
    if (std::find(folders.begin(), folders.end(), folder) == folders.end())
      folders.push_back(std::move(folder));
  };
  if (const char* c = std::getenv("XDG_CACHE_HOME"); c && *c == '/')
    add(std::string(c) + "/tavrinel/run");
  else if (const char* h = std::getenv("HOME"); h && *h == '/')
    add(std::string(h) + "/.cache/tavrinel/run");
  const char* t = std::getenv("TMPDIR");
  add(std::string(t && *t == '/' ? t : "/tmp") + "/tavrinel-" + std::to_string(geteuid()));
  return folders;
}

// Makes the folder when missing; empty when it is a private folder of
// this user, otherwise why it is not.
std::string PrepareFolder(const std::string& dir) {
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  struct stat info {};
  if (::lstat(dir.c_str(), &info) != 0)
    return "cannot make the folder " + dir + ": " + std::strerror(errno);
  if (!S_ISDIR(info.st_mode)) return dir + " is not a folder";
  if (info.st_uid != geteuid()) return "the folder " + dir + " belongs to another user";
  if ((info.st_mode & 077) != 0) ::chmod(dir.c_str(), 0700);
  return {};
}

struct OpenedLock {
  int fd = -1;
  std::string folder;
  std::string problem;  // what went wrong at the first place tried
};

// Opens the lock file of `program` in the first place where that works.
OpenedLock OpenLock(std::string_view program) {
  OpenedLock result;
  for (const std::string& dir : LockFolders()) {
    std::string problem = PrepareFolder(dir);
    if (problem.empty()) {
      const std::string path = dir + "/" + std::string(program) + ".lock";
      const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
      if (fd >= 0) {
        result.fd = fd;
        result.folder = dir;
        return result;
      }
      problem = "cannot open the lock " + path + ": " + std::strerror(errno);
    }
    if (result.problem.empty()) result.problem = problem;
  }
  return result;
}

std::string ServerName(std::string_view program) {
  OpenedLock lock = OpenLock(program);
  // Closing this descriptor leaves alone a lock held through another one.
  if (lock.fd >= 0) ::close(lock.fd);
  const std::string dir = lock.folder.empty() ? RuntimeFolder() : lock.folder;
  return dir + "/" + std::string(program) + ".sock";
}

// False when the path does not fit a socket address.
bool SocketAddress(const std::string& path, sockaddr_un& address) {
  address = {};
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof(address.sun_path)) return false;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  return true;
}

constexpr std::size_t kLongestLine = 4096;

// One asking copy: its line is read as it comes, without holding up the GUI.
struct Caller {
  explicit Caller(int fd) : socket(fd), notifier(fd, QSocketNotifier::Read) {}
  base::UniqueFd socket;
  QSocketNotifier notifier;
  std::string line;
};

}  // namespace

std::string ProgramIdentity() {
  std::error_code ec;
  std::string name = std::filesystem::read_symlink("/proc/self/exe", ec).filename().string();
  if (ec) return {};
  constexpr std::string_view kDeleted = " (deleted)";  // the file was replaced while running
  if (name.ends_with(kDeleted)) name.resize(name.size() - kDeleted.size());
  return name;
}

InstanceLock::InstanceLock(std::string_view program) {
  OpenedLock lock = OpenLock(program);
  problem_ = std::move(lock.problem);
  if (lock.fd >= 0) {
    if (::flock(lock.fd, LOCK_EX | LOCK_NB) == 0) {
      fd_ = lock.fd;
    } else if (errno == EWOULDBLOCK) {
      ::close(lock.fd);
      heldByAnother_ = true;
    } else {
      const int error = errno;
      ::close(lock.fd);
      if (problem_.empty())
        problem_ = "cannot lock in " + lock.folder + ": " + std::strerror(error);
    }
  }
  if (problem_.empty()) return;
  if (fd_ >= 0 || heldByAnother_)
    problem_ += "; the lock is kept in " + lock.folder + " instead";
  else
    problem_ += "; a second copy of " + std::string(program) + " will not be stopped";
  std::fprintf(stderr, "Tavrinel: %s\n", problem_.c_str());
}

InstanceLock::~InstanceLock() {
  if (fd_ >= 0) ::close(fd_);  // closing lets the lock go
}

struct ActivationListener::Impl {
  std::function<bool(const std::string&)> handler;
  std::string path;
  base::UniqueFd server;
  std::unique_ptr<QSocketNotifier> accepting;
  std::list<Caller> callers;
  QObject context;  // ends the deferred removals with the listener

  void Accept() {
    for (;;) {
      const int fd = ::accept4(server.get(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
      if (fd < 0) return;
      Caller& caller = callers.emplace_back(fd);
      QObject::connect(&caller.notifier, &QSocketNotifier::activated, &context,
                       [this, &caller] { Read(caller); });
    }
  }

  void Read(Caller& caller) {
    char chunk[512];
    bool ended = false;
    while (caller.line.size() < kLongestLine) {
      const ssize_t n = ::recv(caller.socket.get(), chunk, sizeof chunk, 0);
      if (n > 0) {
        caller.line.append(chunk, static_cast<std::size_t>(n));
        continue;
      }
      if (n < 0 && errno == EINTR) continue;
      ended = n == 0 || errno != EAGAIN;  // gone, or broken
      break;
    }
    const std::size_t newline = caller.line.find('\n');
    if (newline != std::string::npos || caller.line.size() >= kLongestLine) {
      std::string title = caller.line.substr(0, std::min({newline, kLongestLine}));
      Trim(title);
      const bool found = handler(title);
      ::send(caller.socket.get(), found ? "ok\n" : "no\n", 3, MSG_NOSIGNAL);
      ended = true;
    }
    if (!ended) return;
    // The notifier is inside its own signal: it goes once that returned.
    caller.notifier.setEnabled(false);
    QTimer::singleShot(0, &context, [this, &caller] {
      callers.remove_if([&](const Caller& c) { return &c == &caller; });
    });
  }

  static void Trim(std::string& text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && blank(text.back())) text.pop_back();
    std::size_t first = 0;
    while (first < text.size() && blank(text[first])) ++first;
    text.erase(0, first);
  }
};

ActivationListener::ActivationListener(std::string_view program,
                                       std::function<bool(const std::string&)> handler)
    : impl_(std::make_unique<Impl>()) {
  impl_->handler = std::move(handler);
  const std::string path = ServerName(program);
  sockaddr_un address{};
  if (!SocketAddress(path, address)) return;
  base::UniqueFd server(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
  if (server.get() < 0) return;
  // The lock says we are the first copy, so a socket left behind is stale.
  ::unlink(path.c_str());
  if (::bind(server.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
    return;
  // Only this user may ask (the folder is private too).
  ::chmod(path.c_str(), 0600);
  if (::listen(server.get(), 8) != 0) return;
  impl_->path = path;
  impl_->server = std::move(server);
  impl_->accepting = std::make_unique<QSocketNotifier>(impl_->server.get(), QSocketNotifier::Read);
  QObject::connect(impl_->accepting.get(), &QSocketNotifier::activated, &impl_->context,
                   [impl = impl_.get()] { impl->Accept(); });
}

ActivationListener::~ActivationListener() {
  if (impl_ && !impl_->path.empty()) ::unlink(impl_->path.c_str());
}

bool RequestActivation(std::string_view program, std::string_view title, int timeoutMs) {
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::milliseconds(std::max(0, timeoutMs));
  sockaddr_un address{};
  if (!SocketAddress(ServerName(program), address)) return false;
  const base::UniqueFd s(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
  if (s.get() < 0) return false;
  if (::connect(s.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
    return false;
  std::string line(title);
  std::replace(line.begin(), line.end(), '\n', ' ');
  line += '\n';
  for (std::size_t sent = 0; sent < line.size();) {
    const ssize_t n = ::send(s.get(), line.data() + sent, line.size() - sent, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    sent += static_cast<std::size_t>(n);
  }
  std::string answer;
  while (answer.find('\n') == std::string::npos) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) return false;
    pollfd p{s.get(), POLLIN, 0};
    const int ready = ::poll(&p, 1, static_cast<int>(left));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return false;
    char chunk[64];
    const ssize_t n = ::recv(s.get(), chunk, sizeof chunk, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    answer.append(chunk, static_cast<std::size_t>(n));
  }
  return answer.substr(0, answer.find('\n')) == "ok";
}

}  // namespace shell
