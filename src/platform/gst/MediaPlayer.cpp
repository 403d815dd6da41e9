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

} // namespace

MediaPlayer::MediaPlayer() = default;

MediaPlayer::~MediaPlayer()
{
    if (audio_) AudioOutput::instance().release(audio_.get());
}

MediaPlayer::OpenResult MediaPlayer::open(const std::string& uri, uint64_t parentWindow)
{
    ensureInit();
    AudioOutput& output = AudioOutput::instance();
    if (auto running = output.takeRunOn(uri)) {
        audio_ = std::move(running);
        lengthMs_ = audio_->lengthMs();
        mode_ = Mode::Playing;
        takenOver_ = true;
        return OpenResult::Ok;
    }
    output.dropRunOn();
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
    default:
        return OpenResult::CannotDecode;
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
    return mode_;
}

int64_t MediaPlayer::positionMs()
{
    if (video_) return video_->positionMs();
    if (!audio_) return 0;
    poll();
    return heardMs();
}

// Where the output stands in this file, as heard; without looking for its end.
int64_t MediaPlayer::heardMs()
{
    AudioOutput& output = AudioOutput::instance();
    const AudioOutput::Span span = output.span(*audio_);
    if (atEnd_ || !span.feeding) return restMs_;  // loaded but not yet on the output, or at its end
    const int64_t ns = span.fromNs + std::max<int64_t>(0, output.heardNs() - span.startNs);
    return std::clamp<int64_t>(ns / GST_MSECOND, 0, lengthMs_);
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
    if (mode_ != Mode::Playing) return;
    AudioOutput::instance().pause();
    mode_ = Mode::Paused;
}

void MediaPlayer::resume()
{
    if (video_) return video_->resume();
    poll();
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
    if (mode_ == Mode::Stopped) return;
    restMs_ = heardMs();
    AudioOutput::instance().pause();
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
    AudioOutput& output = AudioOutput::instance();
    if (uri.empty()) return output.setNext(nullptr);
    if (output.nextUri() == uri || output.runningOn(uri)) return;
    output.setNext(std::make_shared<Decoder>(uri));
}

} // namespace platform::gst
