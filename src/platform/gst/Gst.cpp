#include "platform/gst/Gst.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>

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

GstElement* parseBin(const std::string& description)
{
    GError* error = nullptr;
    GstElement* bin = gst_parse_bin_from_description(description.c_str(), TRUE, &error);
    if (error) {
        std::fprintf(stderr, "sonorell: cannot use \"%s\": %s\n", description.c_str(), error->message);
        g_error_free(error);
        if (bin) gst_object_unref(bin);
        return nullptr;
    }
    return bin;
}

static bool reachesReady(GstElement* sink)
{
    if (gst_element_set_state(sink, GST_STATE_READY) == GST_STATE_CHANGE_FAILURE) return false;
    gst_element_set_state(sink, GST_STATE_NULL);
    return true;
}

static GstElement* makeDesktopSink(const char* factory)
{
    GstElement* sink = gst_element_factory_make(factory, nullptr);
    if (!sink) return nullptr;
    g_object_set(sink, "latency-time", gint64(100000), "buffer-time", gint64(500000), nullptr);
    if (reachesReady(sink)) return sink;
    gst_object_unref(sink);
    return nullptr;
}

static GstElement* makeSilentSink()
{
    static std::once_flag notice;
    std::call_once(notice, [] {
        std::fprintf(stderr, "sonorell: no audio output could be opened; playing silently\n");
    });
    GstElement* sink = gst_element_factory_make("fakesink", nullptr);
    g_object_set(sink, "sync", TRUE, nullptr);
    return sink;
}

GstElement* makeAudioSink()
{
    ensureInit();
    if (const char* description = std::getenv("SONORELL_AUDIO_SINK"); description && *description) {
        if (GstElement* sink = parseBin(description)) return sink;
        return makeSilentSink();
    }
    // The output found first is kept for the run: probing a missing sound server on every open
    // would cost each open a failed connection.
    static const char* chosen = nullptr;
    static bool none = false;
    if (chosen)
        if (GstElement* sink = makeDesktopSink(chosen)) return sink;
    if (!none) {
        for (const char* factory : {"pulsesink", "alsasink"})
            if (GstElement* sink = makeDesktopSink(factory)) {
                chosen = factory;
                return sink;
            }
        none = chosen == nullptr;
    }
    return makeSilentSink();
}

void dispose(GstElement*& pipeline)
{
    if (!pipeline) return;
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(pipeline);
    pipeline = nullptr;
}

} // namespace platform::gst
