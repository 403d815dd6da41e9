// Playlists of other players, as they write them (hand-made fixtures in each player's shape), and
// the M3U8 this player writes.

#include "fixtures/Media.h"
#include "support/Files.h"
#include "metadata/Mp3Tag_ListFiles.h"
#include "metadata/Playlists.h"
#include "platform/CodePage.h"
#include "platform/FileNames.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QUrl>

#include <sys/stat.h>

using namespace Mp3Tag_Functions;

namespace {

class PlaylistTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        root = QString::fromStdString(dir.path());
        QDir(root).mkpath("Music/Άλμπουμ με κενά");
        QDir(root).mkpath("Lists");
        for (const char* name : {"Music/one.mp3", "Music/Άλμπουμ με κενά/two 50%.flac", "Music/three.ogg"})
            fixtures::writeFile(dir.path(), name, "sound");
    }
    QString write(const QString& name, const QByteArray& bytes)
    {
        EXPECT_TRUE(testsupport::writeBytes(root + "/" + name, bytes));
        return root + "/" + name;
    }
    QStringList readPaths(const QString& path)
    {
        QStringList out;
        for (const ListEntry& e : ReadListFile(path)) out << e.path;
        return out;
    }
    QString one() const { return root + "/Music/one.mp3"; }
    QString two() const { return root + "/Music/Άλμπουμ με κενά/two 50%.flac"; }
    QString three() const { return root + "/Music/three.ogg"; }

    testsupport::TempFolder dir;
    QString root;
};

}  // namespace

TEST_F(PlaylistTest, ExtendedM3u8WithRelativePathsUrisCommentsAndRemoteEntries)
{
    // The shape of a media player's "save playlist": #EXTINF lines, file URIs percent-encoded,
    // a stream URL, relative paths from the list's own folder, a BOM and CR LF line ends.
    const QString list = write("Lists/mix.m3u8", "\xEF\xBB\xBF#EXTM3U\r\n"
                                                 "#EXTINF:2,Artist - One\r\n"
                                                 "../Music/one.mp3\r\n"
                                                 "#EXTINF:-1,Radio\r\n"
                                                 "http://radio.example/stream.mp3\r\n"
                                                 "# a comment\r\n"
                                                 "\r\n"
                                                 "file://" +
                                                     QUrl::toPercentEncoding(two(), "/") +
                                                     "\r\n"
                                                     "../Music/missing.mp3\r\n"
                                                     "../Music/three.ogg");
    EXPECT_EQ(ReadPlaylistPaths(list), (QStringList{one(), two(), root + "/Music/missing.mp3", three()}));
    EXPECT_EQ(readPaths(list), (QStringList{one(), two(), three()}));  // what does not exist is left out
    EXPECT_EQ(ReadListFile(list).value(1).name, QStringLiteral("two 50%.flac"));
}

TEST_F(PlaylistTest, PlainM3uInLatin1WithWindowsSeparatorsAndPlsInTheOrderOfItsNumbers)
{
    fixtures::writeFile(dir.path(), "Music/café.mp3", "sound");
    const QString latin1 = write("Music/old.m3u", "one.mp3\ncaf\xE9.mp3\nsub\\..\\three.ogg\n");
    EXPECT_EQ(readPaths(latin1), (QStringList{one(), root + "/Music/café.mp3", three()}));

    const QString pls = write("Music/list.pls", "[playlist]\n"
                                                "File2=three.ogg\n"
                                                "Title2=Three\n"
                                                "file1=" +
                                                    one().toUtf8() +
                                                    "\n"
                                                    "File3=https://example.org/a.ogg\n"
                                                    "NumberOfEntries=3\nVersion=2\n");
    EXPECT_EQ(readPaths(pls), (QStringList{one(), three()}));
    EXPECT_TRUE(IsPlaylist("A.PLS") && IsPlaylist("b.M3u") && IsM3u8("c.m3u8") && !IsPlaylist("d.list"));
}

TEST_F(PlaylistTest, APlaylistNamingNoExistingFileReadsAsEmpty)
{
    EXPECT_TRUE(ReadListFile(write("none.m3u8", "#EXTM3U\n/nowhere/a.mp3\nhttp://x/y.mp3\n")).isEmpty());
    EXPECT_TRUE(ReadListFile(write("empty.pls", "")).isEmpty());
    EXPECT_TRUE(ReadListFile(root + "/missing.m3u").isEmpty());
}

