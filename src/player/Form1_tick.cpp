// The main tick (once a second) of both modes, taking over the entry continuous play went on to, and the title tick.

#include "player/Form1.h"
#include "player/MenuWindow.h"
#include "player/MessagesRun.h"
#include "common/Globals.h"
#include "common/Language.h"
#include "common/TimeText.h"
#include "media/CDAudio.h"
#include "media/ModuleMCI.h"
#include "platform/AuxVolume.h"

#include <QGuiApplication>

#include <algorithm>
#include <cmath>

namespace player {

namespace {

using common::MediaAlias;

// "mm:ss" of a millisecond count as whole seconds.
QString timeOf(int64_t ms, bool remaining) { return common::TimeText(ms / 1000, remaining); }

}  // namespace

void Form1::placeThumb(double left)
{
    if (!std::isfinite(left)) return;  // a scale of 0: the thumb stays where it was
    Image17->move(int(std::lround(left)), Image17->y());
}

// The next tick comes within a second. With only a chooser open the time and continuous play go
// on; what a command would change waits for it to close.
bool Form1::tickMayRun() const { return !MessagesRun::Now() || MessagesRun::OnlyChooserOpen(); }

void Form1::showMediaTime(int32_t positionMs)
{
    const bool remaining = state_.showRemaining;
    Label3->setText(timeOf(remaining ? int64_t(state_.mediaLengthMs) - positionMs : positionMs, remaining));
}

void Form1::showMediaPosition(int32_t positionMs)
{
    showMediaTime(positionMs);
    placeThumb(positionMs / state_.positionScale + 5);
}

void Form1::Timer2_Timer()
{
    if (!tickMayRun()) return;
    entryEndChecks_ = 0;
    if (common::InMediaMode())
        tickMedia();
    else
        tickCd();
    emit Ticked();
}

bool Form1::continuousApplies() const
{
    return common::InMediaMode() && common::globals().Continuous && tracks_.successor().has_value();
}

// Under continuous play the device goes on to the next entry by itself at the end of one; the
// window takes it over here (at the tick, or before a command, so the command acts on what is
// heard), also while a file or folder chooser is open, so play goes on past that entry. A pause
// made meanwhile is kept. An entry that cannot be opened is said and leaves the list, and play
// goes on with the one after it. Kept from taking an entry over for longer than it lasts (a
// message box open), the window finds it played to its end as well: play goes on with the one
// after it, rather than that entry again.
void Form1::TakeOverEndedEntry()
{
    if (!tickMayRun() || state_.nothingFollows || !continuousApplies()) return;
    int32_t length = 0;
    if (!ModuleMCI::IsMediaAtEnd(MediaAlias, length)) return;
    const bool paused = ModuleMCI::GetMediaMode(MediaAlias) == "paused";
    bool playedOut = false;
    while (continuousApplies()) {
        const std::optional<int> next = existingSuccessor();
        state_.nothingFollows = !next;
        if (!next) return;
        if (!loadEntry(*next, false)) continue;  // left the list: the list is shorter each time
        if (paused) return;
        if (!playedOut && ModuleMCI::IsMediaAtEnd(MediaAlias, length)) {
            playedOut = true;  // the device goes on by itself only once without the window
            continue;
        }
        std::string from, to;
        ModuleMCI::PlayMedia(MediaAlias, from, to);
        return;
    }
}

// The entry continuous play goes on to: the successor, or the first after it whose file is still
// there. Each one gone from the disk is said once and passed over, where taking it over would say
// so again at every tick; none when no entry's file is there.
std::optional<int> Form1::existingSuccessor()
{
    const int count = tracks_.count();
    for (int step = 0, index = *tracks_.successor(); step < count; ++step, index = (index + 1) % count)
        if (fileThereOrSaySo(tracks_.path(index))) return index;
    return std::nullopt;
}

// A user's command may start: no other routine lets messages run. It acts on the entry or the
// disc track heard, so one the device went on to by itself is taken over first.
bool Form1::commandMayStart()
{
    if (MessagesRun::Now()) return false;
    if (common::InMediaMode())
        TakeOverEndedEntry();
    else if (common::globals().CdDevice->CheckIfPlaying() == 1)
        showCdPosition(common::globals().CdDevice->GetNumTracks());
    return true;
}

void Form1::tickMedia()
{
    ShowVolumeBar(platform::AuxMedia);
    TakeOverEndedEntry();
    CueNextEntry();
    const int entries = tracks_.count();
    const int index = entries > 0 ? tracks_.current() : -1;
    const std::string mode = ModuleMCI::GetMediaMode(MediaAlias);
    if (mode != "playing") {
        Image17->setEnabled(false);
        publishResting(mode, index, entries);
        return;
    }
    Image17->setEnabled(true);
    const int32_t p = ModuleMCI::GetMediaPosition(MediaAlias);
    showMediaPosition(p);
    publish(NowShowing::State::Playing, index, entries, std::max(p, 0), state_.mediaLengthMs);
    checkEntryEnd(p);
}

// When the entry playing ends before the next tick and continuous play goes on, the window takes
// the next one over as it starts to sound, not up to a second later under the old title. A
// position that stops short of the end is looked at a few times, not in a loop.
void Form1::checkEntryEnd(int32_t position)
{
    constexpr int AfterTheEndMs = 30, MostChecksBetweenTicks = 3;
    const int64_t left = int64_t(state_.mediaLengthMs) - position;
    if (left <= 0 || left >= tickInterval_ || entryEndChecks_ >= MostChecksBetweenTicks || !continuousApplies()) return;
    entryEnd_->start(int(left) + AfterTheEndMs);
}

void Form1::EntryEnd_Timer()
{
    ++entryEndChecks_;
    if (Timer2->isActive() && tickMayRun() && common::InMediaMode()) tickMedia();
}

void Form1::showNoDisc()
{
    Label2->setText(common::Lang("  Δεν υπάρχει AudioCD.", "  No AudioCD."));
    Label1->setText(common::Lang("Δεν υπάρχει Audio CD.", "No AudioCD."));
    showEntryNumber(-1, QStringLiteral("0"));
    showArtistAndAlbum({}, {}, false);
    tracks_.clear();
    menu_->SetCaption(common::AppTitle());
    Image17->move(5, Image17->y());
    Image17->setEnabled(false);
    Label3->setText(QStringLiteral("00:00"));
    menu_->ClearTracksSubmenu();
    state_.noDiscShown = true;
}

void Form1::tickCd()
{
    auto& cd = *common::globals().CdDevice;
    ShowVolumeBar(platform::AuxCd);
    const int tracks = cd.GetNumTracks();
    if (tracks < 1) {
        if (!state_.noDiscShown) showNoDisc();
        publishResting({}, -1, 0);
        return;
    }
    if (state_.noDiscShown) {
        LoadCdTitles();
        state_.noDiscShown = false;
    }
    const std::string mode = cd.GetCDMode();
    if (mode != "playing") {
        publishResting(mode, showing_.mediaMode ? 0 : std::max(showing_.index, 0), tracks);
        return;
    }
    showCdPosition(tracks);
}

// The disc playing, of so many tracks: the track heard (shown afresh once the disc went on to
// it by itself), its time and the thumb.
void Form1::showCdPosition(int tracks)
{
    auto& cd = *common::globals().CdDevice;
    const media::CDAudio::Tmsf at = cd.GetTmsfPosition();
    if (at.track != state_.lastCdTrack) ShowCdTrackInfo();
    state_.lastCdTrack = at.track;

    const media::CDAudio::Milliseconds ms = cd.ReadMilliseconds(at.track);
    if (state_.showRemaining)
        Label3->setText(timeOf(int64_t(ms.trackLength) + state_.trackStartMs - ms.position, true));
    else
        Label3->setText(common::TimeText(int64_t(at.minutes) * 60 + at.seconds));
    placeThumb((ms.position - state_.trackStartMs) / state_.positionScale + 5);
    publish(NowShowing::State::Playing, at.track - 1, tracks, std::max<int64_t>(0, ms.position - state_.trackStartMs),
            ms.trackLength);
}

void Form1::Timer1_Timer()
{
    ++state_.marqueeStep;
    if (Label1->text().trimmed().isEmpty()) state_.marqueeStep = 1;
    QString text = state_.marqueeStep >= 2 ? Label1->text() : QString();
    if (!state_.marqueeText.isEmpty())
        text += state_.marqueeText[std::min<qsizetype>(state_.marqueeStep, state_.marqueeText.size()) - 1];
    Label1->setText(text.right(40));
}

}  // namespace player
