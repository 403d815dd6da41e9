// Clicks, ticks and other entry points that arrive while a routine of the main window lets
// window messages run are dropped, never run inside it.

#include "support/PlayerFixture.h"
#include "media/ModuleMCI.h"
#include "player/Form10.h"
#include "player/MessagesRun.h"
#include "support/Text.h"
#include "support/Controls.h"

#include <QApplication>
#include <QLabel>
#include <QTimer>

using fixtures::Media;

namespace {

const std::string Alias = "ToTrexonTragoydi";

using testsupport::q;

}  // namespace

class ReentryTest : public PlayerTest {
protected:
    // A video, a song and a file that is no media, in the default list.
    void startWithVideoSongAndJunk()
    {
        video = q(fixtures::makeMedia(media.path(), Media::AviVideo, 1.0).path);
        song = q(fixtures::makeMedia(media.path(), Media::Wav8Mono, 1.0, "song.wav").path);
        junk = q(fixtures::writeFile(media.path(), "junk.mp3", std::string(4096, 'x')));
        writeList({song, video, junk});
        start();
    }
    // Posts what a person (or the tick, the tray, the desktop) might do a moment later.
    void meanwhile(std::function<void()> action) { QTimer::singleShot(0, window.get(), std::move(action)); }

    QString video, song, junk;
};

// A seek (the slider released, Left/Right, the desktop's media controls) lets messages run too.
TEST_F(ReentryTest, AnOpenArrivingDuringASeekIsDropped)
{
    startWithVideoSongAndJunk();
    window->UpdateMP3(0, true);
    int nested = 0;
    meanwhile([&] {
        ++nested;
        window->UpdateMP3(2, true);
    });  // the junk entry: its failure would show
    window->SeekTo(300);
    EXPECT_EQ(nested, 1);
    EXPECT_EQ(window->Tracks().current(), 0);
    EXPECT_TRUE(dialogs.empty());
    EXPECT_EQ(ModuleMCI::GetMediaMode(Alias), "playing");
}

TEST_F(ReentryTest, ASecondOpenDuringAVideoOpenIsDroppedAndTheVideoStays)
{
    startWithVideoSongAndJunk();
    int nested = 0;
    meanwhile([&] {
        ++nested;
        window->UpdateMP3(0, true);
    });  // the song, double clicked meanwhile
    meanwhile([&] {
        window->Timer2_Timer();
        window->Image4_Click();
        window->Image6_Click();
    });
    window->UpdateMP3(1, true);
    EXPECT_EQ(nested, 1);  // it arrived while the video window was being shown
    ASSERT_NE(window->VideoWindow, nullptr);
    EXPECT_TRUE(window->VideoWindow->isVisible());
    EXPECT_EQ(window->Tracks().current(), 1);
    EXPECT_EQ(ModuleMCI::GetMediaMode(Alias), "playing");
    EXPECT_GT(ModuleMCI::GetVideoSize(Alias, "cx"), 0);
    // Once the open is done, the same clicks work again.
    window->UpdateMP3(0, true);
    EXPECT_EQ(window->VideoWindow, nullptr);
    EXPECT_EQ(window->Tracks().current(), 0);
}

TEST_F(ReentryTest, WhileAFailureMessageShowsNothingElseStartsAndTheRightEntryGoes)
{
    startWithVideoSongAndJunk();
    int asked = 0;
    platform::setDialogRecorder([&](const platform::DialogCall& call) {
        dialogs.push_back(call);
        // The message box's own loop runs the tick, a click on Next and a tray item meanwhile.
        ++asked;
        window->Timer2_Timer();
        window->Image4_Click();
        window->UpdateMP3(0, true);
        return platform::AnswerOk;
    });
    window->UpdateMP3(2, true);
    EXPECT_EQ(asked, 1);
    ASSERT_EQ(list1()->count(), 2);  // the junk entry went, and only it
    EXPECT_EQ(combo1()->itemText(0), song);
    EXPECT_EQ(combo1()->itemText(1), video);
}

