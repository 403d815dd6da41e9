#include "catalogue/OnlineTitles.h"
#include "catalogue/Disk_Volume.h"
#include "platform/MusicBrainz.h"
#include "platform/Settings.h"
#include "platform/cdrom/DiscId.h"

#include <cstdio>

namespace Disk_Volume {

namespace {

void say(const QString& line) { std::fprintf(stderr, "sonorell: %s\n", qPrintable(line)); }

}  // namespace

bool OnlineTitlesWanted()
{
    return platform::GetSetting(QStringLiteral("Sonorell"), QStringLiteral("ONLINE_TITLES"), QStringLiteral("True"))
               .compare(QStringLiteral("False"), Qt::CaseInsensitive) != 0;
}

void SetOnlineTitlesWanted(bool on)
{
    platform::SaveSetting(QStringLiteral("Sonorell"), QStringLiteral("ONLINE_TITLES"),
                          on ? QStringLiteral("True") : QStringLiteral("False"));
}

OnlineTitles::OnlineTitles(QObject* parent) : QObject(parent), client_(new platform::musicbrainz::Client(this)) { }

bool OnlineTitles::Waiting() const { return client_->Waiting(); }

void OnlineTitles::Lookup(int32_t serial)
{
    if (serial == 0 || asked_.contains(serial)) return;
    const platform::cdrom::Drive drive(platform::cdrom::defaultSource());
    const platform::cdrom::MusicBrainzDisc disc = platform::cdrom::MusicBrainzDiscOf(drive.toc());
    if (disc.id.empty()) return;
    asked_.insert(serial);
    const int tracks = disc.tracks;
    client_->AskDisc(
        QString::fromStdString(disc.id), QString::fromStdString(disc.toc), tracks,
        [this, serial, tracks](std::optional<platform::musicbrainz::Release> release, const QString& failure) {
            if (!release) return say(QStringLiteral("disc lookup failed: ") + failure);
            // Switched off meanwhile: what comes is not filed.
            if (!OnlineTitlesWanted()) return say(QStringLiteral("disc lookup answered after it was switched off; nothing kept"));
            if (SerialOfDiscInDrive() != serial)
                return say(QStringLiteral("disc lookup answered after the disc was changed; nothing kept"));
            if (WriteMissing(serial, tracks, {release->artist, release->album, release->tracks})) emit TitlesWritten(serial);
        },
        [] { return OnlineTitlesWanted(); });
}

}  // namespace Disk_Volume
