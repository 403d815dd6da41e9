#include "platform/Drives.h"

#include <QDir>
#include <QFile>
#include <QSet>

namespace platform {

namespace {

bool isPseudoFileSystem(const QByteArray& type)
{
    static const QSet<QByteArray> pseudo = {
        "proc",        "sysfs",    "devtmpfs",   "devpts", "cgroup", "cgroup2",  "securityfs",      "debugfs",
        "tracefs",     "mqueue",   "hugetlbfs",  "pstore", "bpf",    "configfs", "fusectl",         "autofs",
        "binfmt_misc", "efivarfs", "rpc_pipefs", "nsfs",   "ramfs",  "squashfs", "fuse.gvfsd-fuse", "fuse.portal",
    };
    return pseudo.contains(type);
}

bool isSystemTree(const QString& mountPoint)
{
    for (const char* tree : {"/proc", "/sys", "/dev", "/run", "/snap", "/boot/efi"}) {
        const QString t = QString::fromLatin1(tree);
        if (mountPoint == t || mountPoint.startsWith(t + QLatin1Char('/'))) return true;
    }
    return false;
}

// The mounts table writes blanks and a few other bytes in a path as octal escapes ("\040").
QString unescapeMountPoint(const QByteArray& field)
{
    QByteArray out;
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            bool ok = false;
            const int code = field.mid(i + 1, 3).toInt(&ok, 8);
            if (ok) {
                out += char(code);
                i += 3;
                continue;
            }
        }
        out += field[i];
    }
    return QFile::decodeName(out);
}

}  // namespace

QStringList DrivesOfMounts(const QByteArray& mounts, const QString& home)
{
    QStringList drives;
    if (!home.isEmpty()) drives << home;
    for (const QByteArray& line : mounts.split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() < 3) continue;
        const QString mountPoint = unescapeMountPoint(fields[1]);
        if (!mountPoint.startsWith(QLatin1Char('/')) || isPseudoFileSystem(fields[2]) || isSystemTree(mountPoint)) continue;
        if (fields[2] == "tmpfs" && mountPoint != QLatin1String("/tmp")) continue;  // scratch space of the system
        if (!drives.contains(mountPoint)) drives << mountPoint;
    }
    return drives;
}

QStringList LocalDrives()
{
    QFile mounts(QStringLiteral("/proc/self/mounts"));
    const QByteArray table = mounts.open(QIODevice::ReadOnly) ? mounts.readAll() : QByteArray("/ / rootfs rw 0 0\n");
    QStringList drives = DrivesOfMounts(table, QDir::homePath());
    if (!drives.contains(QStringLiteral("/"))) drives << QStringLiteral("/");
    return drives;
}

QString DriveOfFolder(const QStringList& drives, const QString& folder)
{
    QString best;
    for (const QString& drive : drives) {
        const bool holds = folder == drive || drive == QLatin1String("/") ||
                           folder.startsWith(drive.endsWith(QLatin1Char('/')) ? drive : drive + QLatin1Char('/'));
        if (holds && drive.size() > best.size()) best = drive;
    }
    return best;
}

}  // namespace platform
