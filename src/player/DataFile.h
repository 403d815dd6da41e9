#pragma once
// Data.dat: five 128-byte records, each a 16-bit little-endian value in its first two bytes.

#include <QString>
#include <cstdint>

namespace player {

struct SavedOptions {
    int16_t ShowRemaining = 0;  // record 1: 1 = remaining time
    int16_t Tray = 0;           // record 2: 1 = tray mode
    int16_t Continue = 0;       // record 3: 1 = continuous play
    int16_t Meter = 0;          // record 4: 1 = level meter
    int16_t ListShown = 0;      // record 5: -1 = list panel shown
};

constexpr int DataRecordSize = 128;
constexpr int DataFileSize = 4 * DataRecordSize + 2;  // 514: record 5 ends at its value

// A missing file reads as zeros and is created empty; a short file gives what it holds.
SavedOptions ReadDataFile(const QString& path);
// Written from scratch, atomically: a failed write leaves the previous file as it was.
bool WriteDataFile(const QString& path, const SavedOptions& options);

}  // namespace player
