// The skin buttons, the track list's clicks, the title strip, the position slider and the volume bar.

#include "support/PlayerFixture.h"
#include "media/CDAudio.h"
#include "media/ModuleMCI.h"
#include "platform/AuxVolume.h"
#include "platform/mci/Interpreter.h"
#include "support/Text.h"
#include "support/Bytes.h"
#include "support/Controls.h"

#include <QMouseEvent>
#include <QTest>

using fixtures::Media;

namespace {

const std::string Alias = common::MediaAlias;

using testsupport::q;

// A silent 8 kHz 8-bit mono WAV of exactly the given length, so its length is known to the millisecond.
std::string silentWav(const std::string& folder, const std::string& name, int seconds)
{
    return fixtures::writeFile(folder, name, testsupport::wav(1, 8000, 8, std::string(size_t(seconds) * 8000, char(0x80))));
}

void hover(player::PictureButton* normal) { emit normal->moved(nullptr); }

void moveMouseOver(QWidget* w)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), w->mapToGlobal(QPointF(2, 2)), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &move);
}

void click(QWidget* w)
{
    const QPointF at(2, 2), global = w->mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &press);
    QCoreApplication::sendEvent(w, &release);
}

QLabel* segment(const player::Form1& w, int i) { return testsupport::control<QLabel>(w, QStringLiteral("Label5_%1").arg(i)); }

int litSegments(const player::Form1& w)
{
    int lit = 0;
    for (int i = 0; i < 10; ++i) lit += segment(w, i)->palette().color(QPalette::Window) == QColor(0xFF, 0xC0, 0xC0);
    return lit;
}

}  // namespace

class TransportTest : public PlayerTest {
protected:
    void startWithSongs(double seconds = 2.0) { PlayerTest::startWithSongs(3, seconds); }
    void startWithDisc()
    {
        disc = insertDisc(fixtures::makeStandardDisc(media.path()));
        start();
        ASSERT_FALSE(common::InMediaMode());
    }
    std::string cdPosition() { return common::globals().CdDevice->GetCDPosition_FUN(); }
    fixtures::DiscImage disc;
};

TEST_F(TransportTest, PlayResumesAPausedFileAndRestartsAPlayingOrFinishedOne)
{
    startWithSongs(1.0);
    window->Image2_Click();
    ASSERT_TRUE(waitFor([&] { return mediaPosition() >= 300; }));
    window->Image3_Click();
    EXPECT_EQ(mediaMode(), "paused");
    const int32_t pausedAt = mediaPosition();
    EXPECT_GE(pausedAt, 300);
    window->Image2_Click();
    EXPECT_EQ(mediaMode(), "playing");
    EXPECT_GE(mediaPosition(), pausedAt);  // went on from where it stopped
    ASSERT_TRUE(waitFor([&] { return mediaPosition() >= pausedAt + 200; }));
    window->Image2_Click();
    EXPECT_LT(mediaPosition(), 250);  // playing: from the beginning again
    EXPECT_TRUE(waitFor([&] { return mediaMode() == "stopped"; }));
    window->Image2_Click();
    EXPECT_EQ(mediaMode(), "playing");
    EXPECT_TRUE(ctl<player::PictureButton>("Image8")->isVisibleTo(window.get()));
    EXPECT_FALSE(ctl<player::PictureButton>("Image2")->isVisibleTo(window.get()));
}

TEST_F(TransportTest, NextAndPreviousStopAtTheEndsOfTheList)
{
    startWithSongs();
    hover(ctl<player::PictureButton>("Image10"));
    EXPECT_TRUE(ctl<player::PictureButton>("Image6")->isVisibleTo(window.get()));
    window->Image6_Click();  // on the first entry: nothing, the twin stays lit
    EXPECT_EQ(window->Tracks().current(), 0);
    EXPECT_TRUE(ctl<player::PictureButton>("Image6")->isVisibleTo(window.get()));
    EXPECT_NE(mediaMode(), "playing");

    hover(ctl<player::PictureButton>("Image7"));
    EXPECT_FALSE(ctl<player::PictureButton>("Image6")->isVisibleTo(window.get()));  // moving on resets every other pair
    window->Image4_Click();
    EXPECT_EQ(window->Tracks().current(), 1);
    EXPECT_EQ(mediaMode(), "playing");
    EXPECT_FALSE(ctl<player::PictureButton>("Image4")->isVisibleTo(window.get()));
    window->Image4_Click();
    hover(ctl<player::PictureButton>("Image7"));
    window->Image4_Click();  // on the last entry: no wrap
    EXPECT_EQ(window->Tracks().current(), 2);
    EXPECT_TRUE(ctl<player::PictureButton>("Image4")->isVisibleTo(window.get()));
    window->Image6_Click();
    EXPECT_EQ(window->Tracks().current(), 1);
    EXPECT_EQ(shown("Label10"), "2");
}

