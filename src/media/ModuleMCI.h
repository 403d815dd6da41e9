#pragma once
// The media file device's routines. Stateless: each takes the device alias and sends one to
// three commands. Positions and lengths are milliseconds (the device keeps that unit under
// every time format).

#include <cstdint>
#include <string>

namespace ModuleMCI {

constexpr const char* ChildWindowStyle = "1073741824";
constexpr std::size_t OpenFieldWidth = 255;
constexpr std::size_t PlayFieldWidth = 128;

// Status texts: "Success" or the device's description of the failure.
std::string OpenMedia(uint64_t& parentWindow, const std::string& alias, const std::string& filePath,
                      const std::string& deviceType);
std::string PlayMedia(const std::string& alias, std::string& from, std::string& to);
std::string PauseMedia(const std::string& alias);
std::string ResumeMedia(const std::string& alias);
std::string CloseMedia(const std::string& alias);
// Where play or a resume goes on from; status text.
std::string SeekMedia(const std::string& alias, int32_t positionMs);

std::string GetMediaMode(const std::string& alias);  // "playing", … or "ERROR"
int32_t GetMediaPosition(const std::string& alias);  // -1 when unknown
int32_t GetMediaLength(const std::string& alias);    // leaves the time format "frames"
int32_t GetMediaLengthMs(const std::string& alias);
int32_t GetVideoSize(const std::string& alias, const std::string& which);  // "cx" or "cy"
// Tells the device which file follows the open one when it plays to its end, so it plays on
// into it without a gap; an empty path: none. Status text.
std::string CueNextMedia(const std::string& alias, const std::string& filePath);
// True once the position has reached the length; asks for the length only when it is 0.
bool IsMediaAtEnd(const std::string& alias, int32_t& length);

// The command in a field of width characters: padded with blanks; the open command is never
// cut, since a file URI may well be longer than the field.
std::string PadField(std::string command, std::size_t width, bool cutWhenLonger);

// Reads width or height out of a "left top width height" reply; -1 when it is not one.
int32_t VideoSizeFromReply(const std::string& reply, bool width);

}  // namespace ModuleMCI
