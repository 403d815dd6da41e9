#include "platform/cdrom/SecureReader.h"

#include <cdio/cdio.h>
#include <cdio/paranoia/cdda.h>
#include <cdio/paranoia/paranoia.h>

#include <cstring>
#include <mutex>

namespace platform::cdrom {

namespace {

constexpr int MaxRetries = 20;

// paranoia's callback carries no context: the reader reading on this thread.
thread_local ReadTrouble* reading = nullptr;

void countTrouble(long, paranoia_cb_mode_t mode)
{
    if (!reading) return;
    switch (mode) {
    case PARANOIA_CB_READERR: ++reading->retries; break;
    case PARANOIA_CB_SKIP: ++reading->skipped; break;
    case PARANOIA_CB_FIXUP_EDGE:
    case PARANOIA_CB_FIXUP_ATOM:
    case PARANOIA_CB_FIXUP_DROPPED:
    case PARANOIA_CB_FIXUP_DUPED:
    case PARANOIA_CB_SCRATCH:
    case PARANOIA_CB_REPAIR:
    case PARANOIA_CB_DRIFT: ++reading->corrected; break;
    default: break;
    }
}

}  // namespace

SecureReader::SecureReader(const std::string& source) : cdio_(OpenSource(source))
{
    if (!cdio_) return;
    static std::mutex identifying;  // as libcdio's opening: one at a time
    const std::lock_guard lock(identifying);
    char* messages = nullptr;
    drive_ = cdio_cddap_identify_cdio(cdio_, CDDA_MESSAGE_FORGETIT, &messages);
    cdio_free(messages);
    if (!drive_ || cdio_cddap_open(drive_) != 0) return;
    paranoia_ = cdio_paranoia_init(drive_);
    if (paranoia_) cdio_paranoia_modeset(paranoia_, PARANOIA_MODE_FULL ^ PARANOIA_MODE_NEVERSKIP);
}

SecureReader::~SecureReader()
{
    if (paranoia_) cdio_paranoia_free(paranoia_);
    if (drive_) cdio_cddap_close_no_free_cdio(drive_);
    if (cdio_) cdio_destroy(cdio_);
}

bool SecureReader::readOne(int32_t frame, uint8_t* out)
{
    if (frame == lastFrame_) {
        std::memcpy(out, last_.data(), last_.size());
        return true;
    }
    if (frame != next_) {
        cdio_paranoia_seek(paranoia_, frame, SEEK_SET);
        next_ = frame;
    }
    reading = &trouble_;
    const int16_t* sector = cdio_paranoia_read_limited(paranoia_, countTrouble, MaxRetries);
    reading = nullptr;
    if (!sector) {
        next_ = -1;
        return false;
    }
    ++next_;
    std::memcpy(last_.data(), sector, last_.size());
    lastFrame_ = frame;
    std::memcpy(out, last_.data(), last_.size());
    return true;
}

bool SecureReader::read(int32_t frame, uint32_t count, void* buffer)
{
    if (!paranoia_) return false;
    auto* out = static_cast<uint8_t*>(buffer);
    for (uint32_t i = 0; i < count; ++i)
        if (!readOne(frame + int32_t(i), out + size_t(i) * BytesPerFrame)) return false;
    return true;
}

ReadTrouble SecureReader::takeTrouble()
{
    const ReadTrouble taken = trouble_;
    trouble_ = {};
    return taken;
}

}  // namespace platform::cdrom
