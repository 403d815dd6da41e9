// The menu window: its captions, every command's visible effect, the saved lists, the tray menu,
// the language items, the About window and "Exit and continue play".

#include "support/PlayerFixture.h"
#include "support/Files.h"
#include "encoder/EncoderWindow.h"
#include <QComboBox>
#include <QLineEdit>
#include <QTreeWidget>
#include "about/Form3.h"
#include "catalogue/Form2.h"
#include "metadata/Form4.h"
#include "media/CDAudio.h"
#include "media/ModuleMCI.h"
#include "platform/CdHandOff.h"

#include <QProcess>
#include "platform/FileTags.h"
#include "platform/Settings.h"
#include "support/Controls.h"
#include "support/Decoded.h"

#include <QApplication>
#include <QDir>
#include <QRegularExpression>
#include <QSet>
#include <QSystemTrayIcon>

#include <signal.h>

using fixtures::Media;

namespace {

const QString HandedDisc = "/tmp/some-disc.cue";

// The state a hand-off player leaves, as if one had noted itself.
void noteHandOff(const QString& state) { ASSERT_TRUE(testsupport::writeBytes(platform::HandOffStateFile(), state.toUtf8())); }

QStringList captions(const QList<QAction*>& items)
{
    QStringList out;
    for (const QAction* a : items) out << a->text();
    return out;
}

}  // namespace

class MenuTest : public PlayerTest {
protected:
    void trigger(const char* name) { menu().item(QString::fromLatin1(name))->trigger(); }
    // The encoder's work into the folder, in the format of that index; whenStarted runs once it
    // has begun. False when it did not finish within ms.
    bool runEncoder(encoder::EncoderWindow& encoder, const char* folder, int format,
                    const std::function<void()>& whenStarted = {}, int ms = 30000)
    {
        testsupport::control<QLineEdit>(encoder, "Folder")->setText(file(folder));
        testsupport::control<QComboBox>(encoder, "Format")->setCurrentIndex(format);
        bool finished = false;
        QObject listening;  // the connection ends with this call
        QObject::connect(&encoder, &encoder::EncoderWindow::Finished, &listening, [&] { finished = true; });
        encoder.Start();
        if (whenStarted) whenStarted();
        return waitFor([&] { return finished; }, ms);
    }
    QAction* item(const char* name) { return menu().item(QString::fromLatin1(name)); }
};

// A caption left untranslated shows Greek letters in an English window; in Greek, the items that
// have an English caption show another one.
TEST_F(MenuTest, EnglishWindowsShowNoGreekCaptionAndGreekOnesNoEnglish)
{
    const QRegularExpression greek(QStringLiteral("[\\x{0370}-\\x{03FF}\\x{1F00}-\\x{1FFF}]"));
    const auto shownCaptions = [&] {
        QMap<QString, QString> captions;
        for (QMenu* root : menu().as87)
            if (root)
                for (QAction* a : root->findChildren<QAction*>())
                    if (a->isVisible() && !a->isSeparator() && !a->objectName().isEmpty()) captions[a->objectName()] = a->text();
        return captions;
    };
    start();
    const QMap<QString, QString> english = shownCaptions();
    ASSERT_GT(english.size(), 25);
    for (auto it = english.begin(); it != english.end(); ++it) EXPECT_FALSE(it.value().contains(greek)) << it.key().toStdString();
    EXPECT_EQ(item("hhhdgf")->text(), "&Edit List");
    EXPECT_EQ(item("ExitWithContinue")->text(), "Exit and continue play");
    for (const char* hidden : {"periexomena", "separator_t9"}) EXPECT_FALSE(item(hidden)->isVisible()) << hidden;
    // The encoder is built in: its item shows, and the disc's rip follows the preview.
    EXPECT_TRUE(item("RunDecoder")->isVisible());
    EXPECT_TRUE(item("dgfdg333g")->isVisible());
    EXPECT_EQ(item("RipDisc")->text(), "&Rip Disc to Files…");
    const QList<QAction*> cdItems = menu().as87[1]->actions();
    EXPECT_EQ(cdItems.indexOf(item("RipDisc")), cdItems.indexOf(item("Dokimh1")) + 1);
    EXPECT_FALSE(item("ExitWithContinue")->isEnabled());
    EXPECT_EQ(menu().as87[2]->defaultAction(), item("epanafora"));
    stop();

    platform::SaveSetting("Sonorell", "LANGUAGE", "True");
    start();
    const QMap<QString, QString> greekCaptions = shownCaptions();
    int translated = 0;
    for (auto it = greekCaptions.begin(); it != greekCaptions.end(); ++it)
        if (english.value(it.key()) != it.value()) ++translated;
    EXPECT_GT(translated, 15);
    EXPECT_EQ(item("ExitWithContinue")->text(), QString::fromUtf8("'Εξοδος και &συνέχισε να παίζεις"));
    EXPECT_EQ(item("language_menu")->text(), "&Language");  // the one caption both languages share
    EXPECT_EQ(item("RipDisc")->text(), QString::fromUtf8("&Αντιγραφή Δίσκου σε Αρχεία…"));
}

