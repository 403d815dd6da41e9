#pragma once
// The per-user settings store: an INI file at $XDG_CONFIG_HOME/Dravenholt/settings.ini.

#include <QString>
#include <QVariant>

namespace platform {

QString settingsFolder();  // $XDG_CONFIG_HOME/Dravenholt (default ~/.config/Dravenholt)
QString settingsFile();

// Like GetSetting/SaveSetting: section is the group, key the entry.
QString GetSetting(const QString& section, const QString& key, const QString& fallback = {});
void SaveSetting(const QString& section, const QString& key, const QString& value);

}  // namespace platform
