#pragma once
// What a rip leaves beside its files: a plain-text log (the source, the offset, the table of
// contents, and each track's file, peak, AccurateRip checksums and verdict), a cue sheet and an
// .m3u8 playlist of the files written.

#include "encoder/Ripper.h"

namespace platform::cdrom {
struct Toc;
}  // namespace platform::cdrom

namespace encoder {

QString RipLogText(const RipOptions& options, const platform::cdrom::Toc& toc, const RipReport& report);
QString RipCueSheet(const DiscTitles& titles, const RipReport& report);
QString RipPlaylist(const RipReport& report);

// Writes the three beside the files, named after the album; false when one cannot be written.
bool WriteRipFiles(const RipOptions& options, const platform::cdrom::Toc& toc, const DiscTitles& titles, const RipReport& report);

}  // namespace encoder
