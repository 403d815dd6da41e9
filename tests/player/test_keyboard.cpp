// The main window as a screen reader reads it (Qt's accessibility interfaces, in process) and as
// a person without a mouse drives it (key events).

#include "support/PlayerFixture.h"
#include "../shell/ModalDriver.h"
#include "about/Form3.h"
#include "media/CDAudio.h"
#include "media/ModuleMCI.h"
#include "player/Accessibility.h"
#include "player/Form20.h"
#include "support/Controls.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAccessibleValueInterface>
#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QTimer>

using fixtures::Media;

namespace {

QAccessibleInterface* reader(QObject* object) { return QAccessible::queryAccessibleInterface(object); }
QString nameOf(QObject* object) { return reader(object)->text(QAccessible::Name); }

class KeyboardTest : public PlayerTest {
protected:
    void startWithSongs(int count, double seconds = 20.0)
    {
        PlayerTest::startWithSongs(count, seconds);
        window->show();
    }
    void startWithDisc()
    {
        PlayerTest::startWithDisc({1500, 1500, 1500});
        window->show();
        ASSERT_FALSE(common::InMediaMode());
    }
    void key(int k, Qt::KeyboardModifiers mods = Qt::NoModifier, QWidget* to = nullptr)
    {
        QTest::keyClick(to ? to : window.get(), Qt::Key(k), mods);
    }
    // The visible skin buttons, each with its name in English and in Greek.
    struct Button {
        player::PictureButton* picture;
        const char* english;
        const char* greek;
    };
    std::vector<Button> buttons() const
    {
        auto& w = *window;
        return {{testsupport::control<player::PictureButton>(w, "Image10"), "Previous", "Προηγούμενο"},
                {testsupport::control<player::PictureButton>(w, "Image8"), "Play", "Εκτέλεση"},
                {testsupport::control<player::PictureButton>(w, "Image11"), "Pause", "Διακοπή"},
                {testsupport::control<player::PictureButton>(w, "Image7"), "Next", "Επόμενο"},
                {testsupport::control<player::PictureButton>(w, "Image9"), "Eject", "Eject"},
                {testsupport::control<player::PictureButton>(w, "Image24"), "Add Directory", "Πρόσθεση Καταλόγου"},
                {testsupport::control<player::PictureButton>(w, "Image25"), "Add File", "Πρόσθεση Αρχείου"},
                {testsupport::control<player::PictureButton>(w, "Image26"), "Open List", "Άνοιγμα Λίστας"},
                {testsupport::control<player::PictureButton>(w, "Image27"), "Save List", "Αποθήκευση Λίστας"},
                {testsupport::control<player::PictureButton>(w, "Image14"), "Track List", "Λίστα Τραγουδιών"},
                {testsupport::control<player::PictureButton>(w, "MinimiseZone"), "Minimize", "Ελαχιστοποίηση"},
                {testsupport::control<player::PictureButton>(w, "CloseZone"), "Close", "Κλείσιμο"}};
    }
};

}  // namespace

TEST_F(KeyboardTest, EveryVisibleButtonIsANamedPushButtonInTheLanguageInForce)
{
    for (const bool greek : {false, true}) {
        SCOPED_TRACE(greek ? "Greek" : "English");
        platform::SaveSetting("Sonorell", "LANGUAGE", greek ? "True" : "False");
        startWithSongs(1, 2.0);
        for (const Button& b : buttons()) {
            QAccessibleInterface* i = reader(b.picture);
            ASSERT_NE(i, nullptr);
            EXPECT_EQ(i->role(), QAccessible::Button) << b.english;
            EXPECT_EQ(i->text(QAccessible::Name), QString::fromUtf8(greek ? b.greek : b.english));
            ASSERT_NE(i->actionInterface(), nullptr);
            EXPECT_EQ(i->actionInterface()->actionNames(), QStringList{QAccessibleActionInterface::pressAction()});
        }
        // The highlighted twin reads the same; the title strip and the thumb are no buttons.
        EXPECT_EQ(nameOf(ctl<player::PictureButton>("Image2")), greek ? "Εκτέλεση" : "Play");
        // The pictures the stand-ins speak for are kept out of the reader's way.
        for (QWidget* covered : {static_cast<QWidget*>(ctl<player::PictureButton>("Image16")),
                                 static_cast<QWidget*>(ctl<player::PictureButton>("Image17")),
                                 static_cast<QWidget*>(ctl<QLabel>("Groove")), static_cast<QWidget*>(ctl<QLabel>("Label5_0"))})
            EXPECT_TRUE(reader(covered)->state().invisible) << covered->objectName().toStdString();
        EXPECT_EQ(nameOf(ctl<QLabel>("Label7")), greek ? "Επιλογές" : "Options");
        EXPECT_EQ(nameOf(ctl<QLabel>("Label8")), greek ? "Βοήθεια" : "Help");
        EXPECT_EQ(nameOf(ctl<QLabel>("Label11")), greek ? "Λίστα Τραγουδιών" : "Track 's List");
        EXPECT_EQ(nameOf(ctl<QCheckBox>("Check1")), ctl<QCheckBox>("Check1")->text());
        EXPECT_EQ(nameOf(ctl<player::ValueBar>("VolumeBar")), greek ? "Ένταση" : "Volume");
        EXPECT_EQ(nameOf(ctl<player::ValueBar>("PositionBar")), greek ? "Θέση" : "Position");
        stop();
    }
}

