#include "catalogue/Disk_Volume.h"
#include "common/Globals.h"
#include "common/ProgramFolder.h"
#include "platform/Profile.h"
#include "platform/cdrom/Disc.h"

#include <QFileInfo>

namespace Disk_Volume {

QString CatalogueFile() { return common::ProgramFile(QStringLiteral("CdRoms.ini")); }

bool CatalogueExists() { return QFileInfo::exists(CatalogueFile()); }

int32_t SerialOfDiscInDrive() { return int32_t(platform::cdrom::DiscSerialOf(platform::cdrom::defaultSource())); }

int32_t IdentifyDisc()
{
    common::globals().DiscSerial = SerialOfDiscInDrive();
    return common::globals().DiscSerial;
}

QString SectionOf(int32_t serial) { return QString::number(serial); }

QString ReadValue(const QString& key)
{
    return platform::GetPrivateProfileString(SectionOf(common::globals().DiscSerial), key, MissingDefault, CatalogueFile());
}

bool IsMissing(const QString& value) { return value.contains(QStringLiteral("########")); }

bool WriteValue(const QString& key, const QString& value)
{
    return platform::WritePrivateProfileString(SectionOf(common::globals().DiscSerial), key, value, CatalogueFile());
}

}  // namespace Disk_Volume
