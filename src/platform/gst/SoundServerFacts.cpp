#include "platform/gst/SoundServerFacts.h"

#include <pulse/context.h>
#include <pulse/introspect.h>
#include <pulse/mainloop.h>

#include <chrono>
#include <cstring>

namespace platform::gst {

namespace {

struct Ask {
    SoundServerFacts facts;
    bool done = false;
};

void onSinkInfo(pa_context*, const pa_sink_info* info, int last, void* data)
{
    auto* ask = static_cast<Ask*>(data);
    if (info) ask->facts.rate = int(info->sample_spec.rate);
    if (last) ask->done = true;
}

// The default output's own rate, which may differ from the server's default; that one when the
// output does not answer.
void onServerInfo(pa_context* context, const pa_server_info* info, void* data)
{
    auto* ask = static_cast<Ask*>(data);
    if (!info) {
        ask->done = true;
        return;
    }
    ask->facts.rate = int(info->sample_spec.rate);
    // PipeWire's pulse server names itself "PulseAudio (on PipeWire …)".
    ask->facts.pulseAudioDaemon = info->server_name && std::strcmp(info->server_name, "pulseaudio") == 0;
    pa_operation* op =
        info->default_sink_name ? pa_context_get_sink_info_by_name(context, info->default_sink_name, onSinkInfo, ask) : nullptr;
    if (op)
        pa_operation_unref(op);
    else
        ask->done = true;
}

void onState(pa_context* context, void* data)
{
    auto* ask = static_cast<Ask*>(data);
    switch (pa_context_get_state(context)) {
    case PA_CONTEXT_READY:
        if (pa_operation* op = pa_context_get_server_info(context, onServerInfo, ask))
            pa_operation_unref(op);
        else
            ask->done = true;
        break;
    case PA_CONTEXT_FAILED:
    case PA_CONTEXT_TERMINATED: ask->done = true; break;
    default: break;
    }
}

SoundServerFacts askServer(int timeoutMs)
{
    pa_mainloop* loop = pa_mainloop_new();
    if (!loop) return {};
    Ask ask;
    pa_context* context = pa_context_new(pa_mainloop_get_api(loop), "sonorell");
    // Never starting a server of its own: a missing one only means nothing is known.
    if (context && pa_context_connect(context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) >= 0) {
        pa_context_set_state_callback(context, onState, &ask);
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (!ask.done) {
            const auto left = std::chrono::duration_cast<std::chrono::microseconds>(until - std::chrono::steady_clock::now());
            if (left.count() <= 0) break;
            if (pa_mainloop_prepare(loop, int(left.count())) < 0 || pa_mainloop_poll(loop) < 0 || pa_mainloop_dispatch(loop) < 0)
                break;
        }
        pa_context_disconnect(context);
    }
    if (context) pa_context_unref(context);
    pa_mainloop_free(loop);
    return ask.facts;
}

}  // namespace

const SoundServerFacts& soundServer()
{
    static const SoundServerFacts facts = askServer(1000);
    return facts;
}

}  // namespace platform::gst
