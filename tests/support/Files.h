#pragma once
// Whole files as tests write and read them: a file that cannot be written fails the check that
// wrote it, and one that cannot be read reads as empty.

#include <QByteArray>
#include <QFile>
#include <QString>

namespace testsupport {

// Replaces the file at path with bytes; false when it could not be written whole.
inline bool writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

// The file's bytes; empty when it is missing or unreadable.
inline QByteArray readBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace testsupport