TEST_F(TransportTest, NextAndPreviousOnADisc)
{
    startWithDisc();
    auto& cd = *common::globals().CdDevice;
    cd.SeekCDtoX(1);
    ASSERT_TRUE(waitFor([&] { return cd.ReadMilliseconds().position >= 300; }));
    window->Image6_Click();  // track 1: back to its start
    EXPECT_EQ(cdPosition().substr(0, 5), "01:00");
    EXPECT_EQ(cd.CheckIfPlaying(), 1);
    window->Image4_Click();
    EXPECT_EQ(cdPosition().substr(0, 2), "02");
    window->Image4_Click();
    window->Image4_Click();
    EXPECT_EQ(cdPosition().substr(0, 2), "04");
    ASSERT_TRUE(waitFor([&] { return cdPosition().substr(0, 8) >= "04:00:01"; }));
    window->Image4_Click();  // the last track: back to its start
    EXPECT_EQ(cdPosition().substr(0, 5), "04:00");
    window->Image6_Click();
    EXPECT_EQ(cdPosition().substr(0, 2), "03");
}

TEST_F(TransportTest, EjectLeavesNoDiscAtTheNextTick)
{
    startWithDisc();
    window->Image5_Click();
    window->Timer2_Timer();
    EXPECT_EQ(shown("Label1"), "No AudioCD.");
    EXPECT_EQ(list1()->count(), 0);
    EXPECT_TRUE(ctl<player::PictureButton>("Image9")->isVisibleTo(window.get()));
}

TEST_F(TransportTest, ThePopUpListOpensOnTheCurrentTrackAndClosesOverTheStatusLine)
{
    startWithSongs();
    window->UpdateMP3(1, false);
    hover(ctl<player::PictureButton>("Image14"));
    ASSERT_TRUE(ctl<player::PictureButton>("Image15")->isVisibleTo(window.get()));
    window->Image15_Click();
    EXPECT_TRUE(list1()->isVisibleTo(window.get()));
    EXPECT_EQ(list1()->currentRow(), 1);
    window->BackgroundMouseMove();  // an open pop-up list stays open over the background
    EXPECT_TRUE(list1()->isVisibleTo(window.get()));
    moveMouseOver(ctl<QLabel>("Label2"));
    EXPECT_FALSE(list1()->isVisibleTo(window.get()));
    // It lies over the status line: a click beside it, or Escape in it, closes it too.
    for (QWidget* beside : {static_cast<QWidget*>(window.get()), static_cast<QWidget*>(ctl<QLabel>("Label10"))}) {
        window->Image15_Click();
        ASSERT_TRUE(list1()->isVisibleTo(window.get()));
        click(beside);
        EXPECT_FALSE(list1()->isVisibleTo(window.get())) << beside->objectName().toStdString();
    }
    window->Image15_Click();
    QTest::keyClick(list1(), Qt::Key_Escape);
    EXPECT_FALSE(list1()->isVisibleTo(window.get()));
    EXPECT_EQ(window->Tracks().current(), 1);  // nothing chosen

    window->RemoveAllEntries();  // an empty list has no pop-up
    hover(ctl<player::PictureButton>("Image14"));
    EXPECT_FALSE(ctl<player::PictureButton>("Image15")->isVisibleTo(window.get()));
}

TEST_F(TransportTest, ListClicksSeekTheDiscOrPlayTheFile)
{
    startWithDisc();
    common::globals().UserListClick = true;
    list1()->setCurrentRow(2);
    window->List1_Click();
    EXPECT_EQ(cdPosition().substr(0, 2), "03");
    EXPECT_FALSE(common::globals().UserListClick);
    list1()->setCurrentRow(1);
    window->List1_Click();  // a selection made by code: the disc stays
    EXPECT_EQ(cdPosition().substr(0, 2), "03");
    stop();

    setenv("SONORELL_CD_DEVICE", "none", 1);
    startWithSongs();
    common::globals().UserListClick = true;
    list1()->setCurrentRow(2);
    window->List1_Click();
    EXPECT_EQ(window->Tracks().current(), 0);  // a single click only selects
    window->List1_DblClick();
    EXPECT_EQ(window->Tracks().current(), 2);
    EXPECT_EQ(mediaMode(), "playing");
}

