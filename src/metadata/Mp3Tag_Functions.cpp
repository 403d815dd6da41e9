#include "metadata/Mp3Tag_Functions.h"
#include "platform/FileNames.h"

#include <QFile>

namespace Mp3Tag_Functions {

const QString BitrateTable = QStringLiteral("144 16  32  48  56  64  80  96  112 128 160 192 224 256 320 ");
const QString SampleRateTable = QStringLiteral("44 48 32 ?? ");
const QString ModeTable = QStringLiteral("stereo  jstereo dualch  mono    ");

constexpr qint64 TagSize = 128;

QString TrimTrailingBlanks(const QString& text)
{
    qsizetype end = text.size();
    while (end > 0 && text[end - 1] == QLatin1Char(' ')) --end;
    return text.left(end);
}

TagRecord BlankTag()
{
    TagRecord tag;
    std::memset(&tag, ' ', sizeof tag);
    return tag;
}

bool HasTag(const TagRecord& record) { return std::memcmp(record.Identifier, "TAG", 3) == 0; }

TagRecord ReadTag(const QString& path)
{
    TagRecord tag = BlankTag();
    std::memset(tag.Identifier, 0, sizeof tag.Identifier);
    QFile file;
    if (!platform::OpenRegularFile(file, path, QIODevice::ReadOnly) || file.size() < TagSize) return tag;
    if (!file.seek(file.size() - TagSize) || file.read(reinterpret_cast<char*>(&tag), TagSize) != TagSize) {
        TagRecord blank = BlankTag();
        std::memset(blank.Identifier, 0, sizeof blank.Identifier);
        return blank;
    }
    if (!HasTag(tag)) {
        char identifier[3];
        std::memcpy(identifier, tag.Identifier, 3);
        tag = BlankTag();
        std::memcpy(tag.Identifier, identifier, 3);
    }
    return tag;
}

namespace {

bool writeAt(QFile& file, qint64 offset, const char* bytes, qint64 size)
{
    return file.seek(offset) && file.write(bytes, size) == size && file.flush();
}

}  // namespace

bool WriteTag(const QString& path, TagRecord& record)
{
    std::memcpy(record.Identifier, "TAG", 3);
    QFile file;
    if (!platform::OpenRegularFile(file, path, QIODevice::ReadWrite)) return false;
    const qint64 length = file.size();
    char identifier[3] = {0, 0, 0};
    const bool replacing = length >= TagSize && file.seek(length - TagSize) && file.read(identifier, 3) == 3 &&
                           std::memcmp(identifier, "TAG", 3) == 0;
    const qint64 offset = replacing ? length - TagSize : length;
    const char* bytes = reinterpret_cast<const char*>(&record);
    // The identifier goes last: a write cut short leaves no "TAG", so no half-written tag reads as valid.
    static const char none[3] = {0, 0, 0};
    const bool written = (!replacing || writeAt(file, offset, none, 3)) && writeAt(file, offset + 3, bytes + 3, TagSize - 3) &&
                         writeAt(file, offset, bytes, 3);
    if (!written && !replacing) file.resize(length);  // an append that failed leaves the file as it was
    file.close();
    return written && file.error() == QFileDevice::NoError;
}

QString HeaderField(uint8_t value, int lowBit, int highBit, int width, const QString& table)
{
    int sum = 0;
    for (int b = lowBit; b <= highBit; ++b) {
        const int mask = 1 << b;
        if ((value & mask) == mask) sum += mask;
    }
    const int index = sum / (1 << lowBit);
    const qsizetype start = qsizetype(index) * width;
    if (start >= table.size()) return {};
    return table.mid(start, width).trimmed();
}

HeaderSummary HeaderSummaryOfBytes(uint8_t third, uint8_t fourth)
{
    return {true, HeaderField(third, 4, 7, 4, BitrateTable), HeaderField(third, 2, 3, 3, SampleRateTable),
            HeaderField(fourth, 6, 7, 8, ModeTable)};
}

namespace {

// Where the first frame stands when an ID3v2 tag is in front of the audio: past the tag (its size
// syncsafe in bytes 6 to 9, ten header bytes, ten more for a footer); 0 without such a tag.
qint64 pastId3v2Tag(const QByteArray& head)
{
    if (head.size() < 10 || !head.startsWith("ID3")) return 0;
    qint64 size = 0;
    for (int i = 6; i < 10; ++i) {
        if (uint8_t(head[i]) & 0x80) return 0;
        size = (size << 7) | uint8_t(head[i]);
    }
    return 10 + size + ((uint8_t(head[5]) & 0x10) ? 10 : 0);
}

bool isFrameSync(const QByteArray& bytes)
{
    return bytes.size() == 4 && uint8_t(bytes[0]) == 0xFF && (uint8_t(bytes[1]) & 0xE0) == 0xE0;
}

}  // namespace

HeaderSummary ReadHeaderSummary(const QString& path)
{
    QFile file;
    if (!platform::OpenRegularFile(file, path, QIODevice::ReadOnly) || file.size() < 256) return {};
    QByteArray bytes = file.read(10);
    if (bytes.size() < 4) return {};
    // A tag in front would put its own bytes where the header is read: the frame after it counts.
    if (const qint64 frame = pastId3v2Tag(bytes); frame > 0 && file.seek(frame))
        if (QByteArray header = file.read(4); isFrameSync(header)) bytes = header;
    return HeaderSummaryOfBytes(uint8_t(bytes[2]), uint8_t(bytes[3]));
}

QString HeaderSummaryLine(const HeaderSummary& s)
{
    return s.bitrate + QStringLiteral("Kbit  ") + s.sampleRate + QStringLiteral("Khz  ") + s.mode;
}

const QStringList& GenreList()
{
    static const QStringList names = {
        "Blues",
        "Classic Rock",
        "Country",
        "Dance",
        "Disco",
        "Funk",
        "Grunge",
        "Hip-Hop",
        "Jazz",
        "Metal",
        "New Age",
        "Oldies",
        "Other",
        "Pop",
        "R&B",
        "Rap",
        "Reggae",
        "Rock",
        "Techno",
        "Industrial",
        "Alternative",
        "Ska",
        "Death Metal",
        "Pranks",
        "Soundtrack",
        "Euro-Techno",
        "Ambient",
        "Trip-Hop",
        "Vocal",
        "Jazz+Funk",
        "Fusion",
        "Trance",
        "Classical",
        "Instrumental",
        "Acid",
        "House",
        "Game",
        "Sound Clip",
        "Gospel",
        "Noise",
        "AlternRock",
        "Bass",
        "Soul",
        "Punk",
        "Space",
        "Meditative",
        "Instrumental Pop",
        "InstrumentalRock",
        "Ethnic",
        "Gothic",
        "Darkwave",
        "Techno-Industrial",
        "Electronic",
        "Pop-Folk",
        "Eurodance",
        "Dream",
        "Southern Rock",
        "Comedy",
        "Cult",
        "Gangsta",
        "Top 40",
        "Christian Rap",
        "Pop/Funk",
        "Jungle",
        "Native American",
        "Cabaret",
        "New Wave",
        "Psychadelic",
        "Rave",
        "Showtunes",
        "Trailer",
        "Lo-Fi",
        "Tribal",
        "Acid Punk",
        "Acid Jazz",
        "Polka",
        "Retro",
        "Musical",
        "Rock&Roll",
        "Hard Rock",
        "Folk",
        "Folk-Rock",
        "National Folk",
        "Swing",
        "Fast Fusion",
        "Bebob",
        "Latin",
        "Revival",
        "Celtic",
        "Bluegrass",
        "Avantgarde",
        "Gothic Rock",
        "Progressive Rock",
        "Psychedelic Rock",
        "Symphonic Rock",
        "Slow Rock",
        "Big Band",
        "Chorus",
        "Easy Listening",
        "Acoustic",
        "Humour",
        "Speech",
        "Chanson",
        "Opera",
        "Chamber Music",
        "Sonata",
        "Symphony",
        "Booty Brass",
        "Primus",
        "Porn Groove",
        "Satire",
        "Slow Jam",
        "Club",
        "Tango",
        "Samba",
        "Folklore",
        "Ballad",
        "Poweer Ballad",
        "Rhytmic Soul",
        "Freestyle",
        "Duet",
        "Punk Rock",
        "Drum Solo",
        "A Capela",
        "Euro-House",
        "Dance Hall",
    };
    return names;
}

QString GenreName(const std::string& genre)
{
    const int code = genre.empty() ? 255 : static_cast<unsigned char>(genre[0]);
    return code < GenreList().size() ? GenreList()[code] : QStringLiteral(" ");
}

std::string GenreCode(const QString& name)
{
    const qsizetype index = GenreList().indexOf(name);
    return std::string(1, char(index >= 0 ? index : 12));
}

}  // namespace Mp3Tag_Functions
