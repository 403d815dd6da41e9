#include "shell/MediaControls.h"
#include "metadata/AlbumImage.h"
#include "platform/CoverArt.h"
#include "platform/FileNames.h"
#include "platform/cdrom/Disc.h"
#include "player/Form1.h"
#include "shell/Form5.h"
#include "shell/Windows.h"

#include <QFileInfo>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace shell {

namespace {

using player::NowShowing;

// The file an entry plays: the entry's own, or the sound file an album image's track lies in.
QString soundFileOf(const QString& path)
{
    const auto track = Mp3Tag_Functions::ImageTrackOfLine(path);
    return track ? track->file : path;
}

QString playbackOf(NowShowing::State state)
{
    switch (state) {
    case NowShowing::State::Playing: return QStringLiteral("Playing");
    case NowShowing::State::Paused: return QStringLiteral("Paused");
    default: return QStringLiteral("Stopped");
    }
}

}  // namespace

MediaControls::MediaControls(player::Form1& main) : main_(main)
{
    service_ = platform::mpris::Service::Start(*this);
    if (service_) {
        // Changes go out with the main tick: no timer of our own.
        QObject::connect(&main_, &player::Form1::Ticked, &main_, [this] { service_->Publish(); });
        // A seek or a replay, from the window, the keys or the bus: clients running the position on are told.
        QObject::connect(&main_, &player::Form1::PositionJumped, &main_, [this] { service_->Seeked(positionUs()); });
    }
    main_.PublishNowShowing();
}

MediaControls::~MediaControls() = default;

// The picture of the file (or of the disc image, beside its sheet), found once for each.
QString MediaControls::artOf(const QString& path) const
{
    if (path.isEmpty() && !discSource_) discSource_ = QString::fromStdString(platform::cdrom::defaultSource());  // asked once
    const QString key = path.isEmpty() ? *discSource_ : path;
    return art_.of(key, [&] {
        if (!path.isEmpty()) return platform::CoverArtFile(path);
        return QFileInfo(key).isFile() ? platform::FolderCoverArt(QFileInfo(key).absolutePath()) : QString();
    });
}

// The sound file an entry plays (an album image's track, a part of one), found once for each.
QString MediaControls::fileOf(const QString& entry) const
{
    return file_.of(entry, [&] { return soundFileOf(entry); });
}

platform::mpris::Metadata MediaControls::metadata() const
{
    const NowShowing& now = main_.Showing();
    platform::mpris::Metadata m;
    if (now.index < 0) {
        m.trackId = QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack");
        return m;
    }
    const QString kind = !now.mediaMode ? QStringLiteral("disc")
                         : now.leftList ? QStringLiteral("removed")
                                        : QStringLiteral("entry");
    m.trackId = QStringLiteral("/org/sonorell/%1/%2").arg(kind).arg(now.index + 1);
    m.title = now.title;
    m.artist = now.artist;
    m.album = now.album;
    if (!now.leftList) m.trackNumber = now.index + 1;
    m.lengthUs = now.lengthMs * 1000;
    const QString file = now.mediaMode ? fileOf(now.path) : QString();
    if (now.mediaMode) m.url = platform::FileUrlOf(file);
    if (const QString art = artOf(file); !art.isEmpty()) m.artUrl = platform::FileUrlOf(art);
    return m;
}

platform::mpris::Status MediaControls::status()
{
    const NowShowing& now = main_.Showing();
    platform::mpris::Status s;
    s.playback = playbackOf(now.state);
    if (now.mediaMode) {
        // Once the file playing has left the list, Next goes to the entry that took its place.
        s.canGoNext = (now.leftList ? now.index : now.index + 1) < now.entries;
        s.canGoPrevious = now.index > 0;
    } else {
        // On a disc both buttons always act: the first and last tracks restart.
        s.canGoNext = s.canGoPrevious = now.entries > 0;
    }
    s.canPlay = s.canPause = now.entries > 0;
    s.metadata = metadata();
    s.canSeek = s.metadata.lengthUs > 0;
    s.volume = now.volumeTenths / 10.0;
    return s;
}

qint64 MediaControls::positionUs() { return main_.Showing().positionNowMs() * 1000; }

// A command runs as the window's own button would; what it changed is published at once.
void MediaControls::command(const std::function<void()>& run)
{
    run();
    main_.PublishNowShowing();
    if (service_) service_->Publish();
}

void MediaControls::raise() { BringForward(main_); }

// After the reply has gone out, as a later start's paths are taken.
void MediaControls::open(const QString& path)
{
    QTimer::singleShot(0, &main_, [this, path] { OpenFromOutside(main_, {path}); });
}

// After the reply has gone out: the shutdown closes the bus connection's owner.
void MediaControls::quit()
{
    QTimer::singleShot(0, &main_, [this] {
        if (auto* menu = dynamic_cast<Form5*>(main_.menu())) menu->exitProgram();
    });
}

// Starts or resumes; what already plays goes on, where the window's Play button starts it again.
void MediaControls::play()
{
    command([this] { main_.StartOrResume(); });
}
void MediaControls::pause()
{
    command([this] { main_.Image3_Click(); });
}
void MediaControls::stop()
{
    command([this] { main_.Image3_Click(); });
}
void MediaControls::next()
{
    command([this] { main_.Image4_Click(); });
}
void MediaControls::previous()
{
    command([this] { main_.Image6_Click(); });
}
void MediaControls::playPause()
{
    command([this] { main_.PlayPause(); });
}

// Counted in the window, from the entry heard: the one last shown here may have ended meanwhile.
void MediaControls::seek(qint64 offsetUs)
{
    command([this, offsetUs] { main_.SeekBy(offsetUs / 1000, true); });
}

// The track named must be the one heard once the window has taken it over: a call for one that
// ended meanwhile is stale.
void MediaControls::setPosition(const QString& trackId, qint64 positionUs)
{
    const int64_t ms = positionUs / 1000;
    if (ms < 0) return;
    command([this, &trackId, ms] {
        main_.SeekTo(ms, [&] {
            const platform::mpris::Metadata current = metadata();
            return trackId == current.trackId && ms <= current.lengthUs / 1000;
        });
    });
}

void MediaControls::setVolume(double volume)
{
    if (!std::isfinite(volume)) return;
    const int tenths = int(std::lround(std::clamp(volume, 0.0, 1.0) * 10));
    command([this, tenths] { main_.SetVolumeTenths(tenths); });
}

}  // namespace shell
