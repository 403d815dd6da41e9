#include "platform/gst/Encoder.h"
#include "platform/gst/Gst.h"

#include <gst/app/gstappsink.h>
#include <gst/app/gstappsrc.h>
#include <gst/audio/audio.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace platform::gst {

namespace {

constexpr int64_t FinishTimeoutMs = 120000;

int valueOr(int quality, int fallback, int low, int high) { return quality < 0 ? fallback : std::clamp(quality, low, high); }

// The encoding half, from raw sound to the file: converted, measured, encoded, muxed, written (to
// the sink named "out").
std::string encodingTail(const EncodeSettings& settings)
{
    const std::string sink = " ! filesink name=out";
    const std::string measured = "audioconvert ! identity name=measure ! audioconvert ! ";
    switch (settings.format) {
    case EncodeFormat::Opus:
        return measured + "audioresample ! audio/x-raw,rate=48000 ! opusenc bitrate=" +
               std::to_string(valueOr(settings.quality, 160, 16, 256) * 1000) + " ! oggmux" + sink;
    case EncodeFormat::Mp3:
        return measured + "lamemp3enc target=quality quality=" + std::to_string(valueOr(settings.quality, 2, 0, 9)) +
               " ! id3v2mux" + sink;
    default: return measured + "flacenc quality=" + std::to_string(valueOr(settings.quality, 5, 0, 8)) + sink;
    }
}

// The samples of a buffer as floats, -1..1; empty for a format the encoders do not take.
std::vector<float> floatsOf(const GstAudioInfo& format, const GstMapInfo& map)
{
    const auto convert = [&]<typename T>(T, double scale) {
        std::vector<float> out(map.size / sizeof(T));
        const T* in = reinterpret_cast<const T*>(map.data);
        for (size_t i = 0; i < out.size(); ++i) out[i] = float(double(in[i]) * scale);
        return out;
    };
    switch (GST_AUDIO_INFO_FORMAT(&format)) {
    case GST_AUDIO_FORMAT_S16: return convert(int16_t{}, 1.0 / 32768);
    case GST_AUDIO_FORMAT_S24_32: return convert(int32_t{}, 1.0 / 8388608);
    case GST_AUDIO_FORMAT_S32: return convert(int32_t{}, 1.0 / 2147483648.0);
    case GST_AUDIO_FORMAT_F32: return convert(float{}, 1.0);
    case GST_AUDIO_FORMAT_F64: return convert(double{}, 1.0);
    default: return {};
    }
}

// Every buffer that passes the "measure" element, to the track's loudness meter.
GstPadProbeReturn measure(GstPad* pad, GstPadProbeInfo* info, gpointer meter)
{
    GstAudioInfo format;
    const CapsRef caps{gst_pad_get_current_caps(pad)};
    GstMapInfo map;
    if (caps && gst_audio_info_from_caps(&format, caps.get()) && GST_AUDIO_INFO_CHANNELS(&format) > 0 &&
        gst_buffer_map(GST_PAD_PROBE_INFO_BUFFER(info), &map, GST_MAP_READ)) {
        const std::vector<float> samples = floatsOf(format, map);
        const int channels = GST_AUDIO_INFO_CHANNELS(&format);
        static_cast<LoudnessMeter*>(meter)->add(samples.data(), samples.size() / size_t(channels), channels,
                                                GST_AUDIO_INFO_RATE(&format));
        gst_buffer_unmap(GST_PAD_PROBE_INFO_BUFFER(info), &map);
    }
    return GST_PAD_PROBE_OK;
}

// The pipeline of a description; null, and why in result, when it cannot be made.
GstElement* launched(const std::string& description, EncodeResult& result)
{
    GError* error = nullptr;
    GstElement* pipeline = gst_parse_launch(description.c_str(), &error);
    if (!error) return pipeline;
    result.error = error->message;
    g_error_free(error);
    dispose(pipeline);
    return nullptr;
}

// The pipeline of a description, its named elements set: the file written, the file read, the
// sound measured.
GstElement* encodingPipeline(const std::string& description, const std::string& path, const std::string& uri,
                             EncodeResult& result)
{
    GstElement* pipeline = launched(description, result);
    if (!pipeline) return nullptr;
    const auto set = [&](const char* name, const char* property, const std::string& value) {
        if (GstElement* element = gst_bin_get_by_name(GST_BIN(pipeline), name)) {
            g_object_set(element, property, value.c_str(), nullptr);
            gst_object_unref(element);
        }
    };
    set("out", "location", path);
    if (!uri.empty()) set("in", "uri", uri);
    const auto meter = std::make_shared<LoudnessMeter>();
    result.loudness = meter;
    if (GstElement* measured = gst_bin_get_by_name(GST_BIN(pipeline), "measure")) {
        gst_pad_add_probe(padOf(measured, "src").get(), GST_PAD_PROBE_TYPE_BUFFER, measure, meter.get(), nullptr);
        gst_object_unref(measured);
    }
    return pipeline;
}

// What a bus message says of the work: an error, or the end.
void takeIn(GstMessage* message, EncodeResult& result, bool& ended)
{
    switch (GST_MESSAGE_TYPE(message)) {
    case GST_MESSAGE_ERROR:
        if (result.error.empty()) result.error = ErrorText(message);
        ended = true;
        break;
    case GST_MESSAGE_EOS: ended = true; break;
    default: break;
    }
}

// Takes in the bus until the stream ended or failed, or timeoutMs passed.
void waitForEnd(GstElement* pipeline, EncodeResult& result, int64_t timeoutMs)
{
    const Ref<GstBus> bus = busOf(pipeline);
    const gint64 deadline = g_get_monotonic_time() + timeoutMs * 1000;
    bool ended = false;
    while (!ended) {
        const gint64 left = deadline - g_get_monotonic_time();
        if (left <= 0) {
            if (result.error.empty()) result.error = "the encoder did not finish in time";
            return;
        }
        const MessageRef message{
            gst_bus_timed_pop_filtered(bus.get(), left * GST_USECOND, GstMessageType(GST_MESSAGE_ERROR | GST_MESSAGE_EOS))};
        if (message) takeIn(message.get(), result, ended);
    }
}

// Errors already reported, without waiting.
void takeInPending(GstElement* pipeline, EncodeResult& result)
{
    bool ended = false;
    DrainBus(pipeline, {.error = [&](GstMessage* m) { takeIn(m, result, ended); }});
}

// The result with the track's gain and peak, once its stream has ended.
EncodeResult measured(EncodeResult result)
{
    if (result.loudness) {
        result.gainDb = result.loudness->gainDb();
        result.peak = result.loudness->peak();
    }
    return result;
}

}  // namespace