TEST_F(TransportTest, TitleStripHidesToTheTaskbarOrCloses)
{
    startWithSongs();
    window->show();
    window->Image16_MouseDown(333);
    EXPECT_TRUE(window->isVisible());
    window->Image16_MouseDown(340);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(menu().isVisible());
    EXPECT_TRUE(menu().isMinimized());
    menu().setWindowState(Qt::WindowNoState);  // the user restores the entry
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(menu().isVisible());

    window->ShowRemainingTime(true);
    window->Image16_MouseDown(350);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(read("Data.dat").at(0), 1);  // the shutdown ran and saved
    EXPECT_EQ(read("Default.list").count("\r\n"), 3);
}

TEST_F(TransportTest, TimeDisplayTogglesAtOnce)
{
    startWithSongs();
    window->Image2_Click();
    click(ctl<QLabel>("Label3"));
    EXPECT_TRUE(window->State().showRemaining);
    EXPECT_TRUE(shown("Label3").startsWith("-00:0"));
    click(ctl<QLabel>("Label3"));
    EXPECT_TRUE(shown("Label3").startsWith("00:0"));
}

TEST_F(TransportTest, DraggingTheThumbShowsTheTimeAndSeeksOnRelease)
{
    writeList({q(silentWav(media.path(), "long.wav", 192))});
    start();
    ASSERT_EQ(window->State().mediaLengthMs, 192000);
    ASSERT_DOUBLE_EQ(window->State().positionScale, 1000.0);
    window->Image2_Click();
    window->Timer2_Timer();
    window->Image17_MouseDown();
    EXPECT_FALSE(ctl<QTimer>("Timer2")->isActive());
    window->Image17_MouseMove(100);  // from left edge 5, pointer 100 px in: the edge goes to 100
    EXPECT_EQ(ctl<player::PictureButton>("Image17")->x(), 100);
    EXPECT_EQ(window->State().seekTarget, "5000");
    window->Image17_MouseMove(5);
    EXPECT_EQ(shown("Label3"), "01:40");
    EXPECT_EQ(window->State().seekTarget, "100000");
    window->ShowRemainingTime(true);
    window->Image17_MouseMove(5);
    EXPECT_EQ(shown("Label3"), "-01:32");
    window->Image17_MouseUp();
    EXPECT_TRUE(ctl<QTimer>("Timer2")->isActive());
    EXPECT_EQ(mediaMode(), "playing");
    EXPECT_GE(mediaPosition(), 100000);
    EXPECT_LT(mediaPosition(), 101000);

    // The end of the range: no drag from here.
    ctl<player::PictureButton>("Image17")->move(192, ctl<player::PictureButton>("Image17")->y());
    window->Image17_MouseDown();
    const QString before = shown("Label3");
    window->Image17_MouseMove(-50);
    EXPECT_EQ(ctl<player::PictureButton>("Image17")->x(), 192);
    EXPECT_EQ(shown("Label3"), before);
    window->Image17_MouseUp();
}

// A click on the thumb: loaded, the entry plays from its start; playing, it plays on where it is,
// not from where the last drag or seek went.
TEST_F(TransportTest, PressAndReleaseWithoutADragPlaysFromWhereTheThumbStands)
{
    writeList({q(silentWav(media.path(), "long.wav", 192))});
    start();
    window->Image17_MouseDown();
    window->Image17_MouseUp();
    EXPECT_EQ(window->State().seekTarget, "0");
    EXPECT_EQ(mediaMode(), "playing");
    EXPECT_LT(mediaPosition(), 300);
    window->SeekTo(100000);
    ASSERT_TRUE(waitFor([&] { return mediaPosition() > 100300; }));
    const int before = mediaPosition();
    window->Image17_MouseDown();
    window->Image17_MouseUp();
    EXPECT_EQ(mediaMode(), "playing");
    EXPECT_GE(mediaPosition(), before);
}

