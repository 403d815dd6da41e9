#include "common/ProgramFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace common {

static QString withoutTrailingSlash(QString path)
{
    while (path.endsWith(QLatin1Char('/'))) path.chop(1);
    return path;
}

static QString executableFolder()
{
    const QFileInfo exe(QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget());
    return exe.absolutePath();
}

static QString dataFallbackFolder()
{
    QString base = qEnvironmentVariable("XDG_DATA_HOME");
    if (base.isEmpty()) base = QDir::homePath() + QStringLiteral("/.local/share");
    const QString folder = base + QStringLiteral("/Sonorell");
    QDir().mkpath(folder);
    return folder;
}

QString ProgramFolder()
{
    const QString home = qEnvironmentVariable("SONORELL_HOME");
    if (!home.isEmpty()) {
        QDir().mkpath(home);
        return withoutTrailingSlash(QDir::cleanPath(home));
    }
    const QString exeFolder = executableFolder();
    if (QFileInfo(exeFolder).isWritable()) return withoutTrailingSlash(exeFolder);
    return withoutTrailingSlash(dataFallbackFolder());
}

QString ProgramFile(const QString& name)
{
    return ProgramFolder() + QLatin1Char('/') + name;
}

} // namespace common
