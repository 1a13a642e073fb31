#include "shell/instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QLocalServer>
#include <QLocalSocket>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

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

QString ServerName(std::string_view program) {
  OpenedLock lock = OpenLock(program);
  // Closing this descriptor leaves alone a lock held through another one.
  if (lock.fd >= 0) ::close(lock.fd);
  const std::string dir = lock.folder.empty() ? RuntimeFolder() : lock.folder;
  return QString::fromStdString(dir + "/" + std::string(program) + ".sock");
}

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
  QLocalServer server;
  std::function<bool(const std::string&)> handler;
};

ActivationListener::ActivationListener(std::string_view program,
                                       std::function<bool(const std::string&)> handler)
    : impl_(std::make_unique<Impl>()) {
  impl_->handler = std::move(handler);
  const QString name = ServerName(program);
  // The lock says we are the first copy, so a socket left behind is stale.
  QLocalServer::removeServer(name);
  impl_->server.setSocketOptions(QLocalServer::UserAccessOption);
  if (!impl_->server.listen(name)) return;
  QObject::connect(&impl_->server, &QLocalServer::newConnection, [impl = impl_.get()] {
    while (QLocalSocket* s = impl->server.nextPendingConnection()) {
      QObject::connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
      QObject::connect(s, &QLocalSocket::readyRead, [impl, s] {
        if (!s->canReadLine()) return;
        const QByteArray line = s->readLine(4096).trimmed();
        const bool found = impl->handler(line.toStdString());
        s->write(found ? "ok\n" : "no\n");
        s->flush();
        s->disconnectFromServer();
      });
    }
  });
}

ActivationListener::~ActivationListener() = default;

bool RequestActivation(std::string_view program, std::string_view title, int timeoutMs) {
  QLocalSocket s;
  s.connectToServer(ServerName(program));
  if (!s.waitForConnected(timeoutMs)) return false;
  QByteArray line = QByteArray::fromStdString(std::string(title));
  line.replace('\n', ' ');
  s.write(line + "\n");
  if (!s.waitForBytesWritten(timeoutMs)) return false;
  while (!s.canReadLine())
    if (!s.waitForReadyRead(timeoutMs)) return false;
  return s.readLine().trimmed() == "ok";
}

}  // namespace shell