// The thumb pressed in the last moments of an entry and let go, unmoved, once continuous play went
// on to the next one: that one plays on, the entry that ended does not start again.
TEST_F(TransportTest, AThumbHeldWhileTheEntryEndsLetsTheNextPlayOn)
{
    startWithSongs(1.0);
    menu().synexeia_Click();
    window->UpdateMP3(0, true);
    ASSERT_TRUE(waitFor([] { return mediaPosition() > 800; }));
    window->Image17_MouseDown();  // the tick waits for the release
    int32_t length = 0;
    ASSERT_TRUE(waitFor([&] { return ModuleMCI::IsMediaAtEnd(Alias, length); }));
    wait(300);
    window->Image17_MouseUp();
    EXPECT_EQ(window->Tracks().current(), 1);
    EXPECT_EQ(mediaMode(), "playing");
    EXPECT_GT(mediaPosition(), 100);
}

TEST_F(TransportTest, DraggingOnADiscSeeksWithinTheTrackAndPlaysOnRelease)
{
    startWithDisc();
    auto& cd = *common::globals().CdDevice;
    cd.SeekCDtoX(2);
    window->Timer2_Timer();  // the track display: track 2 of 50.4 s starts at 20 s
    ASSERT_EQ(shown("Label10"), "2");
    window->Image17_MouseDown();
    ctl<player::PictureButton>("Image17")->move(100, ctl<player::PictureButton>("Image17")->y());
    window->Image17_MouseMove(5);
    // 100 units of 50,400 / 187 ms after the track's start: 26.95 s into track 2.
    EXPECT_EQ(shown("Label3"), "00:26");
    EXPECT_EQ(cd.CheckIfPlaying(), 0);
    EXPECT_EQ(cdPosition().substr(0, 5), "02:00");
    window->ShowRemainingTime(true);
    window->Image17_MouseMove(5);
    EXPECT_EQ(shown("Label3"), "-00:23");
    window->Image17_MouseUp();
    EXPECT_EQ(cd.CheckIfPlaying(), 1);
    EXPECT_EQ(cdPosition().substr(0, 5), "02:00");
}

TEST_F(TransportTest, ChannelWordsAndTheirReading)
{
    EXPECT_EQ(player::Form1::ChannelWord(0.1f), 0x199A);
    EXPECT_EQ(player::Form1::ChannelWord(0.5f), 0x8000);
    EXPECT_EQ(player::Form1::ChannelWord(0.7f), 0xB332);
    EXPECT_EQ(player::Form1::ChannelWord(1.0f), 0xFFFF);
    EXPECT_EQ(player::Form1::ChannelWord(0.0f), 0x0000);

    platform::auxSetVolume(platform::AuxMedia, 0xE665u);  // the left channel alone, top bit set
    EXPECT_NEAR(player::Form1::GetOutputVolume(platform::AuxMedia), 0.9f, 0.0001f);
    platform::auxSetVolume(platform::AuxMedia, 0x80000100u);  // the louder channel counts
    EXPECT_NEAR(player::Form1::GetOutputVolume(platform::AuxMedia), 0.50001f, 0.0001f);

    EXPECT_EQ(player::Form1::LitSegments(0.949f), 9);
    EXPECT_EQ(player::Form1::LitSegments(0.95f), 10);
    EXPECT_EQ(player::Form1::LitSegments(0.0f), 0);
    EXPECT_EQ(player::Form1::LitSegments(0.099f), 1);  // rounded to the hundredth
}

TEST_F(TransportTest, EverySegmentLightsItsShareAndSetsTheStream)
{
    startWithSongs();
    window->Image2_Click();
    for (int i = 0; i < 10; ++i) {
        click(segment(*window, i));
        EXPECT_EQ(litSegments(*window), i + 1) << "segment " << i;
        std::string volume;
        platform::mci::interpreter().send("status " + Alias + " volume", volume);
        EXPECT_NEAR(std::stoi(volume), (i + 1) * 100, 1) << "segment " << i;
    }
    window->Option2_Click();  // CD mode has its own device
    click(segment(*window, 2));
    EXPECT_EQ(litSegments(*window), 3);
    EXPECT_EQ(platform::auxGetVolume(platform::AuxCd), 0x4CCD4CCDu);
    EXPECT_EQ(platform::auxGetVolume(platform::AuxMedia), 0xFFFFFFFFu);
}

