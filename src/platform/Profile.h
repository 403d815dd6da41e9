#pragma once
// Profile files (INI): sections in brackets, key=value lines, names matched ignoring case.
// Reading accepts UTF-8 and, for a file that is not valid UTF-8, windows-1253; writing keeps
// every other line as it was and replaces the file atomically.

#include <QList>
#include <QMap>
#include <QString>

#include <optional>
#include <utility>

namespace platform {

constexpr int ProfileValueLimit = 254;  // what a 256-byte reply buffer holds

// The value trimmed of blanks and cut to the limit; fallback when the file, the section or the
// key is missing.
QString GetPrivateProfileString(const QString& section, const QString& key, const QString& fallback, const QString& path);

// Replaces the key's value in place, or adds the key at the end of its section, or the section
// at the end of the file (made when missing). False when the file could not be written.
bool WritePrivateProfileString(const QString& section, const QString& key, const QString& value, const QString& path);
// Several keys of one section in one replacement of the file.
bool WritePrivateProfileStrings(const QString& section, const QList<std::pair<QString, QString>>& values, const QString& path);
// The same for files of other systems: lines that get no line end from the file get newLine.
bool WriteProfileValue(const QString& section, const QString& key, const QString& value, const QString& path,
                       const QByteArray& newLine);

// The whole value, trimmed but not cut; nothing when the file, the section or the key is missing.
std::optional<QString> ReadProfileValue(const QString& section, const QString& key, const QString& path);

// Every key of a section in one reading, by name in lower case (the first line of a name counts,
// as for a single read); empty when the file or the section is missing.
QMap<QString, QString> ReadProfileSection(const QString& section, const QString& path);

// Removes the key's line and keeps every other; true when the key is gone (or was never there).
bool DeleteProfileKey(const QString& section, const QString& key, const QString& path);

}  // namespace platform
