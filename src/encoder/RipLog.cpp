#include "encoder/RipLog.h"
#include "platform/AtomicFile.h"
#include "platform/cdrom/Disc.h"

#include <QDir>
#include <QFileInfo>

namespace encoder {

namespace {

QString hex8(uint32_t value) { return QStringLiteral("%1").arg(value, 8, 16, QLatin1Char('0')).toUpper(); }

QString msf(int64_t frames)
{
    return QStringLiteral("%1:%2:%3")
        .arg(frames / (75 * 60), 2, 10, QLatin1Char('0'))
        .arg(frames / 75 % 60, 2, 10, QLatin1Char('0'))
        .arg(frames % 75, 2, 10, QLatin1Char('0'));
}

const char* formatName(platform::gst::EncodeFormat format)
{
    switch (format) {
    case platform::gst::EncodeFormat::Opus: return "Opus";
    case platform::gst::EncodeFormat::Mp3: return "MP3";
    default: return "FLAC";
    }
}

// A cue sheet's quoted text holds no quote.
QString quoted(const QString& text)
{
    return QLatin1Char('"') + QString(text).replace(QLatin1Char('"'), QLatin1Char('\'')) + QLatin1Char('"');
}

QString fileName(const QString& path) { return QFileInfo(path).fileName(); }

}  // namespace

QString RipLogText(const RipOptions& options, const platform::cdrom::Toc& toc, const RipReport& report)
{
    QString log = QStringLiteral("Sonorell Player rip log\n\n");
    log += QStringLiteral("Source: %1\n").arg(QString::fromStdString(options.source));
    log += QStringLiteral("Read offset: %1 samples\n").arg(options.offset);
    log += QStringLiteral("Format: %1\n").arg(QLatin1String(formatName(options.settings.format)));
    if (!report.lookupFailure.isEmpty()) log += QStringLiteral("AccurateRip database: %1\n").arg(report.lookupFailure);
    log += QLatin1Char('\n');
    log += QStringLiteral("Table of contents\n  Track  Start     Length    Start sector  End sector\n");
    for (int t = toc.firstTrack; t <= toc.lastTrack(); ++t) {
        const int32_t start = toc.trackStart(t), end = toc.trackEnd(t);
        log += QStringLiteral("  %1     %2  %3  %4  %5%6\n")
                   .arg(t, 2)
                   .arg(msf(start - toc.discStart()))
                   .arg(msf(end - start))
                   .arg(start, 12)
                   .arg(end - 1, 10)
                   .arg(toc.isAudio(t) ? QString() : QStringLiteral("  (data)"));
    }
    for (const TrackResult& track : report.tracks) {
        log += QStringLiteral("\nTrack %1\n").arg(track.track, 2, 10, QLatin1Char('0'));
        if (!track.ok) {
            log += QStringLiteral("  Not ripped: %1\n").arg(track.error);
            continue;
        }
        log += QStringLiteral("  File: %1\n").arg(fileName(track.file));
        log += QStringLiteral("  Peak: %1 %\n").arg(track.peak * 100, 0, 'f', 1);
        log += QStringLiteral("  Read: %1 retries, %2 corrections, %3 stretches not read\n")
                   .arg(track.trouble.retries)
                   .arg(track.trouble.corrected)
                   .arg(track.trouble.skipped);
        log += QStringLiteral("  AccurateRip v1: %1\n  AccurateRip v2: %2\n").arg(hex8(track.v1), hex8(track.v2));
        log += QStringLiteral("  Verdict: %1\n").arg(track.verdict);
    }
    int ripped = 0;
    for (const TrackResult& track : report.tracks) ripped += track.ok ? 1 : 0;
    log += QStringLiteral("\n%1 of %2 tracks ripped.\n").arg(ripped).arg(report.tracks.size());
    return log;
}

QString RipCueSheet(const DiscTitles& titles, const RipReport& report)
{
    QString sheet;
    if (!titles.artist.trimmed().isEmpty())
        sheet += QStringLiteral("PERFORMER ") + quoted(titles.artist.trimmed()) + QLatin1Char('\n');
    if (!titles.album.trimmed().isEmpty()) sheet += QStringLiteral("TITLE ") + quoted(titles.album.trimmed()) + QLatin1Char('\n');
    for (const TrackResult& track : report.tracks) {
        if (!track.ok) continue;
        const QString type = track.file.endsWith(QLatin1String(".mp3")) ? QStringLiteral("MP3") : QStringLiteral("WAVE");
        sheet += QStringLiteral("FILE %1 %2\n  TRACK %3 AUDIO\n")
                     .arg(quoted(fileName(track.file)), type)
                     .arg(track.track, 2, 10, QLatin1Char('0'));
        if (const QString title = titles.tracks.value(track.track).trimmed(); !title.isEmpty())
            sheet += QStringLiteral("    TITLE ") + quoted(title) + QLatin1Char('\n');
        sheet += QStringLiteral("    INDEX 01 00:00:00\n");
    }
    return sheet;
}

QString RipPlaylist(const RipReport& report)
{
    QString list = QStringLiteral("#EXTM3U\n");
    for (const TrackResult& track : report.tracks)
        if (track.ok) list += fileName(track.file) + QLatin1Char('\n');
    return list;
}

bool WriteRipFiles(const RipOptions& options, const platform::cdrom::Toc& toc, const DiscTitles& titles, const RipReport& report)
{
    const QString base = QDir(report.albumFolder).filePath(QDir(report.albumFolder).dirName());
    const bool log = platform::WriteFileAtomically(base + QStringLiteral(".log"), RipLogText(options, toc, report).toUtf8());
    const bool cue = platform::WriteFileAtomically(base + QStringLiteral(".cue"), RipCueSheet(titles, report).toUtf8());
    const bool list = platform::WriteFileAtomically(base + QStringLiteral(".m3u8"), RipPlaylist(report).toUtf8());
    return log && cue && list;
}

}  // namespace encoder
