#include "platform/gst/SoundFilePlayer.h"
#include "platform/gst/AudioOutput.h"
#include "platform/gst/Decoder.h"
#include "platform/gst/Gst.h"

#include <algorithm>

namespace platform::gst {

SoundFilePlayer::SoundFilePlayer(std::shared_ptr<Decoder> decoder, bool takenOver) : audio_(std::move(decoder))
{
    length_ = audio_->lengthMs();
    if (!takenOver) return;
    mode_ = AudioOutput::instance().playing() ? Mode::Playing : Mode::Paused;
    takenOver_ = true;
}

SoundFilePlayer::~SoundFilePlayer()
{
    AudioOutput& output = AudioOutput::instance();
    output.forget(this);
    output.release(audio_.get());
}

void SoundFilePlayer::atEnd(int64_t positionMs)
{
    reachEnd(positionMs);
    takenOver_ = false;
}

// Notices the end of a file that the output has played out (or gone on from), and a file
// that stopped with an error.
void SoundFilePlayer::poll()
{
    AudioOutput& output = AudioOutput::instance();
    if (mode_ != Mode::Playing) return;
    if (output.lost()) return goOnAfterLoss();
    const AudioOutput::Span span = output.span(*audio_);
    if (audio_->failed()) {
        atEnd(heardMs());
        output.release(audio_.get());
        return;
    }
    if (span.endNs < 0) return;
    const bool wentOn = !span.feeding;
    if (output.heardNs() >= span.endNs || (!wentOn && output.playedOut())) {
        // The end of the stream is the stop position (or the length) exactly.
        atEnd(endOfPlay());
        if (!wentOn) output.pause();
    }
}

Engine::Mode SoundFilePlayer::mode()
{
    poll();
    if (holdsRunOn() && !AudioOutput::instance().playing()) return Mode::Paused;
    return mode_;
}

// This file ended and the output went on to its successor, which nobody has taken over: what
// sounds is still this alias's.
bool SoundFilePlayer::holdsRunOn() { return atEnd_ && AudioOutput::instance().runOnOf(this); }

int64_t SoundFilePlayer::position()
{
    poll();
    return heardMs();
}

// The output was rebuilt for a sound server that went away: the file goes on from where it was
// heard (on a stand-in sink while the server is still away, tried again each second).
void SoundFilePlayer::goOnAfterLoss() { reposition(heardMs(), stopPosition(), true); }

void SoundFilePlayer::checkOutput()
{
    if (AudioOutput::instance().lost()) goOnAfterLoss();
}

// Where the output stands in this file, as heard; without looking for its end. Between the
// output going on to the next file and this one's end being heard, it is still this file's
// tail that sounds: the position goes on to the end, never back.
int64_t SoundFilePlayer::heardMs()
{
    AudioOutput& output = AudioOutput::instance();
    const AudioOutput::Span span = output.span(*audio_);
    if (atEnd_ || !span.placed) return rest_;  // loaded but not yet on the output, or at its end
    int64_t heard = std::max<int64_t>(0, output.heardNs() - span.startNs);
    if (span.endNs >= 0) heard = std::min(heard, span.endNs - span.startNs);
    // The last millisecond shows once the end itself is heard, when the mode says stopped too: a
    // length in whole milliseconds falls up to one short of the file's true end.
    const bool endHeard = span.endNs >= 0 && output.heardNs() >= span.endNs;
    const int64_t end = std::min(endOfPlay(), length_) - (endHeard ? 0 : 1);
    return std::clamp<int64_t>((span.fromNs + heard) / GST_MSECOND, 0, std::max<int64_t>(0, end));
}

bool SoundFilePlayer::reposition(int64_t fromMs, std::optional<int64_t> toMs, bool start)
{
    takenOver_ = false;
    stop_ = toMs.value_or(-1);
    atEnd_ = false;
    rest_ = fromMs;
    if (nothingToPlay(fromMs, toMs)) {
        // Nothing to play: the device is at its end at once.
        AudioOutput::instance().release(audio_.get());
        atEnd(fromMs);
        return true;
    }
    AudioOutput& output = AudioOutput::instance();
    // What this file went on to goes with the rest: its successor is prepared again, and before
    // the file is fed, whose last moments may reach their end at once.
    if (!cuedUri_.empty() && output.nextUri() != cuedUri_) output.setNext(this, successor(cuedUri_));
    if (!output.restart(audio_, fromMs * GST_MSECOND, [&] { return audio_->seek(fromMs, stop_); })) return false;
    if (start) output.play();
    mode_ = start ? Mode::Playing : Mode::Stopped;
    return true;
}

bool SoundFilePlayer::play(std::optional<int64_t> fromMs, std::optional<int64_t> toMs)
{
    poll();
    // The file the output went on to plays from its start already: playing it from the start
    // to its end goes on as it is.
    if (takenOver_ && fromMs.value_or(0) == 0 && (!toMs || *toMs >= length_)) {
        takenOver_ = false;
        AudioOutput::instance().play();
        mode_ = Mode::Playing;
        return true;
    }
    const bool onTimeline = AudioOutput::instance().span(*audio_).feeding;
    if (fromMs || toMs || atEnd_ || !onTimeline) return reposition(fromMs.value_or(position()), toMs, true);
    AudioOutput::instance().play();
    mode_ = Mode::Playing;
    return true;
}

bool SoundFilePlayer::seek(int64_t ms) { return reposition(ms, std::nullopt, false); }

void SoundFilePlayer::hold() { AudioOutput::instance().pause(); }

void SoundFilePlayer::goOn() { AudioOutput::instance().play(); }

// What the output went on to by itself is still this file's to pause and resume.
void SoundFilePlayer::pause()
{
    poll();
    if (holdsRunOn()) return hold();
    Engine::pause();
}

void SoundFilePlayer::resume()
{
    poll();
    if (holdsRunOn()) return goOn();
    Engine::resume();
}

void SoundFilePlayer::stop()
{
    poll();
    AudioOutput& output = AudioOutput::instance();
    if (output.runOnOf(this)) {
        // Its successor is already on the output (perhaps not yet heard): it goes.
        if (!atEnd_) rest_ = heardMs();
        output.dropRunOn();
        mode_ = Mode::Stopped;
        return;
    }
    Engine::stop();
}

double SoundFilePlayer::volume() const { return AudioOutput::instance().volume(); }

void SoundFilePlayer::cueNext(const std::string& uri)
{
    AudioOutput& output = AudioOutput::instance();
    cuedUri_ = uri;
    if (output.runOnOf(this) && !output.runningOn(uri)) dropSuccessor();
    if (uri.empty()) return output.setNext(this, nullptr);
    if (output.nextUri() == uri || output.runningOn(uri)) return;
    output.setNext(this, successor(uri));
}

// The decoder of a file to follow this one. A part of a file must stand at its start before it
// can follow: it is prerolled and moved there now; null when it cannot be.
std::shared_ptr<Decoder> SoundFilePlayer::successor(const std::string& uri)
{
    auto next = std::make_shared<Decoder>(uri);
    if (next->isSection() && next->preroll() != Decoder::Preroll::Ready) return nullptr;
    return next;
}

// The output went on to a file that no longer follows this one. Heard already: it is silenced.
// Not yet heard (this file's last moments still sound): this file goes on alone from where it
// is heard.
void SoundFilePlayer::dropSuccessor()
{
    AudioOutput& output = AudioOutput::instance();
    poll();
    if (atEnd_) return output.dropRunOn();
    const Mode was = mode_;
    reposition(heardMs(), stopPosition(), was == Mode::Playing);
    if (was == Mode::Paused) mode_ = was;
}

}  // namespace platform::gst
