// Any text as a cdrdao .toc file beside a data file of another name: the table and the CD-Text
// are read (through a rewritten copy where its FILE lines name that file) without failing badly.

#include "platform/cdrom/Disc.h"

#include <QDir>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir dir;
    static const std::string folder = dir.path().toStdString() + "/a \"quoted\\\" folder";
    static const bool made = [] {
        QDir().mkpath(QString::fromStdString(folder));
        std::ofstream(folder + "/other.bin", std::ios::binary) << std::string(2352 * 150, '\0');
        return true;
    }();
    (void)made;
    const std::string toc = folder + "/disc.toc";
    std::ofstream(toc, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data), std::streamsize(size));
    (void)platform::cdrom::DiscSerialOf(toc);
    (void)platform::cdrom::ReadDiscText(toc);
    return 0;
}
