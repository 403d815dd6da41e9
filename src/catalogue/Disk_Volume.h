#pragma once
// The catalogue of disc titles, CdRoms.ini in the program folder: one section per disc, named
// by the disc's serial, with the keys Artist, Album and Track1 … TrackN.

#include <QString>
#include <cstdint>

namespace Disk_Volume {

// What reads answer for a missing value, and what marks a value as missing.
inline const QString MissingDefault = QStringLiteral("###########");

QString CatalogueFile();
bool CatalogueExists();

// The serial of the disc in the drive now (0 when none can be read), not remembered.
int32_t SerialOfDiscInDrive();
// DiscSerial = the serial of the disc in the drive; returns it.
int32_t IdentifyDisc();
QString SectionOf(int32_t serial);

// A value of DiscSerial's section; MissingDefault when absent.
QString ReadValue(const QString& key);
bool IsMissing(const QString& value);
// False when the catalogue could not be written.
bool WriteValue(const QString& key, const QString& value);

}  // namespace Disk_Volume
