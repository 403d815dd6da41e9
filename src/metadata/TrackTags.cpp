#include "metadata/TrackTags.h"
#include "metadata/AlbumImage.h"
#include "metadata/Mp3Tag_Functions.h"
#include "metadata/Mp3Tag_ListFiles.h"
#include "platform/FileTags.h"

namespace Mp3Tag_Functions {

namespace {

bool isMpegAudio(const QString& path)
{
    return path.endsWith(QStringLiteral(".mp3"), Qt::CaseInsensitive) ||
           path.endsWith(QStringLiteral(".mp2"), Qt::CaseInsensitive);
}

QString channelsText(int channels)
{
    if (channels == 1) return QStringLiteral("mono");
    if (channels == 2) return QStringLiteral("stereo");
    return QString::number(channels) + QStringLiteral("ch");
}

}  // namespace

TrackTags ReadTrackTags(const QString& path)
{
    if (const auto track = ImageTrackOfLine(path))
        return {false, track->title, track->performer.isEmpty() ? track->albumPerformer : track->performer, track->album};
    const TagRecord tag = ReadTag(path);
    if (HasTag(tag))
        return {true, TrimTrailingBlanks(FieldText(tag.Title)), TrimTrailingBlanks(FieldText(tag.Artist)),
                TrimTrailingBlanks(FieldText(tag.Album))};
    const platform::FileTags other = platform::ReadFileTags(path);
    return {false, other.title, other.artist, other.album};
}

QString FactsLine(const QString& path)
{
    if (const auto track = ImageTrackOfLine(path)) return FactsLine(track->file);
    if (!isMpegAudio(path)) {
        const platform::SoundFacts sound = platform::ReadSoundFacts(path);
        if (sound.known)
            return HeaderSummaryLine({true, QString::number(sound.kbitPerSecond), QString::number(sound.sampleRateHz / 1000),
                                      channelsText(sound.channels)});
    }
    const HeaderSummary facts = ReadHeaderSummary(path);
    return facts.decoded ? HeaderSummaryLine(facts) : QString();
}

}  // namespace Mp3Tag_Functions
