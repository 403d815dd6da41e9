#include "encoder/Titles.h"
#include "catalogue/Disk_Volume.h"
#include "platform/Profile.h"
#include "platform/cdrom/Disc.h"

namespace encoder {

namespace {

// A value the catalogue holds for the disc; "" when it has none.
QString catalogued(int32_t serial, const QString& key)
{
    const QString value = platform::GetPrivateProfileString(Disk_Volume::SectionOf(serial), key, Disk_Volume::MissingDefault,
                                                            Disk_Volume::CatalogueFile());
    return Disk_Volume::IsMissing(value) ? QString() : value.trimmed();
}

// Each title from the catalogue where it has one, else from the CD-Text.
QString either(const QString& first, const std::string& second)
{
    return first.isEmpty() ? QString::fromStdString(second) : first;
}

}  // namespace

DiscTitles TitlesOfDisc(const std::string& source)
{
    const int32_t serial = int32_t(platform::cdrom::DiscSerialOf(source));
    const platform::cdrom::DiscText text = platform::cdrom::ReadDiscText(source);
    const platform::cdrom::Toc toc = platform::cdrom::TocOf(source);
    DiscTitles titles;
    titles.artist = either(catalogued(serial, QStringLiteral("Artist")), text.albumPerformer);
    titles.album = either(catalogued(serial, QStringLiteral("Album")), text.albumTitle);
    for (int t = toc.firstTrack; t <= toc.lastTrack(); ++t) {
        const auto fromText = text.trackTitles.find(t);
        const QString title = either(catalogued(serial, QStringLiteral("Track%1").arg(t)),
                                     fromText == text.trackTitles.end() ? std::string() : fromText->second);
        if (!title.isEmpty()) titles.tracks[t] = title;
    }
    return titles;
}

}  // namespace encoder
