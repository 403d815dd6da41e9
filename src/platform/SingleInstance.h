#pragma once
// One player per user session: a lock file in the user's runtime folder, and beside it a local
// socket on which a later start hands its arguments to the player already running (a file
// manager's "Open With" or a double click on a file while the player plays).

#include <QDeadlineTimer>
#include <QObject>
#include <QStringList>

#include <memory>

class QLockFile;
class QLocalServer;

namespace platform {

class SingleInstance : public QObject {
    Q_OBJECT
public:
    SingleInstance();
    ~SingleInstance() override;
    // False when another instance already holds the lock.
    bool acquired() const { return acquired_; }
    // From a later start: gives the arguments to the running instance. One that has only just
    // started may not listen yet, or not answer until its window is up: it is tried again until
    // it answers, for timeoutMs at the most (less when nothing listens at all). When it ends
    // meanwhile, this instance takes the lock instead and acquired() turns true. False when the
    // arguments were not taken.
    bool handOver(const QStringList& arguments, int timeoutMs = 10000);

signals:
    // In the running instance: what a later start was given (empty: only a start).
    void argumentsArrived(const QStringList& arguments);

private:
    void listen();
    void receive();
    bool send(const QStringList& arguments, QDeadlineTimer deadline, bool& reached) const;

    std::unique_ptr<QLockFile> lock_;
    QLocalServer* server_ = nullptr;
    QString socketPath_;
    bool acquired_ = false;
};

}  // namespace platform
