#pragma once
// One player per user session: a lock file in the user's runtime folder, and beside it a local
// socket on which a later start hands its arguments to the player already running (a file
// manager's "Open With" or a double click on a file while the player plays).

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
    // From a later start: gives the arguments to the running instance. False when it did not
    // take them within timeoutMs.
    bool handOver(const QStringList& arguments, int timeoutMs = 800) const;

signals:
    // In the running instance: what a later start was given (empty: only a start).
    void argumentsArrived(const QStringList& arguments);

private:
    void listen();
    void receive();

    std::unique_ptr<QLockFile> lock_;
    QLocalServer* server_ = nullptr;
    QString socketPath_;
    bool acquired_ = false;
};

}  // namespace platform