TEST_F(KeyboardTest, LabelsReadWhatTheyShowAsItChangesAndPressPlays)
{
    startWithSongs(2, 6.0);
    EXPECT_EQ(nameOf(ctl<QLabel>("Label1")), "t01.wav");
    EXPECT_EQ(nameOf(ctl<QLabel>("Label10")), "1");
    reader(ctl<player::PictureButton>("Image8"))->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(mediaMode(), "playing");
    EXPECT_TRUE(ctl<player::PictureButton>("Image8")->isVisible());  // pressed without the mouse's picture swap
    EXPECT_TRUE(waitFor([&] {
        window->Timer2_Timer();
        return shown("Label3") != "00:00";
    }));
    EXPECT_EQ(nameOf(ctl<QLabel>("Label3")), shown("Label3"));
    reader(ctl<player::PictureButton>("Image7"))->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(window->Tracks().current(), 1);
    EXPECT_EQ(nameOf(ctl<QLabel>("Label1")), "t02.wav");
    EXPECT_EQ(nameOf(ctl<QLabel>("Label10")), "2");
    EXPECT_EQ(nameOf(ctl<QLabel>("Label6")), shown("Label6"));

    // The sliders' values: the volume in tenths, the position and the length in seconds.
    QAccessibleValueInterface* volume = reader(ctl<player::ValueBar>("VolumeBar"))->valueInterface();
    ASSERT_NE(volume, nullptr);
    volume->setCurrentValue(3);
    EXPECT_EQ(volume->currentValue().toInt(), 3);
    EXPECT_EQ(volume->maximumValue().toInt(), 10);
    QAccessibleValueInterface* position = reader(ctl<player::ValueBar>("PositionBar"))->valueInterface();
    ASSERT_NE(position, nullptr);
    EXPECT_EQ(position->maximumValue().toInt(), window->LengthMs() / 1000);
    position->setCurrentValue(4);
    EXPECT_NEAR(position->currentValue().toInt(), 4, 1);
    EXPECT_EQ(reader(ctl<player::ValueBar>("PositionBar"))->role(), QAccessible::Slider);
}

TEST_F(KeyboardTest, TheTransportKeysActAsTheButtonsDoInMediaMode)
{
    startWithSongs(3);
    key(Qt::Key_Space);
    EXPECT_EQ(mediaMode(), "playing");
    key(Qt::Key_Space);
    EXPECT_EQ(mediaMode(), "paused");
    key(Qt::Key_Space);
    EXPECT_EQ(mediaMode(), "playing");
    QKeyEvent held(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), true);
    QCoreApplication::sendEvent(window.get(), &held);  // Space held down: its repeats toggle nothing
    EXPECT_EQ(mediaMode(), "playing");

    key(Qt::Key_Right);
    key(Qt::Key_Right);
    EXPECT_NEAR(window->PositionMs(), 10000, 1000);
    key(Qt::Key_Left);
    EXPECT_NEAR(window->PositionMs(), 5000, 1000);
    key(Qt::Key_Left);
    key(Qt::Key_Left);
    EXPECT_LT(window->PositionMs(), 1000);  // not before the start

    key(Qt::Key_PageDown);
    key(Qt::Key_PageDown);
    EXPECT_EQ(window->Tracks().current(), 2);
    key(Qt::Key_PageDown);  // the last entry: no wrap, as the Next button
    EXPECT_EQ(window->Tracks().current(), 2);
    key(Qt::Key_PageUp);
    EXPECT_EQ(window->Tracks().current(), 1);

    window->Label5_Click(4);
    key(Qt::Key_Up);
    EXPECT_EQ(reader(ctl<player::ValueBar>("VolumeBar"))->valueInterface()->currentValue().toInt(), 6);
    key(Qt::Key_Down);
    key(Qt::Key_Down);
    EXPECT_EQ(reader(ctl<player::ValueBar>("VolumeBar"))->valueInterface()->currentValue().toInt(), 4);

    // With the list box or a mode button focused, the arrows still change the volume, and the
    // focus and the mode stay.
    for (QWidget* focused :
         {static_cast<QWidget*>(ctl<QCheckBox>("Check1")), static_cast<QWidget*>(ctl<QRadioButton>("Option1"))}) {
        focused->setFocus();
        key(Qt::Key_Up, Qt::NoModifier, focused);
        EXPECT_EQ(reader(ctl<player::ValueBar>("VolumeBar"))->valueInterface()->currentValue().toInt(), 5);
        key(Qt::Key_Down, Qt::NoModifier, focused);
        EXPECT_EQ(reader(ctl<player::ValueBar>("VolumeBar"))->valueInterface()->currentValue().toInt(), 4);
        EXPECT_TRUE(ctl<QRadioButton>("Option1")->isChecked());
    }

    list1()->setCurrentRow(0);
    key(Qt::Key_Delete);
    EXPECT_EQ(list1()->count(), 2);
    EXPECT_EQ(list1()->item(0)->text(), "1. t02.wav");
    list1()->setCurrentRow(-1);
    key(Qt::Key_Delete);  // nothing selected: the menu's own message
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].text, "You must select first a track from list");
}

