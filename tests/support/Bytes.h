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

}  // namespace testsupport
