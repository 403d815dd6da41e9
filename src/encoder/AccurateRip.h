#pragma once
// AccurateRip's checksums of a track, v1 and v2, over its stereo samples as 32-bit words (the
// left sample in the low half). The first track leaves out its first 2939 samples and the last
// track its last 2940, where a drive's read offset can reach; the running count (from 1) still
// multiplies every sample where it stands.

#include <cstddef>
#include <cstdint>

namespace encoder {

class AccurateRipSum {
public:
    // A track of `samples` stereo samples; first and last as it lies on the disc.
    AccurateRipSum(uint64_t samples, bool firstTrack, bool lastTrack);
    // The next samples of the track, in order, as read (little-endian 16-bit left, right).
    void add(const uint8_t* bytes, size_t count);
    uint32_t v1() const { return v1_; }
    uint32_t v2() const { return v2_; }

private:
    uint64_t from_ = 1, to_ = 0;  // the multipliers counted, inclusive
    uint64_t next_ = 1;           // the multiplier of the next sample
    uint32_t v1_ = 0, v2_ = 0;
};

}  // namespace encoder
