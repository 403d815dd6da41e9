#include "platform/gst/LevelCapture.h"
#include "platform/gst/Gst.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace platform::gst {

namespace {

constexpr auto StartTimeout = 3 * GST_SECOND;

GstElement* makeSource()
{
    const char* description = std::getenv("SONORELL_CAPTURE_SOURCE");
    if (description && *description) return parseBin(description);
    return gst_element_factory_make("autoaudiosrc", nullptr);
}

// A level message's peak of one channel (dB) as a control value.
int32_t controlValue(const GValueArray* peaks, guint channel)
{
    if (!peaks || peaks->n_values == 0) return 0;
    G_GNUC_BEGIN_IGNORE_DEPRECATIONS
    const GValue* value = g_value_array_get_nth(const_cast<GValueArray*>(peaks), std::min(channel, peaks->n_values - 1));
    G_GNUC_END_IGNORE_DEPRECATIONS
    const double db = g_value_get_double(value);
    const double amplitude = std::isfinite(db) ? std::pow(10.0, db / 20.0) : 0.0;
    return int32_t(std::lround(std::clamp(amplitude, 0.0, 1.0) * 32767));
}

// A source that cannot open its device fails within moments; wait for the answer.
bool startsPlaying(GstElement* pipeline)
{
    const Ref<GstBus> bus = busOf(pipeline);
    const auto next = [&] {
        return MessageRef{gst_bus_timed_pop_filtered(
            bus.get(), StartTimeout, GstMessageType(GST_MESSAGE_ASYNC_DONE | GST_MESSAGE_ERROR | GST_MESSAGE_STATE_CHANGED))};
    };
    for (MessageRef message = next(); message; message = next()) {
        const GstMessageType type = GST_MESSAGE_TYPE(message.get());
        if (type == GST_MESSAGE_ERROR) return false;
        if (type == GST_MESSAGE_ASYNC_DONE) return true;
        if (type == GST_MESSAGE_STATE_CHANGED && GST_MESSAGE_SRC(message.get()) == GST_OBJECT(pipeline)) {
            GstState now = GST_STATE_NULL;
            gst_message_parse_state_changed(message.get(), nullptr, &now, nullptr);
            if (now == GST_STATE_PLAYING) return true;
        }
    }
    return false;
}

}  // namespace

LevelCapture::LevelCapture() { ensureInit(); }

LevelCapture::~LevelCapture() { stop(); }

bool LevelCapture::start()
{
    if (pipeline_) return true;
    GstElement* level = gst_element_factory_make("level", nullptr);
    GstElement* sink = gst_element_factory_make("fakesink", nullptr);
    if (level) g_object_set(level, "interval", guint64(100 * GST_MSECOND), "post-messages", TRUE, nullptr);
    if (sink) g_object_set(sink, "sync", FALSE, "async", FALSE, nullptr);
    GstElement* pipeline =
        LinkedPipeline("level-capture", {makeSource(), gst_element_factory_make("audioconvert", nullptr), level, sink});
    if (!pipeline) return false;
    if (gst_element_set_state(pipeline, GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE || !startsPlaying(pipeline)) {
        dispose(pipeline);
        return false;
    }
    pipeline_ = pipeline;
    peaks_ = {};
    return true;
}

void LevelCapture::stop()
{
    if (!pipeline_) return;
    GstElement* pipeline = pipeline_;
    pipeline_ = nullptr;
    dispose(pipeline);
    peaks_ = {};
}

void LevelCapture::poll()
{
    if (!pipeline_) return;
    DrainBus(pipeline_,
             {.error = [this](GstMessage*) { peaks_ = {}; }, .element = [this](GstMessage* message) { notePeaks(message); }});
}

// A level element's report: the peaks of its last interval.
void LevelCapture::notePeaks(GstMessage* message)
{
    const GstStructure* s = gst_message_get_structure(message);
    if (!s || !gst_structure_has_name(s, "level")) return;
    const GValue* value = gst_structure_get_value(s, "peak");
    if (!value) return;
    G_GNUC_BEGIN_IGNORE_DEPRECATIONS
    const auto* peaks = static_cast<const GValueArray*>(g_value_get_boxed(value));
    peaks_ = {controlValue(peaks, 0), controlValue(peaks, 1)};
    G_GNUC_END_IGNORE_DEPRECATIONS
}

int32_t LevelCapture::peak(int channel)
{
    poll();
    return peaks_[channel == 1 ? 1 : 0];
}

}  // namespace platform::gst
