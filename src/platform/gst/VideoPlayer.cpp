#include "platform/gst/VideoPlayer.h"
#include "platform/AuxVolume.h"
#include "platform/gst/Gst.h"

#include <gst/video/videooverlay.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace platform::gst {

namespace {

constexpr GstClockTime OpenTimeout = 4 * GST_SECOND;
constexpr guint PlaybinVideo = 1 << 0, PlaybinAudio = 1 << 1, PlaybinSoftVolume = 1 << 4;

int64_t toMs(gint64 ns) { return ns / GST_MSECOND; }

int64_t nowMs() { return g_get_monotonic_time() / 1000; }

bool soundOutputFailed(GstMessage* error)
{
    GstObject* source = GST_MESSAGE_SRC(error);
    if (!GST_IS_ELEMENT(source)) return false;
    const char* kind = gst_element_get_metadata(GST_ELEMENT(source), GST_ELEMENT_METADATA_KLASS);
    return kind && std::strstr(kind, "Sink") && std::strstr(kind, "Audio");
}

// A stream prerolled at the open and left waiting sounds about as late as it waited, from a
// tenth of a second on; a new one costs a few hundredths.
constexpr int64_t RestBeforeNewStreamMs = 100;

GstElement* makeFakeVideoSink()
{
    GstElement* sink = gst_element_factory_make("fakesink", nullptr);
    g_object_set(sink, "sync", TRUE, nullptr);
    return sink;
}

// $SONORELL_VIDEO_SINK, else an X window sink (inside parentWindow when given). The automatic
// chooser is not used: among the sinks it tries are some that crash on machines without them.
// The picture goes into the window only once the sink asks for one, that is for a file that
// has a picture: a sink handed the window up front paints it black when it is torn down, even
// for a song.
GstBusSyncReply bindWindowWhenAsked(GstBus*, GstMessage* message, gpointer window)
{
    if (gst_is_video_overlay_prepare_window_handle_message(message))
        gst_video_overlay_set_window_handle(GST_VIDEO_OVERLAY(GST_MESSAGE_SRC(message)), guintptr(window));
    return GST_BUS_PASS;
}

GstElement* makeVideoSink()
{
    if (const char* description = std::getenv("SONORELL_VIDEO_SINK"); description && *description)
        if (GstElement* sink = parseBin(description)) return sink;
    if (!std::getenv("DISPLAY")) return makeFakeVideoSink();
    for (const char* factory : {"xvimagesink", "ximagesink"}) {
        GstElement* sink = gst_element_factory_make(factory, nullptr);
        if (!sink) continue;
        if (gst_element_set_state(sink, GST_STATE_READY) != GST_STATE_CHANGE_FAILURE) return sink;
        gst_element_set_state(sink, GST_STATE_NULL);
        Ref<GstElement> discarded(sink);
    }
    return makeFakeVideoSink();
}

// The audio output behind a queue of a few seconds: while the file prerolls the parser runs on
// ahead into the queue, far enough to estimate the length of files without a length header.
GstElement* queuedBefore(GstElement* sink)
{
    GstElement* bin = gst_bin_new(nullptr);
    GstElement* queue = gst_element_factory_make("queue", nullptr);
    g_object_set(queue, "max-size-time", guint64(3 * GST_SECOND), "max-size-buffers", 0u, "max-size-bytes", 0u, nullptr);
    gst_bin_add_many(GST_BIN(bin), queue, sink, nullptr);
    gst_element_link(queue, sink);
    gst_element_add_pad(bin, gst_ghost_pad_new("sink", padOf(queue, "sink").get()));
    return bin;
}

}  // namespace

struct VideoPlayer::Gst {
    GstElement* playbin = nullptr;
    ~Gst() { dispose(playbin); }
};

VideoPlayer::VideoPlayer() : gst_(std::make_unique<Gst>()) { }

VideoPlayer::~VideoPlayer()
{
    if (auxListener_) removeAuxListener(auxListener_);
}

