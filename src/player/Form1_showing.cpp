// What the window shows, kept for those who report it elsewhere (see NowShowing.h).

#include "player/Form1.h"
#include "player/Accessibility.h"
#include "common/Globals.h"
#include "common/Language.h"
#include "media/CDAudio.h"
#include "media/ModuleMCI.h"
#include "metadata/Mp3Tag_ListFiles.h"

namespace player {

namespace {

NowShowing::State stateOf(const std::string& mode)
{
    if (mode == "playing") return NowShowing::State::Playing;
    if (mode == "paused") return NowShowing::State::Paused;
    return NowShowing::State::Stopped;
}

QString known(const QString& value) { return value.trimmed().isEmpty() ? QString() : value; }

}  // namespace

// The artist and album lines; with placeholders, a blank value shows "New Artist" / "New Album".
void Form1::showArtistAndAlbum(const QString& artist, const QString& album, bool placeholders)
{
    shownArtist_ = known(artist);
    shownAlbum_ = known(album);
    Label200->setText(placeholders && shownArtist_.isEmpty() ? common::Lang("Νέος Καλλιτέχνης", "New Artist") : artist);
    Label201->setText(placeholders && shownAlbum_.isEmpty() ? common::Lang("Νέο Album", "New Album") : album);
}

// After a command: the devices are asked what they do now.
void Form1::PublishNowShowing()
{
    if (common::InMediaMode()) {
        const int entries = tracks_.count();
        const auto state = entries > 0 ? stateOf(ModuleMCI::GetMediaMode(common::MediaAlias)) : NowShowing::State::Stopped;
        publish(state, entries > 0 ? tracks_.current() : -1, entries, PositionMs(), LengthMs());
        return;
    }
    auto& cd = *common::globals().CdDevice;
    const int entries = cd.GetNumTracks();
    if (entries < 1) return publish(NowShowing::State::Stopped, -1, 0, 0, 0);
    publish(stateOf(cd.GetCDMode()), cd.GetTmsfPosition().track - 1, entries, PositionMs(), LengthMs());
}

// From a tick that found nothing moving: the position and length stand still, so the devices
// are asked only when the state or the entry changed since the last tick.
void Form1::publishResting(const std::string& mode, int index, int entries)
{
    const NowShowing::State state = entries > 0 ? stateOf(mode) : NowShowing::State::Stopped;
    if (state == showing_.state && index == showing_.index && showing_.mediaMode == common::InMediaMode())
        return publish(state, index, entries, showing_.positionMs, showing_.lengthMs);
    publish(state, index, entries, entries > 0 ? PositionMs() : 0, entries > 0 ? LengthMs() : 0);
}

void Form1::publish(NowShowing::State state, int index, int entries, int64_t positionMs, int64_t lengthMs)
{
    NowShowing s;
    s.mediaMode = common::InMediaMode();
    s.volumeTenths = showing_.volumeTenths;  // kept by the volume bar as it changes
    s.state = state;
    s.entries = entries;
    // A file whose entry was removed plays on: it is shown, also after the last entry.
    s.leftList = s.mediaMode && index == tracks_.current() && tracks_.currentRemoved();
    if (tracks_.contains(index) || s.leftList) {
        s.index = index;
        s.title = (s.leftList ? tracks_.currentTitle() : tracks_.title(index)).trimmed();
        s.artist = shownArtist_;
        s.album = shownAlbum_;
        if (s.mediaMode) s.path = s.leftList ? tracks_.currentPath() : tracks_.path(index);
        s.lengthMs = lengthMs;
        s.positionMs = positionMs;
    }
    const bool jumped = s.goOnFrom(showing_);
    s.published.start();
    showing_ = s;
    if (PositionBar) PositionBar->NotifyIfChanged();
    if (jumped) emit PositionJumped();
}

}  // namespace player
