#include "encoder/AccurateRip.h"

namespace encoder {

namespace {

constexpr uint64_t LeftOutAtStart = 5 * 588 - 1;
constexpr uint64_t LeftOutAtEnd = 5 * 588;

}  // namespace

AccurateRipSum::AccurateRipSum(uint64_t samples, bool firstTrack, bool lastTrack)
{
    from_ = firstTrack ? LeftOutAtStart + 1 : 1;
    to_ = lastTrack ? (samples > LeftOutAtEnd ? samples - LeftOutAtEnd : 0) : samples;
}

void AccurateRipSum::add(const uint8_t* bytes, size_t count)
{
    for (size_t i = 0; i < count; ++i, ++next_) {
        if (next_ < from_ || next_ > to_) continue;
        const uint8_t* s = bytes + 4 * i;
        const uint32_t sample = uint32_t(s[0]) | uint32_t(s[1]) << 8 | uint32_t(s[2]) << 16 | uint32_t(s[3]) << 24;
        const uint64_t product = uint64_t(sample) * next_;
        v1_ += uint32_t(product);
        v2_ += uint32_t(product) + uint32_t(product >> 32);
    }
}

}  // namespace encoder
