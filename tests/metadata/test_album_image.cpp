// Album images as rippers write them: one sound file of a whole disc and the cue sheet that cuts it.

#include "fixtures/Media.h"
#include "support/Files.h"
#include "metadata/AlbumImage.h"
#include "platform/CodePage.h"
#include "platform/FileNames.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <QFile>

#include <filesystem>

using namespace Mp3Tag_Functions;

namespace {

class AlbumImageTest : public ::testing::Test {
protected:
    QString write(const char* name, const QByteArray& bytes)
    {
        EXPECT_TRUE(testsupport::writeBytes(path(name), bytes));
        return path(name);
    }
    QString path(const char* name) const { return QString::fromStdString(dir.file(name)); }
    testsupport::TempFolder dir;
};

}  // namespace

TEST_F(AlbumImageTest, TracksStartAtIndexOneAndEndWhereTheNextOneOfTheirFileBegins)
{
    fixtures::writeFile(dir.path(), "Album Image.flac", "sound");
    fixtures::writeFile(dir.path(), "bonus.wav", "sound");
    const QString sheet = write("album.cue", "REM GENRE Rock\r\n"
                                             "PERFORMER \"The Band\"\r\n"
                                             "TITLE \"The Album\"\r\n"
                                             "FILE \"Album Image.flac\" WAVE\r\n"
                                             "  TRACK 01 AUDIO\r\n"
                                             "    TITLE \"Dawn\"\r\n"
                                             "    INDEX 01 00:00:00\r\n"
                                             "  TRACK 02 AUDIO\r\n"
                                             "    PERFORMER \"Guest\"\r\n"
                                             "    INDEX 00 03:58:40\r\n"
                                             "    INDEX 01 04:00:74\r\n"
                                             "  TRACK 03 AUDIO\r\n"
                                             "    TITLE \"Dusk\"\r\n"
                                             "    INDEX 01 61:02:15\r\n"
                                             "FILE bonus.wav WAVE\r\n"
                                             "  TRACK 04 AUDIO\r\n"
                                             "    INDEX 01 00:00:00\r\n"
                                             "FILE missing.wav WAVE\r\n"
                                             "  TRACK 05 AUDIO\r\n"
                                             "    INDEX 01 00:00:00\r\n");
    const QList<ImageTrack> tracks = ReadAlbumImage(sheet);
    ASSERT_EQ(tracks.size(), 4);
    EXPECT_EQ(tracks[0].file, path("Album Image.flac"));
    EXPECT_EQ(tracks[0].title, "Dawn");
    EXPECT_EQ(tracks[0].performer, "");  // the album's performer is not the track's
    EXPECT_EQ(tracks[0].albumPerformer, "The Band");
    EXPECT_EQ(tracks[2].album, "The Album");
    EXPECT_EQ(tracks[0].start, 0);
    EXPECT_EQ(tracks[0].end, 240 * 75 + 74);  // 04:00:74, not the pregap's 03:58:40
    EXPECT_EQ(tracks[1].start, 240 * 75 + 74);
    EXPECT_EQ(tracks[1].performer, "Guest");
    EXPECT_EQ(tracks[1].end, 3662 * 75 + 15);
    EXPECT_EQ(tracks[2].title, "Dusk");
    EXPECT_EQ(tracks[2].end, -1);  // the last of its file plays to the file's end
    EXPECT_EQ(tracks[3].file, path("bonus.wav"));
    EXPECT_EQ(tracks[3].number, 4);
    EXPECT_EQ(tracks[3].end, -1);
}

// A rip converted after its sheet was written: the sheet names Album.wav, the folder holds
// Album.flac and an MP3 copy. The lossless file stands in, and a folder lists its tracks instead of
// it; the file named wins while it is there.
TEST_F(AlbumImageTest, ASheetNamingItsRipBeforeItWasConvertedFindsTheConvertedFile)
{
    const QString mp3 = QString::fromStdString(fixtures::writeFile(dir.path(), "album.MP3", "sound"));
    const QString flac = QString::fromStdString(fixtures::writeFile(dir.path(), "Album.flac", "sound"));
    const QString sheet =
        write("album.cue", "FILE \"Album.wav\" WAVE\nTRACK 01 AUDIO\nINDEX 01 00:00:00\nTRACK 02 AUDIO\nINDEX 01 01:00:00\n");
    const QList<ImageTrack> tracks = ReadAlbumImage(sheet);
    ASSERT_EQ(tracks.size(), 2);
    EXPECT_EQ(tracks[1].file, flac);
    EXPECT_EQ(WithImageTracks({mp3, flac, sheet}), (QStringList{mp3, sheet + "#1", sheet + "#2"}));
    fixtures::writeFile(dir.path(), "Album.wav", "sound");
    EXPECT_EQ(ReadAlbumImage(sheet).value(0).file, path("Album.wav"));
}

