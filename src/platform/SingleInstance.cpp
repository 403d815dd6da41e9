#include "platform/SingleInstance.h"

#include <QDataStream>
#include <QDir>
#include <QDeadlineTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QThread>

#include <algorithm>

namespace platform {

namespace {

constexpr qint64 MaxMessageBytes = 4 * 1024 * 1024;  // arguments of a start, not a file
constexpr char Taken = '1';
constexpr int RetryMs = 50;
// The running instance listens from the moment it holds the lock: a lock whose socket cannot be
// reached for this long has no player behind it.
constexpr int NobodyListensMs = 2000;

}  // namespace

SingleInstance::SingleInstance()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) folder = QDir::homePath();
    QDir().mkpath(folder);
    lock_ = std::make_unique<QLockFile>(folder + QStringLiteral("/sonorell-player.lock"));
    lock_->setStaleLockTime(0);  // a lock left by a crashed run is recognised by its dead process
    socketPath_ = folder + QStringLiteral("/sonorell-player.socket");
    acquired_ = lock_->tryLock(0);
    if (acquired_) listen();
}

SingleInstance::~SingleInstance() = default;

void SingleInstance::listen()
{
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    QLocalServer::removeServer(socketPath_);  // left by a run that crashed: the lock is ours now
    if (!server_->listen(socketPath_)) return;
    connect(server_, &QLocalServer::newConnection, this, &SingleInstance::receive);
}

void SingleInstance::receive()
{
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (socket->bytesAvailable() > MaxMessageBytes) return socket->abort();
            QDataStream in(socket);
            in.startTransaction();
            QStringList arguments;
            in >> arguments;
            if (!in.commitTransaction()) return;  // the rest is still on its way
            socket->write(&Taken, 1);
            socket->flush();
            emit argumentsArrived(arguments);
        });
    }
}

bool SingleInstance::handOver(const QStringList& arguments, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    QDeadlineTimer nobodyListens(NobodyListensMs);
    while (!deadline.hasExpired()) {
        if (lock_->tryLock(0)) {  // the player that held it has ended
            acquired_ = true;
            listen();
            return false;
        }
        bool reached = false;
        if (send(arguments, deadline, reached)) return true;
        if (reached) nobodyListens.setRemainingTime(NobodyListensMs);
        if (nobodyListens.hasExpired()) return false;  // a lock without a player behind it
        QThread::msleep(RetryMs);
    }
    return false;
}

// One try; reached tells whether the running instance took the connection.
bool SingleInstance::send(const QStringList& arguments, QDeadlineTimer deadline, bool& reached) const
{
    const auto left = [&deadline] { return int(std::max<qint64>(1, deadline.remainingTime())); };
    QLocalSocket socket;
    socket.connectToServer(socketPath_);
    reached = socket.waitForConnected(std::min(left(), 4 * RetryMs));
    if (!reached) return false;
    QByteArray message;
    QDataStream out(&message, QIODevice::WriteOnly);
    out << arguments;
    socket.write(message);
    if (!socket.waitForBytesWritten(left())) return false;
    char reply = 0;
    return socket.waitForReadyRead(left()) && socket.read(&reply, 1) == 1 && reply == Taken;
}

}  // namespace platform
