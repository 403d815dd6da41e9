#include "platform/gst/Gst.h"
#include "platform/gst/SoundServerFacts.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace platform::gst {

void ensureInit()
{
    static std::once_flag once;
    std::call_once(once, [] {
        gst_init(nullptr, nullptr);
        // MP3s decode through mpg123: the FFmpeg wrapper, ranked alike and chosen first by name,
        // maps libavcodec, libavfilter and all they bring into the process for a song.
        if (GstPluginFeature* mpg123 = gst_registry_lookup_feature(gst_registry_get(), "mpg123audiodec")) {
            gst_plugin_feature_set_rank(mpg123, GST_RANK_PRIMARY + 1);
            gst_object_unref(mpg123);
        }
    });
}

void Unref::operator()(gpointer object) const
{
    if (!object) return;
    if (g_object_is_floating(object)) gst_object_ref_sink(object);
    gst_object_unref(object);
}

GstElement* LinkedPipeline(const char* name, std::initializer_list<GstElement*> elements)
{
    std::vector<Ref<GstElement>> held;
    for (GstElement* e : elements) held.emplace_back(e);
    for (const auto& e : held)
        if (!e) return nullptr;
    Ref<GstElement> pipeline(gst_pipeline_new(name));
    GstElement* previous = nullptr;
    for (auto& e : held) {
        GstElement* element = e.release();
        gst_bin_add(GST_BIN(pipeline.get()), element);  // the bin takes the element's reference
        if (previous && !gst_element_link(previous, element)) return nullptr;
        previous = element;
    }
    return pipeline.release();
}

GstElement* parseBin(const std::string& description)
{
    GError* error = nullptr;
    GstElement* bin = gst_parse_bin_from_description(description.c_str(), TRUE, &error);
    if (error) {
        std::fprintf(stderr, "sonorell: cannot use \"%s\": %s\n", description.c_str(), error->message);
        g_error_free(error);
        Ref<GstElement> discarded(bin);
        return nullptr;
    }
    return bin;
}

// Whether a readied sink offers a format: a sound server left without any device of its own
// (the last one unplugged) offers none, and refuses every stream made on it.
static bool takesStreams(GstElement* sink)
{
    const CapsRef caps{gst_pad_query_caps(padOf(sink, "sink").get(), nullptr)};
    return caps && !gst_caps_is_empty(caps.get());
}

static bool reachesReady(GstElement* sink, bool* refuses)
{
    if (gst_element_set_state(sink, GST_STATE_READY) == GST_STATE_CHANGE_FAILURE) return false;
    *refuses = !takesStreams(sink);
    gst_element_set_state(sink, GST_STATE_NULL);
    return true;
}

// A sink of the factory that opens and takes a stream; null when it does not. *refused: its
// sound server is there but takes no stream now.
static GstElement* makeDesktopSink(const char* factory, bool* refused)
{
    *refused = false;
    GstElement* sink = gst_element_factory_make(factory, nullptr);
    if (!sink) return nullptr;
    // Half a second of buffer. The PulseAudio daemon gives its sink about half of that, less
    // twice the least it asks the stream for at once: asking for 50 ms rather than 100 lets it
    // ask every 200 ms rather than every 150 ms, with the same latency. PipeWire's pulse server
    // instead asks that often, and ALSA's period is the segment: 100 ms for both.
    const bool daemon = std::strcmp(factory, "pulsesink") == 0 && soundServer().pulseAudioDaemon;
    g_object_set(sink, "latency-time", gint64(daemon ? 50000 : 100000), "buffer-time", gint64(500000), nullptr);
    Ref<GstElement> discarded(sink);
    if (reachesReady(sink, refused) && !*refused) return discarded.release();
    return nullptr;
}

static GstElement* makeSilentSink()
{
    static std::once_flag notice;
    std::call_once(notice, [] { std::fprintf(stderr, "sonorell: no audio output could be opened; playing silently\n"); });
    GstElement* sink = gst_element_factory_make("fakesink", nullptr);
    g_object_set(sink, "sync", TRUE, nullptr);
    return sink;
}

static std::atomic<bool (*)()> idleOutputRelease = nullptr;

void setIdleOutputRelease(bool (*release)()) { idleOutputRelease = release; }

// The chosen output, and once more after an idle holder let go of a dead connection.
static GstElement* makeChosenSink(const char* chosen, bool* refused)
{
    if (GstElement* sink = makeDesktopSink(chosen, refused)) return sink;
    if (*refused) return nullptr;  // its server answers: the connection is not what failed
    const auto release = idleOutputRelease.load();
    return release && release() ? makeDesktopSink(chosen, refused) : nullptr;
}