TEST_F(KeyboardTest, ListAndHelpKeysOpenWhatTheirButtonsAndMenusOpen)
{
    startWithSongs(1, 2.0);
    for (auto [k, mods, title] : {std::tuple{Qt::Key_O, Qt::ControlModifier, "Open Track List"},
                                  std::tuple{Qt::Key_S, Qt::ControlModifier, "Save List Track"},
                                  std::tuple{Qt::Key_Insert, Qt::NoModifier, "Choose MP3 File"}}) {
        QString shown;
        whenShown<player::Form20>([&](player::Form20& f) {
            shown = f.windowTitle();
            f.Command2_Click();
        });
        key(k, mods);
        EXPECT_EQ(shown, title);
    }
    key(Qt::Key_F1);
    auto* about = window->findChild<about::Form3*>();
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->isVisible());
    about->close();

    // Alt+O and Alt+H pop up the caption menus; Escape closes them.
    for (auto [k, name] : {std::pair{Qt::Key_O, "Mp3"}, std::pair{Qt::Key_H, "help"}}) {
        QString popped;
        QTimer::singleShot(100, [&] {
            if (QWidget* popup = QApplication::activePopupWidget()) {
                popped = popup->objectName();
                popup->close();
            }
        });
        key(k, Qt::AltModifier);
        EXPECT_EQ(popped, name);
    }
}

TEST_F(KeyboardTest, TheSameKeysDriveTheDisc)
{
    startWithDisc();
    auto& cd = *common::globals().CdDevice;
    key(Qt::Key_Space);
    EXPECT_EQ(cd.CheckIfPlaying(), 1);
    key(Qt::Key_PageDown);
    window->Timer2_Timer();
    EXPECT_EQ(cd.GetTmsfPosition().track, 2);
    key(Qt::Key_Right);
    EXPECT_NEAR(window->PositionMs(), 5000, 1000);
    EXPECT_EQ(cd.GetTmsfPosition().track, 2);
    key(Qt::Key_Space);
    EXPECT_NE(cd.CheckIfPlaying(), 1);
    key(Qt::Key_PageUp);
    window->Timer2_Timer();
    EXPECT_EQ(cd.GetTmsfPosition().track, 1);
    key(Qt::Key_Insert);  // no list buttons on the disc: nothing opens
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(KeyboardTest, TabWalksTheButtonsInOrderAndSpaceOrEnterPressesTheFocusedOne)
{
    startWithSongs(2, 4.0);
    QWidget* focused = window.get();
    QStringList walked;
    for (int i = 0; i < 6; ++i) {
        key(Qt::Key_Tab, Qt::NoModifier, focused);
        focused = window->focusWidget();
        walked << focused->objectName();
    }
    EXPECT_EQ(walked, (QStringList{"Image10", "Image8", "Image11", "Image7", "Image24", "Image25"}));  // no Eject for files
    ctl<player::PictureButton>("Image7")->setFocus();
    key(Qt::Key_Return, Qt::NoModifier, ctl<player::PictureButton>("Image7"));
    EXPECT_EQ(window->Tracks().current(), 1);
    window->Image6_Click();
    QKeyEvent held(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString(), true);
    QCoreApplication::sendEvent(ctl<player::PictureButton>("Image7"), &held);  // held down: pressed once only
    EXPECT_EQ(window->Tracks().current(), 0);
    EXPECT_EQ(mediaMode(), "playing");
    ctl<player::PictureButton>("Image11")->setFocus();
    key(Qt::Key_Space, Qt::NoModifier,
        ctl<player::PictureButton>("Image11"));  // the focused Pause, not the window's play/pause
    EXPECT_EQ(mediaMode(), "paused");
    key(Qt::Key_Space, Qt::NoModifier, ctl<player::PictureButton>("Image11"));
    EXPECT_EQ(mediaMode(), "paused");
}
