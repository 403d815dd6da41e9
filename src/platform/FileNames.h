#pragma once
// File names are bytes. Qt reads them as UTF-8 and loses every byte that is not, so a name from
// an older system (Latin-1 "caf\xe9.mp3") could not be found again. Here such a byte becomes the
// lone surrogate U+DC80 + byte, as Python's "surrogateescape" does, and goes back to the same
// byte: a name decoded and encoded again is the name read, byte for byte. Valid UTF-8 reads as
// Qt reads it.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <limits>
#include <optional>

namespace platform {

QString DecodeFileName(const QByteArray& bytes);
QByteArray EncodeFileName(const QString& name);
// The name for the eye: each kept byte shows as U+FFFD.
QString ReadableFileName(const QString& name);

// The local file a file:// URL names, its percent-escaped bytes kept; "" for another URL.
QString LocalFileOf(const QUrl& url);
// And back: the file: URL of a local file; a name that is no UTF-8 keeps its bytes as escapes.
QString FileUrlOf(const QString& path);

// The file system asked through the exact bytes of the name.
bool IsRegularFile(const QString& path);  // a link to one too
bool IsFolder(const QString& path);
bool PathExists(const QString& path);
// The size in bytes of what the name names; 0 when nothing is there.
qint64 FileSizeOf(const QString& path);
// A regular file's bytes (a pipe or a device would block), when it is no larger than limit.
std::optional<QByteArray> ReadFileBytes(const QString& path, qint64 limit = std::numeric_limits<qint64>::max());
// Opens a regular file by the exact bytes of its name, read-only or read-write; never makes one.
// False for a missing file, a folder, a pipe or a device.
bool OpenRegularFile(QFile& file, const QString& path, QIODevice::OpenMode mode);
// The names of a folder's regular files (links to them too), hidden ones included, in the order
// the file system gives.
QStringList FolderFileNames(const QString& folder);
// The same for its subfolders ("." and ".." left out).
QStringList SubfolderNames(const QString& folder);

}  // namespace platform
