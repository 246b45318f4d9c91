#include "platform/SingleInstance.h"

#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>

namespace tavrin {
namespace {

QString RuntimeFolder() {
  QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  return folder.isEmpty() ? QDir::tempPath() : folder;
}

constexpr char kRaiseRequest[] = "raise\n";

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

void SingleInstance::ListenForRaise(std::function<void()> raise) {
  if (!acquired_) return;
  server_ = std::make_unique<QLocalServer>();
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  // A socket left by a crashed copy is ours to replace: we hold the lock.
  QLocalServer::removeServer(SocketPath());
  if (!server_->listen(SocketPath())) return;
  QObject::connect(server_.get(), &QLocalServer::newConnection, server_.get(),
                   [server = server_.get(), raise = std::move(raise)] {
                     while (QLocalSocket* socket = server->nextPendingConnection()) {
                       QObject::connect(socket, &QLocalSocket::disconnected, socket,
                                        &QObject::deleteLater);
                       QObject::connect(socket, &QLocalSocket::readyRead, socket, [socket, raise] {
                         if (socket->readAll().contains(kRaiseRequest)) raise();
                       });
                     }
                   });
}

bool SingleInstance::AskToRaise(int timeoutMs) const {
  QLocalSocket socket;
  socket.connectToServer(SocketPath());
  if (!socket.waitForConnected(timeoutMs)) return false;
  socket.write(kRaiseRequest);
  const bool sent = socket.waitForBytesWritten(timeoutMs);
  socket.disconnectFromServer();
  return sent;
}

}  // namespace tavrin
