#include "platform/gst/MediaPlayer.h"
#include "platform/gst/AudioOutput.h"
#include "platform/gst/Decoder.h"
#include "platform/gst/Gst.h"
#include "platform/gst/VideoPlayer.h"

#include <algorithm>

namespace platform::gst {

namespace {

MediaPlayer::Mode modeOf(VideoPlayer::Mode mode)
{
    switch (mode) {
    case VideoPlayer::Mode::Playing: return MediaPlayer::Mode::Playing;
    case VideoPlayer::Mode::Paused: return MediaPlayer::Mode::Paused;
    default: return MediaPlayer::Mode::Stopped;
    }
}

}  // namespace

MediaPlayer::MediaPlayer() = default;

MediaPlayer::~MediaPlayer()
{
    AudioOutput& output = AudioOutput::instance();
    output.forget(this);
    if (audio_) output.release(audio_.get());
}

MediaPlayer::OpenResult MediaPlayer::open(const std::string& uri, uint64_t parentWindow)
{
    ensureInit();
    AudioOutput& output = AudioOutput::instance();
    if (auto running = output.takeRunOn(uri)) {
        audio_ = std::move(running);
        lengthMs_ = audio_->lengthMs();
        mode_ = output.playing() ? Mode::Playing : Mode::Paused;
        takenOver_ = true;
        return OpenResult::Ok;
    }
    output.dropOrphan();
    auto decoder = std::make_shared<Decoder>(uri);
    switch (decoder->preroll()) {
    case Decoder::Preroll::Ready:
        audio_ = std::move(decoder);
        lengthMs_ = audio_->lengthMs();
        return OpenResult::Ok;
    case Decoder::Preroll::HasPicture: {
        decoder.reset();
        auto video = std::make_unique<VideoPlayer>();
        if (video->open(uri, parentWindow) != VideoPlayer::OpenResult::Ok) return OpenResult::CannotDecode;
        video_ = std::move(video);
        lengthMs_ = video_->lengthMs();
        return OpenResult::Ok;
    }
    default: return OpenResult::CannotDecode;
    }
}

void MediaPlayer::atEnd(int64_t positionMs)
{
    atEnd_ = true;
    restMs_ = positionMs;
    mode_ = Mode::Stopped;
    takenOver_ = false;
}

// Notices the end of a file that the output has played out (or gone on from), and a file
// that stopped with an error.
void MediaPlayer::poll()
{
    if (audio_ && mode_ != Mode::Playing) AudioOutput::instance().settle();
    if (!audio_ || mode_ != Mode::Playing) return;
    AudioOutput& output = AudioOutput::instance();
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
        atEnd(stopMs_ >= 0 ? stopMs_ : lengthMs_);
        if (!wentOn) output.pause();
    }
}

MediaPlayer::Mode MediaPlayer::mode()
{
    if (video_) return modeOf(video_->mode());
    poll();
    if (holdsRunOn() && !AudioOutput::instance().playing()) return Mode::Paused;
    return mode_;
}

// This file ended and the output went on to its successor, which nobody has taken over: what
// sounds is still this alias's.
bool MediaPlayer::holdsRunOn() { return atEnd_ && AudioOutput::instance().runOnOf(this); }

int64_t MediaPlayer::positionMs()
{
    if (video_) return video_->positionMs();
    if (!audio_) return 0;
    poll();
    return heardMs();
}

// Where the last play stops, for playing on from another place with the same end.
std::optional<int64_t> MediaPlayer::stopPosition() const
{
    if (stopMs_ < 0) return std::nullopt;
    return stopMs_;
}

// The output was rebuilt for a sound server that went away: the file goes on from where it was
// heard (on a stand-in sink while the server is still away, tried again each second).
void MediaPlayer::goOnAfterLoss() { reposition(heardMs(), stopPosition(), true); }

// Where the output stands in this file, as heard; without looking for its end. Between the
// output going on to the next file and this one's end being heard, it is still this file's
// tail that sounds: the position goes on to the end, never back.
int64_t MediaPlayer::heardMs()
{
    AudioOutput& output = AudioOutput::instance();
    const AudioOutput::Span span = output.span(*audio_);
    if (atEnd_ || !span.placed) return restMs_;  // loaded but not yet on the output, or at its end
    int64_t heard = std::max<int64_t>(0, output.heardNs() - span.startNs);
    if (span.endNs >= 0) heard = std::min(heard, span.endNs - span.startNs);
    const int64_t end = stopMs_ >= 0 ? std::min(stopMs_, lengthMs_) : lengthMs_;
    return std::clamp<int64_t>((span.fromNs + heard) / GST_MSECOND, 0, std::max<int64_t>(0, end));
}

