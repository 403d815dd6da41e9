// The ID3v1 tag: fields, reading, writing, and the same bytes as other tag tools.

#include "metadata/Mp3Tag_Functions.h"
#include "support/Files.h"
#include "platform/CodePage.h"
#include "platform/FileNames.h"
#include "support/FullDisk.h"
#include "support/TempFolder.h"
#include "support/Text.h"

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QFile>
#include <QProcess>

#include <filesystem>
#include <fstream>

#include <sys/stat.h>

using namespace Mp3Tag_Functions;

namespace {

using testsupport::q;

std::string makeFile(const testsupport::TempFolder& dir, const std::string& name, std::size_t size, char fill = 'x')
{
    const std::string path = dir.file(name);
    EXPECT_TRUE(testsupport::writeBytes(q(path), QByteArray(qsizetype(size), fill)));
    return path;
}

QByteArray fileBytes(const std::string& path) { return testsupport::readBytes(q(path)); }

TagRecord tagOf(const QString& title, const QString& artist, const QString& album, const QString& year, const QString& comment,
                int genre)
{
    TagRecord tag = BlankTag();
    SetField(tag.Title, title);
    SetField(tag.Artist, artist);
    SetField(tag.Album, album);
    SetField(tag.Year, year);
    SetField(tag.Comment, comment);
    tag.Genre[0] = char(genre);
    return tag;
}

// Runs a tag tool and returns what it printed; the test fails when the tool does.
QString runTool(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    EXPECT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

// mutagen's own ID3v1 reader, printing the fields' bytes in hex, one per line.
const char* MutagenRead = R"(
import sys
from mutagen.id3._id3v1 import find_id3v1
with open(sys.argv[1], 'rb') as f:
    frames, offset = find_id3v1(f)
def text(key):
    return frames[key].text[0].encode('latin1').hex() if key in frames else ''
for key in ('TIT2', 'TPE1', 'TALB', 'TDRC', 'COMM'):
    print(text(key) if key != 'TDRC' else (str(frames[key].text[0]).encode('latin1').hex() if key in frames else ''))
print(frames['TCON'].text[0] if 'TCON' in frames else '')
)";

// mutagen's ID3v1 writer: the fields given as hex bytes, the genre as a number.
const char* MutagenWrite = R"(
import sys
from mutagen.id3 import TIT2, TPE1, TALB, TDRC, COMM, TCON
from mutagen.id3._id3v1 import MakeID3v1
t, a, al, y, c = [bytes.fromhex(x).decode('latin1') for x in sys.argv[2:7]]
g = sys.argv[7]
frames = {'TIT2': TIT2(encoding=0, text=t), 'TPE1': TPE1(encoding=0, text=a), 'TALB': TALB(encoding=0, text=al),
          'TDRC': TDRC(encoding=0, text=y), 'COMM': COMM(encoding=0, lang='eng', desc='', text=c),
          'TCON': TCON(encoding=0, text='(%s)' % g)}
with open(sys.argv[1], 'ab') as f:
    f.write(MakeID3v1(frames))
)";

QString hex(const QString& text)
{
    return QString::fromLatin1(QByteArray::fromStdString(platform::ToGreekCodePage(text)).toHex());
}

struct Case {
    QString title, artist, album, year, comment;
    int genre;
};

const std::vector<Case> InteropCases = {
    {"Exactly thirty characters long", "Artist", "Album", "1999", "comment", 0},
    {"", "", "", "", "", 12},
    {QString::fromUtf8("Σαν τα χαμένα μου όνειρα"), QString::fromUtf8("Χαρούλα Αλεξίου"), QString::fromUtf8("Ελληνικά"), "2001",
     QString::fromUtf8("Σχόλιο"), 32},
    {"Last genre", "A", "B", "2020", "c", 125},
};

}  // namespace

TEST(TagFields, PadCutAndCodePage)
{
    TagRecord tag = BlankTag();
    SetField(tag.Title, "1234567890123456789012345678901");  // 31 characters
    EXPECT_EQ(FieldText(tag.Title), "123456789012345678901234567890");
    SetField(tag.Year, "99");
    EXPECT_EQ(std::string(tag.Year, 4), "99  ");
    SetField(tag.Artist, QString::fromUtf8("Άλφα"));
    EXPECT_EQ(std::string(tag.Artist, 4), "\xA2\xEB\xF6\xE1");  // windows-1253
    EXPECT_EQ(TrimTrailingBlanks(FieldText(tag.Artist)), QString::fromUtf8("Άλφα"));
    EXPECT_EQ(TrimTrailingBlanks(QString("  a b  ")), "  a b");
    const QString padded = QString::fromLatin1("ab\0\0", 4);
    EXPECT_EQ(TrimTrailingBlanks(padded), padded);  // other padding stays
}

TEST(TagFields, EveryByteRoundTripsThroughTheCodePage)
{
    std::string all;
    for (int b = 0; b < 256; ++b) all += char(b);
    EXPECT_EQ(platform::ToGreekCodePage(platform::FromGreekCodePage(all)), all);
    EXPECT_EQ(platform::ToGreekCodePage(QString::fromUtf8("é€")), "?\x80");
}

