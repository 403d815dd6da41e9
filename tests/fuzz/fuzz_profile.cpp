// Arbitrary bytes as a catalogue: reading must never fail badly, and a value written into it
// must read back as written, whatever the file held before.

#include "platform/Profile.h"
#include "support/Files.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/CdRoms.ini");
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    if (!testsupport::writeBytes(path, bytes)) return 0;
    for (const char* key : {"Artist", "Album", "Track1"})
        (void)platform::GetPrivateProfileString(QStringLiteral("12345"), QString::fromLatin1(key), QStringLiteral("#"), path);

    const QString value = QString::fromUtf8(bytes.left(40));
    if (!platform::WritePrivateProfileString(QStringLiteral("12345"), QStringLiteral("Track1"), value, path)) return 0;
    QString expected = value;
    expected.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    expected = expected.trimmed().left(platform::ProfileValueLimit);
    if (platform::GetPrivateProfileString(QStringLiteral("12345"), QStringLiteral("track1"), QStringLiteral("#"), path) !=
        expected)
        std::abort();
    return 0;
}
