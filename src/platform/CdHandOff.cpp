#include "platform/CdHandOff.h"
#include "platform/AtomicFile.h"
#include "platform/Settings.h"

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
    qint64 processStart = 0;  // when the process began, in clock ticks since boot; 0 when not noted
};

// Field 22 of /proc/PID/stat: the process's start, which a later process given the same number
// does not share. 0 when it cannot be read.
qint64 processStartTicks(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly)) return 0;
    const QByteArray line = stat.readAll();
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    return fields.size() > 19 ? fields[19].toLongLong() : 0;  // the fields after the name start at field 3
}

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
    if (lines.size() > 4) h.processStart = lines[4].toLongLong();
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

// The process is the hand-off player that noted itself, not another that was given its number
// since (another hand-off player included).
bool ours(const HandOff& noted)
{
    QFile comm(QStringLiteral("/proc/%1/comm").arg(noted.pid));
    if (!comm.open(QIODevice::ReadOnly) || comm.readAll().trimmed() != "sonorell-cdplay") return false;
    return noted.processStart == 0 || processStartTicks(noted.pid) == noted.processStart;
}

}  // namespace

QString HandOffStateFile()
{
    // Never a name anyone could guess in a folder everyone writes: without a runtime folder, the
    // user's own settings folder.
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) {
        folder = settingsFolder();
        QDir().mkpath(folder);
    }
    return folder + QStringLiteral("/sonorell-cdplay.state");
}

QString HandOffState(qint64 pid, const QString& source, int32_t startMs, qint64 startedAtMs)
{
    return QStringLiteral("%1\n%2\n%3\n%4\n%5\n").arg(pid).arg(source).arg(startMs).arg(startedAtMs).arg(processStartTicks(pid));
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
    const bool running = alive(state->pid) && ours(*state);
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

}  // namespace platform
