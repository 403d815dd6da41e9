#pragma once
// An album image: the audio of a whole disc in one file (or a few) and the cue sheet that cuts it
// into tracks, as rippers write them.

#include <QList>
#include <QStringList>
#include <QString>

#include <cstdint>
#include <optional>

namespace Mp3Tag_Functions {

struct ImageTrack {
    QString sheet;                  // the cue sheet
    int number = 0;                 // as the sheet numbers it
    QString file;                   // the audio file it lies in
    int64_t start = 0;              // its INDEX 01, in frames of 1/75 s
    int64_t end = -1;               // the next track's start in the same file; -1: the file's end
    QString title, performer;       // empty where the sheet gives none
    QString album, albumPerformer;  // the sheet's own TITLE and PERFORMER
};

// The audio tracks of a cue sheet whose FILEs are sound files, in its order; a track whose file
// is missing is left out. Empty for a disc image's sheet (BINARY data) or anything else.
QList<ImageTrack> ReadAlbumImage(const QString& sheet);

// True for a cue sheet that holds such tracks.
bool IsAlbumSheet(const QString& path);

// How a list line names one of them: "<sheet>#<number>".
QString ImageTrackLine(const ImageTrack& track);
// The track a list line names; nullopt for a line that names anything else.
std::optional<ImageTrack> ImageTrackOfLine(const QString& line);
// Its name in the list: the sheet's TITLE, else the line's file name part.
QString ImageTrackName(const ImageTrack& track);

// A folder's files as the list takes them: an album sheet stands for its tracks, in its place,
// and the sound files it cuts are left out.
QStringList WithImageTracks(const QStringList& files);

// From now on the media device opens and cues a track's list line as that part of its file.
void PlayImageTracks();

}  // namespace Mp3Tag_Functions
