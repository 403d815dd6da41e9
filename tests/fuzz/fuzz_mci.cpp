// Any command text, answered into a reply buffer of any size: the interpreter never fails
// badly, and a reply always ends inside the buffer. A disc image stands in the drive and a sound
// file is open as "m", so the CD and media devices' own argument parsers are reached.

#include "platform/mci/Interpreter.h"
#include "support/Bytes.h"

#include <QDir>
#include <QTemporaryDir>

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

// A disc image of two short tracks, and a second of silence as a WAV file; the folder's path.
std::string makeMedia()
{
    static QTemporaryDir dir;
    const std::string folder = dir.path().toStdString();
    std::ofstream(folder + "/disc.bin", std::ios::binary) << std::string(2352 * 300, '\0');
    std::ofstream(folder + "/disc.cue") << "TITLE \"Album\"\nFILE \"disc.bin\" BINARY\n"
                                        << "TRACK 01 AUDIO\nTITLE \"One\"\nINDEX 01 00:00:00\n"
                                        << "TRACK 02 AUDIO\nTITLE \"Two\"\nINDEX 01 00:02:00\n";
    std::ofstream(folder + "/m.wav", std::ios::binary) << testsupport::wav(2, 44100, 16, std::string(44100 * 4, '\0'));
    return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string folder = [] {
        const std::string made = makeMedia();
        setenv("SONORELL_CD_DEVICE", (made + "/disc.cue").c_str(), 1);
        setenv("SONORELL_AUDIO_SINK", "fakesink", 1);
        setenv("SONORELL_VIDEO_SINK", "fakesink", 1);
        return made;
    }();
    if (size == 0) return 0;
    const size_t replySize = data[0];  // 0..255, 0 meaning no buffer at all
    std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    platform::mci::SendString("open \"" + folder + "/m.wav\" type mpegvideo alias m", nullptr, 0);
    // Commands one a line, as the command-line tool sends them; no other file is opened.
    std::vector<char> reply(replySize + 1, '\x7f');
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string command = text.substr(start, end - start);
        std::string lowered = command;
        for (char& c : lowered) c = char(std::tolower(static_cast<unsigned char>(c)));
        if (lowered.find("open") == std::string::npos || lowered.find("cdaudio") != std::string::npos) {
            platform::mci::SendString(command, replySize ? reply.data() : nullptr, replySize);
            if (replySize && !std::memchr(reply.data(), '\0', replySize)) std::abort();
            if (reply[replySize] != '\x7f') std::abort();  // written past the buffer
        }
        start = end + 1;
    }
    platform::mci::interpreter().closeAll();
    return 0;
}