// The output found first is kept for the run: probing a missing sound server on every open
// would cost each open a failed connection. Once lost, only that output is tried again; while
// its server restarts, another (ALSA straight to the card) must not take its place for good.
static std::atomic<const char*> chosen = nullptr;

bool desktopOutputFound() { return chosen != nullptr; }

GstElement* makeAudioSink(bool* silent, bool again)
{
    ensureInit();
    if (silent) *silent = false;
    if (const char* description = std::getenv("SONORELL_AUDIO_SINK"); description && *description) {
        if (GstElement* sink = parseBin(description)) return sink;
        return makeSilentSink();
    }
    static bool none = false;
    bool refused = false;
    if (const char* found = chosen)
        if (GstElement* sink = makeChosenSink(found, &refused)) return sink;
    if (!chosen && !none && !again) {
        for (const char* factory : {"pulsesink", "alsasink"}) {
            GstElement* sink = makeDesktopSink(factory, &refused);
            // A server without a device for now is still the desktop's: a stand-in plays meanwhile.
            if (sink || refused) chosen = factory;
            if (sink) return sink;
            if (refused) break;
        }
        none = chosen == nullptr;
    }
    if (silent) *silent = true;
    return makeSilentSink();
}

UriPart PartOfUri(const std::string& uri)
{
    UriPart out{uri};
    const size_t mark = uri.find(PartMark);
    if (mark == std::string::npos) return out;
    // Nearest nanosecond: a part's end and the next part's start fall on one sample.
    const auto framesToNs = [](long long frames) { return gint64((frames * GST_SECOND + 37) / 75); };
    const std::string frames = uri.substr(mark + std::strlen(PartMark));
    const size_t dash = frames.find('-');
    out.fileUri = uri.substr(0, mark);
    out.part = true;
    out.startNs = framesToNs(std::atoll(frames.c_str()));
    if (dash != std::string::npos && dash + 1 < frames.size()) out.endNs = framesToNs(std::atoll(frames.c_str() + dash + 1));
    return out;
}

std::string ErrorText(GstMessage* message)
{
    GError* error = nullptr;
    gst_message_parse_error(message, &error, nullptr);
    const std::string text = error && error->message ? error->message : "unknown error";
    if (error) g_error_free(error);
    return text;
}

void ReportLostOutput(GstMessage* error)
{
    std::fprintf(stderr, "sonorell: audio output lost (%s); it is opened again\n", ErrorText(error).c_str());
}

bool ClockLeap::leapt(GstElement* pipeline)
{
    constexpr GstClockTime Gain = 600 * GST_SECOND;
    if (leapt_) return true;
    const Ref<GstClock> clock{gst_element_get_clock(pipeline)};
    if (!clock) return false;  // never played yet
    const GstClockTime now = gst_clock_get_time(clock.get()), wall = gst_util_get_timestamp();
    if (clock.get() != clock_) {
        clock_ = clock.get();
        // A sink's clock starts at 0 with its pipeline; the system clock (a test sink's) runs from boot.
        const bool fromBoot = G_OBJECT_TYPE(clock.get()) == GST_TYPE_SYSTEM_CLOCK;
        clockAt_ = fromBoot ? now : 0;
        wallAt_ = fromBoot ? wall : madeAt_;
    }
    if (now < clockAt_ + (wall - wallAt_) + Gain) return false;
    std::fprintf(stderr, "sonorell: the audio output's clock leapt %.0f s ahead; it is opened again\n",
                 double(now - clockAt_ - (wall - wallAt_)) / GST_SECOND);
    return leapt_ = true;
}

bool ClockCheck::failed(bool playing, int64_t ns, int64_t lastNs, int64_t fedNs, int64_t nowMs)
{
    constexpr int64_t Leeway = 100 * GST_MSECOND, FedBeyond = 500 * GST_MSECOND;
    // A new stream's position moves a little, then may stand a second or more until the server
    // has really started it; one taken for a failed one would go on from there on a new stream,
    // and what was heard meanwhile would sound again.
    constexpr int64_t StandsForMs = 3000;
    // The new stream that stands as well is only slow to start, and is not replaced again.
    constexpr int64_t NotAgainWithinMs = 10000;
    if (!playing) rest();
    if (!playing || (failedAtMs_ >= 0 && nowMs - failedAtMs_ < NotAgainWithinMs)) return false;
    bool failed = ns < lastNs - Leeway;
    if (ns != lastNs || standingSinceMs_ < 0)
        standingSinceMs_ = nowMs;
    else if (nowMs - standingSinceMs_ >= StandsForMs && fedNs > ns + FedBeyond)
        failed = true;
    if (!failed) return false;
    // What it read says which sign it was, for whoever reads the log.
    std::fprintf(stderr,
                 "sonorell: the audio output's clock failed (position %.3f s after %.3f s, %.3f s fed); it is opened again\n",
                 double(ns) / GST_SECOND, double(lastNs) / GST_SECOND, double(fedNs) / GST_SECOND);
    failedAtMs_ = nowMs;
    standingSinceMs_ = -1;
    return true;
}