TEST_F(MenuTest, TwinCheckItemsCarryOneMark)
{
    start();
    trigger("Show_List_Menu2");
    EXPECT_TRUE(item("Show_List_Menu")->isChecked());
    EXPECT_TRUE(item("Show_List_Menu2")->isChecked());
    EXPECT_EQ(window->height(), 305);
    EXPECT_EQ(list1()->geometry(), QRect(2, 223, 353, 90));
    EXPECT_EQ(ctl<QCheckBox>("Check1")->text(), QString::fromUtf8("Λ"));
    trigger("Show_List_Menu");
    EXPECT_FALSE(item("Show_List_Menu2")->isChecked());
    EXPECT_EQ(window->height(), 213);
    EXPECT_EQ(list1()->geometry(), QRect(12, 112, 317, 100));
    EXPECT_EQ(ctl<QCheckBox>("Check1")->text(), "V");
    trigger("synexeia2");
    EXPECT_TRUE(item("synexeia")->isChecked());
    EXPECT_TRUE(common::globals().Continuous);
    trigger("eikoll");
    EXPECT_TRUE(item("TrayMenu")->isChecked());
    // The meter needs a capture that starts whatever sound card this machine has.
    setenv("SONORELL_CAPTURE_SOURCE", "audiotestsrc is-live=true", 1);
    trigger("Mixer_Menu2");
    unsetenv("SONORELL_CAPTURE_SOURCE");
    EXPECT_TRUE(item("Mixer_Menu")->isChecked());
}

TEST_F(MenuTest, RemovingATrackRenumbersTheRest)
{
    startWithSongs(12);
    list1()->setCurrentRow(2);
    trigger("removefile");
    ASSERT_EQ(list1()->count(), 11);
    EXPECT_EQ(combo1()->count(), 11);
    EXPECT_EQ(list1()->item(2)->text(), "3. t04.wav");
    EXPECT_EQ(list1()->item(8)->text(), "9. t10.wav");
    EXPECT_EQ(list1()->item(10)->text(), "11. t12.wav");
    EXPECT_EQ(shown("Label2"), "Tracks: 11");
    EXPECT_TRUE(dialogs.empty());

    list1()->setCurrentRow(-1);
    trigger("removefile");
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].text, "You must select first a track from list");
    EXPECT_EQ(list1()->count(), 11);
}

// The entry playing keeps its number when one before it goes. Removed itself, it plays on, and
// continuous play goes on to the entry that followed it.
TEST_F(MenuTest, RemovingEntriesAroundThePlayingOneSkipsNothing)
{
    startWithSongs(5);
    menu().synexeia_Click();
    window->UpdateMP3(1, true);
    list1()->setCurrentRow(0);
    trigger("removefile");
    EXPECT_EQ(shown("Label10"), "1");
    EXPECT_EQ(list1()->item(0)->text(), "1. t02.wav");
    list1()->setCurrentRow(0);
    trigger("removefile");
    EXPECT_EQ(mediaMode(), "playing");
    ASSERT_TRUE(waitFor([&] {
        window->Timer2_Timer();
        return shown("Label1") == "t03.wav";
    }));
    EXPECT_EQ(mediaMode(), "playing");
    EXPECT_EQ(shown("Label10"), "1");
}

TEST_F(MenuTest, RemoveAllAsksFirst)
{
    startWithSongs(3);
    window->Image2_Click();
    answer = platform::AnswerNo;
    trigger("removeALL");
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].text, "Are you sure, you want remove all tracks?");
    EXPECT_EQ(dialogs[0].buttons, platform::DialogButtons::YesNo);
    EXPECT_EQ(dialogs[0].icon, platform::DialogIcon::Question);
    EXPECT_EQ(list1()->count(), 3);
    answer = platform::AnswerYes;
    trigger("removeALL");
    EXPECT_EQ(list1()->count(), 0);
    EXPECT_EQ(combo1()->count(), 0);
    EXPECT_EQ(shown("Label2"), "No Tracks");
    EXPECT_EQ(shown("Label10"), "");
    EXPECT_EQ(ModuleMCI::GetMediaMode("ToTrexonTragoydi"), "ERROR");  // closed
}

