// The main window without a mouse: the focus chain through the skin's buttons, the window's keys,
// and what a screen reader is given beyond the labels (the title strip's zones, the volume bar
// and the position slider as values).

#include "player/Accessibility.h"
#include "player/Form1.h"
#include "player/MenuWindow.h"
#include "player/MessagesRun.h"
#include "common/Globals.h"
#include "common/Language.h"
#include "media/CDAudio.h"
#include "media/ModuleMCI.h"
#include "platform/AuxVolume.h"

#include <QKeyEvent>

#include <algorithm>

namespace player {

namespace {

using common::MediaAlias;

constexpr int SeekStepMs = 5000;
constexpr int HideZoneX = 334, CloseZoneX = 347, StripEndX = 357;  // on the title strip

PictureButton* zone(Form1* window, const char* name, int from, int to)
{
    auto* button = new PictureButton(QString::fromLatin1(name), window);
    button->setGeometry(from, 0, to - from, 14);
    button->setAttribute(Qt::WA_TransparentForMouseEvents);  // the strip below takes the mouse
    return button;
}

}  // namespace

void Form1::buildReaderControls()
{
    InstallAccessibility();
    Image16->SetIsButton(false);
    Image17->SetIsButton(false);
    for (QWidget* covered : {static_cast<QWidget*>(Image16), static_cast<QWidget*>(Image17), static_cast<QWidget*>(Groove),
                             static_cast<QWidget*>(Image1), static_cast<QWidget*>(Shape2)})
        covered->setProperty(CoveredForReaders, true);
    for (QLabel* segment : Label5) segment->setProperty(CoveredForReaders, true);
    MinimiseZone = zone(this, "MinimiseZone", HideZoneX, CloseZoneX);
    CloseZone = zone(this, "CloseZone", CloseZoneX, StripEndX);
    connect(MinimiseZone, &PictureButton::activated, this, [this] { Image16_MouseDown(HideZoneX); });
    connect(CloseZone, &PictureButton::activated, this, [this] { Image16_MouseDown(CloseZoneX); });

    // Read from what the window shows, never from the devices: a reader asks often, and on a
    // disc every question would flip its time format.
    VolumeBar = new ValueBar("VolumeBar", this,
                             {[this] { return showing_.volumeTenths; }, [] { return 10; },
                              [this](int tenths) { Label5_Click(std::clamp(tenths, 1, 10) - 1); }});
    PositionBar =
        new ValueBar("PositionBar", this,
                     {[this] { return int(showing_.positionNowMs() / 1000); }, [this] { return int(showing_.lengthMs / 1000); },
                      [this](int seconds) { SeekTo(int64_t(seconds) * 1000); }});
    PositionBar->setGeometry(Groove->x(), Image17->y(), Groove->width(), Image17->height());
    nameReaderControls();

    setFocusPolicy(Qt::StrongFocus);
    const QList<QWidget*> chain = {Image10, Image8,  Image11, Image7,  Image9,  Image24, Image25,      Image26,
                                   Image27, Image14, Check1,  Option1, Option2, List1,   MinimiseZone, CloseZone};
    for (QWidget* w : chain) w->setFocusPolicy(Qt::StrongFocus);
    for (QWidget* twin : {Image6, Image2, Image3, Image4, Image5, Image31, Image30, Image29, Image28, Image15})
        twin->setFocusPolicy(Qt::StrongFocus);
    for (qsizetype i = 1; i < chain.size(); ++i) setTabOrder(chain[i - 1], chain[i]);
}

// The names that are not the skin's tooltips, in the language in force.
void Form1::nameReaderControls()
{
    MinimiseZone->setToolTip(common::Lang("Ελαχιστοποίηση", "Minimize"));
    CloseZone->setToolTip(common::Lang("Κλείσιμο", "Close"));
    Image14->setToolTip(common::Lang("Λίστα Τραγουδιών", "Track List"));
    VolumeBar->setAccessibleName(common::Lang("Ένταση", "Volume"));
    PositionBar->setAccessibleName(common::Lang("Θέση", "Position"));
}

uint32_t Form1::volumeDevice() const { return common::InMediaMode() ? platform::AuxMedia : platform::AuxCd; }

int64_t Form1::LengthMs()
{
    if (common::InMediaMode()) return !tracks_.isEmpty() ? std::max(state_.mediaLengthMs, 0) : 0;
    auto& cd = *common::globals().CdDevice;
    const int16_t track = cd.GetNumTracks() > 0 ? cd.GetTmsfPosition().track : 0;
    return track > 0 ? cd.ReadMilliseconds(track).trackLength : 0;
}

int64_t Form1::PositionMs()
{
    if (common::InMediaMode()) return !tracks_.isEmpty() ? std::max(ModuleMCI::GetMediaPosition(MediaAlias), 0) : 0;
    if (common::globals().CdDevice->GetNumTracks() < 1) return 0;
    return std::max<int64_t>(0, discPositionMs() - state_.trackStartMs);
}

bool Form1::IsPlaying()
{
    if (common::InMediaMode()) return !tracks_.isEmpty() && ModuleMCI::GetMediaMode(MediaAlias) == "playing";
    return common::globals().CdDevice->CheckIfPlaying() == 1;
}

void Form1::PlayPause()
{
    if (!commandMayStart()) return;
    if (IsPlaying())
        pause();
    else
        play();
}

void Form1::StartOrResume()
{
    if (commandMayStart() && !IsPlaying()) play();
}

// From the track's start, as the slider's release there would: the track plays on from it.
void Form1::SeekTo(int64_t ms, const std::function<bool()>& stillMeant)
{
    if (!commandMayStart()) return;
    if (stillMeant) PublishNowShowing();
    if (!stillMeant || stillMeant()) seekInEntry(ms, LengthMs());
}

void Form1::SeekBy(int64_t deltaMs, bool nextPastTheEnd)
{
    if (!commandMayStart()) return;
    const int64_t target = PositionMs() + deltaMs, length = LengthMs();
    if (nextPastTheEnd && target > length) {
        if (length > 0) playNext();
        return;
    }
    seekInEntry(target, length);
}

void Form1::seekInEntry(int64_t ms, int64_t length)
{
    if (length <= 0) return;
    ms = std::clamp<int64_t>(ms, 0, length - 1);
    if (common::InMediaMode())
        state_.seekTarget = QString::number(ms);
    else
        common::globals().CdDevice->PlayTrackFrom(int32_t(state_.trackStartMs + ms));
    Image17_MouseUp();
    Timer2_Timer();
}

void Form1::SetVolumeTenths(int tenths)
{
    SetOutputVolume(float(std::clamp(tenths, 0, 10)) / 10.0f, volumeDevice());
    ShowVolumeBar(volumeDevice());
}

void Form1::StepVolume(int segments)
{
    const int lit = LitSegments(GetOutputVolume(volumeDevice()));
    Label5_Click(std::clamp(lit + segments, 1, 10) - 1);
}

// Keys the focused control leaves alone reach the window. They act as the mouse does, through
// the same routines, so every rule of the buttons holds.
void Form1::keyPressEvent(QKeyEvent* event)
{
    const bool media = common::InMediaMode();
    const auto mods = event->modifiers() & ~Qt::KeypadModifier;
    const int key = event->key();
    if (mods == Qt::NoModifier) {
        switch (key) {
        case Qt::Key_Space:  // held down, it toggles once
            if (!event->isAutoRepeat()) PlayPause();
            return;
        case Qt::Key_Left: return SeekBy(-SeekStepMs);
        case Qt::Key_Right: return SeekBy(SeekStepMs);
        case Qt::Key_PageUp: return Image6_Click();
        case Qt::Key_PageDown: return Image4_Click();
        case Qt::Key_Up: return StepVolume(+1);
        case Qt::Key_Down: return StepVolume(-1);
        case Qt::Key_F1: return menu_->ShowAbout();
        case Qt::Key_Insert:
            if (media) Image30_Click();
            return;
        case Qt::Key_Delete:
            if (media) menu_->RemoveSelectedTrack();
            return;
        default: break;
        }
    } else if (mods == Qt::ControlModifier && media && (key == Qt::Key_O || key == Qt::Key_S)) {
        if (key == Qt::Key_O)
            Image29_Click();
        else
            Image28_Click();
        return;
    } else if (mods == Qt::AltModifier && (key == Qt::Key_O || key == Qt::Key_H)) {
        if (key == Qt::Key_O)
            popUpCaptionMenu(Label7, Label8, media ? 3 : 1);
        else
            popUpCaptionMenu(Label8, Label7, 4);
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace player
