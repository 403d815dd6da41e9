#include "platform/cdrom/DiscId.h"

#include <discid/discid.h>

#include <memory>

namespace platform::cdrom {

namespace {

constexpr int LeadIn = 150;        // frames before the first track's logical address 0
constexpr int SessionGap = 11400;  // between the audio session and a data session after it

}  // namespace

MusicBrainzDisc MusicBrainzDiscOf(const Toc& toc)
{
    int last = toc.lastTrack();
    while (last >= toc.firstTrack && !toc.isAudio(last)) --last;
    if (toc.count() == 0 || last < toc.firstTrack || toc.firstTrack < 1 || last > 99) return {};
    const int32_t leadout = last == toc.lastTrack() ? toc.leadout : toc.trackStart(last + 1) - SessionGap;
    int offsets[100] = {};
    offsets[0] = leadout + LeadIn;
    for (int t = toc.firstTrack; t <= last; ++t) offsets[t] = toc.trackStart(t) + LeadIn;

    std::unique_ptr<DiscId, decltype(&discid_free)> disc(discid_new(), &discid_free);
    if (!disc || !discid_put(disc.get(), toc.firstTrack, last, offsets)) return {};
    std::string tocText = discid_get_toc_string(disc.get());
    for (char& c : tocText)
        if (c == ' ') c = '+';
    return {discid_get_id(disc.get()), tocText, last - toc.firstTrack + 1};
}

}  // namespace platform::cdrom
