#include "platform/Settings.h"
#include "platform/AtomicFile.h"

#include <QDir>
#include <QSettings>

#include <cstdio>

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

namespace {

// Every key of the store and its value.
QMap<QString, QVariant> contentsOf(const QString& path)
{
    QSettings store(path, QSettings::IniFormat);
    QMap<QString, QVariant> values;
    for (const QString& key : store.allKeys()) values.insert(key, store.value(key));
    return values;
}

}  // namespace

// The store is written beside itself and read back before it replaces the old one: the settings
// class would commit a file that a full disk left empty.
void SaveSetting(const QString& section, const QString& key, const QString& value)
{
    QDir().mkpath(settingsFolder());
    QMap<QString, QVariant> values = contentsOf(settingsFile());
    values.insert(section + QLatin1Char('/') + key, value);
    const QString staged = settingsFile() + QStringLiteral(".new");
    QFile::remove(staged);
    {
        QSettings store(staged, QSettings::IniFormat);
        for (auto it = values.cbegin(); it != values.cend(); ++it) store.setValue(it.key(), it.value());
        store.sync();
    }
    if (contentsOf(staged) != values ||
        std::rename(QFile::encodeName(staged).constData(), QFile::encodeName(settingsFile()).constData()) != 0) {
        QFile::remove(staged);
        ReportSaveFailure(settingsFile());
    }
}

}  // namespace platform
