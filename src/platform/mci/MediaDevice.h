#pragma once
// The media file device ("mpegvideo", and "waveaudio", "sequencer", "avivideo" served alike).
// Positions and lengths are milliseconds under every time format.

#include "platform/gst/Engine.h"
#include "platform/mci/Device.h"

#include <memory>

namespace platform::mci {

class MediaDevice : public Device {
public:
    uint32_t open(const OpenParams& params) override;
    uint32_t execute(const std::string& verb, WordCursor& args, std::string& reply) override;

private:
    uint32_t status(WordCursor& args, std::string& reply);
    uint32_t set(WordCursor& args);
    uint32_t play(WordCursor& args);
    uint32_t where(WordCursor& args, std::string& reply);
    uint32_t seek(WordCursor& args);
    uint32_t cue(WordCursor& args);

    std::unique_ptr<gst::Engine> player_;  // set by a successful open
    std::string timeFormat_ = "milliseconds";
};

}  // namespace platform::mci
