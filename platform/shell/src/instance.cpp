#include "shell/instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QLocalServer>
#include <QLocalSocket>
#include <cstdlib>
#include <filesystem>

namespace shell {

std::string RuntimeFolder() {
  if (const char* d = std::getenv("XDG_RUNTIME_DIR"); d && *d && std::filesystem::is_directory(d))
    return std::string(d) + "/tavrinel";
  return "/tmp/tavrinel-" + std::to_string(getuid());
}

namespace {

std::string Prepare(std::string_view program, std::string_view suffix) {
  const std::string dir = RuntimeFolder();
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  ::chmod(dir.c_str(), 0700);
  return dir + "/" + std::string(program) + std::string(suffix);
}

QString ServerName(std::string_view program) {
  return QString::fromStdString(Prepare(program, ".sock"));
}

}  // namespace

InstanceLock::InstanceLock(std::string_view program) {
  const std::string path = Prepare(program, ".lock");
  int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return;
  }
  fd_ = fd;
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
