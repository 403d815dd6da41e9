// The tracks preview, its tick driven directly so no test waits real seconds.

#include "support/PlayerFixture.h"
#include "media/CDAudio.h"
#include "shell/Form7.h"
#include "shell/Windows.h"
#include "support/Controls.h"

#include <QApplication>

using shell::Form7;

class PreviewTest : public PlayerTest {
protected:
    void SetUp() override
    {
        PlayerTest::SetUp();
        disc = insertDisc({150, 150, 150});
        start();
        shell::OpenTracksPreview(*window, "&Tracks Preview");
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* f = qobject_cast<Form7*>(w); f && f->isVisible()) preview = f;
        ASSERT_NE(preview, nullptr);
    }
    void TearDown() override
    {
        if (preview) preview->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        PlayerTest::TearDown();
    }
    std::string track() { return common::globals().CdDevice->GetCDPosition_FUN().substr(0, 2); }
    void ticks(int n)
    {
        for (int i = 0; i < n; ++i) preview->Timer1_Timer();
    }
    fixtures::DiscImage disc;
    QPointer<Form7> preview;
};

TEST_F(PreviewTest, DefaultThirtySecondsWithTheFirstTrackShownAtOnce)
{
    EXPECT_EQ(preview->windowTitle(), "&Tracks Preview");
    EXPECT_TRUE(preview->Option1[1]->isChecked());
    EXPECT_EQ(preview->Option1[4]->text(), "Custom Time");
    preview->Command2_Click();
    EXPECT_EQ(preview->windowTitle(), "Tracks Preview  (30 sec.)");
    EXPECT_EQ(preview->Label3->text(), "1. Track 1");
    EXPECT_FALSE(preview->Command2->isEnabled());
    EXPECT_FALSE(preview->Option1[0]->isEnabled());
    EXPECT_TRUE(preview->Timer1->isActive());
    ticks(1);
    EXPECT_EQ(preview->Label2->text(), "00:00");
    EXPECT_EQ(preview->Label3->text(), "1. Track 1");
    EXPECT_EQ(preview->PreviewTicks, 0);
    ticks(30);
    EXPECT_EQ(track(), "01");  // track 1 has 32 ticks
    ticks(1);
    EXPECT_EQ(track(), "02");
    EXPECT_EQ(preview->Label3->text(), "2. Track 2");
    EXPECT_EQ(preview->PreviewTicks, 0);
    ticks(30);
    EXPECT_EQ(track(), "02");  // later tracks have 31
    ticks(1);
    EXPECT_EQ(track(), "03");
}

TEST_F(PreviewTest, ACustomTimeRunsToCompletion)
{
    preview->Option1_Click(4);
    preview->Option1[4]->setChecked(true);
    preview->Text1->setText(" 7 ");
    preview->Command2_Click();
    EXPECT_EQ(preview->PreviewSeconds, 7);
    EXPECT_EQ(preview->windowTitle(), "Tracks Preview  (7 sec.)");
    ticks(8);
    EXPECT_EQ(track(), "01");
    ticks(1);
    EXPECT_EQ(track(), "02");
    ticks(7);
    EXPECT_EQ(track(), "02");
    ticks(1);
    EXPECT_EQ(track(), "03");
    ticks(7);
    EXPECT_TRUE(preview->Timer1->isActive());
    ticks(1);
    EXPECT_FALSE(preview->Timer1->isActive());
    EXPECT_EQ(preview->Label3->text(), "Completed.");
    EXPECT_EQ(preview->Label2->text(), "00:00");
    EXPECT_EQ(common::globals().CdDevice->CheckIfPlaying(), 0);
    EXPECT_TRUE(preview->Command2->isEnabled());
    EXPECT_TRUE(preview->Option1[2]->isEnabled());
    EXPECT_TRUE(preview->Text1->isEnabled());
    EXPECT_EQ(preview->PreviewSeconds, 0);
}

TEST_F(PreviewTest, TheCustomBoxWinsWheneverItHoldsANumber)
{
    preview->Text1->setText("5");
    preview->Option1[2]->setChecked(true);  // 45 chosen afterwards
    preview->Command2_Click();
    EXPECT_EQ(preview->PreviewSeconds, 5);

    EXPECT_EQ(Form7::CustomSeconds(" 7 "), 7);
    EXPECT_EQ(Form7::CustomSeconds("7.5"), 8);
    EXPECT_EQ(Form7::CustomSeconds("6.5"), 6);
    EXPECT_EQ(Form7::CustomSeconds("-32768"), -32768);
    EXPECT_FALSE(Form7::CustomSeconds("32768"));
    EXPECT_FALSE(Form7::CustomSeconds("abc"));
    EXPECT_FALSE(Form7::CustomSeconds(""));
}

TEST_F(PreviewTest, CustomChosenWithoutANumberGivesNoSeconds)
{
    preview->Option1[4]->setChecked(true);
    preview->Text1->setText("soon");
    preview->Command2_Click();
    EXPECT_EQ(preview->PreviewSeconds, 0);
    EXPECT_EQ(preview->windowTitle(), "Tracks Preview  (0 sec.)");
}

TEST_F(PreviewTest, ANegativeTimeMovesOnEveryTick)
{
    preview->Text1->setText("-3");
    preview->Command2_Click();
    ticks(1);
    EXPECT_EQ(track(), "02");
    ticks(1);
    EXPECT_EQ(track(), "03");
    ticks(1);
    EXPECT_EQ(preview->Label3->text(), "Completed.");
}

TEST_F(PreviewTest, CancelStopsTheDiscAtItsStartAndTheNextOpeningIsFresh)
{
    window->SetTickEnabled(false);
    preview->Command2_Click();
    ticks(40);
    ASSERT_EQ(track(), "02");
    preview->Command1_Click();
    EXPECT_EQ(common::globals().CdDevice->CheckIfPlaying(), 0);
    EXPECT_EQ(common::globals().CdDevice->GetCDPosition_FUN().substr(0, 11), "01:00:00:00");
    EXPECT_TRUE(ctl<QTimer>("Timer2")->isActive());
    EXPECT_FALSE(common::globals().DialogOpen);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(preview.isNull());

    shell::OpenTracksPreview(*window, "again");
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* f = qobject_cast<Form7*>(w); f && f->isVisible()) preview = f;
    ASSERT_FALSE(preview.isNull());
    EXPECT_TRUE(preview->Option1[1]->isChecked());
    EXPECT_EQ(preview->Text1->text(), "");
}

TEST_F(PreviewTest, OpeningItAgainBringsTheOneThereIsToTheFront)
{
    shell::OpenTracksPreview(*window, "again");
    int open = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) open += qobject_cast<Form7*>(w) && w->isVisible();
    EXPECT_EQ(open, 1);
    EXPECT_EQ(preview->windowTitle(), "&Tracks Preview");
}

// Alt+F4 or the taskbar's Close on the main window, with every secondary window open.
TEST_F(PreviewTest, ClosingTheMainWindowFromTheWindowSystemUnloadsEveryWindow)
{
    shell::OpenAbout(*window, "About");
    window->show();
    window->close();
    EXPECT_TRUE(window->IsShutDown());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(preview.isNull());
    for (QWidget* w : QApplication::topLevelWidgets()) EXPECT_FALSE(w->isVisible()) << w->metaObject()->className();
    QCoreApplication::processEvents();  // what would arrive next reaches no unloaded window
    EXPECT_FALSE(window->isVisible());
}
