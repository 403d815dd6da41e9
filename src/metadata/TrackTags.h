#pragma once
// What a media file's tags say about it, for the list and the display: the ID3v1 tag where the
// file has one (it wins, as it always has), else the best other tag (ID3v2, APE, Vorbis
// comments, MP4 atoms).

#include <QString>

namespace Mp3Tag_Functions {

struct TrackTags {
    bool fromId3v1 = false;
    QString title, artist, album;  // trailing blanks removed; empty when the tag gives none
};
TrackTags ReadTrackTags(const QString& path);

// The facts line: the MPEG header summary for an MP3 ("128Kbit  44Khz  jstereo"), the same
// shape from the file's own headers for other formats ("905Kbit  44Khz  stereo"), and the
// header summary again for a format that has none; empty when the file cannot be read.
QString FactsLine(const QString& path);

}  // namespace Mp3Tag_Functions
