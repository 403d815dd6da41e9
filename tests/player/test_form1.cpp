// The main window from start to close: start-up, the modes, the tick, file playback, shutdown.

#include "support/PlayerFixture.h"
#include "support/Files.h"
#include "media/CDAudio.h"
#include "media/Channel.h"
#include "media/ModuleMCI.h"
#include "metadata/Mp3Tag_Functions.h"
#include "player/DataFile.h"
#include "player/Form10.h"
#include "support/FullDisk.h"
#include "platform/FileNames.h"
#include "platform/Settings.h"
#include "support/Text.h"
#include "support/Controls.h"

#include <QApplication>
#include <QProcess>
#include <QSystemTrayIcon>

#include <csignal>

using fixtures::Media;

namespace {

using testsupport::q;

int16_t recordAt(const QByteArray& bytes, int offset)
{
    return int16_t(uint8_t(bytes[offset]) | (uint8_t(bytes[offset + 1]) << 8));
}

}  // namespace

TEST_F(PlayerTest, FirstStartIsEnglishWithEveryOptionOffAndNoMessage)
{
    player::Form1& w = start();
    EXPECT_EQ(testsupport::control<QLabel>(w, "Label7")->text(), "Options");
    EXPECT_EQ(testsupport::control<QLabel>(w, "Label8")->text(), "Help");
    EXPECT_EQ(testsupport::control<player::PictureButton>(w, "Image2")->toolTip(), "Play");
    EXPECT_EQ(w.height(), 213);
    EXPECT_FALSE(w.windowIcon().pixmap(32, 32).toImage().pixelColor(16, 4).alpha() == 0);  // the disc art, drawn
    EXPECT_FALSE(common::globals().ListShown);
    EXPECT_FALSE(w.State().showRemaining);
    EXPECT_TRUE(common::InMediaMode());  // no disc: media mode
    EXPECT_TRUE(testsupport::control<QRadioButton>(w, "Option1")->isChecked());
    EXPECT_FALSE(menu().TrayChecked());
    EXPECT_FALSE(common::globals().Continuous);
    EXPECT_TRUE(dialogs.empty());
    EXPECT_TRUE(QFile::exists(file("Data.dat")));  // made, empty, by the read
    EXPECT_TRUE(QFileInfo(file("Lists")).isDir());
    stop();
    EXPECT_FALSE(QFile::exists(file("Default.list")));  // an empty list is never written
}

TEST_F(PlayerTest, OptionsAreWrittenToDataDatAndComeBack)
{
    start();
    window->ShowRemainingTime(true);
    menu().TrayMenu_Click();
    menu().synexeia_Click();
    menu().Show_List_Menu_Click();
    EXPECT_EQ(window->height(), 305);
    stop();
    const QByteArray bytes = read("Data.dat");
    ASSERT_EQ(bytes.size(), 514);
    EXPECT_EQ(recordAt(bytes, 0), 1);
    EXPECT_EQ(recordAt(bytes, 128), 1);
    EXPECT_EQ(recordAt(bytes, 256), 1);
    EXPECT_EQ(recordAt(bytes, 384), 0);
    EXPECT_EQ(recordAt(bytes, 512), -1);
    EXPECT_EQ(platform::GetSetting("Sonorell", "LANGUAGE"), "False");

    start();
    EXPECT_TRUE(window->State().showRemaining);
    EXPECT_TRUE(menu().TrayChecked());
    EXPECT_TRUE(menu().synexeia->isChecked());
    EXPECT_TRUE(common::globals().Continuous);
    EXPECT_FALSE(menu().MixerChecked());
    EXPECT_TRUE(common::globals().ListShown);
    EXPECT_EQ(window->height(), 305);
    EXPECT_TRUE(ctl<QCheckBox>("Check1")->isChecked());
}

TEST_F(PlayerTest, GreekWhenTheSettingSaysSo)
{
    platform::SaveSetting("Sonorell", "LANGUAGE", "True");
    start();
    EXPECT_EQ(shown("Label7"), QString::fromUtf8("Επιλογές"));
    EXPECT_TRUE(common::globals().LanguageGreek);
    stop();
    platform::SaveSetting("Sonorell", "LANGUAGE", "maybe");
    start();
    EXPECT_EQ(shown("Label7"), "Options");
}

