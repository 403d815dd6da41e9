// The four list buttons and the list files behind them.

#include "support/PlayerFixture.h"
#include "support/Files.h"
#include "../shell/ModalDriver.h"
#include "media/ModuleMCI.h"
#include "metadata/Mp3Tag_Functions.h"
#include "metadata/Mp3Tag_ListFiles.h"
#include "player/Form20.h"
#include "player/Form6.h"
#include "support/Text.h"
#include "support/Controls.h"

#include <QDir>

using fixtures::Media;

namespace {

using testsupport::q;

void chooseFile(const QString& folder, const QString& name)
{
    whenShown<player::Form20>([=](player::Form20& f) {
        f.Dir1->setPath(folder);
        f.Text1->setText(name);
        f.Command1_Click();
    });
}

void cancelFileChooser()
{
    whenShown<player::Form20>([](player::Form20& f) { f.Command2_Click(); });
}

void chooseFolder(const QString& folder)
{
    whenShown<player::Form6>([=](player::Form6& f) {
        f.Dir1->setPath(folder);
        f.Command1_Click();
    });
}

}  // namespace

class ListButtonsTest : public PlayerTest {
protected:
    void SetUp() override
    {
        PlayerTest::SetUp();
        for (const char* name : {"one.wav", "two.wav", "three.wav"})
            songs << q(fixtures::makeMedia(media.path(), Media::Wav8Mono, 1.0, name).path);
    }
    QString lists() const { return file("Lists"); }
    QStringList songs;
};

TEST_F(ListButtonsTest, SaveListWritesPathsAndCrLfOnlyUnderTheFifthCharacterRule)
{
    writeList(songs);
    start();
    chooseFile(lists(), "Rock");
    window->Image28_Click();
    EXPECT_EQ(read("Lists/Rock.list"), (songs.join("\r\n") + "\r\n").toUtf8());
    chooseFile(lists(), "a.txt");
    window->Image28_Click();
    EXPECT_TRUE(QFile::exists(file("Lists/a.txt.list")));
    chooseFile(lists(), "Rock.list");
    window->Image28_Click();
    EXPECT_FALSE(QFile::exists(file("Lists/Rock.list.list")));
    EXPECT_TRUE(ctl<player::PictureButton>("Image27")->isVisibleTo(window.get()));
    EXPECT_FALSE(ctl<player::PictureButton>("Image28")->isVisibleTo(window.get()));
    EXPECT_TRUE(dialogs.empty());
}

TEST_F(ListButtonsTest, SavingWhereNoFileCanBeMadeSaysSo)
{
    writeList(songs);
    start();
    chooseFile(lists(), "no such folder/Jazz");
    window->Image28_Click();
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].text, "The list could not be saved to " + lists() + "/no such folder/Jazz.list.");
}

TEST_F(ListButtonsTest, OpenListSkipsWhatIsGoneAndReloadsTheFirstEntryEvenAfterACancel)
{
    start();
    ASSERT_TRUE(testsupport::writeBytes(
        lists() + "/three.list",
        ("  " + songs[0] + "  \r\n\r\n" + songs[1] + "\r\n" + songs[2] + "\r\n" + QDir::tempPath() + "\r\n").toUtf8()));
    QFile::remove(songs[1]);
    chooseFile(lists(), "three.list");
    window->Image29_Click();
    // The name comes from the line as read, blanks and all; the path is trimmed.
    EXPECT_EQ(entries(), (QStringList{"1. one.wav  ", "2. three.wav"}));
    EXPECT_EQ(combo1()->itemText(0), songs[0]);
    EXPECT_EQ(shown("Label2"), "Tracks: 2");
    EXPECT_EQ(window->Tracks().current(), 0);

    window->Image2_Click();
    cancelFileChooser();
    window->Image29_Click();
    EXPECT_EQ(list1()->count(), 2);
    EXPECT_NE(ModuleMCI::GetMediaMode("ToTrexonTragoydi"), "playing");  // reloaded, stopped
}

TEST_F(ListButtonsTest, UselessListFilesGiveNoList)
{
    start();
    fixtures::writeFile(lists().toStdString(), "blank.list", "   \r\n\r\n\t\r\n");
    fixtures::writeFile(lists().toStdString(), "binary.list", std::string("\0\x01\xff\xfe/\r\n\0\0", 9));
    for (const char* name : {"blank.list", "binary.list"}) {
        chooseFile(lists(), name);
        window->Image29_Click();
        EXPECT_EQ(shown("Label1"), "No list") << name;
        EXPECT_EQ(shown("Label2"), "") << name;
        EXPECT_EQ(list1()->count(), 0);
    }
    QString missing = lists() + "/missing.list";
    window->LoadTrackList(missing);
    EXPECT_EQ(shown("Label1"), "No list");
}

