#include "platform/SingleInstance.h"

#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QUrl>

namespace tavrin {
namespace {

QString RuntimeFolder() {
  QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  return folder.isEmpty() ? QDir::tempPath() : folder;
}

// One request a line: "raise", or "open " and the file as a URL, whose percent-encoding keeps
// any byte of a path (a line break too) inside its line.
constexpr char kRaiseRequest[] = "raise\n";
constexpr char kOpenRequest[] = "open ";

// The file of a request line, or nothing for a plain raise (or a line it does not know).
std::optional<QString> RequestedFile(const QByteArray& line) {
  if (!line.startsWith(kOpenRequest)) return std::nullopt;
  const QUrl url = QUrl::fromEncoded(line.mid(int(sizeof kOpenRequest) - 1));
  if (!url.isLocalFile()) return std::nullopt;
  return url.toLocalFile();
}

}  // namespace

QString SingleInstance::LockPath() {
  return QDir(RuntimeFolder()).filePath(QStringLiteral("VXAInstance.lock"));
}

QString SingleInstance::SocketPath() {
  return QDir(RuntimeFolder()).filePath(QStringLiteral("VXAInstance.socket"));
}

SingleInstance::SingleInstance() : lock_(std::make_unique<QLockFile>(LockPath())) {
  lock_->setStaleLockTime(0);  // only a dead owner makes the lock stale, never its age
  acquired_ = lock_->tryLock(0);
}

void SingleInstance::Listen(std::function<void(const std::optional<QString>& file)> request) {
  if (!acquired_) return;
  server_ = std::make_unique<QLocalServer>();
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  // A socket left by a crashed copy is ours to replace: we hold the lock.
  QLocalServer::removeServer(SocketPath());
  if (!server_->listen(SocketPath())) return;
  QObject::connect(
      server_.get(), &QLocalServer::newConnection, server_.get(),
      [server = server_.get(), request = std::move(request)] {
        while (QLocalSocket* socket = server->nextPendingConnection()) {
          QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
          // A long path may come in pieces: each request is answered once its line is complete.
          // Answered from the event loop, not from here: it may ask the user a question, and
          // the socket must not end under a handler that waits for the answer.
          QObject::connect(socket, &QLocalSocket::readyRead, socket, [server, socket, request] {
            while (socket->canReadLine()) {
              const std::optional<QString> file = RequestedFile(socket->readLine().chopped(1));
              QMetaObject::invokeMethod(
                  server, [request, file] { request(file); }, Qt::QueuedConnection);
            }
          });
        }
      });
}

bool SingleInstance::HandOver(const std::optional<QString>& file, int timeoutMs) const {
  QLocalSocket socket;
  socket.connectToServer(SocketPath());
  if (!socket.waitForConnected(timeoutMs)) return false;
  const QByteArray message =
      file ? kOpenRequest + QUrl::fromLocalFile(*file).toEncoded() + '\n' : kRaiseRequest;
  socket.write(message);
  while (socket.bytesToWrite() > 0) {
    if (!socket.waitForBytesWritten(timeoutMs)) return false;
  }
  socket.disconnectFromServer();
  return true;
}

}  // namespace tavrin
