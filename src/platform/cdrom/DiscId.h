#pragma once
// How the MusicBrainz database knows an audio disc: its disc id and its TOC string, both
// computed from the table of contents (libdiscid).

#include "platform/cdrom/Disc.h"

#include <string>

namespace platform::cdrom {

struct MusicBrainzDisc {
    std::string id;   // 28 characters; empty when the table has no audio track
    std::string toc;  // "first+last+leadout+offset1+…", the lookup's toc parameter
    int tracks = 0;   // the audio tracks counted
};
// Data tracks after the audio session are left out as MusicBrainz does: the audio ends 11400
// frames before the data begins.
MusicBrainzDisc MusicBrainzDiscOf(const Toc& toc);

}  // namespace platform::cdrom