// Clicking Next twice without moving the mouse: the second click lands on the normal picture.
TEST_F(TransportTest, ASecondClickWithoutAMoveActsAgain)
{
    startWithSongs();
    hover(ctl<player::PictureButton>("Image7"));
    click(ctl<player::PictureButton>("Image4"));
    EXPECT_EQ(window->Tracks().current(), 1);
    ASSERT_TRUE(ctl<player::PictureButton>("Image7")->isVisibleTo(window.get()));  // the normal picture is back
    click(ctl<player::PictureButton>("Image7"));
    EXPECT_EQ(window->Tracks().current(), 2);
    click(ctl<player::PictureButton>("Image10"));  // previous, never hovered
    EXPECT_EQ(window->Tracks().current(), 1);
}

// Next, Previous or continuous play switched off right after an entry ended under continuous play,
// before the tick has taken the next one over: they act on the entry heard, not on the one that
// ended.
TEST_F(TransportTest, CommandsRightAfterAnEntryEndedActOnTheEntryHeard)
{
    startWithSongs(0.5);
    menu().synexeia_Click();
    ctl<QTimer>("Timer2")->stop();
    const auto playFirstToItsEnd = [&] {
        window->UpdateMP3(0, true);
        int32_t length = 0;
        ASSERT_TRUE(waitFor([&] { return ModuleMCI::IsMediaAtEnd(Alias, length); }));
        ASSERT_EQ(window->Tracks().current(), 0);
    };
    playFirstToItsEnd();
    window->Image4_Click();
    EXPECT_EQ(window->Tracks().current(), 2);
    playFirstToItsEnd();
    window->Image6_Click();
    EXPECT_EQ(window->Tracks().current(), 0);
    EXPECT_LT(window->PositionMs(), 400) << "the first entry plays again from its start";
    playFirstToItsEnd();
    menu().synexeia_Click();  // off: the second entry plays to its end, and nothing after it
    EXPECT_EQ(window->Tracks().current(), 1);
    EXPECT_EQ(mediaMode(), "playing");
    int32_t length = 0;
    ASSERT_TRUE(waitFor([&] { return ModuleMCI::IsMediaAtEnd(Alias, length); }));
    window->Timer2_Timer();
    EXPECT_EQ(window->Tracks().current(), 1);
}

// The disc plays on into its next track by itself; a command in the second before the tick shows
// it acts on the track heard: a seek to 00:00 goes to its start, not back to the track before,
// and a pause shows the track it paused in.
TEST_F(TransportTest, CommandsRightAfterTheDiscWentOnActOnTheTrackHeard)
{
    insertDisc({110, 110, 300});
    start();
    ctl<QTimer>("Timer2")->stop();
    auto& cd = *common::globals().CdDevice;
    const auto playsOnInto = [&](int track) { return waitFor([&] { return cd.GetTmsfPosition().track == track; }); };
    window->Image2_Click();
    window->Timer2_Timer();
    ASSERT_EQ(shown("Label10"), "1");
    ASSERT_TRUE(playsOnInto(2));
    window->SeekTo(0);
    EXPECT_EQ(cdPosition().substr(0, 2), "02");
    EXPECT_EQ(shown("Label10"), "2");
    ASSERT_TRUE(playsOnInto(3));
    window->Image3_Click();
    EXPECT_EQ(cd.CheckIfPlaying(), 0);
    EXPECT_EQ(shown("Label10"), "3");
    EXPECT_EQ(shown("Label1"), "Track 3");
    EXPECT_EQ(shown("Label3"), "00:00");
}

// Two clicks on Previous without moving the mouse: the first lands on the lit twin, the second
// (a double click to the window system) on the picture put back under the pointer. Each goes back
// one track, and on the first track each restarts it.
TEST_F(TransportTest, ATwinClickOnPreviousOnADiscGoesBackTwice)
{
    startWithDisc();
    auto& cd = *common::globals().CdDevice;
    auto* normal = ctl<player::PictureButton>("Image10");
    auto* twin = ctl<player::PictureButton>("Image6");
    const auto twinClick = [&] {
        hover(normal);
        click(twin);
        const QPointF at(2, 2), global = normal->mapToGlobal(at);
        QMouseEvent twice(QEvent::MouseButtonDblClick, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(normal, &twice);
        QCoreApplication::sendEvent(normal, &release);
    };
    cd.SeekCDtoX(3);
    twinClick();
    EXPECT_EQ(cdPosition().substr(0, 2), "01");
    twinClick();
    EXPECT_EQ(cdPosition().substr(0, 2), "01");
    EXPECT_EQ(cd.CheckIfPlaying(), 1);
}
