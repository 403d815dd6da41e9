#pragma once
// Tags other than ID3v1 (ID3v2, APE, Vorbis comments, MP4 atoms) and the sound facts of a file,
// read through TagLib. Text comes decoded as each format defines it.

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

}  // namespace platform