bool MediaPlayer::reposition(int64_t fromMs, std::optional<int64_t> toMs, bool start)
{
    takenOver_ = false;
    stopMs_ = toMs.value_or(-1);
    atEnd_ = false;
    restMs_ = fromMs;
    if (fromMs >= (toMs ? *toMs : lengthMs_)) {
        // Nothing to play: the device is at its end at once.
        AudioOutput::instance().release(audio_.get());
        atEnd(fromMs);
        return true;
    }
    AudioOutput& output = AudioOutput::instance();
    if (!output.restart(audio_, fromMs * GST_MSECOND, [&] { return audio_->seek(fromMs, stopMs_); })) return false;
    // What this file went on to was let go with the rest: its successor is prepared again.
    if (!cuedUri_.empty() && output.nextUri() != cuedUri_) output.setNext(this, std::make_shared<Decoder>(cuedUri_));
    if (start) output.play();
    mode_ = start ? Mode::Playing : Mode::Stopped;
    return true;
}

bool MediaPlayer::play(std::optional<int64_t> fromMs, std::optional<int64_t> toMs)
{
    if (video_) return video_->play(fromMs, toMs);
    if (!audio_) return false;
    poll();
    // The file the output went on to plays from its start already: playing it from the start
    // to its end goes on as it is.
    if (takenOver_ && fromMs.value_or(0) == 0 && (!toMs || *toMs >= lengthMs_)) {
        takenOver_ = false;
        AudioOutput::instance().play();
        mode_ = Mode::Playing;
        return true;
    }
    const bool onTimeline = AudioOutput::instance().span(*audio_).feeding;
    if (fromMs || toMs || atEnd_ || !onTimeline) return reposition(fromMs.value_or(positionMs()), toMs, true);
    AudioOutput::instance().play();
    mode_ = Mode::Playing;
    return true;
}

bool MediaPlayer::seek(int64_t ms)
{
    if (video_) {
        if (!video_->play(ms, std::nullopt)) return false;
        video_->stop();
        return true;
    }
    return audio_ && reposition(ms, std::nullopt, false);
}

void MediaPlayer::pause()
{
    if (video_) return video_->pause();
    poll();
    if (holdsRunOn()) return AudioOutput::instance().pause();
    if (mode_ != Mode::Playing) return;
    AudioOutput::instance().pause();
    mode_ = Mode::Paused;
}

void MediaPlayer::resume()
{
    if (video_) return video_->resume();
    poll();
    if (holdsRunOn()) return AudioOutput::instance().play();
    // A loaded or stopped file starts from where it stands; one at its end stays there.
    if (mode_ == Mode::Stopped) {
        if (!atEnd_) play(std::nullopt, std::nullopt);
        return;
    }
    if (mode_ != Mode::Paused) return;
    AudioOutput::instance().play();
    mode_ = Mode::Playing;
}

void MediaPlayer::stop()
{
    if (video_) return video_->stop();
    poll();
    AudioOutput& output = AudioOutput::instance();
    if (output.runOnOf(this)) {
        // Its successor is already on the output (perhaps not yet heard): it goes.
        if (!atEnd_) restMs_ = heardMs();
        output.dropRunOn();
        mode_ = Mode::Stopped;
        return;
    }
    if (mode_ == Mode::Stopped) return;
    restMs_ = heardMs();
    output.pause();
    mode_ = Mode::Stopped;
}

bool MediaPlayer::videoSize(int& width, int& height) const { return video_ && video_->videoSize(width, height); }

double MediaPlayer::volume() const
{
    if (video_) return video_->volume();
    return audio_ ? AudioOutput::instance().volume() : -1;
}

void MediaPlayer::cueNext(const std::string& uri)
{
    if (video_) return;
    AudioOutput& output = AudioOutput::instance();
    cuedUri_ = uri;
    if (output.runOnOf(this) && !output.runningOn(uri)) dropSuccessor();
    if (uri.empty()) return output.setNext(this, nullptr);
    if (output.nextUri() == uri || output.runningOn(uri)) return;
    output.setNext(this, std::make_shared<Decoder>(uri));
}

// The output went on to a file that no longer follows this one. Heard already: it is silenced.
// Not yet heard (this file's last moments still sound): this file goes on alone from where it
// is heard.
void MediaPlayer::dropSuccessor()
{
    AudioOutput& output = AudioOutput::instance();
    poll();
    if (atEnd_) return output.dropRunOn();
    const Mode was = mode_;
    reposition(heardMs(), stopPosition(), was == Mode::Playing);
    if (was == Mode::Paused) mode_ = was;
}

}  // namespace platform::gst
