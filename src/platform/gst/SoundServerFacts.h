#pragma once
// What the desktop's sound server is: the rate it mixes at, and whether it is the PulseAudio
// daemon itself; asked once a run over its own protocol.

namespace platform::gst {

struct SoundServerFacts {
    int rate = 0;                   // 0 when no server answered (or it is not a pulse protocol server)
    bool pulseAudioDaemon = false;  // false for PipeWire's pulse server
};

// Asked the first time, with a timeout of a second.
const SoundServerFacts& soundServer();

}  // namespace platform::gst
