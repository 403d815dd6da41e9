#include "metadata/Playlists.h"
#include "platform/FileNames.h"
#include "platform/AtomicFile.h"
#include "platform/CodePage.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QUrl>

#include <map>

namespace Mp3Tag_Functions {

namespace {

bool endsWith(const QString& path, const char* extension) { return path.endsWith(QLatin1String(extension), Qt::CaseInsensitive); }

// A list's text: UTF-8 as today's players write it (always so in an .m3u8). An older list that is
// not UTF-8 was written on a Greek Windows machine in its code page (windows-1253), as the
// catalogue's old files were, or elsewhere in Latin-1: both readings are kept, Greek first.
struct Text {
    QString text;
    QString latin1;  // the other reading of a list that is not UTF-8; empty for UTF-8
};

Text decode(QByteArray bytes, bool alwaysUtf8)
{
    if (bytes.startsWith("\xEF\xBB\xBF")) bytes.remove(0, 3);
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(bytes);
    if (!utf8.hasError() || alwaysUtf8) return {text, {}};
    return {platform::FromGreekCodePage(bytes.toStdString()), QString::fromLatin1(bytes)};
}

// The bytes of percent-escapes: the file of exactly those bytes where there is one (this player
// writes a name that is no UTF-8 so), otherwise read as text the same way (Greek first).
QString percentDecoded(const QString& text)
{
    const QByteArray bytes = QByteArray::fromPercentEncoding(text.toUtf8());
    const Text read = decode(bytes, false);
    if (read.latin1.isEmpty()) return read.text;
    const QString exact = platform::DecodeFileName(bytes);
    return platform::PathExists(exact) ? exact : read.text;
}

// A file: URI as a local path: file:///p, file://localhost/p and file:/p; empty for another host.
QString localFileOf(const QString& uri)
{
    QString rest = uri.mid(5);  // after "file:"
    if (rest.startsWith(QLatin1String("//"))) {
        const qsizetype slash = rest.indexOf(QLatin1Char('/'), 2);
        const QString host = rest.mid(2, slash < 0 ? -1 : slash - 2);
        if (!host.isEmpty() && host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) != 0) return {};
        rest = slash < 0 ? QString() : rest.mid(slash);
    }
    return rest.startsWith(QLatin1Char('/')) ? QDir::cleanPath(percentDecoded(rest)) : QString();
}

// A playlist is a regular file of a sensible size: a pipe or a device named ".m3u" would wait
// forever to be read, and a file of gigabytes is no list.
constexpr qint64 LargestPlaylist = 16 * 1024 * 1024;

QStringList splitLines(const QString& text) { return text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n"))); }

Text read(const QString& path)
{
    const std::optional<QByteArray> bytes = platform::ReadFileBytes(path, LargestPlaylist);
    return bytes ? decode(*bytes, IsM3u8(path)) : Text{};
}

// One entry as a local path; empty for a remote URL or a blank entry.
QString localPath(const QString& entry, const QDir& folder)
{
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*://"));
    const QString text = entry.trimmed();
    if (text.isEmpty()) return {};
    if (text.startsWith(QLatin1String("file:"), Qt::CaseInsensitive)) return localFileOf(text);
    if (scheme.match(text).hasMatch()) return {};
    QString path = QDir::cleanPath(folder.absoluteFilePath(text));
    // Lists made on Windows separate folders with backslashes.
    if (text.contains(QLatin1Char('\\')) && !platform::PathExists(path)) {
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

QStringList ReadTextLines(const QString& path) { return splitLines(read(path).text); }

bool IsM3u8(const QString& path) { return endsWith(path, ".m3u8"); }

bool IsPlaylist(const QString& path) { return endsWith(path, ".m3u") || IsM3u8(path) || endsWith(path, ".pls"); }

QStringList ReadPlaylistPaths(const QString& path)
{
    const Text text = read(path);
    const bool pls = endsWith(path, ".pls");
    const auto entriesOf = [pls](const QString& all) { return pls ? plsEntries(splitLines(all)) : m3uEntries(splitLines(all)); };
    const QStringList entries = entriesOf(text.text);
    const QStringList others = text.latin1.isEmpty() ? QStringList() : entriesOf(text.latin1);
    const QDir folder = QFileInfo(path).absoluteDir();
    QStringList paths;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        QString local = localPath(entries[i], folder);
        // Not there under the Greek reading: the same line read as Latin-1.
        if (!local.isEmpty() && i < others.size() && !platform::PathExists(local))
            if (const QString other = localPath(others[i], folder); platform::PathExists(other)) local = other;
        // A playlist inside a playlist is not a song; it is left out, not opened as one.
        if (!local.isEmpty() && !IsPlaylist(local)) paths << local;
    }
    return paths;
}

bool WriteM3u8(const QString& path, const QStringList& paths)
{
    QByteArray bytes = "#EXTM3U\n";
    for (const QString& p : paths) {
        // An M3U8 is UTF-8: a name that is not goes in as a file URI of its escaped bytes.
        bytes += (platform::ReadableFileName(p) == p ? p.toUtf8() : platform::FileUrlOf(p).toLatin1()) + '\n';
    }
    return platform::WriteFileAtomically(path, bytes);
}

}  // namespace Mp3Tag_Functions