// Prerolls playbin: the length; -1 when the file prerolled without one; -2 when it cannot be played.
int64_t VideoPlayer::preroll(const std::string& uri, uint64_t parentWindow, bool waitForLength)
{
    GstElement* playbin = gst_element_factory_make("playbin", nullptr);
    if (!playbin) return -2;
    gst_->playbin = playbin;
    leap_.forget();
    // Opened while the sound server is away: a silent sink stands in, and the server is tried
    // again once it plays.
    bool silent = false;
    GstElement* audioSink = makeAudioSink(&silent);
    standInTriedAtMs_ = silent && desktopOutputFound() ? nowMs() : -1;
    if (waitForLength) audioSink = queuedBefore(audioSink);
    g_object_set(playbin, "uri", uri.c_str(), "flags", PlaybinVideo | PlaybinAudio | PlaybinSoftVolume, "audio-sink", audioSink,
                 "video-sink", makeVideoSink(), nullptr);
    if (parentWindow)
        gst_bus_set_sync_handler(busOf(playbin).get(), bindWindowWhenAsked, gpointer(guintptr(parentWindow)), nullptr);
    applyVolume();
    if (gst_element_set_state(playbin, GST_STATE_PAUSED) == GST_STATE_CHANGE_FAILURE) return -2;

    const MessageRef message{gst_bus_timed_pop_filtered(busOf(playbin).get(), OpenTimeout,
                                                        GstMessageType(GST_MESSAGE_ASYNC_DONE | GST_MESSAGE_ERROR))};
    const bool ready = message && GST_MESSAGE_TYPE(message.get()) == GST_MESSAGE_ASYNC_DONE;
    if (!ready) {
        std::fprintf(stderr, "sonorell: cannot play %s: %s\n", uri.c_str(),
                     message ? ErrorText(message.get()).c_str() : "no answer from the decoder");
        return -2;
    }

    gint audioStreams = 0, videoStreams = 0;
    g_object_get(playbin, "n-audio", &audioStreams, "n-video", &videoStreams, nullptr);
    if (audioStreams + videoStreams == 0) return -2;
    gint64 duration = -1;
    if (waitForLength)
        duration = WaitForDuration(playbin, 2000);
    else
        gst_element_query_duration(playbin, GST_FORMAT_TIME, &duration);
    return duration > 0 ? toMs(duration) : -1;
}

bool VideoPlayer::open(const std::string& uri, uint64_t parentWindow)
{
    ensureInit();
    // Most files state their length; the few that do not are opened again behind a queue, so
    // the parser can run ahead and estimate it. A file that failed is not tried again.
    length_ = preroll(uri, parentWindow, false);
    if (length_ == -1) {
        dispose(gst_->playbin);
        length_ = preroll(uri, parentWindow, true);
    }
    if (length_ < 0) {
        dispose(gst_->playbin);
        length_ = -1;
        return false;
    }
    auxListener_ = addAuxListener([this](uint32_t device) {
        if (device == AuxMedia) applyVolume();
    });
    restedSinceMs_ = nowMs();
    return true;
}

void VideoPlayer::applyVolume()
{
    if (gst_->playbin) g_object_set(gst_->playbin, "volume", auxGain(AuxMedia), nullptr);
}

double VideoPlayer::volume() const
{
    if (!gst_->playbin) return -1;
    gdouble gain = 0;
    g_object_get(gst_->playbin, "volume", &gain, nullptr);
    return gain;
}

void VideoPlayer::poll()
{
    if (!gst_->playbin) return;
    DrainBus(gst_->playbin, {.error = [this](GstMessage* error) { failed(error); },
                             // The end of the stream is the stop position (or the length) exactly.
                             .endOfStream = [this](GstMessage*) { endAt(endOfPlay()); }});
    if (mode_ == Mode::Playing && (soundLost_ || serverBackForStandIn())) goOnWithNewSink();
}

void VideoPlayer::endAt(int64_t positionMs)
{
    if (mode_ != Mode::Playing) return;
    reachEnd(positionMs);
    gst_element_set_state(gst_->playbin, GST_STATE_PAUSED);
}

void VideoPlayer::failed(GstMessage* error)
{
    if (soundLost_) return;  // the lost sink's later errors
    const int64_t at = playedMs();
    if (mode_ != Mode::Playing || !soundOutputFailed(error)) return endAt(at);
    // Its server went away: the file goes on from there on a new sink.
    ReportLostOutput(error);
    soundLost_ = true;
    rest_ = at;
}

// While a silent stand-in plays, the sound server is tried again once a second.
bool VideoPlayer::serverBackForStandIn()
{
    if (standInTriedAtMs_ < 0 || nowMs() - standInTriedAtMs_ < 1000) return false;
    standInTriedAtMs_ = nowMs();
    bool silent = false;
    const Ref<GstElement> probe(makeAudioSink(&silent, true));
    return !silent;
}

// The file goes on where it is on a new sink: the server's when it is back, else a silent stand-in.
void VideoPlayer::goOnWithNewSink()
{
    const int64_t from = soundLost_ ? rest_ : playedMs();
    soundLost_ = true;      // play() replaces the sink
    mode_ = Mode::Stopped;  // and its own poll must not come back here
    if (play(from, stopPosition())) return;
    soundLost_ = true;  // stopped there: Play tries again
    rest_ = from;
}

int64_t VideoPlayer::playedMs() const
{
    gint64 position = 0;
    if (!gst_element_query_position(gst_->playbin, GST_FORMAT_TIME, &position) || position < 0) return 0;
    return std::min(toMs(position), length_);
}

