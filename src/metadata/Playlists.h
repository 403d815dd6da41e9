#pragma once
// Playlists other players write: M3U / M3U8 (one entry a line, "#" lines are comments or
// #EXTINF facts) and PLS (an INI file of FileN= entries).

#include <QString>
#include <QStringList>

namespace Mp3Tag_Functions {

// By the name's extension: .m3u, .m3u8, .pls (any letter case).
bool IsPlaylist(const QString& path);
bool IsM3u8(const QString& path);

// The local paths the playlist names, in its order: relative ones against the playlist's
// folder, file:// URIs decoded, remote URLs left out. Nothing is checked for existence here.
QStringList ReadPlaylistPaths(const QString& path);

// A playlist's or a sheet's lines: UTF-8, else windows-1253 (old lists of Greek Windows
// machines); empty for what is not a regular file of at most 16 MiB.
QStringList ReadTextLines(const QString& path);

// "#EXTM3U" and one path a line, UTF-8, written atomically; false when the write fails.
bool WriteM3u8(const QString& path, const QStringList& paths);

}  // namespace Mp3Tag_Functions
