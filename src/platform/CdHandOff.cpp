#include "platform/CdHandOff.h"
#include "platform/AtomicFile.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>

#include <csignal>
#include <sys/types.h>

namespace platform {

namespace {

struct HandOff {
    qint64 pid = 0;
    QString source;
    int32_t startMs = 0;
    qint64 startedAtMs = 0;
};

std::optional<HandOff> readState()
{
    QFile file(HandOffStateFile());
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    if (lines.size() < 4) return std::nullopt;
    HandOff h;
    bool ok[3] = {};
    h.pid = lines[0].toLongLong(&ok[0]);
    h.source = lines[1];
    h.startMs = lines[2].toInt(&ok[1]);
    h.startedAtMs = lines[3].toLongLong(&ok[2]);
    if (!ok[0] || !ok[1] || !ok[2] || h.pid <= 1) return std::nullopt;
    return h;
}

// A process that has ended but was not yet reaped (a zombie) still answers kill(pid, 0).
bool alive(qint64 pid)
{
    if (::kill(pid_t(pid), 0) != 0) return false;
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly)) return true;
    const QByteArray line = stat.readAll();
    const qsizetype close = line.lastIndexOf(')');
    return close < 0 || close + 2 >= line.size() || line.at(close + 2) != 'Z';
}

// The process is the hand-off player, not another that was given its number since.
bool ours(qint64 pid)
{
    QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
    return comm.open(QIODevice::ReadOnly) && comm.readAll().trimmed() == "sonorell-cdplay";
}

} // namespace

QString HandOffStateFile()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) folder = QDir::tempPath();
    return folder + QStringLiteral("/sonorell-cdplay.state");
}

QString HandOffState(qint64 pid, const QString& source, int32_t startMs, qint64 startedAtMs)
{
    return QStringLiteral("%1\n%2\n%3\n%4\n").arg(pid).arg(source).arg(startMs).arg(startedAtMs);
}

bool HandDiscOver(int32_t positionMs)
{
    const QString player = QCoreApplication::applicationDirPath() + QStringLiteral("/sonorell-cdplay");
    return QProcess::startDetached(player, {QString::number(positionMs)});
}

std::optional<int32_t> TakeDiscBack(const QString& source)
{
    const auto state = readState();
    if (!state) return std::nullopt;
    const bool running = alive(state->pid) && ours(state->pid);
    if (!running || state->source != source) {
        if (!running) QFile::remove(HandOffStateFile());
        return std::nullopt;
    }
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    ::kill(pid_t(state->pid), SIGTERM);
    for (int i = 0; i < 100 && alive(state->pid); ++i) QThread::msleep(20);
    QFile::remove(HandOffStateFile());
    return int32_t(state->startMs + std::max<qint64>(0, now - state->startedAtMs));
}

} // namespace platform
