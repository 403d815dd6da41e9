#include "media/CDAudio.h"
#include "media/Channel.h"

#include <cstdlib>

namespace media {

std::string CDAudio::GetCDPosition_FUN() { return SendRaw("status cd position"); }
void CDAudio::StartPlay() { SendSilent("play cd"); }
void CDAudio::SetTrack(int16_t Track) { SendSilent("seek cd to " + WithLeadingBlank(Track)); }
void CDAudio::StopPlay() { SendSilent("stop cd wait"); }
void CDAudio::PausePlay() { SendSilent("pause cd"); }
void CDAudio::EjectCD() { SendSilent("set cd door open"); }
void CDAudio::CloseCD() { SendSilent("set cd door closed"); }
void CDAudio::UnloadAll() { SendSilent("close all"); }
void CDAudio::SetCDPlayerReady() { SendSilent("open cdaudio alias cd wait shareable"); }
void CDAudio::SetFormat_tmsf() { SendSilent("set cd time format tmsf wait"); }
void CDAudio::SetFormat_milliseconds() { SendSilent("set cd time format milliseconds"); }

int16_t CDAudio::GetNumTracks()
{
    // At most two digits, and no number at all (no disc: only NULs) is 0 tracks.
    const std::string reply = SendRaw("status cd number of tracks wait");
    int32_t tracks = 0;
    RoundToInt32(LeadingNumber(reply.substr(0, 2).c_str()), tracks);
    return static_cast<int16_t>(tracks);
}

bool CDAudio::IsAudioTrack(int16_t TrackNum)
{
    return SendRaw("status cd type track " + std::to_string(TrackNum)).rfind("other", 0) != 0;
}

std::string CDAudio::GetCDLength() { return SendRaw("status cd length wait"); }

std::string CDAudio::GetTrackLength(int16_t TrackNum) { return SendRaw("status cd length track " + std::to_string(TrackNum)); }

int16_t CDAudio::CheckIfPlaying() { return SendRaw("status cd mode").substr(0, 7) == "playing" ? 1 : 0; }

std::string CDAudio::GetCDMode() { return SendMode("status cd mode", CdReplySize); }

void CDAudio::SeekCDtoX(int16_t Track)
{
    StopPlay();
    SetTrack(Track);
    StartPlay();
}

void CDAudio::ReadyDevice()
{
    UnloadAll();
    SetCDPlayerReady();
    SetFormat_tmsf();
}

void CDAudio::PlayTrackFrom(int32_t FromPosition)
{
    SetFormat_milliseconds();
    SendSilent("seek cd to " + std::to_string(FromPosition));
    SetFormat_tmsf();
}

CDAudio::Tmsf CDAudio::ReadTmsf(const std::string& reply)
{
    const auto field = [&reply](std::size_t start) {
        return reply.size() >= start + 2 ? std::atoi(reply.substr(start, 2).c_str()) : 0;
    };
    return {int16_t(field(0)), field(3), field(6)};
}

CDAudio::Milliseconds CDAudio::ReadMilliseconds(int16_t track, bool withStart)
{
    SetFormat_milliseconds();
    Milliseconds ms;
    ms.position = std::atoi(GetCDPosition_FUN().c_str());
    if (track > 0) ms.trackLength = std::atoi(GetTrackLength(track).c_str());
    if (track > 0 && withStart) ms.trackStart = SendNumeric("status cd position track " + std::to_string(track), CdReplySize);
    SetFormat_tmsf();
    return ms;
}

void CDAudio::PlayCD() { SeekCDtoX(0); }
void CDAudio::StopCD() { StopPlay(); }

}  // namespace media
