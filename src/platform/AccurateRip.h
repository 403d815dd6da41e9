#pragma once
// The AccurateRip database: the disc's ids from its table of contents, the file of checksums other
// rips of the disc gave, and what it says of a track's checksums.

#include "platform/cdrom/Disc.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace platform::accuraterip {

struct DiscIds {
    int tracks = 0;
    uint32_t id1 = 0, id2 = 0, cddb = 0;
};
DiscIds DiscIdsOf(const cdrom::Toc& toc);

// $SONORELL_ACCURATERIP_URL (else http://www.accuraterip.com) + /accuraterip/a/b/c/dBAR-….bin
QString UrlOf(const DiscIds& ids);

// Each pressing's checksum of each track, with how many rips gave it.
struct Entry {
    int confidence = 0;
    uint32_t checksum = 0;
};
using Pressings = std::vector<std::vector<Entry>>;  // [pressing][track index]
// The answer's pressings of this disc; nullopt for an answer that is not such a file.
std::optional<Pressings> ParseAnswer(const QByteArray& bytes, const DiscIds& ids);

// The database's file for the disc, fetched and waited for (at most 10 s, 1 MiB): the pressings,
// none when the disc is not in it, and "" or why it could not be asked.
struct Lookup {
    std::optional<Pressings> pressings;
    QString failure;
};
Lookup Fetch(const DiscIds& ids);

// "accurate (confidence N)", "not accurate" or "not in the database" for the track at index;
// "not checked" when the database could not be asked or its answer not read.
QString Verdict(const Lookup& lookup, int index, uint32_t v1, uint32_t v2);

}  // namespace platform::accuraterip
