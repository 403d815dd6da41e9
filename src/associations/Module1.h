#pragma once
// The registry work of the associations window: writing a file type's keys, reading and
// deleting one value, all under the classes root.

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>

namespace associations {

constexpr std::uint32_t HKEY_CLASSES_ROOT = 0x80000000u;

// The handled entries; position 0, the audio disc, is checked by its play verb. The formats of
// today's music folders follow the original ten.
inline const std::array<QString, 16> TypeTable = {
    QStringLiteral("AudioCD"), QStringLiteral(".mp3"), QStringLiteral(".mp2"),  QStringLiteral(".mid"),
    QStringLiteral(".wma"),    QStringLiteral(".wax"), QStringLiteral(".wav"),  QStringLiteral(".rmi"),
    QStringLiteral(".mov"),    QStringLiteral(".avi"), QStringLiteral(".flac"), QStringLiteral(".ogg"),
    QStringLiteral(".opus"),   QStringLiteral(".m4a"), QStringLiteral(".mkv"),  QStringLiteral(".mp4"),
};
inline const QString AudioDiscEntry = QStringLiteral("AudioCD");

struct FileTypeRecord {
    QStringList verbs;
    QStringList commandLines;  // one per verb
    QString extension;         // a "." is put in front when missing (not for the audio-disc key)
    QString typeName;
    QString description;
    QString contentType;  // written only when not empty
    QString iconPath;
    std::int16_t iconIndex = 0;
};

// The program as the command lines name it: its folder + "/" + its executable name.
QString ProgramPath();
QString OpenCommandLine();  // ProgramPath() + " %1"
QString PlayCommandLine();  // ProgramPath() + " /play"

void CreateAssociation(const FileTypeRecord& record);
// The string value ("" for the default value name); "" when the key or value is missing or not a string.
QString GetString(std::uint32_t root, const QString& keyPath, const QString& valueName);
void DeleteValue(std::uint32_t root, const QString& keyPath, const QString& valueName);

}  // namespace associations
