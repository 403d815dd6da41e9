#include "platform/gst/AudioOutput.h"
#include "platform/AuxVolume.h"
#include "platform/gst/Decoder.h"
#include "platform/gst/Gst.h"
#include "platform/gst/SoundServerFacts.h"

#include <gst/app/gstappsrc.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

namespace platform::gst {

namespace {

int64_t nowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// The rate the output plays at, for the whole run: the sound server's own, so a file at that rate
// is never resampled and any other once, by its decoder. A test sink keeps CD audio's rate.
int chooseRate()
{
    constexpr int CdRate = 44100, CommonRate = 48000;
    if (const char* sink = std::getenv("SONORELL_AUDIO_SINK"); sink && *sink) return CdRate;
    const int server = soundServer().rate;
    return server >= 8000 && server <= 384000 ? server : CommonRate;
}

// Chosen when the output is first made, once the environment is set.
int outputRate()
{
    static const int rate = chooseRate();
    return rate;
}

// Scales the samples of a buffer of the output's format in place.
void scale(GstBuffer* buffer, float factor)
{
    GstMapInfo map;
    if (factor == 1.0f || !gst_buffer_map(buffer, &map, GST_MAP_READWRITE)) return;
    auto* samples = reinterpret_cast<float*>(map.data);
    for (size_t i = 0, n = map.size / sizeof(float); i < n; ++i) samples[i] *= factor;
    gst_buffer_unmap(buffer, &map);
}

guint64 queuedBytes() { return guint64(outputRate()) * AudioOutput::FrameBytes / 4; }  // 250 ms

constexpr int64_t ServerStartsWithinMs = 5000;  // a woken stream has surely started by then

int64_t framesToNs(uint64_t frames) { return int64_t(gst_util_uint64_scale(frames, GST_SECOND, outputRate())); }

}  // namespace

namespace {
std::atomic<AudioOutput*> made = nullptr;

thread_local bool makingOwnSink = false;  // a sink that does not open then is its own, not a holder's
}  // namespace

AudioOutput& AudioOutput::instance()
{
    static AudioOutput* output = made = new AudioOutput;  // lives to the end of the process, never torn down
    return *output;
}

bool AudioOutput::serverWentAway()
{
    AudioOutput* output = made;
    if (!output || makingOwnSink) return false;
    std::lock_guard control(output->control_);
    {
        std::lock_guard lock(output->mutex_);
        if (output->playing_ || output->feeding_) return false;  // a file it holds goes on from its own loss
    }
    output->lost_ = true;
    output->rebuildIfLost();
    return true;
}

GstCaps* AudioOutput::newCaps()
{
    return gst_caps_new_simple("audio/x-raw", "format", G_TYPE_STRING, "F32LE", "layout", G_TYPE_STRING, "interleaved", "rate",
                               G_TYPE_INT, outputRate(), "channels", G_TYPE_INT, Channels, nullptr);
}

AudioOutput::AudioOutput()
{
    ensureInit();
    build();
    setIdleOutputRelease(&AudioOutput::serverWentAway);
    addAuxListener([this](uint32_t device) {
        if (device == AuxMedia) applyVolume();
    });
}

AudioOutput::~AudioOutput() { dispose(pipeline_); }

void AudioOutput::build()
{
    GstElement* source = gst_element_factory_make("appsrc", nullptr);
    GstElement* gain = gst_element_factory_make("volume", nullptr);
    const bool again = triedAtMs_ > 0;
    triedAtMs_ = nowMs();
    bool silent = false;
    makingOwnSink = true;
    GstElement* sink = makeAudioSink(&silent, again);
    makingOwnSink = false;
    silent_ = silent && desktopOutputFound();  // a server away or without a device: tried again later
    pipeline_ = LinkedPipeline("output", {source, gst_element_factory_make("audioconvert", nullptr), gain, sink});
    if (!pipeline_) {
        std::fprintf(stderr, "sonorell: a GStreamer element for sound output is missing\n");
        return;
    }
    appsrc_ = source;
    volume_ = gain;

    const CapsRef caps{newCaps()};
    // Never blocking: a decoder waits for room in deliver(), where a change of the decoder
    // feeding the output can always wake it.
    g_object_set(appsrc_, "caps", caps.get(), "format", GST_FORMAT_TIME, "stream-type", GST_APP_STREAM_TYPE_SEEKABLE, "max-bytes",
                 queuedBytes(), "min-percent", 50u, "block", FALSE, nullptr);
    // The output's flushes are seeks on the output; the decoders do the real seeking.
    GstAppSrcCallbacks callbacks{};
    callbacks.seek_data = [](GstAppSrc*, guint64, gpointer) -> gboolean { return TRUE; };
    callbacks.need_data = [](GstAppSrc*, guint, gpointer self) {
        auto* output = static_cast<AudioOutput*>(self);
        {
            std::lock_guard lock(output->mutex_);
        }  // a decoder is either waiting or sees the room
        output->room_.notify_all();
    };
    gst_app_src_set_callbacks(GST_APP_SRC(appsrc_), &callbacks, this, nullptr);
    gst_pad_add_probe(padOf(appsrc_, "src").get(), GST_PAD_PROBE_TYPE_BUFFER, dropStale, this, nullptr);
    heard_.watch(pipeline_, [this] {
        endHeard_ = true;
        watchUntil(&AudioOutput::restDueMs_, nowMs());
    });
    applyVolume();
    wakeStream();
}

// A stream that the sound server has never started counts the time it waited, and the first
// play after a long wait would then sound that much later, or not at all; so the stream starts
// at once, on half a second of silence: a shorter one is not always started. It rests once that
// is heard. The server may take a moment to start it (an idle sink wakes first), and a stream
// corked before it started stays wrong: should its end never be heard, settle() corks it only
// when it has surely started.
void AudioOutput::wakeStream()
{
    gst_element_set_state(pipeline_, GST_STATE_PLAYING);
    heard_.playing();
    {
        std::lock_guard lock(mutex_);
        endAfterSilence(0, outputRate() / 2);
    }
    wokeAtMs_ = nowMs();
    // Corked by the output itself: left running, the stream would wake the sound server's thread
    // here many times a second while nothing plays.
    watchUntil(&AudioOutput::settleDueMs_, wokeAtMs_ + ServerStartsWithinMs);
}

// Frames of silence at timeline frame at, in the current epoch.
void AudioOutput::pushSilence(uint64_t at, uint64_t frames)
{
    const gsize bytes = frames * FrameBytes;
    GstBuffer* silence = gst_buffer_new_allocate(nullptr, bytes, nullptr);
    gst_buffer_memset(silence, 0, 0, bytes);
    GST_BUFFER_PTS(silence) = framesToNs(at);
    GST_BUFFER_DURATION(silence) = framesToNs(at + frames) - framesToNs(at);
    GST_BUFFER_OFFSET(silence) = epoch_;
    gst_app_src_push_buffer(GST_APP_SRC(appsrc_), silence);
}

void AudioOutput::settle()
{
    std::lock_guard control(control_);
    if (wokeAtMs_ < 0 || playing_ || nowMs() - wokeAtMs_ < ServerStartsWithinMs) return;
    wokeAtMs_ = -1;
    gst_element_set_state(pipeline_, GST_STATE_PAUSED);
}

// The stream ends on frames of silence at timeline frame at; the caller holds mutex_.
void AudioOutput::endAfterSilence(uint64_t at, uint64_t frames)
{
    pushSilence(at, frames);
    endEpoch_ = epoch_;
    gst_app_src_end_of_stream(GST_APP_SRC(appsrc_));
}

// A stream the sound server has played out is corked at once: left running on nothing, it is
// owed that time, and the server later takes seconds of sound in one go, so that a volume change
// made then is heard seconds late.
void AudioOutput::restOnceEndHeard()
{
    std::lock_guard control(control_);
    if (lost() || !endHeard_) return;  // flushed since: the end heard was a stale one
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
    endHeard_ = false;  // an end heard before the flush is stale
    heard_.reset();
}

// Off the timeline: what the decoder fed is no longer heard.
void AudioOutput::unplace(Decoder* decoder)
{
    if (decoder) decoder->timeline_.feeding = decoder->timeline_.placed = false;
}

bool AudioOutput::restart(const std::shared_ptr<Decoder>& decoder, int64_t fromNs, const std::function<bool()>& reposition)
{
    std::lock_guard control(control_);
    reap();
    std::vector<std::shared_ptr<Decoder>> gone;
    {
        std::lock_guard lock(mutex_);
        ++epoch_;
        frames_ = 0;
        unplace(feeding_.get());
        unplace(runOn_.get());
        unplace(decoder.get());
        gone = {std::move(feeding_), std::move(runOn_)};
        feeding_.reset();
        runOn_.reset();
        runOnOwner_ = nullptr;
        orphanDeadlineMs_ = -1;
    }
    room_.notify_all();
    if (heard_.clockLeapt()) lost_ = true;  // the new file would be timed centuries ahead
    rebuildIfLost();
    pause();
    flush();
    gone.clear();  // their streaming threads were let go by the flush
    if (!reposition()) return false;
    {
        std::lock_guard lock(mutex_);
        decoder->timeline_ = {true, true, 0, fromNs, -1};
        feeding_ = decoder;
    }
    decoder->run();
    // The sink takes its first buffer before it is told to play: a short rest of a file, its end
    // reached before the sink has started, would otherwise leave the sink's clock behind.
    gst_element_get_state(pipeline_, nullptr, nullptr, 200 * GST_MSECOND);
    return true;
}

void AudioOutput::release(const Decoder* decoder)
{
    std::lock_guard control(control_);
    std::shared_ptr<Decoder> gone;
    {
        std::lock_guard lock(mutex_);
        if (!decoder || feeding_.get() != decoder) return;
        ++epoch_;
        unplace(feeding_.get());
        gone = std::move(feeding_);
    }
    room_.notify_all();
    pause();
    flush();
}

void AudioOutput::forget(Owner owner)
{
    std::lock_guard control(control_);
    std::shared_ptr<Decoder> cue;
    bool orphan = false;
    {
        std::lock_guard lock(mutex_);
        if (nextOwner_ == owner) {
            cue = std::move(next_);
            next_.reset();
            nextOwner_ = nullptr;
        }
        if (runOn_ && runOnOwner_ == owner) {
            runOnOwner_ = nullptr;
            orphan = true;
        }
    }
    if (orphan) silenceOrphanLater();
}

bool AudioOutput::runOnOf(Owner owner)
{
    std::lock_guard lock(mutex_);
    return runOn_ && runOnOwner_ == owner;
}

// The window closes the file that ended and opens the one heard at once; anything slower is
// not a take-over, and what nobody owns must not sound on.
void AudioOutput::silenceOrphanLater()
{
    constexpr int64_t TakeOverWithinMs = 50;
    watchUntil(&AudioOutput::orphanDeadlineMs_, nowMs() + TakeOverWithinMs);
}

void AudioOutput::watchUntil(int64_t AudioOutput::*deadline, int64_t dueMs)
{
    {
        std::lock_guard lock(mutex_);
        this->*deadline = dueMs;
        if (!watch_.joinable()) watch_ = std::thread([this] { watchDeadlines(); });
    }
    deadlines_.notify_all();
}

// Sleeps until a deadline is due, so a player at rest wakes nobody.
void AudioOutput::watchDeadlines()
{
    const std::pair<int64_t AudioOutput::*, void (AudioOutput::*)()> deadlines[] = {
        {&AudioOutput::orphanDeadlineMs_, &AudioOutput::dropOrphan},
        {&AudioOutput::settleDueMs_, &AudioOutput::settle},
        {&AudioOutput::restDueMs_, &AudioOutput::restOnceEndHeard}};
    std::unique_lock lock(mutex_);
    for (;;) {
        deadlines_.wait(lock, [&] {
            return std::any_of(std::begin(deadlines), std::end(deadlines), [this](const auto& d) { return this->*d.first >= 0; });
        });
        int64_t next = INT64_MAX;
        bool acted = false;
        for (const auto& [deadline, act] : deadlines) {
            const int64_t due = this->*deadline;
            if (due < 0) continue;
            if (due > nowMs()) {
                next = std::min(next, due);
                continue;
            }
            this->*deadline = -1;
            lock.unlock();
            (this->*act)();
            lock.lock();
            acted = true;  // the deadlines may have moved meanwhile: looked at afresh
            break;
        }
        if (!acted) deadlines_.wait_for(lock, std::chrono::milliseconds(next - nowMs()));
    }
}

void AudioOutput::dropOrphan()
{
    std::lock_guard control(control_);
    {
        std::lock_guard lock(mutex_);
        if (!runOn_ || runOnOwner_) return;
        orphanDeadlineMs_ = -1;
    }
    dropRunOn();
}

void AudioOutput::dropRunOn()
{
    std::lock_guard control(control_);
    std::shared_ptr<Decoder> gone;
    {
        std::lock_guard lock(mutex_);
        if (!runOn_) return;
        gone = std::move(runOn_);
        runOnOwner_ = nullptr;
        orphanDeadlineMs_ = -1;
        if (feeding_ != gone) return;
        ++epoch_;
        unplace(gone.get());
        feeding_.reset();
    }
    room_.notify_all();
    pause();
    flush();
    std::lock_guard lock(mutex_);
    retired_.push_back(std::move(gone));  // torn down by the next caller, not on the watch
}

void AudioOutput::play()
{
    std::lock_guard control(control_);
    if (gst_element_set_state(pipeline_, GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE) lost_ = true;
    playing_ = true;
    wokeAtMs_ = -1;
    heard_.playing();
}

void AudioOutput::pause()
{
    std::lock_guard control(control_);
    // Paused while it waits for its end of stream to be heard, the sink would wake again and
    // again on its stopped clock: it plays out the silence after the end and then rests.
    if (!endPending()) gst_element_set_state(pipeline_, GST_STATE_PAUSED);
    playing_ = false;
    heard_.stopRunning();
}

// Only the silence after the end is left to hear.
bool AudioOutput::endPending()
{
    const int64_t heard = heardNs();
    std::lock_guard lock(mutex_);
    return endEpoch_ == epoch_ && !endHeard_ && !lost_ && heard >= framesToNs(frames_);
}

int64_t AudioOutput::heardNs()
{
    std::lock_guard control(control_);
    return lost() ? heard_.last() : readHeard();
}

int64_t AudioOutput::readHeard()
{
    if (heard_.uncorking()) return heard_.last();
    gint64 position = 0;
    if (!gst_element_query_position(pipeline_, GST_FORMAT_TIME, &position) || position < 0) return heard_.last();
    if (!clockFailed(position)) return heard_.read(position);
    lost_ = true;  // the file goes on from the last position that moved, on a new stream
    return heard_.last();
}

bool AudioOutput::clockFailed(int64_t position)
{
    int64_t fed = 0;
    {
        std::lock_guard lock(mutex_);
        fed = framesToNs(frames_);
    }
    return heard_.clockFailed(playing_ && !endHeard_, position, fed, nowMs());
}

bool AudioOutput::playedOut() { return endHeard_; }

bool AudioOutput::lost()
{
    std::lock_guard control(control_);
    DrainBus(pipeline_, {.error = [this](GstMessage* message) { noteLoss(message); }});
    // A stand-in sink after a loss: the sound server is tried again once a second. The stand-in
    // played in time: the file goes on from where it stands.
    if (silent_ && !lost_ && nowMs() - triedAtMs_ >= 1000) {
        readHeard();
        lost_ = true;
    }
    return lost_;
}

// The sink failed: the sound server went away (or restarted). Told once. What played on after
// the position was last read was heard too, as far as it was delivered.
void AudioOutput::noteLoss(GstMessage* error)
{
    if (lost_) return;
    ReportLostOutput(error);
    lost_ = true;
    if (!playing_) return;
    std::lock_guard lock(mutex_);
    heard_.runOnToFailure(framesToNs(frames_));
}

// A new pipeline and a new connection to the sound server, for one the server dropped.
void AudioOutput::rebuildIfLost()
{
    if (!lost()) return;
    {
        std::lock_guard lock(mutex_);
        ++epoch_;  // nothing may push into the pipeline going away
        appsrc_ = nullptr;
    }
    room_.notify_all();
    dispose(pipeline_);
    lost_ = false;
    endHeard_ = false;
    heard_.reset();  // the new stream's positions are not compared with the old one's
    build();
}

// Decoders put aside by streaming threads go here, on the caller's thread.
void AudioOutput::reap()
{
    std::vector<std::shared_ptr<Decoder>> gone;
    std::lock_guard lock(mutex_);
    gone.swap(retired_);
}  // released here, after the lock: a decoder's teardown waits for its streaming thread

AudioOutput::Span AudioOutput::span(const Decoder& decoder)
{
    reap();
    std::lock_guard lock(mutex_);
    const auto& t = decoder.timeline_;
    return {t.feeding, t.placed, framesToNs(t.start), t.fromNs, t.end < 0 ? -1 : framesToNs(uint64_t(t.end))};
}

void AudioOutput::setNext(Owner owner, std::shared_ptr<Decoder> next)
{
    reap();
    if (next) next->begin();
    std::lock_guard lock(mutex_);
    std::swap(next_, next);  // the one replaced goes when this returns, outside the lock
    nextOwner_ = next_ ? owner : nullptr;
}

std::string AudioOutput::nextUri()
{
    std::lock_guard lock(mutex_);
    return next_ ? next_->uri() : std::string();
}

std::shared_ptr<Decoder> AudioOutput::takeRunOn(const std::string& uri)
{
    const int64_t heard = heardNs();
    std::lock_guard lock(mutex_);
    if (!runOn_ || runOn_->uri() != uri) return nullptr;
    // Still behind the end of the file before it: that file's tail sounds, and a file asked for
    // now starts now, from its own start.
    if (framesToNs(runOn_->timeline_.start) > heard) return nullptr;
    if (!runOnOwner_) orphanDeadlineMs_ = -1;
    runOnOwner_ = nullptr;  // from now on the player that opened it answers for it as its own file
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
        if (feeding_.get() != &from || !appsrc_) return GST_FLOW_FLUSHING;
        if (gst_app_src_get_current_level_bytes(GST_APP_SRC(appsrc_)) < queuedBytes()) break;
        // need-data wakes this, and so does any change of the decoder fed; a paused output
        // keeps it asleep.
        room_.wait(lock);
    }
    // The timeline, not the file, stamps the buffers: two files follow each other seamlessly.
    buffer = gst_buffer_make_writable(gst_buffer_ref(buffer));
    scale(buffer, from.gain());
    GST_BUFFER_PTS(buffer) = framesToNs(frames_);
    GST_BUFFER_DURATION(buffer) = framesToNs(frames_ + frames) - framesToNs(frames_);
    GST_BUFFER_OFFSET(buffer) = epoch_;
    GST_BUFFER_OFFSET_END(buffer) = GST_BUFFER_OFFSET_NONE;
    frames_ += frames;
    return gst_app_src_push_buffer(GST_APP_SRC(appsrc_), buffer);
}

// The file cued to follow may still be getting ready (a busy machine, a slow disk, or a sound
// server that took the whole of a short file at once): it is waited for a moment rather than
// the seamless change given up.
void AudioOutput::awaitNext(const Decoder& from)
{
    constexpr int64_t ReadyWithinMs = 300;
    std::shared_ptr<Decoder> next;
    {
        std::lock_guard lock(mutex_);
        if (feeding_.get() != &from || !next_ || !from.endsNaturally()) return;
        next = next_;
    }
    next->awaitPreroll(ReadyWithinMs);
    std::lock_guard lock(mutex_);
    retired_.push_back(std::move(next));  // never the last reference on a streaming thread
}

void AudioOutput::finished(Decoder& from)
{
    awaitNext(from);
    std::shared_ptr<Decoder> follow;
    {
        std::lock_guard lock(mutex_);
        if (feeding_.get() != &from || !appsrc_) return;
        from.timeline_.end = int64_t(frames_);
        // A file the output went on to that nobody has taken over yet does not go on again: the
        // window would have skipped it.
        const bool taken = runOn_.get() != &from;
        if (next_ && taken && from.endsNaturally() && next_->readyNow()) {
            follow = std::exchange(next_, nullptr);
            follow->timeline_ = {true, true, frames_, 0, -1};
            from.timeline_.feeding = false;
            // Never the last reference here: a decoder cannot be torn down on its own thread.
            retired_.push_back(std::exchange(feeding_, follow));
            retired_.push_back(std::exchange(runOn_, follow));
            runOnOwner_ = std::exchange(nextOwner_, nullptr);
        } else {
            // The sound server starts a stream only once it holds enough of it: a rest shorter
            // than that, right after a flush, would never be started and the sink's clock would
            // stop. Silence after the end fills it; the end is heard before the silence.
            endAfterSilence(frames_, outputRate() / 2);
        }
    }
    if (follow) follow->run();
}

}  // namespace platform::gst
