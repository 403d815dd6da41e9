// Any command text, answered into a reply buffer of any size: the interpreter never fails
// badly, and a reply always ends inside the buffer.

#include "platform/mci/Interpreter.h"

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool quiet = [] {
        setenv("SONORELL_CD_DEVICE", "none", 1);
        setenv("SONORELL_AUDIO_SINK", "fakesink", 1);
        setenv("SONORELL_VIDEO_SINK", "fakesink", 1);
        return true;
    }();
    (void)quiet;
    if (size == 0) return 0;
    const size_t replySize = data[0];  // 0..255, 0 meaning no buffer at all
    std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    // Commands one a line, as the command-line tool sends them; files are never opened.
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
