#pragma once
// The in-process interpreter of multimedia command strings: a table of open devices by alias.

#include "platform/mci/Device.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

namespace platform::mci {

class Interpreter {
public:
    using Factory = std::function<std::unique_ptr<Device>()>;

    // With the standard device types (cdaudio; mpegvideo, waveaudio, sequencer, avivideo).
    Interpreter();
    ~Interpreter();
    Interpreter(const Interpreter&) = delete;
    Interpreter& operator=(const Interpreter&) = delete;

    // Runs one command. reply receives the device's reply text (empty when none).
    uint32_t send(std::string_view command, std::string& reply);

    void registerType(const std::string& type, Factory factory);
    void closeAll();
    bool isOpen(std::string_view alias) const;
    std::size_t openCount() const { return devices_.size(); }

private:
    uint32_t open(WordCursor& words);
    uint32_t close(const std::string& alias);

    std::map<std::string, Factory> factories_;                // by lower-case type
    std::map<std::string, std::unique_ptr<Device>> devices_;  // by lower-case alias
};

// The process's interpreter, made on first use.
Interpreter& interpreter();

// The two calls the players use, shaped like the Windows ones: the reply is written
// NUL-terminated and cut to replySize characters (0: no reply).
uint32_t SendString(std::string_view command, char* reply, std::size_t replySize);
// The description of code; false (and an empty buffer) for an unknown code.
bool GetErrorString(uint32_t code, char* buffer, std::size_t size);

}  // namespace platform::mci
