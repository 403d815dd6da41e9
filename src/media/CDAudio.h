#pragma once
// The audio CD device, always under the alias "cd". Stateless: every routine sends fixed
// command texts; all state lives in the device.

#include <cstdint>
#include <string>

namespace media {

class CDAudio {
public:
    std::string GetCDPosition_FUN();  // raw reply, current time format
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
    int16_t GetNumTracks();                        // 0 when no disc is readable
    std::string GetCDLength();                     // raw reply
    bool IsAudioTrack(int16_t TrackNum);           // false for a data track
    std::string GetTrackLength(int16_t TrackNum);  // raw reply
    int16_t CheckIfPlaying();                      // 1 when playing, else 0
    std::string GetCDMode();                       // "playing", "paused", "stopped", … or "ERROR"
    void SeekCDtoX(int16_t Track);                 // plays Track from its start
    void ReadyDevice();                            // closes everything, opens "cd" in tmsf
    void PlayTrackFrom(int32_t FromPosition);      // seeks to ms from disc start, left stopped
    void PlayCD();                                 // plays on from the current position
    void StopCD();

    // A tmsf position reply ("tt:mm:ss:ff") as numbers; a field that is no number reads as 0.
    struct Tmsf {
        int16_t track = 0;
        int minutes = 0;
        int seconds = 0;
    };
    static Tmsf ReadTmsf(const std::string& reply);
    Tmsf GetTmsfPosition() { return ReadTmsf(GetCDPosition_FUN()); }
    // The absolute position and, for a track above 0, its length (0 where unreadable) and when
    // asked where it starts (-1 where unreadable), in milliseconds; the device is switched to
    // milliseconds for them and back to tmsf.
    struct Milliseconds {
        int32_t position = 0;
        int32_t trackLength = 0;
        int32_t trackStart = -1;
    };
    Milliseconds ReadMilliseconds(int16_t track = 0, bool withStart = false);
};

}  // namespace media
