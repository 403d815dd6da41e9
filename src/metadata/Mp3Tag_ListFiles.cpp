#include "metadata/Mp3Tag_ListFiles.h"
#include "metadata/AlbumImage.h"
#include "metadata/Mp3Tag_Functions.h"
#include "metadata/Playlists.h"
#include "platform/AtomicFile.h"
#include "platform/FileNames.h"
#include "platform/FileTags.h"

namespace Mp3Tag_Functions {

bool FileExists(const QString& path)
{
    if (path.trimmed().isEmpty()) return false;
    // Regular files only: a pipe or a device would block the tag read that follows.
    return platform::IsRegularFile(path);
}

bool ListEntryExists(const QString& path) { return FileExists(path) || ImageTrackOfLine(path.trimmed()); }

namespace {

// The entry a list line makes (its name from asRead, the line as it was read), the sheet of an
// album image's track read once; nothing for a line that names nothing to play.
std::optional<ListEntry> entryOf(const QString& line, const QString& asRead)
{
    if (const auto track = ImageTrackOfLine(line)) return ListEntry{line, ImageTrackName(*track)};
    if (FileExists(line)) return ListEntry{line, TrackNameFromFile(asRead)};
    return std::nullopt;
}

}  // namespace

QString TrackNameFromFile(const QString& path)
{
    if (const auto track = ImageTrackOfLine(path.trimmed())) return ImageTrackName(*track);
    // The ID3v1 title where it has one (in the Greek code page, which the other reader does not
    // know), else the title of the file's other tags.
    if (const QString title = FieldText(ReadTag(path).Title); !title.trimmed().isEmpty()) return title;
    if (const QString title = platform::ReadFileTags(path).title; !title.isEmpty()) return title;
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : platform::ReadableFileName(path.mid(slash + 1));
}

QList<ListEntry> ReadListFile(const QString& path)
{
    QList<ListEntry> entries;
    if (const QList<ImageTrack> tracks = ReadAlbumImage(path); !tracks.isEmpty()) {
        for (const ImageTrack& track : tracks) entries.append({ImageTrackLine(track), ImageTrackName(track)});
        return entries;
    }
    if (IsPlaylist(path)) {
        for (const QString& entry : ReadPlaylistPaths(path))
            if (const auto kept = entryOf(entry, entry)) entries.append(*kept);
        return entries;
    }
    const std::optional<QByteArray> bytes = platform::ReadFileBytes(path);
    if (!bytes) return entries;
    for (QByteArray line : bytes->split('\n')) {
        if (line.endsWith('\r')) line.chop(1);
        const QString asRead = platform::DecodeFileName(line);
        const QString trimmed = asRead.trimmed();
        if (const auto kept = entryOf(trimmed, asRead)) entries.append(*kept);
    }
    return entries;
}

bool WriteListFile(const QString& path, const QStringList& paths)
{
    if (paths.isEmpty()) return true;
    if (IsM3u8(path)) return WriteM3u8(path, paths);
    QByteArray bytes;
    for (const QString& p : paths) bytes += platform::EncodeFileName(p) + "\r\n";
    return platform::WriteFileAtomically(path, bytes);
}

}  // namespace Mp3Tag_Functions