TEST_F(MenuTest, EditListPreviewAndTracksInfoNeedSomethingToWorkOn)
{
    startWithDisc({300});  // one track: as good as no disc
    trigger("hhhdgf");
    trigger("Dokimh1");
    ASSERT_EQ(dialogs.size(), 2u);
    EXPECT_EQ(dialogs[0].text, "Please put first a AudioCD");
    EXPECT_EQ(dialogs[1].icon, platform::DialogIcon::None);
    EXPECT_TRUE(window->isEnabled());
    trigger("Plhr_Mp3");
    EXPECT_EQ(dialogs.back().text, "No Tracks in list.");
    stop();

    platform::SaveSetting("Sonorell", "LANGUAGE", "True");
    dialogs.clear();
    start();
    trigger("hhhdgf");
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].icon, platform::DialogIcon::Critical);
    EXPECT_EQ(dialogs[0].title, QString::fromUtf8("Δέν υπάρχει AudioCD."));
    EXPECT_TRUE(dialogs[0].text.startsWith(QString::fromUtf8("Τοποθέτησε στο CD-ROM κάποιο μουσικό AudioCD,\n")));
}

// Rip Disc to Files opens the encoder on the disc's tracks; a rip stops the disc and writes its
// files; the encoder item does the same for the list's files.
TEST_F(MenuTest, TheEncoderWindowRipsTheDiscOrConvertsTheListsFiles)
{
    startWithDisc({150, 113});
    common::globals().CdDevice->SeekCDtoX(1);
    trigger("RipDisc");
    encoder::EncoderWindow* encoder = menu().Encoder;
    ASSERT_NE(encoder, nullptr);
    EXPECT_EQ(encoder->windowTitle(), "Rip Disc to Files");
    ASSERT_EQ(testsupport::control<QTreeWidget>(*encoder, "Tracks")->topLevelItemCount(), 2);
    ASSERT_TRUE(runEncoder(*encoder, "rips", 0, [] { EXPECT_NE(common::globals().CdDevice->CheckIfPlaying(), 1); }));
    EXPECT_EQ(encoder->Results(), (QStringList{"not checked", "not checked"}));  // no database here
    EXPECT_TRUE(QFile::exists(file("rips/Unknown Artist/Unknown Album/02 Track 02.flac")));
    encoder->close();
    stop();

    const auto song = fixtures::makeMedia(media.path(), fixtures::Media::Wav8Mono, 0.5, "song.wav");
    start();
    window->OpenPaths({QString::fromStdString(song.path)}, player::Form1::Opening::Replace);
    trigger("RunDecoder");
    ASSERT_NE(menu().Encoder, nullptr);
    // A file of the new file's name is replaced only when the user says so.
    ASSERT_TRUE(QDir().mkpath(file("phone")));
    ASSERT_TRUE(testsupport::writeBytes(file("phone/song.opus"), "mine"));
    answer = platform::AnswerNo;
    EXPECT_FALSE(runEncoder(*menu().Encoder, "phone", 1, {}, 300));  // Opus
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].text, file("phone/song.opus") + " already exists. Replace it?");
    EXPECT_EQ(read("phone/song.opus"), "mine");
    answer = platform::AnswerYes;
    ASSERT_TRUE(runEncoder(*menu().Encoder, "phone", 1));
    EXPECT_EQ(menu().Encoder->Results(), QStringList{"Done"});
    EXPECT_GT(read("phone/song.opus").size(), 100);
}

