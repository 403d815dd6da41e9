#include "shell/MediaControls.h"
#include "metadata/Mp3Tag_ListFiles.h"
#include "common/Globals.h"
#include "common/Language.h"
#include "media/CDAudio.h"
#include "media/ModuleMCI.h"
#include "platform/AuxVolume.h"
#include "player/Form1.h"
#include "shell/Form5.h"

#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <cmath>

namespace shell {

namespace {

using common::MediaAlias;

// The placeholders an unknown disc or an untagged file shows are no artist or album to report.
QString reported(const QString& text, const char* greek, const char* english)
{
    return text == common::Lang(greek, english) ? QString() : text;
}

QString playbackOf(const std::string& mode)
{
    if (mode == "playing") return QStringLiteral("Playing");
    if (mode == "paused") return QStringLiteral("Paused");
    return QStringLiteral("Stopped");
}

} // namespace

MediaControls::MediaControls(player::Form1& main) : main_(main)
{
    service_ = platform::mpris::Service::Start(*this);
    // Changes go out with the main tick: no timer of our own.
    if (service_) QObject::connect(&main_, &player::Form1::Ticked, &main_, [this] { service_->Publish(); });
}

MediaControls::~MediaControls() = default;

bool MediaControls::mediaMode() const { return common::InMediaMode(); }

int MediaControls::cdTrack() { return common::globals().CdDevice->GetTmsfPosition().track; }

uint32_t MediaControls::volumeDevice() const { return mediaMode() ? platform::AuxMedia : platform::AuxCd; }

// track: the disc track playing (not asked again); unused in media mode.
int64_t MediaControls::lengthMs(int track)
{
    if (mediaMode()) return main_.List1->count() > 0 ? main_.MediaLengthMs : 0;
    auto& cd = *common::globals().CdDevice;
    if (track < 1) return 0;
    return cd.ReadMilliseconds(int16_t(track)).trackLength;
}

platform::mpris::Metadata MediaControls::metadata()
{
    platform::mpris::Metadata m;
    const bool media = mediaMode();
    const int track = media ? 0 : cdTrack();
    const int index = media ? main_.CurrentIndex : track - 1;
    const QListWidgetItem* item = main_.List1->item(index);
    if (!item) {
        m.trackId = QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack");
        return m;
    }
    m.trackId = QStringLiteral("/org/sonorell/%1/%2").arg(media ? QStringLiteral("entry") : QStringLiteral("disc")).arg(index + 1);
    m.title = Mp3Tag_Functions::EntryTitle(item->text()).trimmed();
    m.artist = reported(main_.Label200->text(), "Νέος Καλλιτέχνης", "New Artist");
    m.album = reported(main_.Label201->text(), "Νέο Album", "New Album");
    m.trackNumber = index + 1;
    m.lengthUs = lengthMs(track) * 1000;
    if (media) m.url = QUrl::fromLocalFile(main_.Combo1->itemText(index)).toString();
    return m;
}

platform::mpris::Status MediaControls::status()
{
    platform::mpris::Status s;
    auto& cd = *common::globals().CdDevice;
    const int entries = main_.List1->count();
    if (mediaMode()) {
        s.playback = entries > 0 ? playbackOf(ModuleMCI::GetMediaMode(MediaAlias)) : QStringLiteral("Stopped");
        s.canGoNext = main_.CurrentIndex + 1 < entries;
        s.canGoPrevious = main_.CurrentIndex > 0;
        s.canPlay = s.canPause = entries > 0;
    } else {
        const bool disc = cd.GetNumTracks() > 0;
        s.playback = disc ? playbackOf(cd.GetCDMode()) : QStringLiteral("Stopped");
        // On a disc both buttons always act: the first and last tracks restart.
        s.canGoNext = s.canGoPrevious = s.canPlay = s.canPause = disc;
    }
    s.metadata = metadata();
    s.canSeek = s.metadata.lengthUs > 0;
    s.volume = player::Form1::LitSegments(player::Form1::GetOutputVolume(volumeDevice())) / 10.0;
    return s;
}

qint64 MediaControls::positionUs() { return main_.PositionMs() * 1000; }

void MediaControls::menuCommand(const char* name)
{
    if (auto* menu = dynamic_cast<Form5*>(main_.menu()))
        if (QAction* action = menu->item(QString::fromLatin1(name))) action->trigger();
}

void MediaControls::raise()
{
    menuCommand("epanafora");
    main_.raise();
    main_.activateWindow();
}

// After the reply has gone out: the shutdown closes the bus connection's owner.
void MediaControls::quit()
{
    QTimer::singleShot(0, &main_, [this] { menuCommand("exitBRE"); });
}

void MediaControls::play() { main_.Image2_Click(); }
void MediaControls::pause() { main_.Image3_Click(); }
void MediaControls::stop() { main_.Image3_Click(); }
void MediaControls::next() { main_.Image4_Click(); }
void MediaControls::previous() { main_.Image6_Click(); }

void MediaControls::playPause() { main_.PlayPause(); }

void MediaControls::seekTo(int64_t ms)
{
    main_.SeekTo(ms);
    if (service_) service_->Seeked(positionUs());
}

void MediaControls::seek(qint64 offsetUs)
{
    const int64_t length = metadata().lengthUs / 1000;
    if (length <= 0) return;
    const int64_t target = positionUs() / 1000 + offsetUs / 1000;
    if (target > length) {
        next();  // past the end: as the next button
        return;
    }
    seekTo(std::max<int64_t>(0, target));
}

void MediaControls::setPosition(const QString& trackId, qint64 positionUs)
{
    const int64_t ms = positionUs / 1000;
    const platform::mpris::Metadata current = metadata();
    if (trackId != current.trackId || ms < 0 || ms > current.lengthUs / 1000) return;
    seekTo(ms);
}

void MediaControls::setVolume(double volume)
{
    if (!std::isfinite(volume)) return;
    const int tenths = int(std::lround(std::clamp(volume, 0.0, 1.0) * 10));
    player::Form1::SetOutputVolume(float(tenths) / 10.0f, volumeDevice());
    main_.ShowVolumeBar(volumeDevice());
    if (service_) service_->Publish();
}

} // namespace shell