int64_t VideoPlayer::position()
{
    poll();
    if (atEnd_ || soundLost_) return rest_;
    if (mode_ == Mode::Playing && uncorking_.now()) return uncorkingFromMs_;
    const int64_t played = playedMs();
    return clockFailed(played) ? rest_ : played;
}

// A failed clock loses the sink: the file goes on from the last position read. What playbin has
// fed is not known, so only a clock that leapt or a position that falls back tells.
bool VideoPlayer::clockFailed(int64_t playedMs)
{
    const int64_t ns = playedMs * GST_MSECOND;
    if (!leap_.leapt(gst_->playbin) && !clock_.failed(mode_ == Mode::Playing, ns, lastPlayedMs_ * GST_MSECOND, ns, nowMs())) {
        lastPlayedMs_ = playedMs;
        return false;
    }
    soundLost_ = true;
    rest_ = lastPlayedMs_;
    return true;
}

bool VideoPlayer::play(std::optional<int64_t> fromMs, std::optional<int64_t> toMs)
{
    poll();
    if (!atEnd_ && !soundLost_) position();  // a sink whose clock leapt is lost: none of it would be heard
    if (!fromMs && (atEnd_ || soundLost_)) fromMs = rest_;
    if (soundLost_ || (restedSinceMs_ >= 0 && nowMs() - restedSinceMs_ > RestBeforeNewStreamMs)) {
        // The sound server starts a stream left waiting since the open as late as it waited: a
        // new one (the pipeline readied and prerolled again where it stands) sounds at once. A
        // sink whose server went away is replaced by one on the server as it is now.
        if (!fromMs) fromMs = position();
        // A lost sink lets go of its dead connection only down in NULL: pulsesink shares it.
        const bool renewSink = std::exchange(soundLost_, false);
        gst_element_set_state(gst_->playbin, renewSink ? GST_STATE_NULL : GST_STATE_READY);
        if (renewSink) {
            leap_.forget();
            bool silent = false;
            g_object_set(gst_->playbin, "audio-sink", makeAudioSink(&silent, true), nullptr);
            standInTriedAtMs_ = silent ? nowMs() : -1;
        }
        gst_element_set_state(gst_->playbin, GST_STATE_PAUSED);
        gst_element_get_state(gst_->playbin, nullptr, nullptr, 2 * GST_SECOND);
    }
    int64_t startMs = lastPlayedMs_;
    if (fromMs || toMs || atEnd_) {
        const int64_t from = startMs = fromMs.value_or(position());
        stop_ = toMs.value_or(-1);
        const auto flags = GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE);
        const gint64 stop = toMs ? *toMs * GST_MSECOND : gint64(GST_CLOCK_TIME_NONE);
        if (!gst_element_seek(gst_->playbin, 1.0, GST_FORMAT_TIME, flags, GST_SEEK_TYPE_SET, from * GST_MSECOND,
                              GST_SEEK_TYPE_SET, stop))
            return false;
        // Seeks in a file complete in milliseconds; waiting makes the next position exact.
        gst_element_get_state(gst_->playbin, nullptr, nullptr, 2 * GST_SECOND);
        atEnd_ = false;
        if (nothingToPlay(from, toMs)) {
            reachEnd(from);
            return true;
        }
    }
    startPlaying(startMs);
    if (gst_element_set_state(gst_->playbin, GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE) return false;
    mode_ = Mode::Playing;
    restedSinceMs_ = -1;
    lastPlayedMs_ = 0;
    clock_.rest();
    return true;
}

void VideoPlayer::hold() { gst_element_set_state(gst_->playbin, GST_STATE_PAUSED); }

void VideoPlayer::goOn()
{
    startPlaying(lastPlayedMs_);
    gst_element_set_state(gst_->playbin, GST_STATE_PLAYING);
}

void VideoPlayer::startPlaying(int64_t fromMs)
{
    uncorking_.start();
    uncorkingFromMs_ = fromMs;
}

bool VideoPlayer::seek(int64_t ms)
{
    if (!play(ms, std::nullopt)) return false;
    stop();
    return true;
}

bool VideoPlayer::videoSize(int& width, int& height) const
{
    gint videoStreams = 0;
    g_object_get(gst_->playbin, "n-video", &videoStreams, nullptr);
    if (videoStreams <= 0) return false;
    GstPad* pad = nullptr;
    g_signal_emit_by_name(gst_->playbin, "get-video-pad", 0, &pad);
    const Ref<GstPad> video(pad);
    const CapsRef caps{video ? gst_pad_get_current_caps(video.get()) : nullptr};
    if (!caps) return false;
    const GstStructure* s = gst_caps_get_structure(caps.get(), 0);
    return gst_structure_get_int(s, "width", &width) && gst_structure_get_int(s, "height", &height);
}

}  // namespace platform::gst
