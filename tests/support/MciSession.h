#pragma once
// Device commands sent as a test writes them, one interpreter a test: the last reply, and the
// commands that ask for a text or a number.

#include "platform/mci/Errors.h"
#include "platform/mci/Interpreter.h"

#include <string>

namespace testsupport {

struct MciSession {
    platform::mci::Interpreter mci;
    std::string reply;

    uint32_t send(const std::string& command) { return mci.send(command, reply); }
    // The reply, or "error N" when the command failed.
    std::string ask(const std::string& command)
    {
        const uint32_t rc = send(command);
        return rc == platform::mci::Ok ? reply : "error " + std::to_string(rc);
    }
    int number(const std::string& command) { return std::stoi(ask(command)); }
};

}  // namespace testsupport
