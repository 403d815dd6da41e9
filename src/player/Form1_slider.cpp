// The position slider's drag and the ten-segment volume bar.

#include "player/Form1.h"
#include "player/Accessibility.h"
#include "player/MessagesRun.h"
#include "common/Globals.h"
#include "common/TimeText.h"
#include "media/CDAudio.h"
#include "media/ModuleMCI.h"
#include "platform/AuxVolume.h"

#include <QCoreApplication>
#include <QMouseEvent>

#include <cmath>

namespace player {

namespace {

using common::MediaAlias;

constexpr int ThumbStart = 5;
constexpr int DragLimit = 191;  // no drag from this left edge on
constexpr int PointerInThumb = 5;

// Rounded to the nearest whole number, halves to the even one, as a 32-bit count.
int32_t roundToCount(double value)
{
    const double rounded = std::nearbyint(value);
    if (!(rounded >= INT32_MIN && rounded <= INT32_MAX)) return 0;
    return int32_t(rounded);
}

}  // namespace

void Form1::SetTickInterval(int ms)
{
    tickInterval_ = ms;
    if (ms <= 0) {
        Timer2->stop();
        return;
    }
    Timer2->setInterval(ms);
    if (tickEnabled_) Timer2->start();
}

void Form1::SetTickEnabled(bool enabled)
{
    tickEnabled_ = enabled;
    if (enabled && tickInterval_ > 0)
        Timer2->start();
    else
        Timer2->stop();
}

void Form1::connectSlider()
{
    connect(Image17, &PictureButton::pressed, this, [this](QMouseEvent* e) {
        if (e->button() == Qt::LeftButton) Image17_MouseDown();
    });
    connect(Image17, &PictureButton::moved, this, [this](QMouseEvent* e) { Image17_MouseMove(int(e->position().x())); });
    connect(Image17, &PictureButton::released, this, [this](QMouseEvent* e) {
        if (e->button() == Qt::LeftButton) Image17_MouseUp();
    });
}

void Form1::Image17_MouseDown()
{
    if (!commandMayStart()) return;
    // Only a drag seeks: a press and release where the thumb stands plays on from where it is,
    // not from where an earlier drag went (perhaps in another entry).
    state_.seekTarget.clear();
    SetTickInterval(0);
    if (Image17->x() < ThumbStart) Image17->move(ThumbStart, Image17->y());
    if (Image17->x() > DragLimit) Image17->move(192, Image17->y());
    state_.thumbDragging = true;
}

// The time shown for the disc position the drag has sought to.
QString Form1::dragTimeOnDisc(int left)
{
    auto& cd = *common::globals().CdDevice;
    cd.PlayTrackFrom(roundToCount(state_.positionScale * left + state_.trackStartMs));
    const media::CDAudio::Tmsf at = cd.GetTmsfPosition();
    const media::CDAudio::Milliseconds ms = cd.ReadMilliseconds(at.track);
    if (state_.showRemaining) return common::TimeTextMs(int64_t(ms.trackLength) + state_.trackStartMs - ms.position, true);
    return common::TimeText(int64_t(at.minutes) * 60 + at.seconds);
}

void Form1::Image17_MouseMove(int x)
{
    const int16_t left = int16_t(Image17->x());
    if (left <= ThumbStart - 1 || left >= DragLimit || !state_.thumbDragging) return;
    QString text;
    if (common::InMediaMode()) {
        const int32_t target = roundToCount(state_.positionScale * left);
        const bool remaining = state_.showRemaining;
        text = common::TimeTextMs(remaining ? int64_t(state_.mediaLengthMs) - target : target, remaining);
        state_.seekTarget = QString::number(target);
    } else {
        text = dragTimeOnDisc(left);
    }
    Image17->move(left + x - PointerInThumb, Image17->y());
    Label3->setText(text);
}

void Form1::Image17_MouseUp()
{
    state_.thumbDragging = false;
    showing_.published.invalidate();
    if (common::InMediaMode()) {
        const bool dragged = !state_.seekTarget.isEmpty();
        // Held while the entry ended, without a drag: what continuous play went on to plays on.
        if (!dragged) TakeOverEndedEntry();
        if (dragged || ModuleMCI::GetMediaMode(MediaAlias) != "playing") {
            // Not playing, it plays from where it stands; from the start once at its end.
            const int64_t at = PositionMs();
            std::string from = dragged ? state_.seekTarget.toStdString() : at < LengthMs() ? std::to_string(at) : "", to;
            ModuleMCI::PlayMedia(MediaAlias, from, to);
            state_.seekTarget = QString::fromStdString(from);
        }
    } else {
        common::globals().CdDevice->PlayCD();
    }
    LetMessagesRun();
    SetTickInterval(1000);
    PublishNowShowing();  // the desktop hears of the seek at once, not at the next tick
}

uint16_t Form1::ChannelWord(float fraction)
{
    double v = double(fraction) * 65535;
    if (v > 32767) v -= 65536;  // kept as a signed word with the same bits
    return uint16_t(int16_t(std::nearbyint(v)));
}

float Form1::GetOutputVolume(uint32_t device)
{
    const uint32_t value = platform::auxGetVolume(device);
    const uint16_t left = uint16_t(value & 0xFFFFu), right = uint16_t(value >> 16);
    return float(std::max(left, right)) / 65535.0f;
}

void Form1::SetOutputVolume(float fraction, uint32_t device)
{
    const uint32_t word = ChannelWord(fraction);
    platform::auxSetVolume(device, word | (word << 16));
}

// Counted from the fraction rounded to the hundredth, so a channel word that reads back a hair
// below the tenth it was set from still lights that segment.
int Form1::LitSegments(float fraction)
{
    if (fraction >= 0.95f) return 10;
    return int(std::lround(double(fraction) * 100)) / 10;
}

void Form1::ShowVolumeBar(uint32_t device)
{
    const int lit = LitSegments(GetOutputVolume(device));
    showing_.volumeTenths = lit;  // the bar is what shows the volume: it publishes it as it changes
    if (VolumeBar) VolumeBar->NotifyIfChanged();
    if (lit == barLit_) return;  // the tick repaints nothing that did not change
    barLit_ = lit;
    const QColor unlit = palette().color(QPalette::Base);
    for (int i = 0; i < 10; ++i) {
        QPalette p = Label5[i]->palette();
        p.setColor(QPalette::Window, i + 1 <= lit ? QColor(0xFF, 0xC0, 0xC0) : unlit);
        Label5[i]->setPalette(p);
    }
}

void Form1::Label5_Click(int index)
{
    const uint32_t device = common::InMediaMode() ? platform::AuxMedia : platform::AuxCd;
    SetOutputVolume(float(index + 1) / 10.0f, device);
    ShowVolumeBar(device);
}

}  // namespace player
