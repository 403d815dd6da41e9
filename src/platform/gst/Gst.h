#pragma once
// GStreamer set-up shared by the devices: one initialisation, the audio output of $SONORELL_AUDIO_SINK.

#include <gst/gst.h>
#include <string>

namespace platform::gst {

void ensureInit();

// A fresh sink for one pipeline: $SONORELL_AUDIO_SINK when set, else the desktop's sound server
// or ALSA with 100 ms periods and a 500 ms buffer; when no output opens, a silent clock-driven
// sink, announced once on standard error. Never null.
GstElement* makeAudioSink();

// Parses a pipeline fragment into a bin with ghost pads; null (and a notice) when it does not parse.
GstElement* parseBin(const std::string& description);

// Takes every pending message off the bus and hands each to handle (which must not unref it).
template <typename Handler>
void drainBus(GstElement* pipeline, Handler&& handle)
{
    GstBus* bus = gst_element_get_bus(pipeline);
    while (GstMessage* message = gst_bus_pop(bus)) {
        handle(message);
        gst_message_unref(message);
    }
    gst_object_unref(bus);
}

// GStreamer's own description of an error message.
std::string ErrorText(GstMessage* error);

// The pipeline's length in nanoseconds, waiting up to timeoutMs for the parser's estimate when
// the file carries none; -1 when none comes or an error does.
gint64 WaitForDuration(GstElement* pipeline, int64_t timeoutMs);

// Stops a pipeline and releases it; accepts null.
void dispose(GstElement*& pipeline);
// The same on a thread of its own, for a pipeline whose source may never answer: stopping it
// waits for that source, and the caller must not.
void disposeAside(GstElement*& pipeline);

} // namespace platform::gst
