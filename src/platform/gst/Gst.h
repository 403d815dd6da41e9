#pragma once
// GStreamer set-up shared by the devices: one initialisation, the audio output of $SONORELL_AUDIO_SINK.

#include <gst/gst.h>

#include <atomic>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>

namespace platform::gst {

void ensureInit();

// Owning holders: each reference is released once, on every path out. A new element's floating
// reference is sunk first, so an element never added to a bin is released too.
struct Unref {
    void operator()(gpointer object) const;
};
template <typename T> using Ref = std::unique_ptr<T, Unref>;
struct MessageUnref {
    void operator()(GstMessage* message) const { gst_message_unref(message); }
};
using MessageRef = std::unique_ptr<GstMessage, MessageUnref>;
struct CapsUnref {
    void operator()(GstCaps* caps) const { gst_caps_unref(caps); }
};
using CapsRef = std::unique_ptr<GstCaps, CapsUnref>;

inline Ref<GstBus> busOf(GstElement* element) { return Ref<GstBus>(gst_element_get_bus(element)); }
inline Ref<GstPad> padOf(GstElement* element, const char* name) { return Ref<GstPad>(gst_element_get_static_pad(element, name)); }

// A new pipeline holding the elements, linked in order. Null when an element is missing (a
// plugin not installed) or they do not link; every element is released then.
GstElement* LinkedPipeline(const char* name, std::initializer_list<GstElement*> elements);

// A fresh sink for one pipeline: $SONORELL_AUDIO_SINK when set, else the desktop's sound server
// or ALSA with 100 ms periods and a 500 ms buffer; when no output opens, or its server has no
// device to take a stream now, a silent clock-driven sink, announced once on standard error
// (*silent tells). again: the output was lost, so only the one found before is tried. Never null.
GstElement* makeAudioSink(bool* silent = nullptr, bool again = false);

// Asked when the output chosen for the run does not open: a holder of an idle connection to a
// sound server that went away lets go of it (pulsesink shares one connection between its sinks,
// so every new sink fails on a dead one), and answers whether it did; the output is tried again.
void setIdleOutputRelease(bool (*release)());
// True once a desktop output was found in this run: a silent sink is then a stand-in for a
// server that went away, worth trying again, not the lasting silence of a machine without one.
bool desktopOutputFound();

// Parses a pipeline fragment into a bin with ghost pads; null (and a notice) when it does not parse.
GstElement* parseBin(const std::string& description);

// What a pipeline does with each kind of message its bus carries, one named handler a kind;
// kinds without a handler are let go. A handler must not unref the message.
struct BusHandlers {
    std::function<void(GstMessage*)> error = {};
    std::function<void(GstMessage*)> endOfStream = {};
    std::function<void(GstMessage*)> element = {};
};

// Takes every pending message off the pipeline's bus and hands each to the handler of its kind.
void DrainBus(GstElement* pipeline, const BusHandlers& handlers = {});

// GStreamer's own description of an error message.
std::string ErrorText(GstMessage* error);

// The one line on standard error when a pipeline's sound output fails (its server went away).
void ReportLostOutput(GstMessage* error);
// Now and then a PulseAudio stream reports a time centuries ahead when it is read just as it is
// uncorked (PipeWire's pulse server, after a flush or a resume). An audio sink's clock never goes
// back, so it keeps that time for as long as the sink lives: the position then reads nonsense, and
// the next play is timed centuries ahead and never heard. Only a new sink mends it. Told at once
// from the clock itself: it gained on the monotonic clock, which a sound card's clock never does
// by more than a fraction of a second an hour.
class ClockLeap {
public:
    // True once the pipeline's clock has gained ten minutes or more on the monotonic clock; said
    // once on standard error.
    bool leapt(GstElement* pipeline);
    // A new pipeline, made now: its sink's clock starts at 0.
    void forget()
    {
        clock_ = nullptr;
        leapt_ = false;
        madeAt_ = gst_util_get_timestamp();
    }

private:
    const GstClock* clock_ = nullptr;  // only compared, never used
    GstClockTime madeAt_ = 0;
    GstClockTime clockAt_ = 0;  // a reading of the clock, and of the monotonic clock then
    GstClockTime wallAt_ = 0;
    bool leapt_ = false;
};

// A sink uncorks its stream as it is told to play, and a read of its time then may leap: it is not
// read for a moment after (nothing has been heard yet).
class Uncorking {
public:
    void start() { at_ = gst_util_get_timestamp(); }
    bool now() const { return gst_util_get_timestamp() - at_ < 50 * GST_MSECOND; }

private:
    GstClockTime at_ = 0;
};

// A stream the server is slow to start, told apart from one whose clock failed: the position
// falls back while playing, or stands for three seconds with sound fed well beyond it.
class ClockCheck {
public:
    // A position read at nowMs, with sound fed up to fedNs; lastNs is the reading before it. True
    // when the clock has failed, said once on standard error. Not playing (paused, played out),
    // a position that stands means nothing.
    bool failed(bool playing, int64_t ns, int64_t lastNs, int64_t fedNs, int64_t nowMs);
    // A new stream, or one flushed: its positions are not compared with those before.
    void rest() { standingSinceMs_ = -1; }

private:
    int64_t standingSinceMs_ = -1;
    int64_t failedAtMs_ = -1;
};

// Where a stream was last heard. The bus is read only when the player asks, so a failure of the
// sink is timed as the sink posts it: what played between the last reading and the failure was
// heard too, and a stream that goes on after the loss repeats nothing.
class HeardPosition {
public:
    // The sink of this pipeline is watched from now on; it has not failed yet. ended, if given,
    // is called on the streaming thread when an end of stream has been heard.
    void watch(GstElement* pipeline, std::function<void()> ended = {});
    // A position just read from the pipeline, returned.
    int64_t read(int64_t ns);
    int64_t last() const { return lastNs_; }
    // The stream is told to play: its time is not read while it is uncorked, but it runs on from
    // the last reading, should the sink fail before it is read again.
    void playing()
    {
        uncorking_.start();
        lastAt_ = gst_util_get_timestamp();
    }
    bool uncorking() const { return uncorking_.now(); }
    // The last reading no longer runs on with the clock (a pause); reset: nor does it stand.
    void stopRunning() { lastAt_ = 0; }
    // A new stream, or one flushed: its positions are not compared with those before.
    void reset()
    {
        lastNs_ = 0;
        lastAt_ = 0;
        clock_.rest();
    }
    // Whether the stream's clock failed, ns being a position read at nowMs, before read() takes it.
    bool clockFailed(bool playing, int64_t ns, int64_t fedNs, int64_t nowMs)
    {
        return clockLeapt() || clock_.failed(playing, ns, lastNs_, fedNs, nowMs);
    }
    // Whether the sink's clock leapt ahead: nothing played on this pipeline would be heard.
    bool clockLeapt() { return pipeline_ && leap_.leapt(pipeline_); }
    // Moves the last reading on to the failure, never past what was delivered.
    void runOnToFailure(int64_t deliveredNs);

private:
    static GstBusSyncReply noteBusMessage(GstBus*, GstMessage* message, gpointer self);
    std::function<void()> ended_;
    GstElement* pipeline_ = nullptr;
    ClockLeap leap_;
    ClockCheck clock_;
    int64_t lastNs_ = 0;
    uint64_t lastAt_ = 0;                 // when it was read, on GStreamer's monotonic clock; 0: not running
    std::atomic<uint64_t> failedAt_ = 0;  // when the sink first failed, on the same clock; 0 if it has not
    Uncorking uncorking_;
};

// What a URI the media device takes names: a file, or frames S..E (1/75 s) of one, written
// "<file URI>#sonorell-frames=S-E" (without E: to the file's end).
struct UriPart {
    std::string fileUri;
    bool part = false;
    gint64 startNs = 0;
    gint64 endNs = -1;  // -1: the file's end
};
constexpr const char* PartMark = "#sonorell-frames=";
UriPart PartOfUri(const std::string& uri);

// The pipeline's length in nanoseconds, waiting up to timeoutMs for the parser's estimate when
// the file carries none; -1 when none comes or an error does.
gint64 WaitForDuration(GstElement* pipeline, int64_t timeoutMs);

// Stops a pipeline and releases it; accepts null.
void dispose(GstElement*& pipeline);
// The same on a thread of its own, for a pipeline whose source may never answer: stopping it
// waits for that source, and the caller must not.
void disposeAside(GstElement*& pipeline);

}  // namespace platform::gst
