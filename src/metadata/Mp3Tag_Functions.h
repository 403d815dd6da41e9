#pragma once
// The ID3v1 tag, three fields of the MPEG audio frame header, and the genre numbering.

#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <string>

namespace Mp3Tag_Functions {

// The tag exactly as stored: the last 128 bytes of the file, fixed-width fields, no terminators.
struct TagRecord {
    char Identifier[3];
    char Title[30];
    char Artist[30];
    char Album[30];
    char Year[4];
    char Comment[30];
    char Genre[1];
};
static_assert(sizeof(TagRecord) == 128, "the tag is 128 bytes");

// Assigning a text (Greek code page on disk): left-aligned, blank-padded, cut to the width.
template <std::size_t N> void SetField(char (&field)[N], const QString& text);
template <std::size_t N> void SetFieldBytes(char (&field)[N], const std::string& bytes);
// The field as text, trailing blanks included, up to its first NUL byte: the padding most
// taggers write, which ends a control's text on the desktop the tag comes from.
template <std::size_t N> QString FieldText(const char (&field)[N]);
// Trailing blanks removed; leading blanks stay.
QString TrimTrailingBlanks(const QString& text);

// A blank record: every field all blanks, the genre a single blank.
TagRecord BlankTag();
// The file's tag; the fields are blanked (the identifier kept) when there is no "TAG". A file
// shorter than 128 bytes, or one that cannot be read, gives a record whose identifier is not "TAG".
TagRecord ReadTag(const QString& path);
// Writes record as the file's tag, replacing the one there or appending; false on any failure.
bool WriteTag(const QString& path, TagRecord& record);
bool HasTag(const TagRecord& record);

// Bits lowBit..highBit of value select an entry of width characters in table, trimmed.
QString HeaderField(uint8_t value, int lowBit, int highBit, int width, const QString& table);

extern const QString BitrateTable;
extern const QString SampleRateTable;
extern const QString ModeTable;

struct HeaderSummary {
    bool decoded = false;  // false for a file under 256 bytes or one that cannot be read
    QString bitrate, sampleRate, mode;
};
// Bytes 2 and 3 of the file, or of the frame right after an ID3v2 tag at its start; no frame is
// searched for.
HeaderSummary ReadHeaderSummary(const QString& path);
HeaderSummary HeaderSummaryOfBytes(uint8_t third, uint8_t fourth);
// "128Kbit  44Khz  jstereo".
QString HeaderSummaryLine(const HeaderSummary& summary);

// The 126 genre names; the index is the genre number.
const QStringList& GenreList();
// Genre byte (a one-byte string; empty reads as 255) to name; " " for 126 and above.
QString GenreName(const std::string& genre);
// Name to genre byte; "Other" (12) when the name is not in the list.
std::string GenreCode(const QString& name);

}  // namespace Mp3Tag_Functions

#include "metadata/Mp3Tag_Fields.inl"
