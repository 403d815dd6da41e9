#pragma once
// ReplayGain when playing: a file's track gain from its tags (Vorbis comments, ID3v2 TXXX, APE,
// MP4), limited by its peak so nothing clips. On unless switched off; switching is heard at once,
// in the file playing too.

namespace platform {

void ApplyReplayGain(bool on);
bool ReplayGainApplied();

}  // namespace platform