const char* ExtensionOf(EncodeFormat format)
{
    switch (format) {
    case EncodeFormat::Opus: return ".opus";
    case EncodeFormat::Mp3: return ".mp3";
    default: return ".flac";
    }
}

PcmEncoder::PcmEncoder(const EncodeSettings& settings, const std::string& path, const std::string& rawCaps)
{
    ensureInit();
    const CapsRef caps{gst_caps_from_string(rawCaps.c_str())};
    GstAudioInfo format;
    if (!caps || !gst_audio_info_from_caps(&format, caps.get()) || GST_AUDIO_INFO_BPF(&format) <= 0) {
        result_.error = "the sound's format is not known";
        return;
    }
    rate_ = GST_AUDIO_INFO_RATE(&format);
    frameBytes_ = GST_AUDIO_INFO_BPF(&format);
    pipeline_ = encodingPipeline("appsrc name=pcm format=time block=true max-bytes=1048576 ! " + encodingTail(settings), path, {},
                                 result_);
    if (!pipeline_) return;
    source_ = gst_bin_get_by_name(GST_BIN(pipeline_), "pcm");
    g_object_set(source_, "caps", caps.get(), nullptr);
    if (gst_element_set_state(pipeline_, GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE) {
        takeInPending(pipeline_, result_);
        if (result_.error.empty()) result_.error = "the file cannot be written";
    }
}

PcmEncoder::~PcmEncoder()
{
    if (source_) gst_object_unref(source_);
    dispose(pipeline_);
}

bool PcmEncoder::push(const void* bytes, size_t count)
{
    if (!source_ || !result_.error.empty()) return false;
    GstBuffer* buffer = gst_buffer_new_memdup(bytes, count);
    GST_BUFFER_PTS(buffer) = gst_util_uint64_scale(result_.samples, GST_SECOND, guint64(rate_));
    result_.samples += count / size_t(frameBytes_);
    GST_BUFFER_DURATION(buffer) = gst_util_uint64_scale(result_.samples, GST_SECOND, guint64(rate_)) - GST_BUFFER_PTS(buffer);
    if (gst_app_src_push_buffer(GST_APP_SRC(source_), buffer) != GST_FLOW_OK) {
        takeInPending(pipeline_, result_);
        if (result_.error.empty()) result_.error = "the encoder stopped";
        return false;
    }
    return true;
}

EncodeResult PcmEncoder::finish()
{
    if (source_ && result_.error.empty()) {
        gst_app_src_end_of_stream(GST_APP_SRC(source_));
        waitForEnd(pipeline_, result_, FinishTimeoutMs);
    }
    if (pipeline_) gst_element_set_state(pipeline_, GST_STATE_NULL);
    result_.ok = result_.error.empty() && source_;
    return measured(result_);
}

namespace {

// A part of a file: decoded apart, prerolled and sought to the part (a seek after sound has reached
// a file being written would leave the sound before it in the file), then written as raw sound.
EncodeResult encodePart(const UriPart& named, const EncodeSettings& settings, const std::string& path,
                        const std::function<bool(double)>& progress)
{
    EncodeResult result;
    GstElement* pipeline = launched(
        "uridecodebin name=in caps=audio/x-raw ! appsink name=cut sync=false max-buffers=8 caps=audio/x-raw,layout=interleaved",
        result);
    if (!pipeline) return result;
    GstElement* in = gst_bin_get_by_name(GST_BIN(pipeline), "in");
    GstElement* cut = gst_bin_get_by_name(GST_BIN(pipeline), "cut");
    g_object_set(in, "uri", named.fileUri.c_str(), nullptr);
    gst_object_unref(in);
    const auto seekFlags = GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE);
    gst_element_set_state(pipeline, GST_STATE_PAUSED);
    if (gst_element_get_state(pipeline, nullptr, nullptr, 10 * GST_SECOND) != GST_STATE_CHANGE_SUCCESS ||
        !gst_element_seek(pipeline, 1.0, GST_FORMAT_TIME, seekFlags, GST_SEEK_TYPE_SET, named.startNs,
                          named.endNs < 0 ? GST_SEEK_TYPE_NONE : GST_SEEK_TYPE_SET, named.endNs)) {
        takeInPending(pipeline, result);
        if (result.error.empty()) result.error = "the part of the file cannot be reached";
    }
    gint64 endNs = named.endNs;
    if (endNs < 0 && !gst_element_query_duration(pipeline, GST_FORMAT_TIME, &endNs)) endNs = -1;
    gst_element_set_state(pipeline, GST_STATE_PLAYING);
    std::unique_ptr<PcmEncoder> encoder;
    GstAudioInfo format;
    gst_audio_info_init(&format);
    guint64 framesDone = 0, frameLimit = G_MAXUINT64;
    const gint64 deadline = g_get_monotonic_time() + FinishTimeoutMs * 1000;
    bool stopped = false;  // the encoder failed: finish() tells why
    while (result.error.empty() && !stopped && !gst_app_sink_is_eos(GST_APP_SINK(cut))) {
        if (g_get_monotonic_time() > deadline) result.error = "the encoder did not finish in time";
        GstSample* sample = gst_app_sink_try_pull_sample(GST_APP_SINK(cut), 100 * GST_MSECOND);
        if (!sample) {
            takeInPending(pipeline, result);
            continue;
        }
        GstBuffer* buffer = gst_sample_get_buffer(sample);
        if (!encoder) {
            gchar* caps = gst_caps_to_string(gst_sample_get_caps(sample));
            encoder = std::make_unique<PcmEncoder>(settings, path, caps);
            g_free(caps);
            gst_audio_info_from_caps(&format, gst_sample_get_caps(sample));
            if (named.endNs >= 0)
                frameLimit = gst_util_uint64_scale_round(guint64(named.endNs - named.startNs),
                                                         guint64(GST_AUDIO_INFO_RATE(&format)), GST_SECOND);
        }
        GstMapInfo map;
        if (gst_buffer_map(buffer, &map, GST_MAP_READ)) {
            // Decoders may let one sample past the stop through: the part ends on its own sample.
            const guint64 bpf = guint64(std::max(GST_AUDIO_INFO_BPF(&format), 1));
            const guint64 frames = std::min<guint64>(map.size / bpf, frameLimit - framesDone);
            stopped = frames > 0 && !encoder->push(map.data, size_t(frames * bpf));
            framesDone += frames;
            gst_buffer_unmap(buffer, &map);
        }
        const gint64 at = gint64(GST_BUFFER_PTS(buffer));
        gst_sample_unref(sample);
        if (progress && endNs > named.startNs && !progress(double(at - named.startNs) / double(endNs - named.startNs)))
            result.error = "cancelled";
    }
    gst_object_unref(cut);
    dispose(pipeline);
    if (!encoder && result.error.empty()) result.error = "the part holds no sound";
    if (!encoder) return result;
    EncodeResult written = encoder->finish();
    if (!result.error.empty()) {
        written.ok = false;
        written.error = result.error;
    }
    return written;
}

}  // namespace

