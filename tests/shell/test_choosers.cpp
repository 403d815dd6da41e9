// The file and folder choosers: modes, filters, the OK checks and the remembered folders.

#include "support/PlayerFixture.h"
#include "ModalDriver.h"
#include "platform/Drives.h"
#include "platform/FileNames.h"
#include "platform/Settings.h"
#include "player/Form20.h"
#include "player/Form6.h"

#include <QDir>

#include <filesystem>

using player::Form20;
using player::Form6;

namespace {

QStringList filters(const Form20& f)
{
    QStringList out;
    for (int i = 0; i < f.Combo1->count(); ++i) out << f.Combo1->itemText(i);
    return out;
}

QStringList files(const Form20& f)
{
    QStringList out;
    for (int i = 0; i < f.File1->count(); ++i) out << f.File1->item(i)->text();
    return out;
}

}  // namespace

class ChooserTest : public PlayerTest {
protected:
    void SetUp() override
    {
        PlayerTest::SetUp();
        common::globals().LanguageGreek = false;
        folder = QString::fromStdString(media.path());
        for (const char* name : {"b.mp3", "A.MP3", "notes.txt", "old.list", "c.Ogg", "d.oga", "mix.m3u", "mix.m3u8"})
            fixtures::writeFile(media.path(), name, "x");
        QDir(folder).mkdir("sub");
    }
    QString folder;
};

TEST_F(ChooserTest, ModeOneShowsBothFiltersAndMatchesIgnoringCase)
{
    platform::SaveSetting("Cantorine", "Last Selected Files Directory", folder);
    QStringList shownFilters, shownFiles, oggFiles, allFiles;
    whenShown<Form20>([&](Form20& f) {
        shownFilters = filters(f);
        shownFiles = files(f);
        f.Combo1->setCurrentIndex(2);
        oggFiles = files(f);
        f.Combo1->setCurrentIndex(f.Combo1->count() - 1);
        allFiles = files(f);
        f.Command2_Click();
    });
    EXPECT_EQ(player::ChooseFile("1", "Choose MP3 File", "/nowhere"), "");
    EXPECT_EQ(shownFilters, (QStringList{"*.MP3", "*.FLAC", "*.OGG;*.OGA", "*.OPUS", "*.M4A", "*.WAV", "*.WMA", "*.MID", "*.AVI",
                                         "*.MKV", "*.MP4", "*.MOV", "*.*"}));
    EXPECT_EQ(shownFiles, (QStringList{"A.MP3", "b.mp3"}));
    EXPECT_EQ(oggFiles, (QStringList{"c.Ogg", "d.oga"}));
    EXPECT_EQ(allFiles, (QStringList{"A.MP3", "b.mp3", "c.Ogg", "d.oga", "mix.m3u", "mix.m3u8", "notes.txt", "old.list"}));
}

TEST_F(ChooserTest, AMissingFileIsReportedWithItsPathAndTheChooserStaysOpen)
{
    bool stillOpen = false;
    whenShown<Form20>([&](Form20& f) {
        EXPECT_EQ(filters(f), (QStringList{"*.list", "*.m3u8;*.m3u", "*.pls", "*.cue"}));
        EXPECT_EQ(files(f), QStringList{"old.list"});
        f.Combo1->setCurrentIndex(1);
        EXPECT_EQ(files(f), (QStringList{"mix.m3u", "mix.m3u8"}));
        f.Text1->setText("gone.list");
        emit f.Text1->returnPressed();  // Enter in the name box
        stillOpen = f.isVisible();
        f.Text1->setText("old.list");
        f.Command1_Click();
    });
    EXPECT_EQ(player::ChooseFile("3", "Open Track List", folder), folder + "/old.list");
    EXPECT_TRUE(stillOpen);
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].text, "File " + folder + "/gone.list does not exist.");
    EXPECT_EQ(dialogs[0].icon, platform::DialogIcon::None);
    // The folder of a list chosen here is where MP3s are chosen from next.
    EXPECT_EQ(platform::GetSetting("Cantorine", "Last Selected Files Directory"), folder);
    EXPECT_EQ(common::globals().LastFolder, folder);
    QString next;
    whenShown<Form20>([&](Form20& f) {
        next = f.File1->path();
        f.reject();
    });
    player::ChooseFile("1", "Choose MP3 File", "/");
    EXPECT_EQ(next, folder);
}

