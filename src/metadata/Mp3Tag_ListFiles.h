#pragma once
// List files: one full path per line, CR LF after every line, nothing else.

#include <QString>
#include <QStringList>

namespace Mp3Tag_Functions {

// The ID3v1 title (30 characters, padding kept) when it is not blank; for a file without an
// ID3v1 tag the title of its best other tag; else the file name part of the path; "" when
// none can be had.
QString TrackNameFromFile(const QString& path);

struct ListEntry {
    QString path;  // the line trimmed of blanks
    QString name;  // TrackNameFromFile of the line as read
};
// The lines that name existing files (or an album image's tracks); empty for a missing,
// unreadable or useless file. An M3U, M3U8 or PLS playlist is read as such (see Playlists.h), and
// an album image's cue sheet as its tracks (see AlbumImage.h).
QList<ListEntry> ReadListFile(const QString& path);
// Writes the paths (UTF-8) atomically, as an M3U8 playlist when the name ends in ".m3u8"; an
// empty list writes nothing. False when the write fails.
bool WriteListFile(const QString& path, const QStringList& paths);

// Does a regular file (or a link to one) exist at path, hidden files included.
bool FileExists(const QString& path);
// Does a list line name something to play: an existing file, or a track of an album image.
bool ListEntryExists(const QString& path);

}  // namespace Mp3Tag_Functions