// The tracks of an album image in the list convert each to its own part of the sound file, sample
// for sample, named and tagged as the sheet says.
TEST_F(MenuTest, TheEncoderConvertsTheTracksOfAnAlbumImage)
{
    const std::string rip = media.path() + "/rip";
    QDir().mkpath(QString::fromStdString(rip));
    const auto album = fixtures::makeMedia(rip, Media::Flac, 3.0, "album.flac");
    const std::string sheet = fixtures::writeFile(rip, "album.cue",
                                                  "PERFORMER \"Band\"\nTITLE \"Album\"\nFILE \"album.flac\" WAVE\n"
                                                  "  TRACK 01 AUDIO\n    TITLE \"Πρώτο\"\n    INDEX 01 00:00:00\n"
                                                  "  TRACK 02 AUDIO\n    INDEX 01 00:01:00\n");
    start();
    window->OpenPaths({QString::fromStdString(sheet)}, player::Form1::Opening::Replace);
    trigger("RunDecoder");
    ASSERT_NE(menu().Encoder, nullptr);
    auto* rows = testsupport::control<QTreeWidget>(*menu().Encoder, "Tracks");
    ASSERT_EQ(rows->topLevelItemCount(), 2);
    EXPECT_EQ(rows->topLevelItem(0)->text(0), QString::fromUtf8("01 Πρώτο"));
    ASSERT_TRUE(runEncoder(*menu().Encoder, "parts", 0));
    EXPECT_EQ(menu().Encoder->Results(), (QStringList{"Done", "Done"}));
    const QString first = file("parts/01 Πρώτο.flac"), second = file("parts/02 Track 02.flac");
    const std::string whole = testsupport::decodedSound(QString::fromStdString(album.path));
    ASSERT_GT(whole.size(), size_t(2 * 44100 * 4));
    EXPECT_TRUE(testsupport::decodedSound(first) == whole.substr(0, 44100 * 4));
    EXPECT_TRUE(testsupport::decodedSound(second) == whole.substr(44100 * 4));
    EXPECT_EQ(platform::ReadFileTag(first, "TITLE"), QString::fromUtf8("Πρώτο"));
    EXPECT_EQ(platform::ReadFileTag(second, "TITLE"), "Track 02");
    EXPECT_EQ(platform::ReadFileTag(second, "ARTIST"), "Band");
    EXPECT_EQ(platform::ReadFileTag(second, "ALBUM"), "Album");
    EXPECT_EQ(platform::ReadFileTag(second, "TRACKNUMBER"), "2");
}

TEST_F(MenuTest, TheSavedListsSubmenuFollowsTheFolder)
{
    const auto song = fixtures::makeMedia(media.path(), Media::Wav8Mono, 1.0, "song.wav");
    start();
    menu().as87_Click(3);
    EXPECT_EQ(captions(menu().ListMenu), QStringList{"- - - - -"});
    menu().ListMenu_Click(0);  // inert
    EXPECT_TRUE(dialogs.empty());

    for (const char* name : {"a.list", "b.list", ".hidden.list", "notes.txt", "mix.m3u8", "old.m3u"})
        fixtures::writeFile(home.file("Lists"), name, song.path + "\r\n");
    menu().as87_Click(3);
    const QStringList shown = captions(menu().ListMenu);
    EXPECT_EQ(QSet<QString>(shown.begin(), shown.end()), (QSet<QString>{"a.list", "b.list", ".hidden.list", "mix.m3u8"}));
    menu().ListMenu_Click(int(shown.indexOf("mix.m3u8")));
    EXPECT_EQ(list1()->count(), 1);
    menu().as87_Click(3);
    QFile::remove(file("Lists/b.list"));
    menu().as87_Click(3);
    EXPECT_EQ(menu().ListMenu.size(), 3);
    EXPECT_FALSE(captions(menu().ListMenu).contains("b.list"));
}

TEST_F(MenuTest, ChoosingASavedListStopsThePlayingFileAndLoadsTheFirstEntry)
{
    startWithSongs(2);
    const auto other = fixtures::makeMedia(media.path(), Media::Wav8Mono, 1.0, "other.wav");
    fixtures::writeFile(home.file("Lists"), "mine.list", other.path + "\r\n");
    window->UpdateMP3(1, true);
    menu().as87_Click(3);
    menu().ListMenu_Click(0);
    EXPECT_EQ(list1()->count(), 1);
    EXPECT_EQ(shown("Label1"), "other.wav");
    EXPECT_EQ(window->Tracks().current(), 0);
    EXPECT_NE(ModuleMCI::GetMediaMode("ToTrexonTragoydi"), "playing");
}