TEST_F(ReentryTest, TransportAndListClicksDuringAnotherClickAreDropped)
{
    startWithVideoSongAndJunk();
    window->UpdateMP3(0, false);
    bool blocked = false;
    meanwhile([&] {
        blocked = player::MessagesRun::Now();
        window->Image4_Click();   // Next
        window->Image31_Click();  // Add Directory: its chooser must not open
        window->Option2_Click();  // CD mode
    });
    window->Image2_Click();  // Play lets messages run before it redraws its button
    EXPECT_TRUE(blocked);
    EXPECT_EQ(window->Tracks().current(), 0);
    EXPECT_TRUE(common::InMediaMode());
    EXPECT_EQ(ModuleMCI::GetMediaMode(Alias), "playing");
    EXPECT_TRUE(dialogs.empty());
}

// A file or folder chooser runs its own loop: the tick goes on showing the time, but neither it
// nor a command from the desktop changes the entry until the chooser closes.
TEST_F(ReentryTest, WhileAChooserIsOpenTheTimeGoesOnAndTheEntryStays)
{
    const QString longer = q(fixtures::makeMedia(media.path(), Media::Wav8Mono, 4.0, "longer.wav").path);
    junk = q(fixtures::writeFile(media.path(), "junk.mp3", std::string(4096, 'x')));
    writeList({longer, junk});
    start();
    window->UpdateMP3(0, true);
    for (auto choose : {&player::Form1::Image31_Click, &player::Form1::Image30_Click}) {
        QString time;
        meanwhile([&] {
            ASSERT_TRUE(QApplication::activeModalWidget()) << "no chooser is open";
            window->UpdateMP3(1, true);  // the junk entry: its failure would show
            testsupport::sleepMs(1100);
            window->Timer2_Timer();
            time = shown("Label3");
            QApplication::activeModalWidget()->close();
        });
        ((*window).*choose)();
        EXPECT_NE(time, "00:00") << "the time stood still";
        EXPECT_EQ(window->Tracks().current(), 0);
        EXPECT_TRUE(dialogs.empty());
        EXPECT_EQ(ModuleMCI::GetMediaMode(Alias), "playing");
    }
}

// Under continuous play the entries go on while a chooser is open: the tick takes each one over.
// Kept from that by a message box past the end of the next entry too (the device went on to it
// and played it out meanwhile), the window goes on with the entry after it once the box is
// closed, not that one again.
TEST_F(ReentryTest, ContinuousPlayGoesOnUnderAChooserAndPastAnEntryPlayedOutUnderAMessageBox)
{
    startWithSongs(6, 1.0);
    menu().synexeia_Click();
    window->UpdateMP3(0, true);
    {
        player::ChooserOpen chooser;
        EXPECT_TRUE(waitFor([&] { return window->Tracks().current() == 2 && mediaMode() == "playing"; }, 6000));
    }
    {
        player::MessagesRun messageBox;
        wait(3500);  // the rest of that entry and the next heard to their end, with time to spare
        EXPECT_EQ(window->Tracks().current(), 2);
    }
    window->Timer2_Timer();
    EXPECT_EQ(window->Tracks().current(), 4);
    EXPECT_EQ(mediaMode(), "playing");
    EXPECT_LT(mediaPosition(), 500);
}

// A long list is added in steps, and its progress lets messages run between them: a tick or an
// open arriving then is dropped, and the list comes whole.
TEST_F(ReentryTest, ATickOrAnOpenDuringALongAdditionIsDropped)
{
    const std::string song = fixtures::makeMedia(media.path(), Media::Wav8Mono, 1.0, "song.wav").path;
    const std::string folder = media.path() + "/many";
    std::filesystem::create_directory(folder);
    constexpr int Files = 600;
    for (int i = 0; i < Files; ++i) std::filesystem::create_symlink(song, folder + "/" + std::to_string(i) + ".wav");
    start();
    int ticks = 0, steps = 0;
    const auto counting = QObject::connect(window.get(), &player::Form1::Ticked, window.get(), [&] { ++ticks; });
    // What a step's messages would run: the tick, and the desktop opening the first entry.
    const auto poking = QObject::connect(&window->Tracks(), &player::TrackList::appended, window.get(), [&] {
        ++steps;
        window->Timer2_Timer();
        window->UpdateMP3(0, true);
    });
    window->OpenPaths({q(folder)}, player::Form1::Opening::Add);
    QObject::disconnect(counting);
    QObject::disconnect(poking);
    EXPECT_EQ(steps, Files / 200);
    EXPECT_EQ(ticks, 0);
    EXPECT_EQ(window->Tracks().count(), Files);
    EXPECT_EQ(window->Tracks().current(), 0);  // played once the list is whole
    EXPECT_TRUE(dialogs.empty());
}
