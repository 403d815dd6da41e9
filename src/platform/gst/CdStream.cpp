#include "platform/gst/CdStream.h"
#include "platform/AuxVolume.h"
#include "platform/gst/Gst.h"

#include <gst/app/gstappsrc.h>

#include <algorithm>
#include <cstring>

namespace platform::gst {

namespace {
constexpr uint32_t FramesPerBuffer = 15;  // 0.2 s
}  // namespace

struct CdStream::Impl {
    GstElement* pipeline = nullptr;
    GstElement* appsrc = nullptr;
    GstElement* volume = nullptr;
    int auxListener = 0;

    // Set while the pipeline is stopped, then owned by the streaming thread.
    std::unique_ptr<cdrom::SectorReader> reader;
    cdrom::Toc toc;
    int32_t cursor = 0;
    std::atomic<int32_t> fed = 0;  // the frame after the last one handed to the pipeline
    int32_t from = 0;
    int32_t to = 0;

    bool running = false;
    bool paused = false;
    bool finished = false;
    bool lost = false;
    bool reopened = false;  // built again after a loss
    bool standIn = false;   // the sound server is away: a silent sink plays until the next try
    int64_t builtAtMs = 0;
    HeardPosition heard;

    ~Impl() { discard(); }

    void discard()
    {
        if (auxListener) removeAuxListener(auxListener);
        auxListener = 0;
        dispose(pipeline);
        reopened = lost || standIn;
        lost = standIn = false;
    }

    bool build()
    {
        ensureInit();
        GstElement* source = gst_element_factory_make("appsrc", nullptr);
        GstElement* gain = gst_element_factory_make("volume", nullptr);
        bool silent = false;
        pipeline =
            LinkedPipeline("cd", {source, gst_element_factory_make("audioconvert", nullptr),
                                  gst_element_factory_make("audioresample", nullptr), gain, makeAudioSink(&silent, reopened)});
        if (!pipeline) return false;  // a plugin is missing: nothing is left half made
        standIn = silent && desktopOutputFound();
        builtAtMs = g_get_monotonic_time() / 1000;
        appsrc = source;
        volume = gain;
        heard.watch(pipeline);

        const CapsRef caps{gst_caps_from_string("audio/x-raw,format=S16LE,layout=interleaved,rate=44100,channels=2")};
        g_object_set(appsrc, "caps", caps.get(), "format", GST_FORMAT_TIME, "max-bytes",
                     guint64(cdrom::BytesPerFrame * cdrom::FramesPerSecond), nullptr);
        GstAppSrcCallbacks callbacks{};
        callbacks.need_data = [](GstAppSrc* src, guint, gpointer self) { static_cast<Impl*>(self)->feed(src); };
        gst_app_src_set_callbacks(GST_APP_SRC(appsrc), &callbacks, this, nullptr);

        applyVolume();
        auxListener = addAuxListener([this](uint32_t device) {
            if (device == AuxCd) applyVolume();
        });
        return true;
    }

    void applyVolume() { g_object_set(volume, "volume", auxGain(AuxCd), nullptr); }

    bool begin()
    {
        heard.playing();
        if (gst_element_set_state(pipeline, GST_STATE_PLAYING) != GST_STATE_CHANGE_FAILURE) return true;
        gst_element_set_state(pipeline, GST_STATE_NULL);
        return false;
    }

    // Streaming thread: the next block of frames, silence for data tracks and unreadable frames.
    void feed(GstAppSrc* src)
    {
        if (cursor >= to) {
            gst_app_src_end_of_stream(src);
            return;
        }
        const uint32_t count = static_cast<uint32_t>(std::min<int32_t>(FramesPerBuffer, to - cursor));
        const gsize bytes = gsize(count) * cdrom::BytesPerFrame;
        GstBuffer* buffer = gst_buffer_new_allocate(nullptr, bytes, nullptr);
        GstMapInfo map;
        gst_buffer_map(buffer, &map, GST_MAP_WRITE);
        const bool audio = toc.audio.empty() || toc.audio[toc.trackAt(cursor) - toc.firstTrack];
        if (!audio || !reader || !reader->read(cursor, count, map.data)) std::memset(map.data, 0, bytes);
        gst_buffer_unmap(buffer, &map);
        const uint64_t done = uint64_t(cursor - from);
        GST_BUFFER_PTS(buffer) = gst_util_uint64_scale(done, GST_SECOND, cdrom::FramesPerSecond);
        GST_BUFFER_DURATION(buffer) = gst_util_uint64_scale(count, GST_SECOND, cdrom::FramesPerSecond);
        cursor += static_cast<int32_t>(count);
        fed = cursor;
        gst_app_src_push_buffer(src, buffer);
    }

