// A real drive's door and disc as the player sees them, with a stand-in for the drive this
// machine lacks: what libcdio would answer, and a clock the test moves.

#include "fixtures/DiscImage.h"
#include "platform/CodePage.h"
#include "platform/cdrom/Disc.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

using namespace platform::cdrom;

namespace {

struct Tray {
    Toc disc;  // what a read finds: empty while the tray is out or empty
    bool changed = false;
    int ejects = 0, closes = 0, reads = 0;
    int64_t now = 1000;
};

class StandInDrive final : public DriveHardware {
public:
    explicit StandInDrive(Tray& tray) : tray_(tray) { }
    Toc ReadToc() override
    {
        ++tray_.reads;
        tray_.changed = false;
        return tray_.disc;
    }
    bool MediaChanged() override { return tray_.changed; }
    void Eject() override
    {
        ++tray_.ejects;
        tray_.disc = Toc{};
    }
    void CloseTray() override { ++tray_.closes; }
    int64_t NowMs() override { return tray_.now; }

private:
    Tray& tray_;
};

Toc twoTracks(int32_t second = 1500)
{
    Toc toc;
    toc.firstTrack = 1;
    toc.starts = {0, second};
    toc.audio = {true, true};
    toc.leadout = second + 1500;
    return toc;
}

}  // namespace

TEST(RealDrive, ADiscPushedBackInAfterEjectIsFoundAtTheNextTickButOne)
{
    Tray tray;
    tray.disc = twoTracks();
    Drive drive("/dev/sr0", std::make_unique<StandInDrive>(tray));
    ASSERT_TRUE(drive.present());

    drive.openDoor();
    EXPECT_EQ(tray.ejects, 1);
    EXPECT_FALSE(drive.present());
    EXPECT_TRUE(drive.doorOpen());
    tray.now += 1200;
    drive.refresh();  // the tray is out: nothing to read
    EXPECT_FALSE(drive.present());

    tray.disc = twoTracks();  // pushed back in by hand: nothing says "door closed"
    drive.refresh();          // within the second since the last look: not asked yet
    EXPECT_FALSE(drive.present());
    tray.now += 1000;
    drive.refresh();
    EXPECT_TRUE(drive.present());
    EXPECT_FALSE(drive.doorOpen());
    EXPECT_EQ(drive.toc().count(), 2);
}

TEST(RealDrive, ADifferentDiscIsReadOnceTheDriveSaysItChangedAndAnEmptyDriveIsAskedOnceASecond)
{
    Tray tray;
    tray.disc = twoTracks();
    Drive drive("/dev/sr0", std::make_unique<StandInDrive>(tray));
    const int reads = tray.reads;
    drive.refresh();
    drive.refresh();
    EXPECT_EQ(tray.reads, reads);  // an unchanged disc is not read again

    tray.disc = twoTracks(3000);
    tray.changed = true;
    tray.now += 1500;
    drive.refresh();
    EXPECT_EQ(drive.toc().trackStart(2), 3000);

    tray.disc = Toc{};  // taken out
    tray.changed = true;
    tray.now += 1500;
    drive.refresh();
    EXPECT_FALSE(drive.present());
    const int empty = tray.reads;
    for (int i = 0; i < 10; ++i) drive.refresh();  // ticks within one second
    EXPECT_EQ(tray.reads, empty);
    tray.now += 1000;
    drive.refresh();
    EXPECT_EQ(tray.reads, empty + 1);
}

TEST(RealDrive, ClosingTheDoorClosesTheTrayAndReadsAtOnce)
{
    Tray tray;
    tray.disc = twoTracks();
    Drive drive("/dev/sr0", std::make_unique<StandInDrive>(tray));
    drive.openDoor();
    tray.disc = twoTracks();
    drive.closeDoor();
    EXPECT_EQ(tray.closes, 1);
    EXPECT_TRUE(drive.present());
    drive.closeDoor();  // already closed: the tray is left alone
    EXPECT_EQ(tray.closes, 1);
}

// A cdrdao .toc file naming its data relatively, in a folder whose name holds a quote and a
// backslash: the sheet made for libcdio still reads, with every track.
TEST(DiscImage, ATocFileInAFolderWithQuotesAndBackslashesReads)
{
    testsupport::TempFolder dir;
    const std::string folder = dir.path() + "/a \"quoted\" \\ folder";
    std::filesystem::create_directories(folder);
    const fixtures::DiscImage disc = fixtures::makeDiscImage(folder, {150, 225, 300});
    const std::string toc = fixtures::writeTocWithText(disc, "sheet", {"Album", "Band", {"One"}});
    Drive drive(toc);
    ASSERT_TRUE(drive.present());
    EXPECT_EQ(drive.toc().count(), 3);
    EXPECT_EQ(drive.toc().trackStart(2) - drive.toc().trackStart(1), 150);
    EXPECT_EQ(ReadDiscText(toc).albumTitle, "Album");
}

// Copies of sheets left by a run that did not end normally go at the next start; those of a run
// still going stay.
TEST(DiscImage, AliasFoldersOfEndedRunsAreRemoved)
{
    namespace fs = std::filesystem;
    const fs::path temp = fs::temp_directory_path();
    const fs::path stale = temp / "sonorell-cue-2147483000-test",
                   live = temp / ("sonorell-toc-" + std::to_string(::getpid()) + "-test");
    fs::create_directories(stale / "inside");
    fs::create_directories(live);
    RemoveStaleAliasFolders();
    EXPECT_FALSE(fs::exists(stale));
    EXPECT_TRUE(fs::exists(live));
    fs::remove_all(live);
}

// A cue sheet saved on a Greek Windows machine holds its text in windows-1253: it reads as Greek,
// while one in UTF-8 reads as it is.
TEST(DiscImage, ACueSheetInTheGreekCodePageReadsAsGreek)
{
    testsupport::TempFolder dir;
    const fixtures::DiscImage disc = fixtures::makeDiscImage(dir.path(), {150, 225});
    const fixtures::CdText text{"Άξιον Εστί", "Μίκης Θεοδωράκης", {"Η Γένεσις", "Café"}};
    const std::string utf8 = fixtures::writeCueWithText(disc, "utf8", text);
    std::ifstream in(utf8, std::ios::binary);
    const std::string sheet((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string greek = dir.path() + "/greek.cue";
    std::ofstream(greek, std::ios::binary) << platform::ToGreekCodePage(QString::fromStdString(sheet));
    for (const std::string& cue : {utf8, greek}) {
        SCOPED_TRACE(cue);
        const DiscText read = ReadDiscText(cue);
        EXPECT_EQ(read.albumTitle, "Άξιον Εστί");
        EXPECT_EQ(read.albumPerformer, "Μίκης Θεοδωράκης");
        EXPECT_EQ(read.trackTitles.at(1), "Η Γένεσις");
    }
    EXPECT_EQ(ReadDiscText(utf8).trackTitles.at(2), "Café");
}
