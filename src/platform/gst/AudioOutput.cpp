#include "platform/gst/AudioOutput.h"
#include "platform/AuxVolume.h"
#include "platform/gst/Decoder.h"
#include "platform/gst/Gst.h"

#include <gst/app/gstappsrc.h>

#include <chrono>
#include <cstdio>
#include <utility>
#include <vector>

namespace platform::gst {

namespace {

int64_t nowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

constexpr guint64 QueuedBytes = AudioOutput::Rate * AudioOutput::FrameBytes / 4;  // 250 ms

int64_t framesToNs(uint64_t frames) { return int64_t(gst_util_uint64_scale(frames, GST_SECOND, AudioOutput::Rate)); }

} // namespace

AudioOutput& AudioOutput::instance()
{
    static AudioOutput* output = new AudioOutput;  // lives to the end of the process, never torn down
    return *output;
}

GstCaps* AudioOutput::newCaps()
{
    return gst_caps_new_simple("audio/x-raw", "format", G_TYPE_STRING, "S16LE", "layout", G_TYPE_STRING, "interleaved",
                               "rate", G_TYPE_INT, Rate, "channels", G_TYPE_INT, Channels, nullptr);
}

AudioOutput::AudioOutput()
{
    ensureInit();
    build();
    addAuxListener([this](uint32_t device) { if (device == AuxMedia) applyVolume(); });
}

AudioOutput::~AudioOutput() { dispose(pipeline_); }

void AudioOutput::build()
{
    GstElement* source = gst_element_factory_make("appsrc", nullptr);
    GstElement* gain = gst_element_factory_make("volume", nullptr);
    pipeline_ = LinkedPipeline("output", {source, gst_element_factory_make("audioconvert", nullptr), gain, makeAudioSink()});
    if (!pipeline_) {
        std::fprintf(stderr, "sonorell: a GStreamer element for sound output is missing\n");
        return;
    }
    appsrc_ = source;
    volume_ = gain;

    const CapsRef caps{newCaps()};
    // Never blocking: a decoder waits for room in deliver(), where a change of the decoder
    // feeding the output can always wake it.
    g_object_set(appsrc_, "caps", caps.get(), "format", GST_FORMAT_TIME, "stream-type", GST_APP_STREAM_TYPE_SEEKABLE,
                 "max-bytes", QueuedBytes, "min-percent", 50u, "block", FALSE, nullptr);
    // The output's flushes are seeks on the output; the decoders do the real seeking.
    GstAppSrcCallbacks callbacks{};
    callbacks.seek_data = [](GstAppSrc*, guint64, gpointer) -> gboolean { return TRUE; };
    callbacks.need_data = [](GstAppSrc*, guint, gpointer self) { static_cast<AudioOutput*>(self)->room_.notify_all(); };
    gst_app_src_set_callbacks(GST_APP_SRC(appsrc_), &callbacks, this, nullptr);
    gst_pad_add_probe(padOf(appsrc_, "src").get(), GST_PAD_PROBE_TYPE_BUFFER, dropStale, this, nullptr);
    applyVolume();
    wakeStream();
}

// A stream that the sound server has never started counts the time it waited, and the first
// play after a long wait would then sound that much later, or not at all; so the stream starts
// at once, on a moment of silence, and is left running for a while. The server may take a
// moment to start it (an idle sink wakes first), and a stream corked before it started stays
// wrong: settle() corks it only when it has surely started.
void AudioOutput::wakeStream()
{
    const gsize bytes = Rate / 20 * FrameBytes;
    GstBuffer* silence = gst_buffer_new_allocate(nullptr, bytes, nullptr);
    gst_buffer_memset(silence, 0, 0, bytes);
    GST_BUFFER_PTS(silence) = 0;
    GST_BUFFER_DURATION(silence) = GST_SECOND / 20;
    GST_BUFFER_OFFSET(silence) = epoch_;
    gst_element_set_state(pipeline_, GST_STATE_PLAYING);
    gst_app_src_push_buffer(GST_APP_SRC(appsrc_), silence);
    gst_app_src_end_of_stream(GST_APP_SRC(appsrc_));
    wokeAtMs_ = nowMs();
}

void AudioOutput::settle()
{
    constexpr int64_t ServerStartsWithinMs = 5000;
    if (wokeAtMs_ < 0 || playing_ || nowMs() - wokeAtMs_ < ServerStartsWithinMs) return;
    wokeAtMs_ = -1;
    gst_element_set_state(pipeline_, GST_STATE_PAUSED);
}

GstPadProbeReturn AudioOutput::dropStale(GstPad*, GstPadProbeInfo* info, gpointer self)
{
    auto* output = static_cast<AudioOutput*>(self);
    GstBuffer* buffer = GST_PAD_PROBE_INFO_BUFFER(info);
    std::lock_guard lock(output->mutex_);
    return GST_BUFFER_OFFSET(buffer) == output->epoch_ ? GST_PAD_PROBE_OK : GST_PAD_PROBE_DROP;
}

void AudioOutput::applyVolume() { g_object_set(volume_, "volume", auxGain(AuxMedia), nullptr); }

double AudioOutput::volume() const
{
    gdouble gain = 0;
    g_object_get(volume_, "volume", &gain, nullptr);
    return gain;
}

// Drops whatever is queued for the sound server, keeping its stream; the timeline starts at 0.
void AudioOutput::flush()
{
    gst_element_seek_simple(pipeline_, GST_FORMAT_TIME, GST_SEEK_FLAG_FLUSH, 0);
    drainBus(pipeline_, [](GstMessage*) {});
    playedOut_ = false;
}

bool AudioOutput::restart(const std::shared_ptr<Decoder>& decoder, int64_t fromNs, const std::function<bool()>& reposition)
{
    reap();
    std::vector<std::shared_ptr<Decoder>> gone;
    {
        std::lock_guard lock(mutex_);
        ++epoch_;
        frames_ = 0;
        if (feeding_) feeding_->timeline_.feeding = false;
        gone = {std::move(feeding_), std::move(runOn_)};
        feeding_.reset();
        runOn_.reset();
    }
    room_.notify_all();
    pause();
    flush();
    gone.clear();  // their streaming threads were let go by the flush
    if (!reposition()) return false;
    {
        std::lock_guard lock(mutex_);
        decoder->timeline_ = {true, 0, fromNs, -1};
        feeding_ = decoder;
    }
    decoder->run();
    return true;
}

void AudioOutput::release(const Decoder* decoder)
{
    std::shared_ptr<Decoder> gone;
    {
        std::lock_guard lock(mutex_);
        if (!decoder || feeding_.get() != decoder) return;
        ++epoch_;
        feeding_->timeline_.feeding = false;
        gone = std::move(feeding_);
    }
    room_.notify_all();
    pause();
    flush();
}

void AudioOutput::dropRunOn()
{
    std::shared_ptr<Decoder> gone;
    {
        std::lock_guard lock(mutex_);
        if (!runOn_) return;
        gone = std::move(runOn_);
        if (feeding_ != gone) return;
        ++epoch_;
        feeding_.reset();
    }
    room_.notify_all();
    pause();
    flush();
}

void AudioOutput::play()
{
    gst_element_set_state(pipeline_, GST_STATE_PLAYING);
    playing_ = true;
    wokeAtMs_ = -1;
}

void AudioOutput::pause()
{
    gst_element_set_state(pipeline_, GST_STATE_PAUSED);
    playing_ = false;
}

int64_t AudioOutput::heardNs()
{
    playedOut();
    gint64 position = 0;
    if (!gst_element_query_position(pipeline_, GST_FORMAT_TIME, &position) || position < 0) return 0;
    return position;
}

bool AudioOutput::playedOut()
{
    drainBus(pipeline_, [this](GstMessage* message) {
        if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_EOS) playedOut_ = true;
        else if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_ERROR)
            std::fprintf(stderr, "sonorell: audio output: %s\n", ErrorText(message).c_str());
    });
    return playedOut_;
}

