#include "platform/gst/Decoder.h"
#include "platform/gst/AudioOutput.h"
#include "platform/gst/Gst.h"
#include "platform/FileNames.h"
#include "platform/FileTags.h"
#include "platform/ReplayGain.h"

#include <gst/app/gstappsink.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace platform {

namespace {

std::atomic<bool> replayGainOn{true};

}  // namespace

void ApplyReplayGain(bool on) { replayGainOn = on; }
bool ReplayGainApplied() { return replayGainOn; }

}  // namespace platform

namespace platform::gst {

namespace {

constexpr int64_t PrerollTimeoutMs = 5000;
constexpr int64_t LengthWaitMs = 2000;

// True when what the pad carries is of the kind ("audio/", "video/").
bool carries(GstPad* pad, const char* kind)
{
    GstCaps* caps = gst_pad_get_current_caps(pad);
    if (!caps) caps = gst_pad_query_caps(pad, nullptr);
    const bool match =
        caps && gst_caps_get_size(caps) > 0 && g_str_has_prefix(gst_structure_get_name(gst_caps_get_structure(caps, 0)), kind);
    if (caps) gst_caps_unref(caps);
    return match;
}

// A decoder negotiates its output before the decoder bin shows its pad, with nothing linked yet,
// and falls back to its own favourite (mpg123: 16-bit) unless asked: float is asked for first,
// which the output plays as is, with every other raw format still allowed.
gboolean preferFloat(GstElement*, GstPad*, GstElement*, GstQuery* query, gpointer)
{
    if (GST_QUERY_TYPE(query) != GST_QUERY_CAPS) return FALSE;
    static GstCaps* const wanted = gst_caps_from_string("audio/x-raw, format=F32LE, layout=interleaved; audio/x-raw");
    GstCaps* filter = nullptr;
    gst_query_parse_caps(query, &filter);
    if (filter && !gst_caps_can_intersect(filter, wanted)) return FALSE;  // not sound: left alone
    const CapsRef result{filter ? gst_caps_intersect_full(wanted, filter, GST_CAPS_INTERSECT_FIRST) : gst_caps_ref(wanted)};
    gst_query_set_caps_result(query, result.get());
    return TRUE;
}

// A pad nobody plays (a picture, subtitles) still has to go somewhere, or the file cannot preroll.
void discard(GstElement* pipeline, GstPad* pad)
{
    GstElement* sink = gst_element_factory_make("fakesink", nullptr);
    g_object_set(sink, "sync", FALSE, "async", FALSE, nullptr);
    gst_bin_add(GST_BIN(pipeline), sink);
    gst_element_sync_state_with_parent(sink);
    gst_pad_link(pad, padOf(sink, "sink").get());
}

}  // namespace

namespace {

// The gain a file's ReplayGain tags ask for, as a factor: the track gain, no more than its peak
// allows; 1 without tags.
double gainOf(const std::string& fileUri)
{
    gchar* name = g_filename_from_uri(fileUri.c_str(), nullptr, nullptr);
    if (!name) return 1.0;
    const QString path = DecodeFileName(QByteArray(name));
    g_free(name);
    // Only a regular file's tags are read: a pipe would block here until its writer came.
    if (!IsRegularFile(path)) return 1.0;
    bool ok = false;
    const double db = ReadFileTag(path, QStringLiteral("REPLAYGAIN_TRACK_GAIN")).section(QLatin1Char(' '), 0, 0).toDouble(&ok);
    if (!ok) return 1.0;
    double factor = std::pow(10.0, std::clamp(db, -51.0, 24.0) / 20.0);
    const double peak = ReadFileTag(path, QStringLiteral("REPLAYGAIN_TRACK_PEAK")).toDouble(&ok);
    if (ok && peak > 0) factor = std::min(factor, 1.0 / peak);
    return factor;
}

}  // namespace

Decoder::Decoder(std::string uri) : uri_(std::move(uri))
{
    ensureInit();
    const UriPart named = PartOfUri(uri_);
    const std::string& fileUri = named.fileUri;
    if (named.part) {
        section_ = true;
        atStart_ = false;
        originNs_ = named.startNs;
        sectionEndNs_ = named.endNs;
    }
    Ref<GstElement> source(gst_element_factory_make("uridecodebin", nullptr));
    GstElement* convert = gst_element_factory_make("audioconvert", nullptr);
    GstElement* format = gst_element_factory_make("capsfilter", nullptr);
    // Decoding runs a few seconds ahead: it estimates the length of files without a length
    // header while prerolling, and keeps a slow disk from starving the output.
    GstElement* ahead = gst_element_factory_make("queue", nullptr);
    GstElement* sink = gst_element_factory_make("appsink", nullptr);
    // A fifth of a second a buffer, whatever the codec's frame, from right after the decoder on:
    // the elements after it, the read-ahead queue and the output handle a few buffers a second
    // instead of one a frame.
    GstElement* blocks = gst_element_factory_make("audiobuffersplit", nullptr);
    if (blocks) g_object_set(blocks, "output-buffer-duration", 1, 5, nullptr);
    // The file's ReplayGain is applied as the output takes each buffer, so that switching it
    // on or off is heard at once, in the file playing and in the one cued to follow it.
    tagGain_ = float(gainOf(fileUri));
    pipeline_ =
        LinkedPipeline("decoder", {convert, blocks, gst_element_factory_make("audioresample", nullptr), format, ahead, sink});
    if (!source || !pipeline_) {
        dispose(pipeline_);
        failed_ = true;
        error_ = "a GStreamer element for decoding is missing";
        return;
    }
    convert_ = convert;
    const CapsRef caps{AudioOutput::newCaps()};
    g_object_set(format, "caps", caps.get(), nullptr);
    g_object_set(sink, "caps", caps.get(), "sync", FALSE, "max-buffers", 4u, nullptr);
    g_object_set(ahead, "max-size-time", guint64(3 * GST_SECOND), "max-size-buffers", 0u, "max-size-bytes", 0u, nullptr);
    g_object_set(source.get(), "uri", fileUri.c_str(), nullptr);
    source_ = source.get();
    sink_ = sink;
    gst_bin_add(GST_BIN(pipeline_), source.release());
    g_signal_connect(source_, "pad-added", G_CALLBACK(padAdded), this);
    g_signal_connect(source_, "no-more-pads", G_CALLBACK(noMorePads), this);
    g_signal_connect(source_, "autoplug-query", G_CALLBACK(preferFloat), nullptr);

    GstAppSinkCallbacks callbacks{};
    callbacks.new_sample = [](GstAppSink* s, gpointer self) { return newSample(GST_ELEMENT(s), self); };
    callbacks.eos = [](GstAppSink* s, gpointer self) { endOfStream(GST_ELEMENT(s), self); };
    gst_app_sink_set_callbacks(GST_APP_SINK(sink), &callbacks, this, nullptr);
}

float Decoder::gain() const { return ReplayGainApplied() ? tagGain_ : 1.0f; }

Decoder::~Decoder()
{
    if (!stalled_) {
        dispose(pipeline_);
        return;
    }
    // The pipeline outlives this decoder until its source lets go: it must not call back.
    g_signal_handlers_disconnect_by_data(source_, this);
    GstAppSinkCallbacks none{};
    gst_app_sink_set_callbacks(GST_APP_SINK(sink_), &none, nullptr, nullptr);
    disposeAside(pipeline_);
}

void Decoder::padAdded(GstElement*, GstPad* pad, gpointer self)
{
    auto* decoder = static_cast<Decoder*>(self);
    if (carries(pad, "video/")) decoder->picture_ = true;
    const Ref<GstPad> target = padOf(decoder->convert_, "sink");
    const bool free = !gst_pad_is_linked(target.get());
    if (free && carries(pad, "audio/"))
        gst_pad_link(pad, target.get());
    else
        discard(decoder->pipeline_, pad);
}

// A file with a picture goes to the video player: its preroll need not wait for the sound.
void Decoder::noMorePads(GstElement*, gpointer self)
{
    auto* decoder = static_cast<Decoder*>(self);
    if (!decoder->picture_) return;
    GstStructure* note = gst_structure_new_empty("sonorell-picture");
    gst_element_post_message(decoder->pipeline_, gst_message_new_application(GST_OBJECT(decoder->pipeline_), note));
}

GstFlowReturn Decoder::newSample(GstElement* sink, gpointer self)
{
    // Never a blocking pull: a flush or a state change may have emptied the sink meanwhile.
    GstSample* sample = gst_app_sink_try_pull_sample(GST_APP_SINK(sink), 0);
    if (!sample) return GST_FLOW_OK;
    const GstFlowReturn result = AudioOutput::instance().deliver(*static_cast<Decoder*>(self), sample);
    gst_sample_unref(sample);
    return result;
}

void Decoder::endOfStream(GstElement*, gpointer self) { AudioOutput::instance().finished(*static_cast<Decoder*>(self)); }

void Decoder::begin()
{
    if (convert_) gst_element_set_state(pipeline_, GST_STATE_PAUSED);
}

void Decoder::readBus()
{
    DrainBus(pipeline_, {.error = [this](GstMessage* message) { noteError(message); }});
}

bool Decoder::failed()
{
    if (pipeline_) readBus();
    return failed_;
}

bool Decoder::waitForPreroll(int64_t timeoutMs)
{
    const MessageRef message{
        gst_bus_timed_pop_filtered(busOf(pipeline_).get(), timeoutMs * GST_MSECOND,
                                   GstMessageType(GST_MESSAGE_ASYNC_DONE | GST_MESSAGE_ERROR | GST_MESSAGE_APPLICATION))};
    bool ready = false;
    if (message) {
        ready = GST_MESSAGE_TYPE(message.get()) != GST_MESSAGE_ERROR;
        if (!ready) noteError(message.get());
    } else if (!failed_) {
        stalled_ = true;
        error_ = "no answer from the decoder";
    }
    return ready;
}

// The first error is the one a user is told.
void Decoder::noteError(GstMessage* message)
{
    if (failed_) return;
    failed_ = true;
    error_ = ErrorText(message);
}

Decoder::Preroll Decoder::preroll()
{
    if (!convert_) return Preroll::Failed;
    if (gst_element_set_state(pipeline_, GST_STATE_PAUSED) == GST_STATE_CHANGE_FAILURE || !waitForPreroll(PrerollTimeoutMs)) {
        std::fprintf(stderr, "sonorell: cannot play %s: %s\n", uri_.c_str(), error_.c_str());
        return Preroll::Failed;
    }
    if (picture_) return Preroll::HasPicture;
    if (!gst_pad_is_linked(padOf(convert_, "sink").get())) return Preroll::Failed;
    if (!takeLength(WaitForDuration(pipeline_, LengthWaitMs))) return Preroll::Failed;
    if (section_ && !seek(0, -1)) return Preroll::Failed;
    return Preroll::Ready;
}

// The length of what plays from the file's length: the file's, or its part's.
bool Decoder::takeLength(gint64 fileNs)
{
    if (fileNs <= 0) return false;
    fileEndNs_ = fileNs;
    const gint64 end = sectionEndNs_ < 0 ? fileNs : std::min(sectionEndNs_, fileNs);
    if (end - originNs_ < GST_MSECOND) return false;  // a part beyond the file's end
    lengthMs_ = (end - originNs_) / GST_MSECOND;
    return true;
}

// A position of what plays as a position in the file.
gint64 Decoder::fileNs(int64_t ms) const { return originNs_ + ms * GST_MSECOND; }

bool Decoder::readyNow()
{
    if (!convert_ || picture_) return false;
    GstState state = GST_STATE_NULL;
    if (gst_element_get_state(pipeline_, &state, nullptr, 0) != GST_STATE_CHANGE_SUCCESS || state != GST_STATE_PAUSED)
        return false;
    if (lengthMs_ < 0) {
        gint64 duration = -1;
        if (gst_element_query_duration(pipeline_, GST_FORMAT_TIME, &duration)) takeLength(duration);
    }
    // A file that cannot tell its length yet is left to be opened as usual.
    return lengthMs_ > 0 && atStart_;
}

bool Decoder::seek(int64_t fromMs, int64_t toMs)
{
    stopMs_ = toMs;
    hold();
    const auto flags = GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE);
    // A stop at the length in whole milliseconds would cut the last samples of the file or part.
    const bool toEnd = toMs < 0 || (lengthMs_ > 0 && toMs >= lengthMs_);
    const gint64 partEnd = sectionEndNs_ >= 0 && sectionEndNs_ < fileEndNs_ ? sectionEndNs_ : gint64(GST_CLOCK_TIME_NONE);
    const gint64 stop = toEnd ? partEnd : fileNs(toMs);
    if (!gst_element_seek(pipeline_, 1.0, GST_FORMAT_TIME, flags, GST_SEEK_TYPE_SET, fileNs(fromMs), GST_SEEK_TYPE_SET, stop))
        return false;
    // Seeks in a file complete in milliseconds; waiting makes the first sample exact.
    gst_element_get_state(pipeline_, nullptr, nullptr, 2 * GST_SECOND);
    atStart_ = true;
    return true;
}

void Decoder::awaitPreroll(int64_t ms)
{
    if (convert_) gst_element_get_state(pipeline_, nullptr, nullptr, ms * GST_MSECOND);
}

void Decoder::run()
{
    if (convert_) gst_element_set_state(pipeline_, GST_STATE_PLAYING);
}

void Decoder::hold()
{
    if (convert_) gst_element_set_state(pipeline_, GST_STATE_PAUSED);
}

}  // namespace platform::gst
