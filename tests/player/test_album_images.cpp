// An album rip, one FLAC of the whole disc and its cue sheet, as the list's tracks: opened, found
// in a folder, played by parts, kept across a restart.

#include "support/PlayerFixture.h"
#include "support/Controls.h"
#include "support/Text.h"

#include "metadata/Mp3Tag_ListFiles.h"
#include "platform/FileNames.h"

#include <QDir>
#include <QLabel>

#include <filesystem>

using fixtures::Media;
using testsupport::q;

namespace {

class AlbumImageTest : public PlayerTest {
protected:
    void SetUp() override
    {
        PlayerTest::SetUp();
        rip = QString::fromStdString(media.path()) + "/rip";
        QDir().mkpath(rip);
        fixtures::makeMedia(rip.toStdString(), Media::Flac, 3.0, "album.flac");
        fixtures::makeMedia(rip.toStdString(), Media::Wav8Mono, 0.5, "bonus.wav");
        sheet = q(fixtures::writeFile(rip.toStdString(), "album.cue",
                                      "PERFORMER \"Band\"\nTITLE \"Album\"\nFILE \"album.flac\" WAVE\n"
                                      "  TRACK 01 AUDIO\n    TITLE \"Πρώτο\"\n    INDEX 01 00:00:00\n"
                                      "  TRACK 02 AUDIO\n    TITLE \"Second\"\n    INDEX 01 00:01:00\n"
                                      "  TRACK 03 AUDIO\n    INDEX 01 00:02:00\n"));
    }
    QString line(int n) const { return sheet + "#" + QString::number(n); }
    static int lengthMs() { return ModuleMCI::GetMediaLengthMs(common::MediaAlias); }

    QString rip, sheet;
};

}  // namespace

// The rip copied from an older system, its folder named in Latin-1 ("café"): its sheet, and a
// list beside it.
TEST_F(AlbumImageTest, ASheetInAFolderWhoseNameIsNotUtf8OpensAndPlays)
{
    const std::string folder = media.path() + "/caf\xe9";
    std::filesystem::rename(rip.toStdString(), folder);
    start();
    window->OpenPaths({platform::DecodeFileName(QByteArray::fromStdString(folder + "/album.cue"))},
                      player::Form1::Opening::Replace);
    EXPECT_EQ(window->Tracks().count(), 3);
    EXPECT_EQ(mediaMode(), "playing");
    // A list saved beside it, naming its second track.
    fixtures::writeFile(folder, "mine.list", folder + "/album.cue#2\r\n");
    window->OpenPaths({platform::DecodeFileName(QByteArray::fromStdString(folder + "/mine.list"))},
                      player::Form1::Opening::Replace);
    EXPECT_EQ(entries(), QStringList{"1. Second"});
    EXPECT_TRUE(dialogs.empty());
}

TEST_F(AlbumImageTest, ASheetOpensAsItsTracksAndEachPlaysItsOwnPart)
{
    start();
    window->OpenPaths({sheet}, player::Form1::Opening::Replace);
    EXPECT_EQ(window->Tracks().paths(), (QStringList{line(1), line(2), line(3)}));
    EXPECT_EQ(entries(), (QStringList{QString::fromUtf8("1. Πρώτο"), "2. Second", "3. album.cue#3"}));
    EXPECT_EQ(mediaMode(), "playing");
    EXPECT_EQ(lengthMs(), 1000);
    // The sheet names the artist and the album; the facts are the sound file's.
    EXPECT_EQ(shown("Label200"), "Band");
    EXPECT_EQ(shown("Label201"), "Album");
    EXPECT_TRUE(shown("Label4").contains("Khz"));

    window->UpdateMP3(2, true);
    EXPECT_EQ(mediaMode(), "playing");
    EXPECT_NEAR(lengthMs(), 1000, 5);  // the last part runs to the file's end
    ASSERT_TRUE(waitFor([] { return mediaPosition() > 100; }));
    EXPECT_LT(window->PositionMs(), 1000) << "the time counts from the track's start";
    window->SeekTo(500);
    EXPECT_GE(window->PositionMs(), 500);
    EXPECT_LT(window->PositionMs(), 900);
    EXPECT_TRUE(dialogs.empty());
}

TEST_F(AlbumImageTest, AFolderListsTheSheetsTracksInsteadOfItsSoundFileAndTheListKeepsThem)
{
    start();
    window->OpenPaths({rip}, player::Form1::Opening::Replace);
    QStringList listed = window->Tracks().paths();
    listed.sort();
    EXPECT_EQ(listed, (QStringList{line(1), line(2), line(3), rip + "/bonus.wav"}));
    stop();

    start();  // the default list brings the tracks back with their titles
    ASSERT_EQ(window->Tracks().count(), 4);
    EXPECT_TRUE(window->Tracks().titles().contains("Second"));
    EXPECT_TRUE(read("Default.list").contains((line(2) + "\r\n").toUtf8()));
}

TEST_F(AlbumImageTest, TheNextTrackOfTheImageFollowsInContinuousPlay)
{
    start();
    window->OpenPaths({sheet}, player::Form1::Opening::Replace);
    menu().synexeia_Click();
    window->UpdateMP3(0, true);
    ASSERT_TRUE(waitFor(
        [&] {
            window->Timer2_Timer();
            return window->Tracks().current() == 1;
        },
        4000));
    EXPECT_EQ(mediaMode(), "playing");
    EXPECT_EQ(shown("Label10"), "2");
    EXPECT_LT(window->PositionMs(), 900);
}

TEST_F(AlbumImageTest, ADroppedSheetIsOpenedAsAListAndAPlaylistKeepsItsTracks)
{
    start();
    window->DropPaths({sheet});
    ASSERT_EQ(window->Tracks().paths(), (QStringList{line(1), line(2), line(3)}));
    const QString playlist = rip + "/saved.m3u8";
    ASSERT_TRUE(Mp3Tag_Functions::WriteListFile(playlist, window->Tracks().paths()));
    const QList<Mp3Tag_Functions::ListEntry> back = Mp3Tag_Functions::ReadListFile(playlist);
    ASSERT_EQ(back.size(), 3);
    EXPECT_EQ(back[1].path, line(2));
    EXPECT_EQ(back[1].name, "Second");
}

TEST_F(AlbumImageTest, ADiscImagesSheetIsNoList)
{
    const fixtures::DiscImage disc = fixtures::makeDiscImage(media.path(), {150});
    EXPECT_FALSE(player::TrackList::IsListFile(q(disc.cue)));
    EXPECT_TRUE(player::TrackList::IsListFile(sheet));
    EXPECT_FALSE(Mp3Tag_Functions::ListEntryExists(q(disc.cue) + "#1"));
}