// Decoders put aside by streaming threads go here, on the caller's thread.
void AudioOutput::reap()
{
    std::vector<std::shared_ptr<Decoder>> gone;
    std::lock_guard lock(mutex_);
    gone.swap(retired_);
}

AudioOutput::Span AudioOutput::span(const Decoder& decoder)
{
    reap();
    std::lock_guard lock(mutex_);
    const auto& t = decoder.timeline_;
    return {t.feeding, framesToNs(t.start), t.fromNs, t.end < 0 ? -1 : framesToNs(uint64_t(t.end))};
}

void AudioOutput::setNext(std::shared_ptr<Decoder> next)
{
    reap();
    if (next) next->begin();
    std::lock_guard lock(mutex_);
    std::swap(next_, next);  // the one replaced goes when this returns, outside the lock
}

std::string AudioOutput::nextUri()
{
    std::lock_guard lock(mutex_);
    return next_ ? next_->uri() : std::string();
}

std::shared_ptr<Decoder> AudioOutput::takeRunOn(const std::string& uri)
{
    std::lock_guard lock(mutex_);
    if (!runOn_ || runOn_->uri() != uri) return nullptr;
    return std::exchange(runOn_, nullptr);
}

bool AudioOutput::runningOn(const std::string& uri)
{
    std::lock_guard lock(mutex_);
    return runOn_ && runOn_->uri() == uri;
}

