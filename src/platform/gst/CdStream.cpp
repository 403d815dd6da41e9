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
    int32_t from = 0;
    int32_t to = 0;

    bool running = false;
    bool finished = false;

    ~Impl()
    {
        if (auxListener) removeAuxListener(auxListener);
        dispose(pipeline);
    }

    bool build()
    {
        ensureInit();
        GstElement* source = gst_element_factory_make("appsrc", nullptr);
        GstElement* gain = gst_element_factory_make("volume", nullptr);
        pipeline = LinkedPipeline("cd", {source, gst_element_factory_make("audioconvert", nullptr),
                                         gst_element_factory_make("audioresample", nullptr), gain, makeAudioSink()});
        if (!pipeline) return false;  // a plugin is missing: nothing is left half made
        appsrc = source;
        volume = gain;

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
        gst_app_src_push_buffer(src, buffer);
    }

    void poll()
    {
        if (!pipeline) return;
        const auto finish = [this](GstMessage*) { finished = true; };
        DrainBus(pipeline, {.error = finish, .endOfStream = finish});
    }
};

CdStream::CdStream() : impl_(std::make_unique<Impl>()) { }
CdStream::~CdStream() = default;

bool CdStream::start(const std::string& source, const cdrom::Toc& toc, int32_t from, int32_t to)
{
    stop();
    if (!impl_->pipeline && !impl_->build()) return false;
    impl_->reader = std::make_unique<cdrom::SectorReader>(source);
    impl_->toc = toc;
    impl_->from = impl_->cursor = from;
    impl_->to = to;
    impl_->finished = false;
    if (gst_element_set_state(impl_->pipeline, GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE) {
        gst_element_set_state(impl_->pipeline, GST_STATE_NULL);
        return false;
    }
    impl_->running = true;
    return true;
}

void CdStream::pause()
{
    if (impl_->running) gst_element_set_state(impl_->pipeline, GST_STATE_PAUSED);
}

void CdStream::resume()
{
    if (impl_->running) gst_element_set_state(impl_->pipeline, GST_STATE_PLAYING);
}

void CdStream::stop()
{
    if (!impl_->running) return;
    gst_element_set_state(impl_->pipeline, GST_STATE_NULL);
    impl_->running = false;
    impl_->reader.reset();
    gst::DrainBus(impl_->pipeline);
}

int32_t CdStream::currentFrame()
{
    if (!impl_->running) return impl_->from;
    impl_->poll();
    if (impl_->finished) return impl_->to;
    gint64 position = 0;
    if (!gst_element_query_position(impl_->pipeline, GST_FORMAT_TIME, &position) || position < 0) position = 0;
    const int64_t played = gst_util_uint64_scale(uint64_t(position), cdrom::FramesPerSecond, GST_SECOND);
    return static_cast<int32_t>(std::min<int64_t>(impl_->from + played, impl_->to));
}

bool CdStream::finished()
{
    impl_->poll();
    return impl_->finished;
}

}  // namespace platform::gst
