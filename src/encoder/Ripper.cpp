#include "encoder/Ripper.h"
#include "encoder/AccurateRip.h"
#include "encoder/Jobs.h"
#include "encoder/RipLog.h"
#include "platform/AccurateRip.h"
#include "platform/AtomicFile.h"
#include "platform/FileNames.h"
#include "platform/FileTags.h"
#include "platform/cdrom/Disc.h"
#include "platform/cdrom/DiscId.h"
#include "platform/cdrom/SecureReader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace encoder {

namespace {

namespace cdrom = platform::cdrom;

constexpr int64_t SamplesPerFrame = 588;
constexpr int64_t ChunkFrames = 75;

// The samples [from, from + count) of the disc, zero beyond its ends; false on a read error.
bool readSamples(cdrom::SecureReader& reader, const cdrom::Toc& toc, int64_t from, int64_t count, uint8_t* out)
{
    std::memset(out, 0, size_t(count) * 4);
    const int64_t first = std::max<int64_t>(from, int64_t(toc.discStart()) * SamplesPerFrame);
    const int64_t end = std::min<int64_t>(from + count, int64_t(toc.leadout) * SamplesPerFrame);
    if (first >= end) return true;
    const int32_t frame = int32_t(first / SamplesPerFrame);
    const uint32_t frames = uint32_t((end + SamplesPerFrame - 1) / SamplesPerFrame - frame);
    std::vector<uint8_t> sectors(size_t(frames) * cdrom::BytesPerFrame);
    if (!reader.read(frame, frames, sectors.data())) return false;
    std::memcpy(out + (first - from) * 4, sectors.data() + (first - int64_t(frame) * SamplesPerFrame) * 4,
                size_t(end - first) * 4);
    return true;
}

QString titleOf(const DiscTitles& titles, int track)
{
    const QString title = titles.tracks.value(track).trimmed();
    return title.isEmpty() ? QStringLiteral("Track %1").arg(track, 2, 10, QLatin1Char('0')) : title;
}

QString orUnknown(const QString& value, const char* unknown)
{
    return value.trimmed().isEmpty() ? QString::fromUtf8(unknown) : value.trimmed();
}

struct Track {
    int number;
    int64_t start, samples;  // on the disc, before the offset
    bool first, last;        // among the disc's audio tracks
};

QList<Track> tracksToRip(const cdrom::Toc& toc, const QList<int>& chosen)
{
    QList<int> audio;
    for (int t = toc.firstTrack; t <= toc.lastTrack(); ++t)
        if (toc.isAudio(t)) audio << t;
    QList<Track> out;
    for (int t : audio) {
        if (!chosen.isEmpty() && !chosen.contains(t)) continue;
        const int64_t start = int64_t(toc.trackStart(t)) * SamplesPerFrame;
        out << Track{t, start, int64_t(toc.audibleSpan(toc.trackStart(t), toc.trackEnd(t)).second) * SamplesPerFrame - start,
                     t == audio.front(), t == audio.back()};
    }
    return out;
}

// Reads, measures and encodes one track into part; the result says what became of it.
TrackResult ripTrack(cdrom::SecureReader& reader, const cdrom::Toc& toc, const RipOptions& options, const Track& track,
                     const QString& part, const RipProgress& progress)
{
    TrackResult result;
    result.track = track.number;
    reader.takeTrouble();
    platform::gst::PcmEncoder encoder(options.settings, platform::EncodeFileName(part).toStdString());
    AccurateRipSum sum(uint64_t(track.samples), track.first, track.last);
    std::vector<uint8_t> chunk(size_t(ChunkFrames * SamplesPerFrame) * 4);
    for (int64_t done = 0; done < track.samples;) {
        const int64_t count = std::min<int64_t>(ChunkFrames * SamplesPerFrame, track.samples - done);
        if (!readSamples(reader, toc, track.start + options.offset + done, count, chunk.data())) {
            result.error = QStringLiteral("a read error at %1 s into the track").arg(done / 44100);
            return result;
        }
        sum.add(chunk.data(), size_t(count));
        if (!encoder.push(chunk.data(), size_t(count) * 4)) break;
        done += count;
        if (progress && !progress(track.number, double(done) / double(track.samples))) {
            result.error = QStringLiteral("cancelled");
            return result;
        }
    }
    // A stretch given up on would be a file that is not the disc: none is written.
    result.trouble = reader.takeTrouble();
    if (result.trouble.skipped > 0) {
        result.error = QStringLiteral("%1 places could not be read, after %2 retries")
                           .arg(result.trouble.skipped)
                           .arg(result.trouble.retries);
        return result;
    }
    const platform::gst::EncodeResult encoded = encoder.finish();
    if (!encoded.ok) {
        result.error = QString::fromStdString(encoded.error);
        return result;
    }
    result.ok = true;
    result.peak = encoded.peak;
    result.gainDb = encoded.gainDb;
    result.loudness = encoded.loudness;
    result.v1 = sum.v1();
    result.v2 = sum.v2();
    return result;
}

QList<QPair<QString, QString>> tagsOf(const DiscTitles& titles, int track, int total, const std::string& discId,
                                      const TrackResult& result, const RipReport& report)
{
    QList<QPair<QString, QString>> tags{{QStringLiteral("TITLE"), titleOf(titles, track)},
                                        {QStringLiteral("ARTIST"), titles.artist.trimmed()},
                                        {QStringLiteral("ALBUMARTIST"), titles.artist.trimmed()},
                                        {QStringLiteral("ALBUM"), titles.album.trimmed()},
                                        {QStringLiteral("TRACKNUMBER"), QStringLiteral("%1/%2").arg(track).arg(total)},
                                        {QStringLiteral("MUSICBRAINZ_DISCID"), QString::fromStdString(discId)}};
    tags << ReplayGainTags("TRACK", result.gainDb, result.peak);
    if (report.albumGain) tags << ReplayGainTags("ALBUM", report.albumGainDb, report.albumPeak);
    return tags;
}

// What the AccurateRip database says of each track written, asked once for the disc.
void verify(const cdrom::Toc& toc, RipReport& report)
{
    if (std::none_of(report.tracks.begin(), report.tracks.end(), [](const TrackResult& r) { return r.ok; })) return;
    namespace ar = platform::accuraterip;
    const ar::Lookup lookup = ar::Fetch(ar::DiscIdsOf(toc));
    report.lookupFailure = lookup.failure;
    for (TrackResult& track : report.tracks)
        if (track.ok) track.verdict = ar::Verdict(lookup, track.track - toc.firstTrack, track.v1, track.v2);
}

// How many tracks are read at once: a drive reads one place at a time, so its tracks go in turn
// (each still encodes while the next is read); an image's go on every core.
int jobsFor(const RipOptions& options, qsizetype tracks)
{
    if (options.jobs > 0) return options.jobs;
    return platform::IsRegularFile(QString::fromStdString(options.source)) ? JobsForFiles(tracks) : 1;
}

// Each track read and encoded to its part file; in the order given.
QList<TrackResult> ripParts(const RipOptions& options, const cdrom::Toc& toc, const QList<Track>& tracks,
                            const QStringList& parts, const RipProgress& progress)
{
    QList<TrackResult> results(tracks.size());
    SharedProgress tell(progress);
    RunJobs(tracks.size(), jobsFor(options, tracks.size()), [&] {
        return [&, reader = std::make_shared<cdrom::SecureReader>(options.source)](qsizetype i) {
            TrackResult& result = results[i];
            if (tell.cancelled())
                result.error = QStringLiteral("cancelled");
            else if (!reader->ok())
                result.error = QStringLiteral("%1 cannot be read").arg(QString::fromStdString(options.source));
            else
                result = ripTrack(*reader, toc, options, tracks[i], parts[i], std::ref(tell));
            result.track = tracks[i].number;
        };
    });
    return results;
}

int audioTrackCount(const cdrom::Toc& toc)
{
    int audio = 0;
    for (int t = toc.firstTrack; t <= toc.lastTrack(); ++t) audio += toc.isAudio(t) ? 1 : 0;
    return audio;
}

// The album's gain, when every audio track of the disc was ripped.
void measureAlbum(const cdrom::Toc& toc, RipReport& report)
{
    std::vector<const platform::LoudnessMeter*> meters;
    for (const TrackResult& track : report.tracks)
        if (track.ok) meters.push_back(track.loudness.get());
    report.albumGain = int(meters.size()) == audioTrackCount(toc);
    if (!report.albumGain) return;
    report.albumGainDb = platform::LoudnessMeter::AlbumGainDb(meters);
    report.albumPeak = platform::LoudnessMeter::AlbumPeak(meters);
}

}  // namespace