TEST_F(MenuTest, TheTrayMenuIsPreparedForEachMode)
{
    startWithSongs(3);
    window->UpdateMP3(1, true);
    menu().TrayRightClick();
    menu().as87_Click(2);
    ASSERT_EQ(menu().ww.size(), 3);
    EXPECT_EQ(menu().ww[0]->text(), "1. 1. t01.wav");
    EXPECT_EQ(menu().ww[2]->text(), "3. t03.wav");
    EXPECT_TRUE(menu().ww[1]->isChecked());
    EXPECT_FALSE(item("ExitWithContinue")->isEnabled());
    EXPECT_FALSE(item("eject22")->isEnabled());
    EXPECT_FALSE(item("play11")->isEnabled());
    EXPECT_TRUE(item("diakoph")->isEnabled());
    menu().ww[2]->trigger();
    EXPECT_EQ(window->Tracks().current(), 2);
    stop();

    const fixtures::DiscImage disc = startWithDisc({150, 150, 150, 150});
    common::globals().CdDevice->SeekCDtoX(3);
    window->Timer2_Timer();
    menu().TrayRightClick();
    menu().as87_Click(2);
    ASSERT_EQ(menu().ww.size(), 4);
    EXPECT_EQ(menu().ww[0]->text(), "1. Track 1");
    EXPECT_TRUE(menu().ww[2]->isChecked());
    EXPECT_TRUE(item("ExitWithContinue")->isEnabled());
    EXPECT_TRUE(item("eject22")->isEnabled());
    EXPECT_FALSE(item("play11")->isEnabled());
    menu().ww[1]->trigger();
    EXPECT_EQ(common::globals().CdDevice->GetCDPosition_FUN().substr(0, 2), "02");
    window->Option1_Click();  // the mode switch drops the tracks
    EXPECT_EQ(menu().ww.size(), 1);
}

TEST_F(MenuTest, HiddenWindowComesBackFromTheTaskbarOrTheTray)
{
    start();
    window->show();
    window->Image16_MouseDown(340);
    EXPECT_TRUE(menu().isMinimized());
    menu().setWindowState(Qt::WindowNoState);
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(menu().isVisible());

    trigger("TrayMenu");
    ASSERT_TRUE(menu().TrayIcon);
    window->Image16_MouseDown(340);
    EXPECT_FALSE(window->isVisible());
    // Without a tray to show the icon the taskbar entry stands in.
    EXPECT_EQ(menu().isVisible(), !QSystemTrayIcon::isSystemTrayAvailable());
    common::globals().DialogOpen = true;
    menu().TrayLeftClick();
    EXPECT_FALSE(window->isVisible());  // inert while another window is open
    common::globals().DialogOpen = false;
    menu().TrayLeftClick();
    EXPECT_TRUE(window->isVisible());
    trigger("TrayMenu");
    EXPECT_FALSE(menu().TrayIcon->isVisible());
}

TEST_F(MenuTest, TheLanguageChosenIsInForceAtTheNextStart)
{
    start();
    trigger("greek_language_menu");
    trigger("english_language_menu");
    trigger("greek_language_menu");
    ASSERT_EQ(dialogs.size(), 3u);
    EXPECT_EQ(dialogs[0].text, QString::fromUtf8("Οι νέες ρυθμίσεις θα ισχύουν απο την επόμενη φόρα."));
    EXPECT_EQ(dialogs[1].text, "You must restart program.");
    EXPECT_EQ(shown("Label7"), "Options");  // nothing changes in this run
    stop();
    EXPECT_EQ(platform::GetSetting("Sonorell", "LANGUAGE"), "True");
    start();
    EXPECT_EQ(shown("Label7"), QString::fromUtf8("Επιλογές"));
}

// About disables the main window while it is open, and stays usable itself.
TEST_F(MenuTest, AboutFromEitherMenu)
{
    const auto shownAbout = [] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == "Form3" && w->isVisible()) return qobject_cast<about::Form3*>(w);
        return static_cast<about::Form3*>(nullptr);
    };
    start();
    window->show();
    trigger("sxetika");
    about::Form3* about = shownAbout();
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->windowTitle(), "About Sonorell Player ");
    EXPECT_EQ(about->Label1->text(), "Version: 1.0");
    EXPECT_EQ(about->lblComments->text(), "Programming: Dravenholt");
    EXPECT_FALSE(window->isEnabled());
    EXPECT_TRUE(about->cmdOK->isEnabled());
    EXPECT_TRUE(common::globals().DialogOpen);
    about->close();  // the close box too
    EXPECT_TRUE(window->isEnabled());
    EXPECT_FALSE(common::globals().DialogOpen);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    trigger("sxetikk");
    about = shownAbout();
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->windowTitle(), "About");
    EXPECT_TRUE(about->cmdOK->isEnabled());
    about->close();
}

