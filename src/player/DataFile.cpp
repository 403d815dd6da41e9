#include "player/DataFile.h"
#include "platform/AtomicFile.h"

#include <QFile>

namespace player {

namespace {

int16_t recordValue(const QByteArray& bytes, int record)
{
    const int offset = (record - 1) * DataRecordSize;
    if (bytes.size() < offset + 2) return 0;
    return int16_t(uint8_t(bytes[offset]) | (uint8_t(bytes[offset + 1]) << 8));
}

void putRecord(QByteArray& bytes, int record, int16_t value)
{
    const int offset = (record - 1) * DataRecordSize;
    bytes[offset] = char(value & 0xFF);
    bytes[offset + 1] = char((uint16_t(value) >> 8) & 0xFF);
}

}  // namespace

SavedOptions ReadDataFile(const QString& path)
{
    QFile file(path);
    if (!file.exists()) {
        QFile created(path);
        created.open(QIODevice::WriteOnly);  // the read makes the file, empty
        return {};
    }
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QByteArray bytes = file.read(DataFileSize);
    return {recordValue(bytes, 1), recordValue(bytes, 2), recordValue(bytes, 3), recordValue(bytes, 4), recordValue(bytes, 5)};
}

bool WriteDataFile(const QString& path, const SavedOptions& o)
{
    QByteArray bytes(DataFileSize, '\0');
    putRecord(bytes, 1, o.ShowRemaining);
    putRecord(bytes, 2, o.Tray);
    putRecord(bytes, 3, o.Continue);
    putRecord(bytes, 4, o.Meter);
    putRecord(bytes, 5, o.ListShown);
    return platform::WriteFileAtomically(path, bytes);
}

}  // namespace player