GstFlowReturn AudioOutput::deliver(Decoder& from, GstSample* sample)
{
    GstBuffer* buffer = gst_sample_get_buffer(sample);
    if (!buffer) return GST_FLOW_OK;
    const uint64_t frames = gst_buffer_get_size(buffer) / FrameBytes;
    std::unique_lock lock(mutex_);
    for (;;) {
        if (feeding_.get() != &from) return GST_FLOW_FLUSHING;
        if (gst_app_src_get_current_level_bytes(GST_APP_SRC(appsrc_)) < QueuedBytes) break;
        // need-data wakes this; the timeout covers a wake that came just before the wait.
        room_.wait_for(lock, std::chrono::milliseconds(50));
    }
    // The timeline, not the file, stamps the buffers: two files follow each other seamlessly.
    buffer = gst_buffer_make_writable(gst_buffer_ref(buffer));
    GST_BUFFER_PTS(buffer) = framesToNs(frames_);
    GST_BUFFER_DURATION(buffer) = framesToNs(frames_ + frames) - framesToNs(frames_);
    GST_BUFFER_OFFSET(buffer) = epoch_;
    GST_BUFFER_OFFSET_END(buffer) = GST_BUFFER_OFFSET_NONE;
    frames_ += frames;
    return gst_app_src_push_buffer(GST_APP_SRC(appsrc_), buffer);
}

void AudioOutput::finished(Decoder& from)
{
    std::shared_ptr<Decoder> follow;
    {
        std::lock_guard lock(mutex_);
        if (feeding_.get() != &from) return;
        from.timeline_.end = int64_t(frames_);
        // A file the output went on to that nobody has taken over yet does not go on again: the
        // window would have skipped it.
        const bool taken = runOn_.get() != &from;
        if (next_ && taken && from.endsNaturally() && next_->readyNow()) {
            follow = std::exchange(next_, nullptr);
            follow->timeline_ = {true, frames_, 0, -1};
            from.timeline_.feeding = false;
            // Never the last reference here: a decoder cannot be torn down on its own thread.
            retired_.push_back(std::exchange(feeding_, follow));
            retired_.push_back(std::exchange(runOn_, follow));
        } else {
            gst_app_src_end_of_stream(GST_APP_SRC(appsrc_));
        }
    }
    if (follow) follow->run();
}

} // namespace platform::gst
