#include "media/ModuleMCI.h"
#include "media/Channel.h"
#include "platform/ShortPath.h"

#include <cctype>

namespace ModuleMCI {

using namespace media;

std::string PadField(std::string command, std::size_t width, bool cutWhenLonger)
{
    if (command.size() < width)
        command.append(width - command.size(), ' ');
    else if (cutWhenLonger)
        command.resize(width);
    return command;
}

std::string OpenMedia(uint64_t& parentWindow, const std::string& alias, const std::string& filePath,
                      const std::string& deviceType)
{
    const std::string shortPath = platform::ShortPathName(filePath);
    const std::string command = "open " + shortPath + " type " + deviceType + " Alias " + alias + " parent " +
                                std::to_string(parentWindow) + " Style " + ChildWindowStyle;
    return SendAction(PadField(command, OpenFieldWidth, false));
}

std::string PlayMedia(const std::string& alias, std::string& from, std::string& to)
{
    if (from.empty()) from = "0";
    if (to.empty()) to = std::to_string(GetMediaLength(alias));
    return SendAction(PadField("play " + alias + " from " + from + " to " + to, PlayFieldWidth, true));
}

std::string PauseMedia(const std::string& alias) { return SendAction("Pause " + alias); }
std::string ResumeMedia(const std::string& alias) { return SendAction("Resume " + alias); }
std::string CloseMedia(const std::string& alias) { return SendAction("Close " + alias); }
std::string SeekMedia(const std::string& alias, int32_t positionMs)
{
    return SendAction("seek " + alias + " to " + std::to_string(positionMs));
}

std::string CueNextMedia(const std::string& alias, const std::string& filePath)
{
    const std::string shortPath = filePath.empty() ? std::string() : platform::ShortPathName(filePath);
    if (!filePath.empty() && shortPath.empty()) return SendAction("cue " + alias + " next");
    return SendAction("cue " + alias + " next " + shortPath);
}

std::string GetMediaMode(const std::string& alias) { return SendMode("status " + alias + " mode"); }

int32_t GetMediaPosition(const std::string& alias) { return SendNumeric("status " + alias + " position"); }

int32_t GetMediaLength(const std::string& alias)
{
    SendSilent("set " + alias + " time format frames", MediaReplySize);
    return SendNumeric("status " + alias + " length");
}

int32_t GetMediaLengthMs(const std::string& alias)
{
    SendSilent("set " + alias + " time format ms", MediaReplySize);
    const int32_t length = SendNumeric("status " + alias + " length");
    SendSilent("set " + alias + " time format frames");
    return length;
}

int32_t VideoSizeFromReply(const std::string& reply, bool width)
{
    const std::size_t p1 = reply.find(' ');
    const std::size_t p2 = p1 == std::string::npos ? p1 : reply.find(' ', p1 + 1);
    const std::size_t p3 = p2 == std::string::npos ? p2 : reply.find(' ', p2 + 1);
    if (p3 == std::string::npos) return -1;
    // Width is the text from p2 (its blank included) up to p3; height all after p3.
    const std::string text = width ? reply.substr(p2, p3 - p2) : reply.substr(p3 + 1);
    int32_t value = -1;
    return RoundToInt32(LeadingNumber(text), value) ? value : -1;
}

int32_t GetVideoSize(const std::string& alias, const std::string& which)
{
    std::string key = which;
    for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (key != "cx" && key != "cy") return -1;
    const std::string reply = SendMode("Where " + alias + " destination");
    if (reply == "ERROR") return -1;
    return VideoSizeFromReply(reply, key == "cx");
}

bool IsMediaAtEnd(const std::string& alias, int32_t& length)
{
    if (length == 0) length = GetMediaLength(alias);
    const int32_t position = GetMediaPosition(alias);
    if (length == -1 || position == -1) return false;
    return position > length - 1 || position == length;
}

}  // namespace ModuleMCI