TEST_F(PlayerTest, DamagedOrShortDataDatReadsWhatItHolds)
{
    QByteArray bytes(130, '\0');
    bytes[0] = 1;    // remaining time
    bytes[128] = 2;  // tray: only exactly 1 counts
    ASSERT_TRUE(testsupport::writeBytes(file("Data.dat"), bytes));
    start();
    EXPECT_TRUE(window->State().showRemaining);
    EXPECT_FALSE(menu().TrayChecked());
    EXPECT_FALSE(common::globals().ListShown);
    EXPECT_EQ(player::ReadDataFile(file("Data.dat")).Continue, 0);
}

TEST_F(PlayerTest, DataDatIsReplacedWholeOrNotAtAll)
{
    testsupport::FullDisk disk;
    const QString data = QString::fromStdString(disk.file("Data.dat"));
    player::SavedOptions before;
    before.ShowRemaining = 1;
    before.ListShown = -1;
    ASSERT_TRUE(player::WriteDataFile(data, before));
    player::SavedOptions after;
    {
        const testsupport::FullDisk::Full full(disk);
        EXPECT_FALSE(player::WriteDataFile(data, after));
    }
    EXPECT_EQ(player::ReadDataFile(data).ShowRemaining, 1);
    EXPECT_EQ(player::ReadDataFile(data).ListShown, -1);
    EXPECT_EQ(QFileInfo(data).size(), 514);
    ASSERT_TRUE(player::WriteDataFile(data, after));  // room again: replaced whole
    EXPECT_EQ(player::ReadDataFile(data).ShowRemaining, 0);
}

TEST_F(PlayerTest, PlaySwitchWithADiscHidesTheWindowAndPlaysTrackOne)
{
    const auto disc = insertDisc({300, 300, 300});
    player::SavedOptions saved;
    saved.Tray = 1;
    player::WriteDataFile(file("Data.dat"), saved);
    start("/play");
    EXPECT_FALSE(window->State().showAtStart);
    // Tray mode: no taskbar entry, unless there is no tray to bring the window back from.
    EXPECT_EQ(menu().isVisible(), !QSystemTrayIcon::isSystemTrayAvailable());
    EXPECT_FALSE(common::InMediaMode());
    EXPECT_EQ(common::globals().CdDevice->CheckIfPlaying(), 1);
    const std::string position = common::globals().CdDevice->GetCDPosition_FUN();
    EXPECT_EQ(position.substr(0, 3), "01:");
    EXPECT_EQ(list1()->count(), 3);
    EXPECT_EQ(list1()->item(0)->text(), "1. Track 1");
}

TEST_F(PlayerTest, AMissingFileOnTheCommandLineIsNoPlaySwitch)
{
    const auto disc = insertDisc({300, 300});
    start(file("gone.mp3"));
    EXPECT_TRUE(window->State().showAtStart);
    EXPECT_EQ(common::globals().CdDevice->CheckIfPlaying(), 0);
    stop();
    start("--PLAY");
    EXPECT_FALSE(window->State().showAtStart);
}

TEST_F(PlayerTest, PlaySwitchWithoutADiscOrWithOneTrackIsMediaMode)
{
    start("/play");
    EXPECT_TRUE(common::InMediaMode());
    EXPECT_TRUE(window->State().showAtStart);
    stop();
    const auto single = insertDisc({300}, "one");
    start("/play");
    EXPECT_TRUE(common::InMediaMode());
    EXPECT_TRUE(dialogs.empty());
}

TEST_F(PlayerTest, CommandLineFilePlaysAloneAndLeavesTheDefaultList)
{
    const auto song = fixtures::makeMedia(media.path(), Media::Wav8Mono, 1.0, "alone.wav");
    const auto other = fixtures::makeMedia(media.path(), Media::Wav8Mono, 1.0, "other.wav");
    writeList({q(other.path)});
    player::SavedOptions saved;
    saved.Continue = 1;
    player::WriteDataFile(file("Data.dat"), saved);
    start(q(song.path));
    EXPECT_TRUE(window->Tracks().singleFile());
    EXPECT_EQ(list1()->count(), 1);
    EXPECT_EQ(list1()->item(0)->text(), "1. alone.wav");
    EXPECT_EQ(ModuleMCI::GetMediaMode("ToTrexonTragoydi"), "playing");
    ASSERT_TRUE(waitFor([] { return ModuleMCI::GetMediaMode("ToTrexonTragoydi") == "stopped"; }));
    window->Timer2_Timer();
    EXPECT_EQ(window->Tracks().current(), 0);
    EXPECT_EQ(ModuleMCI::GetMediaMode("ToTrexonTragoydi"), "stopped");  // played once, no advance
    stop();
    EXPECT_EQ(read("Default.list"), (other.path + "\r\n").c_str());
}

