// The level meter: the level mapping, a live capture of known amplitudes, a source that cannot
// start, the slides and the docking.

#include "support/PlayerFixture.h"
#include "meter/Form8.h"
#include "meter/Meter_Sound.h"

namespace {

int lit(const std::array<QLabel*, 10>& column)
{
    int n = 0;
    for (QLabel* segment : column) n += segment->isVisibleTo(segment->parentWidget());
    return n;
}

// Two test tones of known peak, one per channel, paced like a capture device.
const char* TwoTones = "interleave name=i "
                       "audiotestsrc is-live=true volume=0.2 ! audio/x-raw,channels=1,rate=8000,format=S16LE ! i. "
                       "audiotestsrc is-live=true volume=0.6 ! audio/x-raw,channels=1,rate=8000,format=S16LE ! i.";

}  // namespace

TEST(MeterLevels, SegmentsLitForAControlValue)
{
    const std::pair<int32_t, int> cases[] = {{0, 0},     {2303, 0},   {2304, 1},   {4607, 1},  {4608, 2},   {20736, 9},
                                             {23039, 9}, {23040, 10}, {32767, 10}, {-2304, 1}, {-32768, 10}};
    for (const auto& [value, segments] : cases) EXPECT_EQ(Meter_Sound::LitSegments(value), segments) << value;
}

class MeterTest : public PlayerTest {
protected:
    void SetUp() override
    {
        PlayerTest::SetUp();
        setenv("SONORELL_CAPTURE_SOURCE", TwoTones, 1);
    }
    void TearDown() override
    {
        if (menu().Meter) menu().Meter->CloseAtOnce();
        unsetenv("SONORELL_CAPTURE_SOURCE");
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        PlayerTest::TearDown();
    }
    meter::Form8& meterWindow() { return *menu().Meter; }
};

TEST_F(MeterTest, LiveInputLightsEachChannelsShare)
{
    start();
    window->move(300, 200);
    window->show();
    menu().Mixer_Menu_Click();
    ASSERT_FALSE(menu().Meter.isNull());
    EXPECT_TRUE(Meter_Sound::InputRunning());
    EXPECT_TRUE(menu().Mixer_Menu2->isChecked());
    EXPECT_EQ(meterWindow().Label1->text(), " L      R");
    int left = 0, right = 0;
    for (int i = 0; i < 40 && (left != 2 || right != 8); ++i) {
        wait(50);
        meterWindow().Timer1_Timer();
        left = lit(meterWindow().Label2);
        right = lit(meterWindow().Label3);
    }
    EXPECT_EQ(left, 2);                                                 // 0.2 of full scale
    EXPECT_EQ(right, 8);                                                // 0.6
    EXPECT_TRUE(meterWindow().Label2[9]->isVisibleTo(&meterWindow()));  // lit from the bottom
    EXPECT_FALSE(meterWindow().Label2[0]->isVisibleTo(&meterWindow()));
}

TEST_F(MeterTest, ItSlidesOutToItsDockAndBackBehindTheMainWindow)
{
    start();
    window->move(300, 200);
    window->show();
    menu().Mixer_Menu_Click();
    meter::Form8& m = meterWindow();
    EXPECT_TRUE(common::globals().MeterSliding);
    EXPECT_EQ(m.x(), 300);  // starts behind the main window
    waitFor([&] { return !(common::globals().MeterSliding); }, 2000);
    EXPECT_FALSE(common::globals().MeterSliding);
    EXPECT_EQ(m.pos(), QPoint(300 - 31 - 16, 200 + 17));

    window->move(400, 100);  // dragged: the meter follows
    EXPECT_EQ(m.pos(), QPoint(400 - 31 - 16, 100 + 17));

    QPointer<meter::Form8> closing = &m;
    menu().Mixer_Menu_Click();
    EXPECT_FALSE(Meter_Sound::InputRunning());  // capture stops before the slide back
    EXPECT_TRUE(common::globals().MeterSliding);
    EXPECT_TRUE(closing->isVisible());
    waitFor([&] { return !(!closing.isNull()); }, 2000);
    EXPECT_TRUE(closing.isNull());
    EXPECT_FALSE(menu().Mixer_Menu->isChecked());
}

TEST_F(MeterTest, ASourceThatCannotStartSaysSoAndTheMeterGoes)
{
    setenv("SONORELL_CAPTURE_SOURCE", "filesrc location=/nonexistent/capture", 1);
    start();
    window->show();
    menu().Mixer_Menu_Click();
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].text, "Can't open Mixer.");
    EXPECT_FALSE(Meter_Sound::InputRunning());
    EXPECT_FALSE(menu().Mixer_Menu->isChecked());
    EXPECT_FALSE(menu().Mixer_Menu2->isChecked());
    waitFor([&] { return !(!menu().Meter.isNull()); }, 2000);
    EXPECT_TRUE(menu().Meter.isNull());
}

TEST_F(MeterTest, HidingTheMainWindowHidesTheMeterAndRestoringShowsIt)
{
    start();
    window->show();
    menu().Mixer_Menu_Click();
    waitFor([&] { return !(common::globals().MeterSliding); }, 2000);
    window->Image16_MouseDown(340);
    EXPECT_FALSE(meterWindow().isVisible());
    menu().setWindowState(Qt::WindowNoState);
    EXPECT_TRUE(meterWindow().isVisible());
    EXPECT_EQ(meterWindow().pos(), QPoint(window->x() - 47, window->y() + 17));
}

TEST_F(MeterTest, CheckedAgainWhileItSlidesBackTheMeterStays)
{
    start();
    window->show();
    menu().Mixer_Menu_Click();
    waitFor([&] { return !(common::globals().MeterSliding); }, 2000);
    menu().Mixer_Menu_Click();  // off: it slides back
    ASSERT_TRUE(common::globals().MeterSliding);
    menu().Mixer_Menu_Click();  // on again before it is gone
    waitFor([&] { return !(common::globals().MeterSliding); }, 2000);
    wait(100);
    EXPECT_TRUE(menu().Mixer_Menu->isChecked());
    ASSERT_FALSE(menu().Meter.isNull());
    EXPECT_TRUE(menu().Meter->isVisible());
    EXPECT_TRUE(Meter_Sound::InputRunning());
}
