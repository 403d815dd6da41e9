#pragma once
// Tags other than ID3v1 (ID3v2, APE, Vorbis comments, MP4 atoms) and the sound facts of a file,
// read through TagLib. Text comes decoded as each format defines it.

#include <QList>
#include <QPair>
#include <QString>

namespace platform {

struct FileTags {
    QString title, artist, album;
    bool empty() const { return title.isEmpty() && artist.isEmpty() && album.isEmpty(); }
};
// The best tag the file carries, fields trimmed; all empty when it has none or cannot be read.
FileTags ReadFileTags(const QString& path);

struct SoundFacts {
    bool known = false;
    int kbitPerSecond = 0, sampleRateHz = 0, channels = 0;
};
// What the file's own headers say about its sound; known is false for a format TagLib
// does not read.
SoundFacts ReadSoundFacts(const QString& path);

// Sets tags by their common names (TITLE, ARTIST, ALBUM, TRACKNUMBER, MUSICBRAINZ_DISCID,
// REPLAYGAIN_TRACK_GAIN, …) in whatever tag the file's format keeps (Vorbis comments, ID3v2
// frames, …); an empty value removes one. False when the file cannot be read or saved.
bool WriteFileTags(const QString& path, const QList<QPair<QString, QString>>& fields);
// Every tag the file carries, by common name (several values of one joined by " / ").
QList<QPair<QString, QString>> ReadAllFileTags(const QString& path);
// One tag by its common name; "" when the file has none.
QString ReadFileTag(const QString& path, const QString& name);

}  // namespace platform
