#pragma once
// Ripping a disc (a drive or an image) to files: each audio track read at the read offset, written
// as FLAC, Opus or MP3 under <folder>/<Artist>/<Album>/<NN> <Title>.<ext>, tagged, its AccurateRip
// checksums taken; a log, a cue sheet and an .m3u8 of the rip beside the files. Tracks of an
// image are ripped several at once, a drive's in turn. A track's file is written under a
// temporary name and renamed only when whole and tagged (with the album's gain once every track
// is measured): a failure or a cancel leaves no part of it, and the tracks done before stay.

#include "platform/cdrom/SecureReader.h"
#include "platform/gst/Encoder.h"

#include <QList>
#include <QMap>
#include <QPair>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace encoder {

struct DiscTitles {
    QString artist, album;
    QMap<int, QString> tracks;  // by track number; a missing one is "Track NN"
};

struct RipOptions {
    std::string source;  // a drive or a disc image
    QString folder;      // where the artist's folder goes
    platform::gst::EncodeSettings settings;
    int offset = 0;     // the drive's read offset, in samples
    QList<int> tracks;  // the tracks to rip; empty: every audio track
    int jobs = 0;       // tracks read at once; 0: one for a drive, a core each for an image
};

struct TrackResult {
    int track = 0;
    QString file;  // the file written, when ok
    bool ok = false;
    QString error;
    double peak = 0, gainDb = 0;
    uint32_t v1 = 0, v2 = 0;                                  // AccurateRip checksums
    QString verdict;                                          // what the AccurateRip database says
    platform::cdrom::ReadTrouble trouble;                     // what reading the disc needed
    std::shared_ptr<const platform::LoudnessMeter> loudness;  // for the album's gain
};

struct RipReport {
    bool ok = false;  // every track chosen was written
    QString error;    // the disc could not be read at all
    QString albumFolder;
    QString lookupFailure;  // why the AccurateRip database could not be asked, if it could not
    QList<TrackResult> tracks;
    bool albumGain = false;  // every audio track was ripped, so the album's gain is known
    double albumGainDb = 0, albumPeak = 0;
};

// The REPLAYGAIN_<scope>_GAIN and _PEAK tags (scope "TRACK" or "ALBUM") as players read them.
QList<QPair<QString, QString>> ReplayGainTags(const char* scope, double gainDb, double peak);

// A track that was not written, and why.
TrackResult FailedTrack(int track, const QString& error);

// Told a track and the share of it done, 0..1; answering false cancels the rip.
using RipProgress = std::function<bool(int track, double done)>;

RipReport RipDisc(const RipOptions& options, const DiscTitles& titles, const RipProgress& progress = {});

// A name the file system takes on every desktop: "/" and the characters Windows forbids become
// "_", control characters go, and no name is empty or ends in a dot or a blank.
QString SafeFileName(const QString& name);

}  // namespace encoder