// A file in a folder named on an older system (Latin-1 "café"), given on the command line.
TEST_F(PlayerTest, ACommandLineFileWhoseNameIsNotUtf8PlaysAlone)
{
    const std::string folder = media.path() + "/caf\xe9";
    std::filesystem::create_directory(folder);
    std::filesystem::rename(fixtures::makeMedia(media.path(), Media::Wav8Mono, 1.0, "alone.wav").path, folder + "/alone.wav");
    start(platform::DecodeFileName(QByteArray::fromStdString(folder + "/alone.wav")));
    EXPECT_TRUE(window->Tracks().singleFile());
    EXPECT_EQ(mediaMode(), "playing");
}

TEST_F(PlayerTest, DiscTakenOutAndPutBackInCdMode)
{
    const auto disc = insertDisc({300, 300});
    start();
    ASSERT_FALSE(common::InMediaMode());
    std::filesystem::rename(disc.cue, disc.cue + ".out");
    window->Timer2_Timer();
    EXPECT_EQ(shown("Label1"), "No AudioCD.");
    EXPECT_EQ(shown("Label2"), "  No AudioCD.");
    EXPECT_EQ(shown("Label10"), "0");
    EXPECT_EQ(list1()->count(), 0);
    ctl<QLabel>("Label1")->setText("changed");
    window->Timer2_Timer();
    EXPECT_EQ(shown("Label1"), "changed");  // drawn once per absence
    std::filesystem::rename(disc.cue + ".out", disc.cue);
    window->Timer2_Timer();
    EXPECT_EQ(list1()->count(), 2);
    EXPECT_FALSE(window->State().noDiscShown);
}

TEST_F(PlayerTest, CdTickFollowsTheDiscFromTrackToTrack)
{
    const auto disc = insertDisc({110, 300, 300});
    start();
    common::globals().CdDevice->SeekCDtoX(1);
    window->Timer2_Timer();
    EXPECT_EQ(shown("Label10"), "1");
    EXPECT_EQ(shown("Label6"), "Length: 00:01");
    ASSERT_TRUE(waitFor([] { return common::globals().CdDevice->GetTmsfPosition().track == 2; }));
    window->Timer2_Timer();
    EXPECT_EQ(shown("Label10"), "2");
    EXPECT_EQ(shown("Label1"), "Track 2");
    EXPECT_EQ(shown("Label3"), "00:00");
    EXPECT_EQ(window->State().trackStartMs, 1466);  // where the track starts (110 frames), not where the tick read it
}

TEST_F(PlayerTest, ContinuousPlayWrapsToTheFirstEntry)
{
    QStringList paths;
    for (const char* name : {"a.wav", "b.wav", "c.wav"})
        paths << q(fixtures::makeMedia(media.path(), Media::Wav8Mono, 0.5, name).path);
    writeList(paths);
    start();
    menu().synexeia_Click();
    window->UpdateMP3(2, true);
    EXPECT_TRUE(waitFor([&] {
        window->Timer2_Timer();  // the tick is what goes on to the next entry
        return window->Tracks().current() == 0;
    }));
    EXPECT_EQ(ModuleMCI::GetMediaMode("ToTrexonTragoydi"), "playing");
    EXPECT_EQ(shown("Label10"), "1");
}

TEST_F(PlayerTest, AFileThatCannotPlayIsReportedAndRemoved)
{
    const auto good = fixtures::makeMedia(media.path(), Media::Wav8Mono, 0.5, "good.wav");
    const std::string bad = fixtures::writeFile(media.path(), "bad.mp3", "not music at all\n");
    writeList({q(good.path), q(bad), q(good.path)});
    start();
    ASSERT_EQ(list1()->count(), 3);
    window->UpdateMP3(1, true);
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].icon, platform::DialogIcon::Critical);
    EXPECT_EQ(dialogs[0].text, "There is a error during executing file " + q(bad) + ".");
    EXPECT_EQ(list1()->count(), 2);
    EXPECT_EQ(combo1()->count(), 2);
    EXPECT_EQ(shown("Label2"), "Tracks: 2");
    EXPECT_EQ(list1()->item(1)->text(),
              "3. good.wav");  // the others keep their numbers
    stop();

    // Where continuous play would go on to it, it is said once, and the entry after it plays.
    const auto other = fixtures::makeMedia(media.path(), Media::Wav8Mono, 0.5, "other.wav");
    writeList({q(good.path), q(bad), q(other.path)});
    start();
    ctl<QTimer>("Timer2")->stop();  // ticked by hand
    menu().synexeia_Click();
    window->UpdateMP3(0, true);
    int32_t length = 0;
    ASSERT_TRUE(waitFor([&] { return ModuleMCI::IsMediaAtEnd("ToTrexonTragoydi", length); }));
    window->Timer2_Timer();
    window->Timer2_Timer();
    EXPECT_EQ(dialogs.size(), 2u);
    EXPECT_EQ(shown("Label1"), "other.wav");
    EXPECT_EQ(ModuleMCI::GetMediaMode("ToTrexonTragoydi"), "playing");
}