TEST(ReadTag, UntaggedShortMissingAndTagged)
{
    testsupport::TempFolder dir;
    const TagRecord none = ReadTag(q(makeFile(dir, "plain.mp3", 1000)));
    EXPECT_FALSE(HasTag(none));
    EXPECT_EQ(std::string(none.Identifier, 3), "xxx");  // the bytes read are kept
    EXPECT_EQ(FieldText(none.Title), QString(30, ' '));
    EXPECT_EQ(FieldText(none.Comment), QString(30, ' '));
    EXPECT_EQ(none.Genre[0], ' ');

    EXPECT_FALSE(HasTag(ReadTag(q(makeFile(dir, "short.mp3", 127)))));
    EXPECT_FALSE(HasTag(ReadTag(q(dir.file("missing.mp3")))));
    EXPECT_FALSE(HasTag(ReadTag(q(dir.path()))));  // a folder

    const std::string tagged = makeFile(dir, "exact.mp3", 0);
    TagRecord tag = tagOf("T", "A", "Al", "2000", "C", 7);
    ASSERT_TRUE(WriteTag(q(tagged), tag));
    EXPECT_EQ(fileBytes(tagged).size(), 128);  // a file that is only a tag
    const TagRecord back = ReadTag(q(tagged));
    EXPECT_TRUE(HasTag(back));
    EXPECT_EQ(std::memcmp(&back, &tag, 128), 0);
}

TEST(WriteTag, AppendsOnceThenReplacesAndNeverTouchesTheAudio)
{
    testsupport::TempFolder dir;
    const std::string path = makeFile(dir, "song.mp3", 5000, 'a');
    const QByteArray audioHash = QCryptographicHash::hash(fileBytes(path), QCryptographicHash::Sha256);

    TagRecord first = tagOf("First", "", "", "", "", 1);
    ASSERT_TRUE(WriteTag(q(path), first));
    EXPECT_EQ(fileBytes(path).size(), 5128);
    TagRecord second = tagOf("Second", "", "", "", "", 2);
    std::memcpy(second.Identifier, "XYZ", 3);  // set to "TAG" by the write
    ASSERT_TRUE(WriteTag(q(path), second));
    EXPECT_EQ(std::string(second.Identifier, 3), "TAG");
    const QByteArray bytes = fileBytes(path);
    EXPECT_EQ(bytes.size(), 5128);
    EXPECT_EQ(QCryptographicHash::hash(bytes.left(5000), QCryptographicHash::Sha256), audioHash);
    EXPECT_EQ(TrimTrailingBlanks(FieldText(ReadTag(q(path)).Title)), "Second");
    EXPECT_EQ(ReadTag(q(path)).Genre[0], 2);
}

TEST(WriteTag, FailsWithoutHarm)
{
    testsupport::TempFolder dir;
    TagRecord tag = tagOf("x", "", "", "", "", 0);
    EXPECT_FALSE(WriteTag(q(dir.file("missing.mp3")), tag));
    EXPECT_FALSE(std::filesystem::exists(dir.file("missing.mp3")));  // not made
    EXPECT_FALSE(WriteTag(q(dir.path()), tag));

    // A pipe named like a song is no file to tag: nothing waits for a writer.
    ASSERT_EQ(::mkfifo(dir.file("pipe.mp3").c_str(), 0600), 0);
    EXPECT_FALSE(WriteTag(q(dir.file("pipe.mp3")), tag));
    EXPECT_FALSE(HasTag(ReadTag(q(dir.file("pipe.mp3")))));

    // A full disk: the tag does not fit after a file of whole pages, and the file stays as it was.
    testsupport::FullDisk disk;
    const std::string song = disk.file("song.mp3");
    ASSERT_TRUE(testsupport::writeBytes(q(song), QByteArray(4096, 'x')));
    {
        const testsupport::FullDisk::Full full(disk);
        EXPECT_FALSE(WriteTag(q(song), tag));
    }
    EXPECT_EQ(fileBytes(song), QByteArray(4096, 'x'));
}

// A song copied from an older system, its name in Latin-1 ("café.mp3"): tagged and read back.
TEST(WriteTag, AFileWhoseNameIsNotUtf8IsTaggedAndReadBack)
{
    testsupport::TempFolder dir;
    const std::string bytes = dir.file("caf\xe9.mp3");
    std::ofstream(bytes, std::ios::binary) << std::string(300, 'x');
    const QString name = platform::DecodeFileName(QByteArray::fromStdString(bytes));
    TagRecord tag = tagOf("Title", "", "", "", "", 12);
    ASSERT_TRUE(WriteTag(name, tag));
    EXPECT_EQ(FieldText(ReadTag(name).Title).trimmed(), "Title");
    EXPECT_EQ(std::filesystem::file_size(bytes), 300u + 128u);
}

