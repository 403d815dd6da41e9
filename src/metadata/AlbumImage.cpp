#include "metadata/AlbumImage.h"
#include "metadata/Mp3Tag_ListFiles.h"
#include "metadata/Playlists.h"
#include "platform/FileNames.h"
#include "platform/mci/Sections.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>

namespace Mp3Tag_Functions {

namespace {

// A sheet line's words: the keyword, then its arguments, a quoted one whole.
QStringList words(const QString& line)
{
    static const QRegularExpression word(QStringLiteral("\"([^\"]*)\"|(\\S+)"));
    QStringList out;
    for (auto it = word.globalMatch(line); it.hasNext();) {
        const auto m = it.next();
        out << (m.hasCaptured(1) ? m.captured(1) : m.captured(2));
    }
    return out;
}

// "mm:ss:ff" in frames of 1/75 s; nullopt when it is not one.
std::optional<int64_t> sheetFrames(const QString& text)
{
    const QStringList parts = text.split(QLatin1Char(':'));
    if (parts.size() != 3) return std::nullopt;
    bool ok[3];
    const int64_t minutes = parts[0].toLongLong(&ok[0]), seconds = parts[1].toLongLong(&ok[1]),
                  frames = parts[2].toLongLong(&ok[2]);
    if (!ok[0] || !ok[1] || !ok[2] || minutes < 0 || seconds < 0 || seconds > 59 || frames < 0 || frames > 74)
        return std::nullopt;
    return (minutes * 60 + seconds) * 75 + frames;
}

bool soundFileType(const QString& type)
{
    for (const char* known : {"WAVE", "MP3", "AIFF", "FLAC"})
        if (type.compare(QLatin1String(known), Qt::CaseInsensitive) == 0) return true;
    return false;
}

// A rip converted after its sheet was written (album.wav to album.flac, say): the sound file of
// the same name with another extension stands in for the missing one, the lossless first.
QString convertedFile(const QString& path)
{
    static const char* const formats[] = {"flac", "wav", "wv", "ape", "aiff", "aif", "m4a", "opus", "ogg", "mp3"};
    const QFileInfo named(path);
    const QStringList names = platform::FolderFileNames(named.absolutePath());
    for (const char* format : formats) {
        const QString wanted = named.completeBaseName() + QLatin1Char('.') + QLatin1String(format);
        for (const QString& name : names)
            if (name.compare(wanted, Qt::CaseInsensitive) == 0) return named.absolutePath() + QLatin1Char('/') + name;
    }
    return path;
}

// The file a FILE line names: relative to the sheet's folder, backslashes of Windows rips too.
QString fileNamed(const QString& name, const QDir& folder)
{
    QString path = QDir::cleanPath(folder.absoluteFilePath(name));
    if (!platform::PathExists(path) && name.contains(QLatin1Char('\\')))
        path = QDir::cleanPath(folder.absoluteFilePath(QString(name).replace(QLatin1Char('\\'), QLatin1Char('/'))));
    return platform::PathExists(path) ? path : convertedFile(path);
}

}  // namespace

QList<ImageTrack> ReadAlbumImage(const QString& sheet)
{
    if (!sheet.endsWith(QLatin1String(".cue"), Qt::CaseInsensitive)) return {};
    const QDir folder = QFileInfo(sheet).absoluteDir();
    QList<ImageTrack> tracks;
    QString file;
    std::optional<ImageTrack> track;  // the TRACK being read, while it is an audio one in a sound file
    bool inTrack = false;
    QString album, albumPerformer;
    // The number names the track's list line ("sheet.cue#2"): one used already names no other.
    const auto numberTaken = [&](int number) {
        return std::any_of(tracks.cbegin(), tracks.cend(), [number](const ImageTrack& t) { return t.number == number; });
    };
    const auto close = [&] {
        if (track && track->start >= 0 && !numberTaken(track->number) && FileExists(track->file)) tracks << *track;
        track.reset();
    };
    for (const QString& line : ReadTextLines(sheet)) {
        const QStringList w = words(line);
        if (w.isEmpty()) continue;
        const QString key = w[0].toUpper();
        if (key == QLatin1String("FILE") && w.size() >= 3) {
            close();
            inTrack = false;
            if (!soundFileType(w.last())) return {};  // a disc image's data, not an album's sound
            file = fileNamed(w[1], folder);
        } else if (key == QLatin1String("TRACK") && w.size() >= 3) {
            close();
            inTrack = true;
            bool isNumber = false;
            const int number = w[1].toInt(&isNumber);
            if (!file.isEmpty() && isNumber && number >= 1 && number <= 99 &&
                w[2].compare(QLatin1String("AUDIO"), Qt::CaseInsensitive) == 0)
                track = ImageTrack{sheet, number, file, -1, -1, {}, {}, album, albumPerformer};
        } else if (key == QLatin1String("INDEX") && w.size() >= 3 && track && w[1].toInt() == 1) {
            if (const auto at = sheetFrames(w[2])) track->start = *at;
        } else if ((key == QLatin1String("TITLE") || key == QLatin1String("PERFORMER")) && w.size() >= 2) {
            // Before the first TRACK they name the album; in an audio track, the track.
            const bool title = key == QLatin1String("TITLE");
            if (!inTrack)
                (title ? album : albumPerformer) = w[1].trimmed();
            else if (track)
                (title ? track->title : track->performer) = w[1].trimmed();
        }
    }
    close();
    // A track ends where the next one of its file begins.
    for (qsizetype i = 0; i + 1 < tracks.size(); ++i)
        if (tracks[i + 1].file == tracks[i].file && tracks[i + 1].start > tracks[i].start) tracks[i].end = tracks[i + 1].start;
    return tracks;
}

bool IsAlbumSheet(const QString& path) { return !ReadAlbumImage(path).isEmpty(); }

QString ImageTrackLine(const ImageTrack& track) { return track.sheet + QLatin1Char('#') + QString::number(track.number); }

std::optional<ImageTrack> ImageTrackOfLine(const QString& line)
{
    // "<sheet>.cue#<digits>", taken apart by hand: a name that is not UTF-8 holds lone surrogates,
    // which a regular expression refuses to match.
    const qsizetype hash = line.lastIndexOf(QLatin1Char('#'));
    if (hash < 0) return std::nullopt;
    const QString sheet = line.left(hash), digits = line.mid(hash + 1);
    bool isNumber = !digits.isEmpty();
    for (const QChar c : digits) isNumber = isNumber && c >= QLatin1Char('0') && c <= QLatin1Char('9');
    if (!isNumber || sheet.size() <= 4 || !sheet.endsWith(QLatin1String(".cue"), Qt::CaseInsensitive)) return std::nullopt;
    if (platform::PathExists(line)) return std::nullopt;  // a file really named so is a file
    const int number = digits.toInt();
    for (const ImageTrack& track : ReadAlbumImage(sheet))
        if (track.number == number) return track;
    return std::nullopt;
}

QString ImageTrackName(const ImageTrack& track)
{
    if (!track.title.isEmpty()) return track.title;
    const QString line = ImageTrackLine(track);
    return line.mid(line.lastIndexOf(QLatin1Char('/')) + 1);
}

QStringList WithImageTracks(const QStringList& files)
{
    QSet<QString> cut;
    QList<QList<ImageTrack>> sheets;
    for (const QString& file : files) {
        sheets << ReadAlbumImage(file);
        for (const ImageTrack& track : sheets.last()) cut.insert(track.file);
    }
    QStringList out;
    for (qsizetype i = 0; i < files.size(); ++i) {
        if (sheets[i].isEmpty()) {
            if (!cut.contains(QDir::cleanPath(files[i]))) out << files[i];
            continue;
        }
        for (const ImageTrack& track : sheets[i]) out << ImageTrackLine(track);
    }
    return out;
}

void PlayImageTracks()
{
    platform::mci::SetSectionReader([](const std::string& path) -> std::optional<platform::mci::FileSection> {
        const auto track = ImageTrackOfLine(platform::DecodeFileName(QByteArray::fromStdString(path)));
        if (!track) return std::nullopt;
        return platform::mci::FileSection{platform::EncodeFileName(track->file).toStdString(), track->start, track->end};
    });
}

}  // namespace Mp3Tag_Functions
