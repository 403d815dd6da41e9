#pragma once
// The media file device ("mpegvideo", "waveaudio", "sequencer", "avivideo").

#include "platform/mci/Device.h"

#include <memory>

namespace platform::mci {

class MediaDevice : public Device {
public:
    MediaDevice();
    ~MediaDevice() override;
    uint32_t open(const OpenParams& params) override;
    uint32_t execute(const std::string& verb, WordCursor& args, std::string& reply) override;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace platform::mci
