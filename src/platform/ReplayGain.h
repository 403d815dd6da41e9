#pragma once
// ReplayGain when playing: a file's track gain from its tags (Vorbis comments, ID3v2 TXXX, APE,
// MP4), limited by its peak so nothing clips, applied to files opened from now on. On unless
// switched off.

namespace platform {

void ApplyReplayGain(bool on);
bool ReplayGainApplied();

}  // namespace platform