TEST_F(PlaylistTest, SavingAnM3u8NameWritesAnM3u8ThatReadsBackAndOtherNamesKeepTheListFormat)
{
    const QStringList paths{one(), two(), three()};
    const QString m3u8 = root + "/Lists/saved.m3u8";
    ASSERT_TRUE(WriteListFile(m3u8, paths));
    EXPECT_EQ(testsupport::readBytes(m3u8), "#EXTM3U\n" + paths.join('\n').toUtf8() + "\n");
    EXPECT_EQ(readPaths(m3u8), paths);

    const QString list = root + "/Lists/saved.list";
    ASSERT_TRUE(WriteListFile(list, paths));
    EXPECT_EQ(testsupport::readBytes(list), paths.join("\r\n").toUtf8() + "\r\n");

    // A name from an older system is no UTF-8 text: its bytes go into the M3U8 as an escaped file
    // URI, and come back as that very file, not as a Greek or Latin-1 reading of them.
    const QString old = platform::DecodeFileName(QByteArray::fromStdString(dir.path() + "/Music/caf\xE9.mp3"));
    fixtures::writeFile(dir.path(), "Music/caf\xE9.mp3", "sound");
    ASSERT_TRUE(WriteListFile(m3u8, {one(), old}));
    EXPECT_EQ(testsupport::readBytes(m3u8),
              "#EXTM3U\n" + one().toUtf8() + "\nfile://" + QUrl::toPercentEncoding(root + "/Music/caf", "/") + "%E9.mp3\n");
    EXPECT_EQ(readPaths(m3u8), (QStringList{one(), old}));
}

// What is not a list a person made: a pipe named like a playlist (reading it would wait for
// ever), a file far too large to be one, and playlists named inside a playlist.
TEST_F(PlaylistTest, PipesHugeFilesAndNestedPlaylistsAreNotReadAsSongs)
{
    const std::string pipe = dir.path() + "/pipe.m3u";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_TRUE(ReadPlaylistPaths(QString::fromStdString(pipe)).isEmpty());

    QByteArray huge = "#EXTM3U\n" + QByteArray("Music/one.mp3\n").repeated(1300000);
    EXPECT_TRUE(ReadPlaylistPaths(write("huge.m3u", huge)).isEmpty());

    write("inner.m3u", "Music/three.ogg\n");
    EXPECT_EQ(ReadPlaylistPaths(write("outer.m3u8", "inner.m3u\nMusic/one.mp3\nother.PLS\n")), QStringList{one()});
}

// A list written on a Greek Windows machine: windows-1253 bytes and backslashes. An .m3u8 is UTF-8
// whatever it holds; file URIs name local files with or without a host, and their escaped bytes
// are read the way the list's text is.
TEST_F(PlaylistTest, GreekCodePageListsAndEveryShapeOfLocalFileUri)
{
    QDir(root).mkpath(QString::fromUtf8("Μουσική"));
    fixtures::writeFile(dir.path(), "Μουσική/Τραγούδι.wav", "sound");
    const QString song = root + QString::fromUtf8("/Μουσική/Τραγούδι.wav");
    const QByteArray greek = QByteArray::fromStdString(platform::ToGreekCodePage(QString::fromUtf8("Μουσική\\Τραγούδι.wav")));
    EXPECT_EQ(readPaths(write("old.m3u", "#EXTM3U\r\n" + greek + "\r\n")), QStringList{song});
    EXPECT_EQ(readPaths(write("old.pls", "[playlist]\r\nFile1=" + greek + "\r\nNumberOfEntries=1\r\n")), QStringList{song});
    EXPECT_TRUE(readPaths(write("old.m3u8", greek + "\n")).isEmpty());  // not UTF-8: no such file

    const QByteArray escaped =
        QByteArray::fromStdString(platform::ToGreekCodePage(QString::fromUtf8("Μουσική/Τραγούδι.wav"))).toPercentEncoding("/");
    const QString uris =
        write("uris.m3u", "file://localhost" + one().toUtf8() + "\n" + "file:" + three().toUtf8() + "\n" + "file://" +
                              root.toUtf8() + "/" + escaped + "\n" + "file://elsewhere" + one().toUtf8() + "\n");
    EXPECT_EQ(ReadPlaylistPaths(uris), (QStringList{one(), three(), song}));
}
