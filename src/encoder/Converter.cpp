#include "encoder/Converter.h"
#include "encoder/Jobs.h"
#include "platform/CoverArt.h"
#include "platform/FileNames.h"
#include "platform/FileTags.h"
#include "platform/ShortPath.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>

#include <cstdio>

namespace encoder {

namespace {

// The new files' names without extension: each its own, "song (2)" after a second "song", so
// files converted at once never write to one place.
QStringList namesOf(const QList<ConvertSource>& sources)
{
    QStringList names;
    QMap<QString, int> seen;
    for (const ConvertSource& source : sources) {
        const QString name = source.name.isEmpty() ? QFileInfo(source.path).completeBaseName() : SafeFileName(source.name);
        const int times = ++seen[name];
        names << (times == 1 ? name : QStringLiteral("%1 (%2)").arg(name).arg(times));
    }
    return names;
}

TrackResult convertOne(int index, const ConvertSource& from, const QString& file, const platform::gst::EncodeSettings& settings,
                       const RipProgress& progress)
{
    TrackResult result;
    result.track = index + 1;
    const QString& source = from.path;
    const QString& tagFile = from.tagFile.isEmpty() ? source : from.tagFile;
    const QFileInfo target(file);
    const QString part = target.dir().filePath(QLatin1Char('.') + target.fileName() + QStringLiteral(".part"));
    if (WouldReplaceItself(source, file)) {
        result.error = QStringLiteral("the file would replace itself");
        return result;
    }
    // The file's URI keeps every byte of its name, as the list holds it; a track of an album
    // image is its part of the sound file.
    const std::string uri = platform::MediaUriOf(platform::EncodeFileName(source).toStdString());
    if (uri.empty()) {
        result.error = QStringLiteral("the file is not there");
        return result;
    }
    const platform::gst::EncodeResult encoded =
        platform::gst::EncodeMediaFile(uri, settings, platform::EncodeFileName(part).toStdString(),
                                       [&](double done) { return !progress || progress(index, done); });
    if (!encoded.ok) {
        QFile::remove(part);
        result.error = QString::fromStdString(encoded.error);
        return result;
    }
    // Later names replace earlier ones: the source's own tags, what the caller knows, the gain.
    QList<QPair<QString, QString>> tags = platform::ReadAllFileTags(tagFile) + from.tags;
    tags << ReplayGainTags("TRACK", encoded.gainDb, encoded.peak);
    const platform::EmbeddedPicture picture = platform::ReadEmbeddedPicture(tagFile);
    if (!platform::WriteFileTags(part, tags) || (!picture.bytes.isEmpty() && !platform::WriteEmbeddedPicture(part, picture)) ||
        std::rename(platform::EncodeFileName(part).constData(), platform::EncodeFileName(file).constData()) != 0) {
        QFile::remove(part);
        result.error = QStringLiteral("the file could not be written whole");
        return result;
    }
    result.ok = true;
    result.file = file;
    result.peak = encoded.peak;
    result.gainDb = encoded.gainDb;
    return result;
}

}  // namespace

bool WouldReplaceItself(const QString& source, const QString& file)
{
    return QFileInfo(source).absoluteFilePath() == QFileInfo(file).absoluteFilePath();
}

QStringList ConvertedFiles(const QList<ConvertSource>& sources, const QString& folder,
                           const platform::gst::EncodeSettings& settings)
{
    QStringList files;
    const QString extension = QString::fromLatin1(platform::gst::ExtensionOf(settings.format));
    for (const QString& name : namesOf(sources)) files << QDir(folder).filePath(name + extension);
    return files;
}

QList<TrackResult> ConvertFiles(const QStringList& files, const QString& folder, const platform::gst::EncodeSettings& settings,
                                const RipProgress& progress)
{
    QList<ConvertSource> sources;
    for (const QString& file : files) sources << ConvertSource{file, {}, {}, {}};
    return ConvertFiles(sources, folder, settings, progress);
}

QList<TrackResult> ConvertFiles(const QList<ConvertSource>& files, const QString& folder,
                                const platform::gst::EncodeSettings& settings, const RipProgress& progress)
{
    QList<TrackResult> results;
    if (!QDir().mkpath(folder)) {
        for (int i = 0; i < files.size(); ++i)
            results << FailedTrack(i + 1, QStringLiteral("the folder %1 cannot be made").arg(folder));
        return results;
    }
    results.resize(files.size());
    const QStringList targets = ConvertedFiles(files, folder, settings);
    SharedProgress tell(progress);
    RunJobs(files.size(), JobsForFiles(files.size()), [&] {
        return [&](qsizetype i) {
            results[i] = tell.cancelled() ? FailedTrack(int(i) + 1, QStringLiteral("cancelled"))
                                          : convertOne(int(i), files[i], targets[i], settings, std::ref(tell));
        };
    });
    return results;
}

}  // namespace encoder
