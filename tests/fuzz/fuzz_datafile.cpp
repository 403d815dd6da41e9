// Any bytes as Data.dat: the options read without failing badly, and written back they read
// the same.

#include "player/DataFile.h"
#include "support/Files.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/Data.dat");
    if (!testsupport::writeBytes(path, QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)))) return 0;
    const player::SavedOptions read = player::ReadDataFile(path);
    if (!player::WriteDataFile(path, read)) return 0;
    const player::SavedOptions back = player::ReadDataFile(path);
    if (QFile(path).size() != player::DataFileSize) std::abort();
    if (back.ShowRemaining != read.ShowRemaining || back.Tray != read.Tray || back.Continue != read.Continue ||
        back.Meter != read.Meter || back.ListShown != read.ListShown)
        std::abort();
    return 0;
}
