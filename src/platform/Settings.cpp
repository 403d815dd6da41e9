#include "platform/Settings.h"

#include <QDir>
#include <QSettings>

namespace platform {

QString settingsFolder()
{
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty()) base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/Dravenholt");
}

QString settingsFile() { return settingsFolder() + QStringLiteral("/settings.ini"); }

QString GetSetting(const QString& section, const QString& key, const QString& fallback)
{
    QSettings store(settingsFile(), QSettings::IniFormat);
    return store.value(section + QLatin1Char('/') + key, fallback).toString();
}

void SaveSetting(const QString& section, const QString& key, const QString& value)
{
    QDir().mkpath(settingsFolder());
    QSettings store(settingsFile(), QSettings::IniFormat);
    store.setValue(section + QLatin1Char('/') + key, value);
    store.sync();
}

} // namespace platform
