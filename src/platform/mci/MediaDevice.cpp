#include "platform/mci/MediaDevice.h"
#include "platform/mci/Errors.h"

namespace platform::mci {

struct MediaDevice::Impl {};

MediaDevice::MediaDevice() : impl_(std::make_unique<Impl>()) {}
MediaDevice::~MediaDevice() = default;

uint32_t MediaDevice::open(const OpenParams&) { return CannotLoadDriver; }

uint32_t MediaDevice::execute(const std::string&, WordCursor&, std::string&) { return UnrecognizedCommand; }

} // namespace platform::mci