EncodeResult EncodeMediaFile(const std::string& uri, const EncodeSettings& settings, const std::string& path,
                             const std::function<bool(double)>& progress)
{
    ensureInit();
    if (const UriPart named = PartOfUri(uri); named.part) return encodePart(named, settings, path, progress);
    EncodeResult result;
    GstElement* pipeline =
        encodingPipeline("uridecodebin name=in caps=audio/x-raw ! " + encodingTail(settings), path, uri, result);
    if (!pipeline) return result;
    gst_element_set_state(pipeline, GST_STATE_PLAYING);
    const gint64 deadline = g_get_monotonic_time() + FinishTimeoutMs * 1000;
    bool ended = false;
    const Ref<GstBus> bus = busOf(pipeline);
    while (!ended && g_get_monotonic_time() < deadline) {
        const MessageRef message{
            gst_bus_timed_pop_filtered(bus.get(), 100 * GST_MSECOND, GstMessageType(GST_MESSAGE_ERROR | GST_MESSAGE_EOS))};
        if (message) takeIn(message.get(), result, ended);
        gint64 at = 0, length = 0;
        if (progress && gst_element_query_position(pipeline, GST_FORMAT_TIME, &at) &&
            gst_element_query_duration(pipeline, GST_FORMAT_TIME, &length) && length > 0 &&
            !progress(double(at) / double(length))) {
            result.error = "cancelled";
            break;
        }
    }
    if (!ended && result.error.empty()) result.error = "the encoder did not finish in time";
    dispose(pipeline);
    result.ok = result.error.empty();
    return measured(result);
}

}  // namespace platform::gst