TEST_F(MenuTest, ExitAndContinuePlayHandsTheDiscOnAndTheNextStartTakesItBack)
{
    startWithDisc({1500, 1500});
    common::globals().CdDevice->SeekCDtoX(2);
    ASSERT_TRUE(waitFor([] { return common::globals().CdDevice->ReadMilliseconds().position >= 20300; }));
    menu().as87_Click(2);
    trigger("ExitWithContinue");
    stop();
    // The handed-over player notes itself once it plays.
    ASSERT_TRUE(waitFor([] { return QFile::exists(platform::HandOffStateFile()); }, 3000));
    const qint64 pid =
        QString::fromUtf8(testsupport::readBytes(platform::HandOffStateFile())).section('\n', 0, 0).trimmed().toLongLong();
    EXPECT_EQ(::kill(pid_t(pid), 0), 0);
    wait(500);

    start();
    auto& cd = *common::globals().CdDevice;
    EXPECT_EQ(cd.CheckIfPlaying(), 1);
    EXPECT_EQ(cd.GetCDPosition_FUN().substr(0, 2), "02");
    EXPECT_FALSE(QFile::exists(platform::HandOffStateFile()));
    // The other player has ended (a zombie until its parent reaps it counts as ended).
    const QByteArray line = testsupport::readBytes(QStringLiteral("/proc/%1/stat").arg(pid));
    EXPECT_TRUE(line.isEmpty() || line.mid(line.lastIndexOf(')') + 2, 1) == "Z") << line.toStdString();
}

// The hand-off player's number given since to another process: that process gets no signal.
TEST(HandOff, AProcessThatIsNotTheHandOffPlayerIsLeftAlone)
{
    QProcess other;
    other.start("sleep", {"30"});
    ASSERT_TRUE(other.waitForStarted());
    noteHandOff(platform::HandOffState(other.processId(), HandedDisc, 1000, 0));
    EXPECT_FALSE(platform::TakeDiscBack(HandedDisc).has_value());
    EXPECT_FALSE(other.waitForFinished(300));  // still running: it was not signalled
    EXPECT_EQ(other.state(), QProcess::Running);
    EXPECT_FALSE(QFile::exists(platform::HandOffStateFile()));
    other.kill();
    other.waitForFinished();
}

// A hand-off player, but not the one that noted itself: a process of that name given the number
// since (its start differs) is left alone too.
TEST(HandOff, AnotherHandOffPlayerGivenTheSameNumberIsLeftAlone)
{
    QTemporaryDir dir;
    const QString impostor = dir.path() + "/sonorell-cdplay";
    ASSERT_TRUE(QFile::link("/bin/sleep", impostor));
    QProcess other;
    other.start(impostor, {"30"});
    ASSERT_TRUE(other.waitForStarted());
    QStringList noted = platform::HandOffState(other.processId(), HandedDisc, 1000, 0).split('\n');
    ASSERT_GE(noted.size(), 5);
    noted[4] = QString::number(noted[4].toLongLong() - 1);  // noted by a process that began earlier
    noteHandOff(noted.join('\n'));
    EXPECT_FALSE(platform::TakeDiscBack(HandedDisc).has_value());
    EXPECT_FALSE(other.waitForFinished(300));
    EXPECT_EQ(other.state(), QProcess::Running);
    other.kill();
    other.waitForFinished();
}

// The title editor and the tracks-info window disable the main window while they are open;
// they are its own windows, so Qt would disable them with it: each must stay usable.
TEST_F(MenuTest, WindowsThatDisableTheMainWindowStayUsableThemselves)
{
    startWithSongs(2);
    window->show();
    trigger("Plhr_Mp3");
    auto* info = window->findChild<metadata::Form4*>();
    ASSERT_NE(info, nullptr);
    EXPECT_FALSE(window->isEnabled());
    EXPECT_TRUE(info->isEnabled());
    EXPECT_TRUE(info->Text2->isEnabled());
    info->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window->isEnabled());
    stop();

    startWithDisc({150, 150});
    trigger("hhhdgf");
    auto* editor = window->findChild<catalogue::Form2*>();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->windowTitle(), "&Edit List");
    EXPECT_FALSE(window->isEnabled());
    EXPECT_TRUE(editor->Text2->isEnabled());
    EXPECT_TRUE(editor->Command10->isEnabled());
    editor->close();
    EXPECT_TRUE(window->isEnabled());
}
