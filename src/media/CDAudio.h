#pragma once
// The audio CD device, always under the alias "cd". Stateless: every routine sends fixed
// command texts; all state lives in the device.

#include <cstdint>
#include <string>

namespace media {

class CDAudio {
public:
    std::string GetCDPosition_FUN();        // raw reply, current time format
    void StartPlay();
    void SetTrack(int16_t Track);
    void StopPlay();
    void PausePlay();
    void EjectCD();
    void CloseCD();
    void UnloadAll();
    void SetCDPlayerReady();
    void SetFormat_tmsf();
    void SetFormat_milliseconds();
    int16_t GetNumTracks();                 // 0 when no disc is readable
    std::string GetCDLength();              // raw reply
    std::string GetTrackLength(int16_t TrackNum);  // raw reply
    int16_t CheckIfPlaying();               // 1 when playing, else 0
    std::string GetCDMode();                // "playing", "paused", "stopped", … or "ERROR"
    void SeekCDtoX(int16_t Track);          // plays Track from its start
    void ReadyDevice();                     // closes everything, opens "cd" in tmsf
    void PlayTrackFrom(int32_t FromPosition);  // seeks to ms from disc start, left stopped
    void PlayCD();                          // plays on from the current position
    void StopCD();
};

} // namespace media