    void poll()
    {
        if (!pipeline) return;
        DrainBus(pipeline, {.error = [this](GstMessage* error) { noteLoss(error); },
                            .endOfStream = [this](GstMessage*) { finished = true; }});
    }

    // Told once; the frames played on after the last reading were heard, as far as they were fed.
    void noteLoss(GstMessage* error)
    {
        if (lost) return;
        ReportLostOutput(error);
        lost = true;
        heard.runOnToFailure(framesToNs(fed - from));
    }

    // A failed clock loses the output: the disc goes on from the last frame that moved, on a new one.
    bool clockFailed(int64_t position)
    {
        const int64_t nowMs = g_get_monotonic_time() / 1000;
        if (heard.clockFailed(!paused && !finished, position, framesToNs(fed - from), nowMs)) lost = true;
        return lost;
    }

    static int64_t framesToNs(int64_t frames)
    {
        return int64_t(gst_util_uint64_scale(uint64_t(frames), GST_SECOND, cdrom::FramesPerSecond));
    }
    int32_t frameOf(int64_t ns) const
    {
        const int64_t played = int64_t(gst_util_uint64_scale(uint64_t(ns), cdrom::FramesPerSecond, GST_SECOND));
        return static_cast<int32_t>(std::min<int64_t>(from + played, to));
    }
};

CdStream::CdStream() : impl_(std::make_unique<Impl>()) { }
CdStream::~CdStream() = default;

bool CdStream::start(const std::string& source, const cdrom::Toc& toc, int32_t from, int32_t to)
{
    stop();
    if (impl_->pipeline && impl_->heard.clockLeapt()) impl_->discard();
    if (!impl_->pipeline && !impl_->build()) return false;
    impl_->reader = std::make_unique<cdrom::SectorReader>(source);
    impl_->toc = toc;
    impl_->from = impl_->cursor = impl_->fed = from;
    impl_->to = to;
    impl_->finished = impl_->paused = false;
    impl_->heard.reset();
    if (!impl_->begin()) {
        // Its sink no longer reaches the sound server it was made on: a new pipeline, on a
        // silent stand-in while the server is away.
        impl_->discard();
        if (!impl_->build() || !impl_->begin()) return false;
    }
    impl_->running = true;
    return true;
}

void CdStream::pause()
{
    if (!impl_->running) return;
    gst_element_set_state(impl_->pipeline, GST_STATE_PAUSED);
    impl_->paused = true;
    impl_->heard.stopRunning();
}

void CdStream::resume()
{
    if (!impl_->running) return;
    gst_element_set_state(impl_->pipeline, GST_STATE_PLAYING);
    impl_->heard.playing();
    impl_->paused = false;
}

void CdStream::stop()
{
    if (!impl_->running) return;
    gst_element_set_state(impl_->pipeline, GST_STATE_NULL);
    impl_->running = false;
    impl_->reader.reset();
    impl_->poll();
    // A lost output or a stand-in is opened anew at the next start: the server may be back.
    if (impl_->lost || impl_->standIn) impl_->discard();
}

int32_t CdStream::currentFrame()
{
    if (!impl_->running) return impl_->from;
    impl_->poll();
    if (impl_->lost) return impl_->frameOf(impl_->heard.last());
    if (impl_->finished) return impl_->to;
    if (impl_->heard.uncorking()) return impl_->frameOf(impl_->heard.last());
    gint64 position = 0;
    if (!gst_element_query_position(impl_->pipeline, GST_FORMAT_TIME, &position) || position < 0) position = 0;
    if (impl_->clockFailed(position)) return impl_->frameOf(impl_->heard.last());
    return impl_->frameOf(impl_->heard.read(position));
}

bool CdStream::finished()
{
    impl_->poll();
    return impl_->finished;
}

bool CdStream::lost()
{
    impl_->poll();
    // The server is tried again once a second. The stand-in played in time: the disc stands where it does.
    if (!impl_->lost && impl_->running && impl_->standIn && g_get_monotonic_time() / 1000 - impl_->builtAtMs >= 1000) {
        currentFrame();
        impl_->lost = true;
    }
    return impl_->lost;
}

}  // namespace platform::gst
