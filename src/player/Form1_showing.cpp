// What the window shows, kept for those who report it elsewhere (see NowShowing.h).

#include "player/Form1.h"
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

} // namespace

// The artist and album lines; with placeholders, a blank value shows "New Artist" / "New Album".
void Form1::showArtistAndAlbum(const QString& artist, const QString& album, bool placeholders)
{
    shownArtist_ = known(artist);
    shownAlbum_ = known(album);
    Label200->setText(placeholders && shownArtist_.isEmpty() ? common::Lang("Νέος Καλλιτέχνης", "New Artist") : artist);
    Label201->setText(placeholders && shownAlbum_.isEmpty() ? common::Lang("Νέο Album", "New Album") : album);
}

void Form1::PublishNowShowing()
{
    NowShowing s;
    s.mediaMode = common::InMediaMode();
    s.volumeTenths = LitSegments(GetOutputVolume(volumeDevice()));
    if (s.mediaMode) {
        s.entries = List1->count();
        s.index = s.entries > 0 ? CurrentIndex : -1;
        if (s.entries > 0) s.state = stateOf(ModuleMCI::GetMediaMode(common::MediaAlias));
        s.path = Combo1->itemText(s.index);
    } else {
        auto& cd = *common::globals().CdDevice;
        s.entries = cd.GetNumTracks();
        s.index = s.entries > 0 ? cd.GetTmsfPosition().track - 1 : -1;
        if (s.entries > 0) s.state = stateOf(cd.GetCDMode());
    }
    if (const QListWidgetItem* entry = List1->item(s.index)) {
        s.title = Mp3Tag_Functions::EntryTitle(entry->text()).trimmed();
        s.artist = shownArtist_;
        s.album = shownAlbum_;
        s.lengthMs = LengthMs();
        s.positionMs = PositionMs();
    } else {
        s.index = -1;
    }
    s.published.start();
    showing_ = s;
}

} // namespace player
