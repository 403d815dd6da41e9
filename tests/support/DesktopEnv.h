#pragma once
// A desktop of our own for one test: the XDG folders in a temporary folder, so the desktop
// tools (xdg-mime, desktop-file-validate) see only what the test wrote.

#include "support/TempFolder.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>

#include <cstdlib>
#include <string>

namespace testsupport {

class DesktopEnv {
public:
    DesktopEnv() : savedConfig_(qgetenv("XDG_CONFIG_HOME")), savedData_(qgetenv("XDG_DATA_HOME"))
    {
        for (const char* sub : {"config", "data", "none"}) QDir().mkpath(QString::fromStdString(root_.file(sub)));
        setenv("XDG_CONFIG_HOME", root_.file("config").c_str(), 1);
        setenv("XDG_DATA_HOME", root_.file("data").c_str(), 1);
    }
    ~DesktopEnv()
    {
        qputenv("XDG_CONFIG_HOME", savedConfig_);
        qputenv("XDG_DATA_HOME", savedData_);
    }
    DesktopEnv(const DesktopEnv&) = delete;
    DesktopEnv& operator=(const DesktopEnv&) = delete;

    QString config() const { return QString::fromStdString(root_.file("config")); }
    QString data() const { return QString::fromStdString(root_.file("data")); }

    // Runs a tool in this desktop; its standard output trimmed, or "exit N: …" on failure.
    QString run(const QString& program, const QStringList& arguments) const
    {
        if (QStandardPaths::findExecutable(program).isEmpty()) return QStringLiteral("missing tool ") + program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION", "GNOME_DESKTOP_SESSION_ID", "DE"})
            env.remove(QString::fromLatin1(name));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), config());
        env.insert(QStringLiteral("XDG_DATA_HOME"), data());
        env.insert(QStringLiteral("XDG_CONFIG_DIRS"), QString::fromStdString(root_.file("none")));
        env.insert(QStringLiteral("XDG_DATA_DIRS"), QString::fromStdString(root_.file("none")));
        QProcess process;
        process.setProcessEnvironment(env);
        process.start(program, arguments);
        process.waitForFinished(20000);
        const QString out = QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError()).trimmed();
        if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
            return QStringLiteral("exit %1: ").arg(process.exitCode()) + out;
        return out;
    }

private:
    QByteArray savedConfig_;
    QByteArray savedData_;
    TempFolder root_;
};

}  // namespace testsupport