QList<QPair<QString, QString>> ReplayGainTags(const char* scope, double gainDb, double peak)
{
    const QString name = QStringLiteral("REPLAYGAIN_") + QLatin1String(scope);
    return {{name + QStringLiteral("_GAIN"), QStringLiteral("%1 dB").arg(gainDb, 0, 'f', 2)},
            {name + QStringLiteral("_PEAK"), QString::number(peak, 'f', 6)}};
}

TrackResult FailedTrack(int track, const QString& error)
{
    TrackResult result;
    result.track = track;
    result.error = error;
    return result;
}

QString SafeFileName(const QString& name)
{
    QString out;
    for (const QChar c : name) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f) continue;
        out += QStringLiteral("/\\:*?\"<>|").contains(c) ? QLatin1Char('_') : c;
    }
    while (out.endsWith(QLatin1Char('.')) || out.endsWith(QLatin1Char(' '))) out.chop(1);
    out = out.trimmed();
    return out.isEmpty() || out == QLatin1String("..") ? QStringLiteral("_") : out;
}

RipReport RipDisc(const RipOptions& options, const DiscTitles& titles, const RipProgress& progress)
{
    RipReport report;
    const cdrom::Toc toc = cdrom::TocOf(options.source);
    const QList<Track> tracks = tracksToRip(toc, options.tracks);
    if (tracks.isEmpty()) {
        report.error = QStringLiteral("no audio track to rip on %1").arg(QString::fromStdString(options.source));
        return report;
    }
    if (!cdrom::SecureReader(options.source).ok()) {
        report.error = QStringLiteral("%1 cannot be read").arg(QString::fromStdString(options.source));
        return report;
    }
    const QString artist = orUnknown(titles.artist, "Unknown Artist"), album = orUnknown(titles.album, "Unknown Album");
    report.albumFolder = QDir(options.folder).filePath(SafeFileName(artist) + QLatin1Char('/') + SafeFileName(album));
    if (!QDir().mkpath(report.albumFolder)) {
        report.error = QStringLiteral("the folder %1 cannot be made").arg(report.albumFolder);
        return report;
    }
    const std::string discId = cdrom::MusicBrainzDiscOf(toc).id;
    const QString extension = QString::fromLatin1(platform::gst::ExtensionOf(options.settings.format));
    const int total = audioTrackCount(toc);
    QStringList files, parts;
    for (const Track& track : tracks) {
        const QString name =
            QStringLiteral("%1 %2").arg(track.number, 2, 10, QLatin1Char('0')).arg(SafeFileName(titleOf(titles, track.number))) +
            extension;
        files << QDir(report.albumFolder).filePath(name);
        parts << QDir(report.albumFolder).filePath(QLatin1Char('.') + name + QStringLiteral(".part"));
    }
    report.tracks = ripParts(options, toc, tracks, parts, progress);
    measureAlbum(toc, report);
    for (qsizetype i = 0; i < report.tracks.size(); ++i) {
        TrackResult& result = report.tracks[i];
        if (result.ok && !platform::WriteFileTags(parts[i], tagsOf(titles, result.track, total, discId, result, report)))
            result = FailedTrack(result.track, QStringLiteral("the tags could not be written"));
        // rename() puts the whole file in the place of one ripped before, never a part of it.
        if (result.ok &&
            std::rename(platform::EncodeFileName(parts[i]).constData(), platform::EncodeFileName(files[i]).constData()) != 0)
            result = FailedTrack(result.track, QStringLiteral("the file could not be named"));
        if (result.ok)
            result.file = files[i];
        else
            QFile::remove(parts[i]);
    }
    verify(toc, report);
    report.ok = std::all_of(report.tracks.begin(), report.tracks.end(), [](const TrackResult& r) { return r.ok; });
    WriteRipFiles(options, toc, titles, report);
    return report;
}

}  // namespace encoder
