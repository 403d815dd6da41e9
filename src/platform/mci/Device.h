#pragma once
// A device the interpreter drives, opened under an alias.

#include "platform/mci/Words.h"

#include <cstdint>
#include <string>

namespace platform::mci {

struct OpenParams {
    std::string element;  // file to open; empty for a device without one (cdaudio)
    std::string type;     // lower-case device type
    uint64_t parentWindow = 0;
    int64_t style = 0;
    bool shareable = false;
};

class Device {
public:
    virtual ~Device() = default;
    // Called once, before any command; a non-zero result means the device stays closed.
    virtual uint32_t open(const OpenParams& params) = 0;
    // verb is lower case; args are the words after the alias, without "wait" and "notify".
    virtual uint32_t execute(const std::string& verb, WordCursor& args, std::string& reply) = 0;
};

}  // namespace platform::mci
