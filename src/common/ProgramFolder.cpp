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

static QString dataHome()
{
    const QString base = qEnvironmentVariable("XDG_DATA_HOME");
    return base.isEmpty() ? QDir::homePath() + QStringLiteral("/.local/share") : base;
}

QString ResolveProgramFolder(const QString& homeOverride, const QString& exeFolder, const QString& dataHomeFolder)
{
    QString folder;
    if (!homeOverride.isEmpty())
        folder = QDir::cleanPath(homeOverride);
    else if (QFileInfo(exeFolder).isWritable())
        folder = exeFolder;
    else
        folder = dataHomeFolder + QStringLiteral("/Sonorell");
    if (folder != exeFolder) QDir().mkpath(folder);
    return withoutTrailingSlash(folder);
}

QString ProgramFolder() { return ResolveProgramFolder(qEnvironmentVariable("SONORELL_HOME"), executableFolder(), dataHome()); }

QString ProgramFile(const QString& name) { return ProgramFolder() + QLatin1Char('/') + name; }

}  // namespace common