void HeardPosition::watch(GstElement* pipeline, std::function<void()> ended)
{
    failedAt_ = 0;
    pipeline_ = pipeline;
    leap_.forget();
    ended_ = std::move(ended);
    gst_bus_set_sync_handler(busOf(pipeline).get(), noteBusMessage, this, nullptr);
}

int64_t HeardPosition::read(int64_t ns)
{
    lastAt_ = gst_util_get_timestamp();
    return lastNs_ = ns;
}

void HeardPosition::runOnToFailure(int64_t deliveredNs)
{
    const uint64_t failedAt = failedAt_;
    if (lastAt_ == 0 || failedAt <= lastAt_) return;
    lastNs_ = std::min(lastNs_ + int64_t(failedAt - lastAt_), deliveredNs);
    lastAt_ = 0;
}

// On the thread that posts it: the time of the sink's first failure, and its end of stream.
GstBusSyncReply HeardPosition::noteBusMessage(GstBus*, GstMessage* message, gpointer self)
{
    auto* heard = static_cast<HeardPosition*>(self);
    uint64_t notYet = 0;
    if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_ERROR)
        heard->failedAt_.compare_exchange_strong(notYet, gst_util_get_timestamp());
    if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_EOS && heard->ended_) heard->ended_();
    return GST_BUS_PASS;
}

gint64 WaitForDuration(GstElement* pipeline, int64_t timeoutMs)
{
    gint64 duration = -1;
    const Ref<GstBus> bus = busOf(pipeline);
    const gint64 deadline = g_get_monotonic_time() + timeoutMs * 1000;
    while (!gst_element_query_duration(pipeline, GST_FORMAT_TIME, &duration) || duration <= 0) {
        duration = -1;
        if (g_get_monotonic_time() > deadline) break;
        const MessageRef message{gst_bus_timed_pop_filtered(bus.get(), 10 * GST_MSECOND,
                                                            GstMessageType(GST_MESSAGE_DURATION_CHANGED | GST_MESSAGE_ERROR))};
        if (message && GST_MESSAGE_TYPE(message.get()) == GST_MESSAGE_ERROR) break;
    }
    return duration;
}

void dispose(GstElement*& pipeline)
{
    if (!pipeline) return;
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(pipeline);
    pipeline = nullptr;
}

// One thread stops the pipelines put aside, one after another, and sleeps while there are none:
// a run that meets many stalled sources keeps one thread for them, not one each. A source that
// never lets go holds up those behind it, which then stay as they are.
void disposeAside(GstElement*& pipeline)
{
    if (!pipeline) return;
    struct Aside {
        std::mutex mutex;
        std::condition_variable queued;
        std::deque<GstElement*> pipelines;
    };
    static Aside* aside = [] {
        auto* a = new Aside;  // lives to the end of the process, as its thread does
        std::thread([a] {
            for (;;) {
                std::unique_lock lock(a->mutex);
                a->queued.wait(lock, [a] { return !a->pipelines.empty(); });
                GstElement* stuck = a->pipelines.front();
                a->pipelines.pop_front();
                lock.unlock();
                dispose(stuck);
            }
        }).detach();
        return a;
    }();
    {
        std::lock_guard lock(aside->mutex);
        aside->pipelines.push_back(std::exchange(pipeline, nullptr));
    }
    aside->queued.notify_one();
}

void DrainBus(GstElement* pipeline, const BusHandlers& handlers)
{
    const Ref<GstBus> bus = busOf(pipeline);
    while (MessageRef message{gst_bus_pop(bus.get())}) {
        const std::function<void(GstMessage*)>* handler = nullptr;
        switch (GST_MESSAGE_TYPE(message.get())) {
        case GST_MESSAGE_ERROR: handler = &handlers.error; break;
        case GST_MESSAGE_EOS: handler = &handlers.endOfStream; break;
        case GST_MESSAGE_ELEMENT: handler = &handlers.element; break;
        default: break;
        }
        if (handler && *handler) (*handler)(message.get());
    }
}

}  // namespace platform::gst
