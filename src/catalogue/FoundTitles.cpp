#include "catalogue/FoundTitles.h"
#include "catalogue/Disk_Volume.h"
#include "platform/Profile.h"
#include "platform/cdrom/Disc.h"

namespace Disk_Volume {

namespace {

bool present(int32_t serial, const QString& key)
{
    return !IsMissing(platform::GetPrivateProfileString(SectionOf(serial), key, MissingDefault, CatalogueFile()));
}

QString trackKey(int track) { return QStringLiteral("Track%1").arg(track); }

} // namespace

bool SectionComplete(int32_t serial, int tracks)
{
    if (!present(serial, QStringLiteral("Artist")) || !present(serial, QStringLiteral("Album"))) return false;
    for (int t = 1; t <= tracks; ++t)
        if (!present(serial, trackKey(t))) return false;
    return true;
}

bool WriteMissing(int32_t serial, int tracks, const FoundTitles& found)
{
    QList<std::pair<QString, QString>> values;
    const auto offer = [&](const QString& key, const QString& value) {
        if (!value.trimmed().isEmpty() && !IsMissing(value) && !present(serial, key)) values.append({key, value.trimmed()});
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

} // namespace Disk_Volume
