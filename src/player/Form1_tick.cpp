// The main tick (once a second), the title tick and the volume bar.

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

#include <cmath>

namespace player {

namespace {

using common::MediaAlias;

// "mm:ss" of a millisecond count as whole seconds.
QString timeOf(int64_t ms, bool remaining) { return common::TimeText(ms / 1000, remaining); }

} // namespace

void Form1::placeThumb(double left)
{
    if (!std::isfinite(left)) return;  // a scale of 0: the thumb stays where it was
    Image17->move(int(std::lround(left)), Image17->y());
}

void Form1::Timer2_Timer()
{
    if (MessagesRun::Now()) return;  // the next tick comes within a second
    if (common::InMediaMode()) tickMedia();
    else tickCd();
    PublishNowShowing();
    emit Ticked();
}

void Form1::tickMedia()
{
    auto& g = common::globals();
    ShowVolumeBar(platform::AuxMedia);
    if (g.ContinueChecked == 1 && SingleFileMode != 10 && List1->count() > 0) {
        int32_t length = 0;
        if (ModuleMCI::IsMediaAtEnd(MediaAlias, length)) UpdateMP3(CurrentIndex + 2 > List1->count() ? 0 : CurrentIndex + 1, true);
    }
    CueNextEntry();
    if (ModuleMCI::GetMediaMode(MediaAlias) != "playing") {
        Image17->setEnabled(false);
        return;
    }
    Image17->setEnabled(true);
    const int32_t p = ModuleMCI::GetMediaPosition(MediaAlias);
    const bool remaining = ShowRemaining == 1;
    Label3->setText(timeOf(remaining ? int64_t(MediaLengthMs) - p : p, remaining));
    placeThumb(p / PositionScale + 5);
}

void Form1::showNoDisc()
{
    Label2->setText(common::Lang("  Δεν υπάρχει AudioCD.", "  No AudioCD."));
    Label1->setText(common::Lang("Δεν υπάρχει Audio CD.", "No AudioCD."));
    Label10->setText(QStringLiteral("0"));
    showArtistAndAlbum({}, {}, false);
    List1->clear();
    menu_->SetCaption(common::AppTitle());
    Image17->move(5, Image17->y());
    Image17->setEnabled(false);
    Label3->setText(QStringLiteral("00:00"));
    menu_->ClearTracksSubmenu();
    NoDiscShown = 1;
}

void Form1::tickCd()
{
    auto& cd = *common::globals().CdDevice;
    ShowVolumeBar(platform::AuxCd);
    if (cd.GetNumTracks() < 1) {
        if (NoDiscShown == 0) showNoDisc();
        return;
    }
    if (NoDiscShown == 1) {
        LoadCdTitles();
        NoDiscShown = 0;
    }
    if (cd.CheckIfPlaying() != 1) return;
    const media::CDAudio::Tmsf at = cd.GetTmsfPosition();
    if (at.track != LastCdTrack) ShowCdTrackInfo();
    LastCdTrack = at.track;

    const media::CDAudio::Milliseconds ms = cd.ReadMilliseconds(at.track);
    if (ShowRemaining == 1) Label3->setText(timeOf(int64_t(ms.trackLength) + TrackStartMs - ms.position, true));
    else Label3->setText(common::TimeText(int64_t(at.minutes) * 60 + at.seconds));
    placeThumb((ms.position - TrackStartMs) / PositionScale + 5);
}

void Form1::Timer1_Timer()
{
    ++MarqueeStep;
    if (Label1->text().trimmed().isEmpty()) MarqueeStep = 1;
    QString text = MarqueeStep >= 2 ? Label1->text() : QString();
    if (!Label1Tag.isEmpty()) text += Label1Tag[std::min<qsizetype>(MarqueeStep, Label1Tag.size()) - 1];
    Label1->setText(text.right(40));
}

} // namespace player