TEST_F(ListButtonsTest, AddDirectoryAddsEveryFileButNoSubfolder)
{
    const std::string folder = media.path() + "/album";
    QDir().mkpath(q(folder + "/sub"));
    // Playable files all, since the first one is loaded afterwards.
    fixtures::makeMedia(folder, Media::Mp3Cbr, 1.0, "1.mp3");
    QFile::copy(songs[0], q(folder + "/2.txt"));
    QFile::copy(songs[1], q(folder + "/.hidden"));
    start();
    chooseFolder(q(folder));
    window->Image31_Click();
    QStringList names;
    for (int i = 0; i < list1()->count(); ++i) {
        const QString line = list1()->item(i)->text();
        EXPECT_TRUE(line.startsWith(QString::number(i + 1) + ". ")) << line.toStdString();
        names << line.mid(line.indexOf(' ') + 1);
    }
    names.sort();
    EXPECT_EQ(names, (QStringList{".hidden", "1.mp3", "2.txt"}));
    EXPECT_EQ(shown("Label2"), "3 tracks.");
    EXPECT_TRUE(dialogs.empty());
    EXPECT_TRUE(combo1()->itemText(0).startsWith(q(folder) + "/"));

    const int before = list1()->count();
    whenShown<player::Form6>([](player::Form6& f) { f.reject(); });
    window->Image31_Click();
    EXPECT_EQ(list1()->count(), before);
}

TEST_F(ListButtonsTest, AddFileLoadsTheFirstOrTheSelectedEntryWithoutPlaying)
{
    start();
    ASSERT_EQ(list1()->count(), 0);
    chooseFile(q(media.path()), "two.wav");
    window->Image30_Click();
    EXPECT_EQ(entries(), QStringList{"1. two.wav"});
    EXPECT_EQ(shown("Label2"), "1 tracks.");
    EXPECT_EQ(shown("Label1"), "two.wav");
    EXPECT_NE(ModuleMCI::GetMediaMode("ToTrexonTragoydi"), "playing");

    chooseFile(q(media.path()), "one.wav");
    window->Image30_Click();
    chooseFile(q(media.path()), "three.wav");
    window->Image30_Click();
    window->UpdateMP3(2, true);
    ASSERT_EQ(ModuleMCI::GetMediaMode("ToTrexonTragoydi"), "playing");
    ctl<QLabel>("Label3")->setText("00:07");  // a time it had reached
    chooseFile(q(media.path()), "one.wav");   // duplicates are allowed
    window->Image30_Click();
    EXPECT_EQ(list1()->count(), 4);
    EXPECT_EQ(window->Tracks().current(), 2);
    EXPECT_NE(ModuleMCI::GetMediaMode("ToTrexonTragoydi"), "playing");
    EXPECT_EQ(shown("Label3"), "00:00");  // loaded again from its start

    cancelFileChooser();
    window->Image30_Click();
    EXPECT_EQ(list1()->count(), 4);
}

// A folder of today's files: tags other than ID3v1 name the entries and fill the display, and a
// list saved under an .m3u8 name is an M3U8 that opens again.
TEST_F(ListButtonsTest, TodaysFilesShowTheirTagsAndAnM3u8ListRoundTrips)
{
    const QString folder = QString::fromStdString(media.path()) + "/today";
    QDir().mkpath(folder);
    const auto flac = fixtures::makeMedia(folder.toStdString(), Media::Flac, 1.0, "a.flac");
    const auto mp3 = fixtures::makeMedia(folder.toStdString(), Media::Mp3Cbr, 1.0, "b.mp3");
    fixtures::tagWithMutagen(flac.path, "vorbis", "Χάρτινο το φεγγαράκι", "Μάνος Χατζιδάκις", "Ο Μεγάλος Ερωτικός");
    fixtures::tagWithMutagen(mp3.path, "id3v2.3", "Second", "Someone", "Somewhere");
    start();
    chooseFolder(folder);
    window->Image31_Click();
    ASSERT_EQ(list1()->count(), 2);
    const int flacRow = combo1()->itemText(0).endsWith(".flac") ? 0 : 1;
    window->UpdateMP3(flacRow, false);
    EXPECT_EQ(shown("Label1"), "Χάρτινο το φεγγαράκι");
    EXPECT_EQ(shown("Label200"), "Μάνος Χατζιδάκις");
    EXPECT_EQ(shown("Label201"), "Ο Μεγάλος Ερωτικός");
    EXPECT_TRUE(shown("Label4").endsWith("Kbit  44Khz  stereo")) << shown("Label4").toStdString();
    window->UpdateMP3(1 - flacRow, false);
    EXPECT_EQ(shown("Label1"), "Second");
    EXPECT_EQ(shown("Label200"), "Someone");

    chooseFile(lists(), "Today.m3u8");
    window->Image28_Click();
    EXPECT_TRUE(read("Lists/Today.m3u8").startsWith("#EXTM3U\n"));
    window->RemoveAllEntries();
    chooseFile(lists(), "Today.m3u8");
    window->Image29_Click();
    EXPECT_EQ(entries().size(), 2);
    EXPECT_TRUE(entries().contains(QString::number(flacRow + 1) + ". Χάρτινο το φεγγαράκι"));
    EXPECT_TRUE(dialogs.empty());
}