// Chosen by a double click or Next, an entry that cannot be opened leaves the list, and the entry
// that was open comes back where it was heard: playing on, or ready to play on.
TEST_F(PlayerTest, AnEntryChosenThatCannotBeOpenedGivesWayToTheOneOpenBefore)
{
    const auto song = fixtures::makeMedia(media.path(), Media::Wav8Mono, 5.0, "song.wav");
    const std::string bad = fixtures::writeFile(media.path(), "bad.mp3", "not music at all\n");
    writeList({q(song.path), q(bad), q(bad)});
    start();
    window->UpdateMP3(0, true);
    wait(1100);
    list1()->setCurrentRow(1);
    window->List1_DblClick();
    EXPECT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(mediaMode(), "playing");
    EXPECT_GE(mediaPosition(), 1000);
    EXPECT_EQ(shown("Label1"), "song.wav");
    EXPECT_EQ(window->Tracks().current(), 0);
    window->Image3_Click();
    window->Image4_Click();
    EXPECT_EQ(dialogs.size(), 2u);
    EXPECT_EQ(list1()->count(), 1);
    EXPECT_GE(mediaPosition(), 1000);
    EXPECT_EQ(shown("Label3"), "00:01");  // paused where it was, and shown there
    EXPECT_GT(ctl("Image17")->x(), 5);
    window->Image2_Click();
    EXPECT_EQ(mediaMode(), "playing");
    EXPECT_GE(mediaPosition(), 1000);
    EXPECT_EQ(window->Tracks().current(), 0);
}

TEST_F(PlayerTest, ADeletedFileIsReportedAndKept)
{
    const auto first = fixtures::makeMedia(media.path(), Media::Wav8Mono, 0.5, "first.wav");
    const auto gone = fixtures::makeMedia(media.path(), Media::Wav8Mono, 0.5, "gone.wav");
    const auto third = fixtures::makeMedia(media.path(), Media::Wav8Mono, 0.5, "third.wav");
    writeList({q(first.path), q(gone.path), q(third.path)});
    start();
    ctl<QTimer>("Timer2")->stop();  // ticked by hand
    window->UpdateMP3(0, true);
    std::filesystem::remove(gone.path);
    window->UpdateMP3(1, true);
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].text, "File " + q(gone.path) + " does not exist.");
    EXPECT_EQ(dialogs[0].icon, platform::DialogIcon::None);
    EXPECT_EQ(list1()->count(), 3);
    EXPECT_EQ(window->Tracks().current(), 0);
    EXPECT_EQ(ModuleMCI::GetMediaMode("ToTrexonTragoydi"), "playing");  // the first keeps playing

    // Continuous play says so once and goes on past it; with no file left to go on to, it stops
    // quietly instead of saying so at every tick.
    menu().synexeia_Click();
    const auto ticksAtTheEnd = [&] {
        int32_t length = 0;
        ASSERT_TRUE(waitFor([&] { return ModuleMCI::IsMediaAtEnd("ToTrexonTragoydi", length); }));
        for (int tick = 0; tick < 3; ++tick) window->Timer2_Timer();
    };
    ticksAtTheEnd();
    EXPECT_EQ(dialogs.size(), 2u);
    EXPECT_EQ(window->Tracks().current(), 2);
    EXPECT_EQ(ModuleMCI::GetMediaMode("ToTrexonTragoydi"), "playing");
    std::filesystem::remove(first.path);
    std::filesystem::remove(third.path);
    ticksAtTheEnd();
    EXPECT_EQ(dialogs.size(), 5u);  // the three files, each once
    EXPECT_EQ(window->Tracks().current(), 2);
}