TEST_F(ChooserTest, SavingAcceptsANewNameAndAForgottenFolderFallsBackHome)
{
    platform::SaveSetting("Cantorine", "Last Selected Files Directory", folder + "/deleted-since");
    QString start;
    whenShown<Form20>([&](Form20& f) {
        start = f.Dir1->path();
        f.Dir1->setPath(folder + "/sub");
        f.Text1->setText("Rock");
        f.Command1_Click();
    });
    EXPECT_EQ(player::ChooseFile("2", "Save List Track", "/does/not/exist"), folder + "/sub/Rock");
    EXPECT_EQ(start, QDir::homePath());
    EXPECT_TRUE(dialogs.empty());
}

TEST_F(ChooserTest, TheFolderChooserAnswersWithATrailingSlashOrNothing)
{
    whenShown<Form6>([&](Form6& f) {
        EXPECT_EQ(f.windowTitle(), "Select Mp3 Directory");
        f.Dir1->setPath(folder);
        f.Command1_Click();
    });
    player::ChooseFolder();
    EXPECT_EQ(common::globals().LastFolder, folder + "/");
    EXPECT_EQ(platform::GetSetting("Cantorine", "Last Selected Directory"), folder + "/");

    whenShown<Form6>([&](Form6& f) {
        EXPECT_EQ(f.Dir1->path(), folder);  // remembered
        f.Dir1->setPath("/");
        f.Command1_Click();
    });
    player::ChooseFolder();
    EXPECT_EQ(common::globals().LastFolder, "/");

    whenShown<Form6>([&](Form6& f) { f.reject(); });  // the close box
    player::ChooseFolder();
    EXPECT_EQ(common::globals().LastFolder, "");
}

TEST_F(ChooserTest, TheFolderListOpensEntriesAndRefusesWhatIsNoFolder)
{
    player::FolderList list(nullptr);
    ASSERT_TRUE(list.setPath(folder + "/sub/.."));
    EXPECT_EQ(list.path(), folder);
    EXPECT_FALSE(list.setPath(folder + "/notes.txt"));
    EXPECT_EQ(list.path(), folder);
    EXPECT_EQ(list.item(list.count() - 1)->text().trimmed(), "sub");
    list.setCurrentRow(list.count() - 1);
    emit list.itemDoubleClicked(list.currentItem());
    EXPECT_EQ(list.path(), folder + "/sub");
    emit list.itemDoubleClicked(list.item(0));
    EXPECT_EQ(list.path(), "/");
}

TEST(Drives, RealFileSystemsWithTheHomeFolderFirst)
{
    const QByteArray mounts = "proc /proc proc rw 0 0\n"
                              "/dev/sda1 / ext4 rw 0 0\n"
                              "tmpfs /run tmpfs rw 0 0\n"
                              "tmpfs /tmp tmpfs rw 0 0\n"
                              "tmpfs /dev/shm tmpfs rw 0 0\n"
                              "cgroup /sys/fs/cgroup/cpu cgroup rw 0 0\n"
                              "/dev/sdb1 /media/me/My\\040Disk vfat rw 0 0\n"
                              "/dev/sda1 / ext4 rw 0 0\n"
                              "garbage\n";
    const QStringList drives = platform::DrivesOfMounts(mounts, "/home/me");
    EXPECT_EQ(drives, (QStringList{"/home/me", "/", "/tmp", "/media/me/My Disk"}));
    EXPECT_EQ(platform::DriveOfFolder(drives, "/home/me/Music"), "/home/me");
    EXPECT_EQ(platform::DriveOfFolder(drives, "/home/meat"), "/");
    EXPECT_EQ(platform::DriveOfFolder(drives, "/media/me/My Disk"), "/media/me/My Disk");
}

// Names from an older system (Latin-1 bytes): the folder opens, and its file is chosen as those bytes.
TEST_F(ChooserTest, NamesThatAreNoUtf8OpenAndAreChosenAsTheirBytes)
{
    const std::string old = media.path() + "/caf\xe9";
    std::filesystem::create_directory(old);
    fixtures::writeFile(old, "chanson\xe9.mp3", "x");
    QStringList shown;
    whenShown<Form20>([&](Form20& f) {
        f.Dir1->setPath(folder);
        for (QListWidgetItem* item : f.Dir1->findItems("caf", Qt::MatchContains)) emit f.Dir1->itemDoubleClicked(item);
        shown = files(f);
        if (f.File1->count() != 1) return f.reject();
        emit f.File1->itemClicked(f.File1->item(0));
        f.Command1_Click();
    });
    const QString chosen = player::ChooseFile("1", "Choose MP3 File", folder);
    EXPECT_EQ(shown.size(), 1);
    EXPECT_EQ(platform::EncodeFileName(chosen).toStdString(), old + "/chanson\xe9.mp3");
    EXPECT_TRUE(dialogs.empty());
}
