#pragma once
// Titles of a disc found without typing (the disc's CD-Text, the disc database), and how they
// go into the catalogue: only where the disc's section has no value yet, so what a person
// typed always stays.

#include <QMap>
#include <QString>

#include <cstdint>

namespace Disk_Volume {

struct FoundTitles {
    QString artist, album;
    QMap<int, QString> tracks;  // by track number, 1 = Track1
    bool empty() const { return artist.isEmpty() && album.isEmpty() && tracks.isEmpty(); }
};

// Artist, Album and the TrackN of every audio track of the disc (its data tracks have no titles
// to find) all have values in serial's section.
bool SectionComplete(int32_t serial, const QList<int>& audioTracks);
// Writes the found values serial's section lacks, in one replacement of the catalogue. True
// when something was written.
bool WriteMissing(int32_t serial, int tracks, const FoundTitles& found);

// The CD-Text of the disc in the drive.
FoundTitles DiscTextTitles();

}  // namespace Disk_Volume
