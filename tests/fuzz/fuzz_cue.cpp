// Any text as a cue sheet beside a data file of another name: the sheet and its CD-Text are read
// (through an alias where its FILE line names that file) without failing badly.

#include "platform/cdrom/Disc.h"

#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir dir;
    static const std::string folder = dir.path().toStdString();
    static const bool made = [] {
        std::ofstream(folder + "/other.bin", std::ios::binary) << std::string(2352 * 150, '\0');
        return true;
    }();
    (void)made;
    const std::string cue = folder + "/disc.cue";
    std::ofstream(cue, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data), std::streamsize(size));
    (void)platform::cdrom::DiscSerialOf(cue);
    (void)platform::cdrom::ReadDiscText(cue);
    return 0;
}
