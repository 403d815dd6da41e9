// Arbitrary bytes as the disc database's answer: reading it must never fail badly, and what it
// accepts cannot hold more titles than the answer has bytes.

#include "platform/MusicBrainz.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) return 0;
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    // Odd first bytes put the input inside a release's track list, so the parser's deeper paths
    // are reached without the fuzzer having to find JSON's frame first.
    const QByteArray json = data[0] % 2 ? R"({"releases":[{"title":"t","media":[{"track-count":)" +
                                              QByteArray::number(data[0] % 8) + R"(,"tracks":[)" + bytes + "]}]}]}"
                                        : bytes;
    const int tracks = data[0] % 8;
    const auto release = platform::musicbrainz::ParseDiscReply(json, tracks, QStringLiteral("id"));
    if (release && release->tracks.size() > json.size()) std::abort();
    return 0;
}
