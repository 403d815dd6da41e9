#include "metadata/Playlists.h"
#include "platform/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QUrl>

#include <filesystem>
#include <map>

namespace Mp3Tag_Functions {

namespace {

bool endsWith(const QString& path, const char* extension) { return path.endsWith(QLatin1String(extension), Qt::CaseInsensitive); }

// UTF-8 as today's players write it; older M3U files are often Latin-1, which any byte is.
QString decode(QByteArray bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF")) bytes.remove(0, 3);
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(bytes);
    return utf8.hasError() ? QString::fromLatin1(bytes) : text;
}

// A playlist is a regular file of a sensible size: a pipe or a device named ".m3u" would wait
// forever to be read, and a file of gigabytes is no list.
constexpr qint64 LargestPlaylist = 16 * 1024 * 1024;

QStringList lines(const QString& path)
{
    std::error_code error;
    const std::filesystem::path file(QFile::encodeName(path).toStdString());
    if (!std::filesystem::is_regular_file(file, error) || std::filesystem::file_size(file, error) > uint64_t(LargestPlaylist))
        return {};
    QFile playlist(path);
    if (!playlist.open(QIODevice::ReadOnly)) return {};
    return decode(playlist.read(LargestPlaylist)).split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
}

// One entry as a local path; empty for a remote URL or a blank entry.
QString localPath(const QString& entry, const QDir& folder)
{
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*://"));
    const QString text = entry.trimmed();
    if (text.isEmpty()) return {};
    if (text.startsWith(QLatin1String("file://"), Qt::CaseInsensitive)) return QUrl(text).toLocalFile();
    if (scheme.match(text).hasMatch()) return {};
    QString path = QDir::cleanPath(folder.absoluteFilePath(text));
    // Lists made on Windows separate folders with backslashes.
    if (text.contains(QLatin1Char('\\')) && !QFileInfo::exists(path)) {
        const QString slashed = QString(text).replace(QLatin1Char('\\'), QLatin1Char('/'));
        path = QDir::cleanPath(folder.absoluteFilePath(slashed));
    }
    return path;
}

QStringList m3uEntries(const QStringList& all)
{
    QStringList entries;
    for (const QString& line : all)
        if (!line.trimmed().startsWith(QLatin1Char('#'))) entries << line;
    return entries;
}

// FileN= lines in the order of N, whatever order they come in.
QStringList plsEntries(const QStringList& all)
{
    static const QRegularExpression file(QStringLiteral("^\\s*file(\\d+)\\s*=(.*)$"), QRegularExpression::CaseInsensitiveOption);
    std::multimap<qlonglong, QString> numbered;
    for (const QString& line : all)
        if (const auto match = file.match(line); match.hasMatch())
            numbered.emplace(match.captured(1).toLongLong(), match.captured(2));
    QStringList entries;
    for (const auto& [number, entry] : numbered) entries << entry;
    return entries;
}

}  // namespace

bool IsM3u8(const QString& path) { return endsWith(path, ".m3u8"); }

bool IsPlaylist(const QString& path) { return endsWith(path, ".m3u") || IsM3u8(path) || endsWith(path, ".pls"); }

QStringList ReadPlaylistPaths(const QString& path)
{
    const QStringList all = lines(path);
    const QDir folder = QFileInfo(path).absoluteDir();
    QStringList paths;
    for (const QString& entry : endsWith(path, ".pls") ? plsEntries(all) : m3uEntries(all))
        // A playlist inside a playlist is not a song; it is left out, not opened as one.
        if (const QString local = localPath(entry, folder); !local.isEmpty() && !IsPlaylist(local)) paths << local;
    return paths;
}

bool WriteM3u8(const QString& path, const QStringList& paths)
{
    QByteArray bytes = "#EXTM3U\n";
    for (const QString& p : paths) bytes += p.toUtf8() + '\n';
    return platform::WriteFileAtomically(path, bytes);
}

}  // namespace Mp3Tag_Functions