TEST_F(PlayerTest, AVideoOpensTheVideoWindowAndASongClosesIt)
{
    const auto video = fixtures::makeMedia(media.path(), Media::AviVideo, 1.0);
    const auto song = fixtures::makeMedia(media.path(), Media::Mp3Cbr, 1.0);
    writeList({q(video.path), q(song.path)});
    // The window has the picture's size when the picture is opened into it, not after.
    QSize sizeAtOpen;
    media::setCommandObserver([&](const std::string& command) {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == "Form10" && w->internalWinId() &&
                command.find("parent " + std::to_string(w->internalWinId())) != std::string::npos)
                sizeAtOpen = w->size();
    });
    start();
    media::setCommandObserver(nullptr);
    ASSERT_NE(window->VideoWindow, nullptr);
    EXPECT_EQ(window->VideoWindow->windowTitle(), q(video.path));
    EXPECT_EQ(window->VideoWindow->width(), (16 * 352 + 7) / 15);
    EXPECT_EQ(window->VideoWindow->height(), (18 * 288 + 7) / 15);
    EXPECT_EQ(sizeAtOpen, window->VideoWindow->size());
    window->UpdateMP3(1, false);
    EXPECT_EQ(window->VideoWindow, nullptr);
    EXPECT_EQ(shown("Label4"), "128Kbit  44Khz  jstereo");
    EXPECT_EQ(shown("Label200"), "New Artist");
    EXPECT_EQ(shown("Label201"), "New Album");
}

TEST_F(PlayerTest, TrackDisplayOfATaggedFile)
{
    const auto song = fixtures::makeMedia(media.path(), Media::Mp3Cbr, 1.0, "song.mp3");
    Mp3Tag_Functions::TagRecord tag = Mp3Tag_Functions::BlankTag();
    Mp3Tag_Functions::SetField(tag.Title, "Short");
    Mp3Tag_Functions::SetField(tag.Artist, "  ");
    Mp3Tag_Functions::SetField(tag.Album, "The Album");
    ASSERT_TRUE(Mp3Tag_Functions::WriteTag(q(song.path), tag));
    writeList({q(song.path)});
    start();
    EXPECT_EQ(shown("Label1").trimmed(), "Short");
    EXPECT_EQ(shown("Label200"), "New Artist");
    EXPECT_EQ(shown("Label201"), "The Album");
    EXPECT_EQ(shown("Label10"), "1");
    EXPECT_FALSE(ctl<QTimer>("Timer1")->isActive());  // short titles stay still
    EXPECT_TRUE(window->windowTitle().startsWith("Sonorell Player v.1 - Short"));
}

TEST_F(PlayerTest, ALongTitleScrolls)
{
    const auto song = fixtures::makeMedia(media.path(), Media::Wav8Mono, 0.5,
                                          "a title far too long to fit on the line of the player window.wav");
    writeList({q(song.path)});
    start();
    EXPECT_TRUE(ctl<QTimer>("Timer1")->isActive());
    EXPECT_EQ(window->State().marqueeText, shown("Label1") + QString(10, ' '));
    window->Timer1_Timer();
    EXPECT_EQ(shown("Label1"), "a");
    window->Timer1_Timer();
    EXPECT_EQ(shown("Label1"), "a ");
    for (int i = 0; i < 60; ++i) window->Timer1_Timer();
    EXPECT_EQ(shown("Label1").size(), 40);
}

TEST_F(PlayerTest, RemainingTimeOfATrackOf61AndAHalfSeconds)
{
    const auto song = fixtures::makeMedia(media.path(), Media::Wav8Mono, 61.5, "long.wav");
    writeList({q(song.path)});
    player::SavedOptions saved;
    saved.ShowRemaining = 1;
    player::WriteDataFile(file("Data.dat"), saved);
    start();
    EXPECT_EQ(shown("Label6"), "Length: 01:01");
    window->UpdateMP3(0, true);
    window->Timer2_Timer();
    EXPECT_EQ(shown("Label3"), "-01:01");
}

