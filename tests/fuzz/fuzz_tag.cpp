// Arbitrary bytes as a file: reading its tag and header summary must never fail badly.

#include "metadata/Mp3Tag_Functions.h"
#include "support/Files.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

using namespace Mp3Tag_Functions;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/input.mp3");
    if (!testsupport::writeBytes(path, QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)))) return 0;
    const TagRecord tag = ReadTag(path);
    volatile qsizetype total = TrimTrailingBlanks(FieldText(tag.Title)).size() + FieldText(tag.Artist).size() +
                               FieldText(tag.Album).size() + FieldText(tag.Year).size() + FieldText(tag.Comment).size() +
                               GenreName(std::string(tag.Genre, 1)).size();
    const HeaderSummary summary = ReadHeaderSummary(path);
    total = total + HeaderSummaryLine(summary).size();
    if (size >= 4) total = total + HeaderSummaryLine(HeaderSummaryOfBytes(data[2], data[3])).size();
    (void)total;
    return 0;
}