TEST(Genres, ListNamesAndCodes)
{
    ASSERT_EQ(GenreList().size(), 126);
    EXPECT_EQ(GenreList()[0], "Blues");
    EXPECT_EQ(GenreList()[12], "Other");
    EXPECT_EQ(GenreList()[32], "Classical");
    EXPECT_EQ(GenreList()[67], "Psychadelic");
    EXPECT_EQ(GenreList()[117], "Poweer Ballad");
    EXPECT_EQ(GenreList()[118], "Rhytmic Soul");
    EXPECT_EQ(GenreList()[125], "Dance Hall");
    EXPECT_EQ(GenreName(std::string(1, char(17))), "Rock");
    EXPECT_EQ(GenreName(std::string(1, char(125))), "Dance Hall");
    EXPECT_EQ(GenreName(std::string(1, char(126))), " ");
    EXPECT_EQ(GenreName(std::string(1, char(255))), " ");
    EXPECT_EQ(GenreName(""), " ");
    EXPECT_EQ(GenreCode("Rock"), std::string(1, char(17)));
    EXPECT_EQ(GenreCode("rock"), std::string(1, char(12)));  // exact case only
    EXPECT_EQ(GenreCode(" "), std::string(1, char(12)));
    for (int i = 0; i < 126; ++i) EXPECT_EQ(GenreCode(GenreName(std::string(1, char(i)))), std::string(1, char(i)));
}

TEST(Interop, MutagenReadsWhatWeWrite)
{
    testsupport::TempFolder dir;
    for (const Case& c : InteropCases) {
        const std::string path = makeFile(dir, "ours.mp3", 3000);
        TagRecord tag = tagOf(c.title, c.artist, c.album, c.year, c.comment, c.genre);
        ASSERT_TRUE(WriteTag(q(path), tag));
        const QStringList lines = runTool("/usr/bin/python3", {"-c", MutagenRead, q(path)}).split('\n');
        ASSERT_GE(lines.size(), 6);
        EXPECT_EQ(lines[0], hex(c.title)) << c.title.toStdString();
        EXPECT_EQ(lines[1], hex(c.artist));
        EXPECT_EQ(lines[2], hex(c.album));
        EXPECT_EQ(lines[3], hex(c.year));
        EXPECT_EQ(lines[4], hex(c.comment));
        EXPECT_EQ(lines[5], QString::number(c.genre));
        std::filesystem::remove(path);
    }
}

TEST(Interop, WeReadWhatMutagenWrites)
{
    testsupport::TempFolder dir;
    for (const Case& c : InteropCases) {
        const std::string path = makeFile(dir, "theirs.mp3", 3000);
        runTool("/usr/bin/python3", {"-c", MutagenWrite, q(path), hex(c.title), hex(c.artist), hex(c.album), hex(c.year),
                                     hex(c.comment), QString::number(c.genre)});
        const TagRecord tag = ReadTag(q(path));
        ASSERT_TRUE(HasTag(tag));
        // Its padding is NUL bytes: the text ends at the first.
        EXPECT_EQ(TrimTrailingBlanks(FieldText(tag.Title)), c.title);
        EXPECT_EQ(TrimTrailingBlanks(FieldText(tag.Artist)), c.artist);
        EXPECT_EQ(TrimTrailingBlanks(FieldText(tag.Album)), c.album);
        EXPECT_EQ(TrimTrailingBlanks(FieldText(tag.Year)), c.year);
        EXPECT_EQ(TrimTrailingBlanks(FieldText(tag.Comment)), c.comment);
        EXPECT_EQ(static_cast<unsigned char>(tag.Genre[0]), c.genre);
        std::filesystem::remove(path);
    }
}

TEST(Interop, WeReadWhatId3v2Writes)
{
    testsupport::TempFolder dir;
    const std::string path = makeFile(dir, "id3lib.mp3", 3000);
    runTool("id3v2", {"-1", "-t", "Exactly thirty characters long", "-a", "Some Artist", "-A", "An Album", "-y", "1987", "-c",
                      "A comment", "-g", "32", q(path)});
    const TagRecord tag = ReadTag(q(path));
    ASSERT_TRUE(HasTag(tag));
    EXPECT_EQ(FieldText(tag.Title), "Exactly thirty characters long");
    EXPECT_EQ(FieldText(tag.Artist), "Some Artist");
    EXPECT_EQ(FieldText(tag.Album), "An Album");
    EXPECT_EQ(FieldText(tag.Year), "1987");
    EXPECT_EQ(FieldText(tag.Comment), "A comment");
    EXPECT_EQ(tag.Genre[0], 32);
    // And id3v2 reads ours.
    TagRecord mine = tagOf("Mine", "Me", "Ours", "2024", "note", 17);
    const std::string second = makeFile(dir, "mine.mp3", 3000);
    ASSERT_TRUE(WriteTag(q(second), mine));
    const QString listing = runTool("id3v2", {"-l", q(second)});
    EXPECT_TRUE(listing.contains("Title  : Mine")) << listing.toStdString();
    EXPECT_TRUE(listing.contains("Artist: Me")) << listing.toStdString();
    EXPECT_TRUE(listing.contains("Rock")) << listing.toStdString();
}