// The program folder on a full disk: closing after a change of mode keeps every file as it was,
// and the user is told once what could not be saved.
TEST_F(PlayerTest, OnAFullDiskNothingIsEmptiedAndTheUserIsToldOnce)
{
    testsupport::FullDisk disk;
    setenv("SONORELL_HOME", disk.path().c_str(), 1);
    const auto song = fixtures::makeMedia(media.path(), Media::Wav8Mono, 1.0, "song.wav");
    const QByteArray list = (QString::fromStdString(song.path) + "\r\n").repeated(3).toUtf8();
    const auto bytesOf = [&](const char* name) { return testsupport::readBytes(q(disk.file(name))); };
    ASSERT_TRUE(testsupport::writeBytes(q(disk.file("Default.list")), list));
    ASSERT_TRUE(testsupport::writeBytes(q(disk.file("CdRoms.ini")), "[123]\r\nArtist=Band\r\n"));
    player::SavedOptions saved;
    saved.ShowRemaining = 1;
    ASSERT_TRUE(player::WriteDataFile(QString::fromStdString(disk.file("Data.dat")), saved));
    const QByteArray data = bytesOf("Data.dat");
    start();
    {
        const testsupport::FullDisk::Full full(disk);
        ctl<QRadioButton>("Option2")->click();
        ctl<QRadioButton>("Option1")->click();
        stop();
    }
    EXPECT_EQ(bytesOf("Default.list"), list);
    EXPECT_EQ(bytesOf("Data.dat"), data);
    EXPECT_EQ(bytesOf("CdRoms.ini"), "[123]\r\nArtist=Band\r\n");
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_TRUE(dialogs[0].text.startsWith("Could not save the file ")) << dialogs[0].text.toStdString();
    EXPECT_TRUE(dialogs[0].text.endsWith(". The disk may be full."));
    setenv("SONORELL_HOME", home.path().c_str(), 1);
}

// Closing the terminal it was started from (SIGHUP), or a session's end (SIGTERM), runs the
// shutdown: the options are saved.
TEST_F(PlayerTest, TerminalClosedOrSessionEndedSavesTheOptions)
{
    for (int signal : {SIGHUP, SIGTERM}) {
        SCOPED_TRACE(signal);
        QFile::remove(file("Data.dat"));
        QProcess player;
        player.setProcessEnvironment(programEnvironment());
        player.start(SONORELL_PLAYER);
        ASSERT_TRUE(player.waitForStarted());
        wait(1500);
        ::kill(pid_t(player.processId()), signal);
        ASSERT_TRUE(player.waitForFinished(5000));
        EXPECT_EQ(player.exitStatus(), QProcess::NormalExit);
        EXPECT_TRUE(QFile::exists(file("Data.dat")));
    }
}

// A title that fits in the regular weight but not in the bold one the line is drawn in.
TEST_F(PlayerTest, ATitleTooWideOnlyInBoldScrolls)
{
    start();
    ctl<QLabel>("Label1")->ensurePolished();
    ctl<QLabel>("test")->ensurePolished();
    QString title = "M";
    while (ctl<QLabel>("Label1")->fontMetrics().horizontalAdvance(title + "M") <= 235) title += "M";
    title += "M";  // just too wide as drawn
    ctl<QLabel>("Label1")->setText(title);
    window->StartMarqueeIfTooWide(235);
    EXPECT_TRUE(ctl<QTimer>("Timer1")->isActive());
    EXPECT_EQ(ctl<QLabel>("test")->fontMetrics().horizontalAdvance(title),
              ctl<QLabel>("Label1")->fontMetrics().horizontalAdvance(title));
}

// A name from an older system, Latin-1 "café.wav": listed, played and written back byte for byte.
TEST_F(PlayerTest, AFileNameThatIsNotUtf8IsKeptPlayedAndSavedAsItWas)
{
    const std::string folder = media.path() + "/old";
    std::filesystem::create_directory(folder);
    const auto made = fixtures::makeMedia(folder, Media::Wav8Mono, 0.5, "cafe.wav");
    const std::string latin = folder + "/caf\xe9.wav";
    std::filesystem::rename(made.path, latin);
    const QByteArray line = QByteArray::fromStdString(latin) + "\r\n";
    ASSERT_TRUE(testsupport::writeBytes(file("Default.list"), line + line));
    start();
    ASSERT_EQ(window->Tracks().count(), 2);
    EXPECT_EQ(entries()[0], QString::fromUtf8("1. caf\xef\xbf\xbd.wav"));  // readable, with a replacement character
    window->UpdateMP3(0, true);
    EXPECT_EQ(mediaMode(), "playing");
    EXPECT_TRUE(dialogs.empty());
    window->RemoveEntry(1);
    window->OpenPaths({QString::fromStdString(media.path()) + "/old"}, player::Form1::Opening::Add);  // Add Directory
    ASSERT_EQ(window->Tracks().count(), 2);
    stop();
    EXPECT_EQ(read("Default.list"), line + line);
}
