#include "catalogue/FoundTitles.h"
#include "catalogue/Disk_Volume.h"
#include "platform/Profile.h"
#include "platform/cdrom/Disc.h"

namespace Disk_Volume {

namespace {

QString trackKey(int track) { return QStringLiteral("Track%1").arg(track); }

// The section as filed: a key counts when it holds a value that is not the missing mark.
struct Section {
    explicit Section(int32_t serial) : values(platform::ReadProfileSection(SectionOf(serial), CatalogueFile())) { }
    bool has(const QString& key) const
    {
        const auto value = values.constFind(key.toLower());
        return value != values.constEnd() && !IsMissing(value->left(platform::ProfileValueLimit));
    }
    QMap<QString, QString> values;
};

}  // namespace

bool SectionComplete(int32_t serial, const QList<int>& audioTracks)
{
    const Section section(serial);
    if (!section.has(QStringLiteral("Artist")) || !section.has(QStringLiteral("Album"))) return false;
    for (int t : audioTracks)
        if (!section.has(trackKey(t))) return false;
    return true;
}

bool WriteMissing(int32_t serial, int tracks, const FoundTitles& found)
{
    const Section section(serial);
    QList<std::pair<QString, QString>> values;
    const auto offer = [&](const QString& key, const QString& value) {
        if (!value.trimmed().isEmpty() && !IsMissing(value) && !section.has(key)) values.append({key, value.trimmed()});
    };
    offer(QStringLiteral("Artist"), found.artist);
    offer(QStringLiteral("Album"), found.album);
    for (int t = 1; t <= tracks; ++t) offer(trackKey(t), found.tracks.value(t));
    return !values.isEmpty() && platform::WritePrivateProfileStrings(SectionOf(serial), values, CatalogueFile());
}

FoundTitles DiscTextTitles()
{
    const platform::cdrom::DiscText text = platform::cdrom::ReadDiscText(platform::cdrom::defaultSource());
    FoundTitles found{QString::fromStdString(text.albumPerformer), QString::fromStdString(text.albumTitle), {}};
    for (const auto& [track, title] : text.trackTitles) found.tracks.insert(track, QString::fromStdString(title));
    return found;
}

}  // namespace Disk_Volume