// Copied from an older system: the folder's name is Latin-1 "café".
TEST_F(AlbumImageTest, ASheetInAFolderWhoseNameIsNotUtf8IsRead)
{
    const std::string folder = dir.path() + "/caf\xe9";
    std::filesystem::create_directory(folder);
    fixtures::writeFile(folder, "Album.flac", "sound");
    fixtures::writeFile(folder, "album.cue", "FILE \"Album.wav\" WAVE\nTRACK 01 AUDIO\nINDEX 01 00:00:00\n");
    const QList<ImageTrack> tracks = ReadAlbumImage(platform::DecodeFileName(QByteArray::fromStdString(folder + "/album.cue")));
    ASSERT_EQ(tracks.size(), 1);
    EXPECT_EQ(platform::EncodeFileName(tracks[0].file), QByteArray::fromStdString(folder + "/Album.flac"));
}

TEST_F(AlbumImageTest, ADiscImagesSheetAndOtherFilesAreNoAlbum)
{
    fixtures::writeFile(dir.path(), "disc.bin", "data");
    EXPECT_TRUE(ReadAlbumImage(write("disc.cue", "FILE \"disc.bin\" BINARY\nTRACK 01 AUDIO\nINDEX 01 00:00:00\n")).isEmpty());
    fixtures::writeFile(dir.path(), "a.wav", "sound");
    EXPECT_TRUE(ReadAlbumImage(write("a.m3u", "FILE \"a.wav\" WAVE\nTRACK 01 AUDIO\nINDEX 01 00:00:00\n")).isEmpty());
    // A data track in a sound file's sheet is left out; an INDEX that is no time leaves its track out.
    const QString mixed = write("mixed.cue", "FILE \"a.wav\" WAVE\nTRACK 01 MODE1/2352\nINDEX 01 00:00:00\n"
                                             "TRACK 02 AUDIO\nINDEX 01 00:02:80\nTRACK 03 AUDIO\nINDEX 01 00:03:00\n");
    const QList<ImageTrack> tracks = ReadAlbumImage(mixed);
    ASSERT_EQ(tracks.size(), 1);
    EXPECT_EQ(tracks[0].number, 3);
    // A track's number names its list line: one that is no number from 1 to 99, or one used
    // already, leaves its track out.
    const QString numbers = write("numbers.cue", "FILE \"a.wav\" WAVE\nTRACK -2 AUDIO\nINDEX 01 00:00:00\nTRACK 2x AUDIO\n"
                                                 "INDEX 01 00:01:00\nTRACK 100 AUDIO\nINDEX 01 00:01:50\nTRACK 02 AUDIO\n"
                                                 "INDEX 01 00:02:00\nTRACK 2 AUDIO\nINDEX 01 00:03:00\n");
    const QList<ImageTrack> numbered = ReadAlbumImage(numbers);
    ASSERT_EQ(numbered.size(), 1);
    EXPECT_EQ(numbered[0].number, 2);
    EXPECT_EQ(numbered[0].start, 150);
    EXPECT_EQ(ImageTrackOfLine(ImageTrackLine(numbered[0]))->start, 150);
}

TEST_F(AlbumImageTest, ASheetFromAGreekWindowsMachineAndItsListLines)
{
    fixtures::writeFile(dir.path(), "Δίσκος.wav", "sound");
    const QString text =
        QString::fromUtf8("FILE \"Δίσκος.wav\" WAVE\r\nTRACK 01 AUDIO\r\nTITLE \"Η Γένεσις\"\r\nINDEX 01 00:00:00\r\n"
                          "TRACK 02 AUDIO\r\nTITLE \"Τα Πάθη\"\r\nINDEX 01 02:00:00\r\n");
    const QString sheet = write("greek #1.cue", QByteArray::fromStdString(platform::ToGreekCodePage(text)));
    const QList<ImageTrack> tracks = ReadAlbumImage(sheet);
    ASSERT_EQ(tracks.size(), 2);
    EXPECT_EQ(tracks[1].title, QString::fromUtf8("Τα Πάθη"));
    EXPECT_EQ(tracks[1].file, path("Δίσκος.wav"));

    EXPECT_EQ(ImageTrackLine(tracks[1]), sheet + "#2");
    const auto back = ImageTrackOfLine(sheet + "#2");
    ASSERT_TRUE(back);
    EXPECT_EQ(back->start, 120 * 75);
    EXPECT_FALSE(ImageTrackOfLine(sheet + "#9"));
    EXPECT_FALSE(ImageTrackOfLine(path("a.wav") + "#1"));
    fixtures::writeFile(dir.path(), "real.cue#1", "a file really named so");
    EXPECT_FALSE(ImageTrackOfLine(path("real.cue#1")));
}
