#pragma once
// GStreamer set-up shared by the devices: one initialisation, the audio output of $SONORELL_AUDIO_SINK.

#include <gst/gst.h>

#include <initializer_list>
#include <memory>
#include <functional>
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
// or ALSA with 100 ms periods and a 500 ms buffer; when no output opens, a silent clock-driven
// sink, announced once on standard error (*silent tells). again: the output was lost, so only
// the one found before is tried. Never null.
GstElement* makeAudioSink(bool* silent = nullptr, bool again = false);

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
