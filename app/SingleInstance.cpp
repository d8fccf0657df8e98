#include "app/SingleInstance.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

namespace lanterna {
namespace {

const char kRaiseRequest[] = "raise\n";

QString DefaultFolder() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) {
        folder = QDir::tempPath();
    }
    return folder;
}

}  // namespace

CSingleInstance::CSingleInstance(QString folder, QObject* parent)
    : QObject(parent), folder_(folder.isEmpty() ? DefaultFolder() : std::move(folder)) {}

CSingleInstance::~CSingleInstance() {
    Release();
}

QString CSingleInstance::LockPath() const {
    return QDir(folder_).filePath("lanterna.lock");
}

QString CSingleInstance::SocketPath() const {
    return QDir(folder_).filePath("lanterna.instance");
}

bool CSingleInstance::Acquire() {
    if (held_) {
        return true;
    }
    QDir().mkpath(folder_);
    auto lock = std::make_unique<QLockFile>(LockPath());
    // Only a lock whose process is gone counts as stale, never one that is merely old.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) {
        RequestRaise(SocketPath());
        return false;
    }
    lock_ = std::move(lock);
    held_ = true;
    // A socket file left by an instance that died would stop the server from listening.
    QLocalServer::removeServer(SocketPath());
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_.get(), &QLocalServer::newConnection, this, &CSingleInstance::OnConnection);
    // Without the socket a later start cannot raise this window, but it still ends; the lock
    // alone keeps the instance single.
    server_->listen(SocketPath());
    return true;
}

void CSingleInstance::Release() {
    if (server_) {
        server_->close();
        server_.reset();
    }
    if (lock_) {
        lock_->unlock();
        lock_.reset();
    }
    held_ = false;
}

bool CSingleInstance::RequestRaise(const QString& socketPath) {
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    if (!socket.waitForConnected(kRequestTimeoutMs)) {
        return false;
    }
    socket.write(kRaiseRequest);
    const bool written = socket.waitForBytesWritten(kRequestTimeoutMs);
    socket.disconnectFromServer();
    return written;
}

void CSingleInstance::OnConnection() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            const QByteArray request = socket->readAll();
            if (request.contains("raise")) {
                emit raiseRequested();
            }
        });
    }
}

}  // namespace lanterna
