#pragma once
// Reading a disc's audio as a rip needs it: through cdparanoia, which reads every stretch more
// than once and matches the readings, retries what fails and mends jitter, and what it had to do
// is counted. A disc image reads the same way, so the path a drive takes is the one tested.

#include "platform/cdrom/Disc.h"

#include <array>
#include <cstdint>
#include <string>

typedef struct cdrom_drive_s cdrom_drive_t;
typedef struct cdrom_paranoia_s cdrom_paranoia_t;

namespace platform::cdrom {

struct ReadTrouble {
    int retries = 0;    // reads that failed and were tried again
    int corrected = 0;  // jitter, dropped or doubled bytes, scratches mended
    int skipped = 0;    // stretches given up on after every retry: the sound there is not the disc's
};

class SecureReader {
public:
    explicit SecureReader(const std::string& source);
    ~SecureReader();
    SecureReader(const SecureReader&) = delete;
    SecureReader& operator=(const SecureReader&) = delete;
    bool ok() const { return paranoia_ != nullptr; }

    // count frames from frame into buffer (count * BytesPerFrame bytes); false when one could not
    // be had at all. Reading on from where the last read ended (or one frame back) does not seek.
    bool read(int32_t frame, uint32_t count, void* buffer);
    // What reading needed since the last call.
    ReadTrouble takeTrouble();

private:
    bool readOne(int32_t frame, uint8_t* out);

    CdIo_t* cdio_ = nullptr;
    cdrom_drive_t* drive_ = nullptr;
    cdrom_paranoia_t* paranoia_ = nullptr;
    int32_t next_ = -1;  // the frame paranoia gives next
    int32_t lastFrame_ = -1;
    std::array<uint8_t, BytesPerFrame> last_{};
    ReadTrouble trouble_;
};

}  // namespace platform::cdrom
