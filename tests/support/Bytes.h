#pragma once
// Building binary files by hand: WAV headers, tags, disc images.

#include <cstdint>
#include <string>

namespace testsupport {

// v in little-endian order, in the given number of bytes.
inline std::string le(uint32_t v, int bytes)
{
    std::string s;
    for (int i = 0; i < bytes; ++i) s += char((v >> (8 * i)) & 0xFF);
    return s;
}

// A PCM WAV file of these interleaved sample bytes.
inline std::string wav(int channels, int rate, int bits, const std::string& samples)
{
    const int frameBytes = channels * bits / 8;
    return "RIFF" + le(36 + uint32_t(samples.size()), 4) + "WAVEfmt " + le(16, 4) + le(1, 2) + le(channels, 2) + le(rate, 4) +
           le(rate * frameBytes, 4) + le(frameBytes, 2) + le(bits, 2) + "data" + le(uint32_t(samples.size()), 4) + samples;
}

}  // namespace testsupport
