// Disc titles from the catalogue in the main window, and the title editor that files them.

#include "support/PlayerFixture.h"
#include "support/Files.h"
#include "catalogue/Disk_Volume.h"
#include "catalogue/Form2.h"
#include "platform/Profile.h"
#include "platform/Settings.h"
#include "platform/cdrom/Disc.h"
#include "support/Controls.h"

#include <QFile>
#include <QKeyEvent>

class TitlesTest : public PlayerTest {
protected:
    // A disc of the given tracks in the drive; its catalogue section name.
    QString insertDisc(const std::vector<int>& frames, const std::string& name = "disc")
    {
        disc = PlayerTest::insertDisc(frames, name);
        return QString::number(int32_t(platform::cdrom::DiscSerialOf(disc.cue)));
    }
    void writeCatalogue(const QByteArray& bytes) { ASSERT_TRUE(testsupport::writeBytes(file("CdRoms.ini"), bytes)); }
    catalogue::Form2& openEditor()
    {
        editor = catalogue::OpenTitleEditor(*window, "&Edit List");
        return *editor;
    }
    fixtures::DiscImage disc;
    QPointer<catalogue::Form2> editor;
};

TEST_F(TitlesTest, AnUnknownDiscGetsNumberedTitlesInEitherLanguage)
{
    insertDisc(std::vector<int>(12, 75));
    start();
    ASSERT_EQ(list1()->count(), 12);
    EXPECT_EQ(list1()->item(0)->text(), "1. Track 1");
    EXPECT_EQ(list1()->item(11)->text(), "12. Track 12");
    EXPECT_EQ(shown("Label200"), "New Artist");
    EXPECT_EQ(shown("Label201"), "New Album");
    EXPECT_EQ(shown("Label2"), " CD Time: 00:12");
    EXPECT_EQ(shown("Label1"), "Track 1");  // the current track shown at the end
    stop();

    platform::SaveSetting("Sonorell", "LANGUAGE", "True");
    start();
    EXPECT_EQ(list1()->item(2)->text(), QString::fromUtf8("3. Τραγούδι 3"));
    EXPECT_EQ(shown("Label200"), QString::fromUtf8("Νέος Καλλιτέχνης"));
    EXPECT_EQ(shown("Label2"), QString::fromUtf8(" Διάρκεια CD: 00:12"));
}

TEST_F(TitlesTest, AKnownDiscShowsItsTitlesAndOneMissingTitleBringsBackTheDefaults)
{
    const QString section = insertDisc({150, 150, 150});
    writeCatalogue("[" + section.toUtf8() +
                   "]\r\nartist=Band\r\nAlbum=Record\r\nTrack1=Morning\r\nTrack2=\r\n"
                   "TRACK3=Night ######## watch\r\n");
    start();
    EXPECT_EQ(common::globals().DiscSerial, section.toInt());
    // An empty title is a title; one with eight "#" counts as missing.
    EXPECT_EQ(entries(), (QStringList{"1. Morning", "2. ", "3. Track 3"}));
    EXPECT_EQ(shown("Label200"), "New Artist");
    EXPECT_EQ(shown("Label201"), "New Album");
    stop();

    writeCatalogue("[" + section.toUtf8() + "]\r\nartist=Band\r\nTrack1=Morning\r\nTrack2=Noon\r\nTrack3=Night\r\n");
    start();
    EXPECT_EQ(entries(), (QStringList{"1. Morning", "2. Noon", "3. Night"}));
    EXPECT_EQ(shown("Label200"), "Band");
    EXPECT_EQ(shown("Label201"), "###########");  // every title there: the album as read
    EXPECT_EQ(shown("Label1"), "Morning");
}

TEST_F(TitlesTest, TheEditorFilesANewDiscInKeyOrderAndTheTitlesComeBack)
{
    const QString section = insertDisc({150, 150, 150});
    start();
    catalogue::Form2& f = openEditor();
    EXPECT_FALSE(window->isEnabled());
    EXPECT_TRUE(f.isEnabled());  // its own window stays usable while the main one is disabled
    EXPECT_TRUE(common::globals().DialogOpen);
    EXPECT_EQ(f.windowTitle(), "&Edit List");
    EXPECT_EQ(f.Command1->text(), "Add");
    ASSERT_EQ(f.Combo1->count(), 3);
    EXPECT_EQ(f.Text1->text(), "Track 1");
    for (const char* title : {"Dawn", "Day", "Dusk"}) {
        f.Text1->setText(title);
        emit f.Text1->returnPressed();
    }
    EXPECT_EQ(f.Combo1->currentRow(), 2);  // Enter on the last line stays there
    EXPECT_EQ(f.Text1->text(), "Dusk");
    f.Command10_Click();
    EXPECT_TRUE(editor.isNull() || !editor->isVisible());
    EXPECT_TRUE(window->isEnabled());
    EXPECT_FALSE(common::globals().DialogOpen);
    EXPECT_EQ(read("CdRoms.ini"),
              "[" + section.toUtf8() + "]\r\nArtist=\r\nAlbum=\r\nTrack1=Dawn\r\nTrack2=Day\r\nTrack3=Dusk\r\n");
    EXPECT_EQ(entries(), (QStringList{"1. Dawn", "2. Day", "3. Dusk"}));
    EXPECT_EQ(shown("Label200"), "");
    EXPECT_EQ(shown("Label1"), "Dawn");
    stop();

    start();
    EXPECT_EQ(entries(), (QStringList{"1. Dawn", "2. Day", "3. Dusk"}));
    EXPECT_EQ(shown("Label200"), "");  // stored empty, shown empty
}

// Titles found while the editor is open (CD-Text, the disc database) are not written over by
// the placeholders it showed; what the person typed is filed.
TEST_F(TitlesTest, TitlesFoundWhileEditingSurviveOkAndTheEditsAreFiled)
{
    const QString section = insertDisc({150, 150, 150});
    start();
    catalogue::Form2& f = openEditor();
    platform::WritePrivateProfileStrings(section, {{"Artist", "Found band"}, {"Track2", "Found two"}}, file("CdRoms.ini"));
    f.Text1->setText("Mine");
    emit f.Text1->returnPressed();
    f.Command10_Click();
    const auto stored = [&](const char* key) {
        return platform::GetPrivateProfileString(section, key, "<none>", file("CdRoms.ini"));
    };
    EXPECT_EQ(stored("Track1"), "Mine");
    EXPECT_EQ(stored("Track2"), "Found two");
    EXPECT_EQ(stored("Artist"), "Found band");
    EXPECT_EQ(entries().value(1), "2. Found two");
}

// The boxes show the artist and album filed for the disc: OK after putting one title right keeps
// them, where empty boxes would have filed them empty.
TEST_F(TitlesTest, OkAfterOneTitleKeepsTheFiledArtistAndAlbum)
{
    const QString section = insertDisc({150, 150});
    writeCatalogue("[" + section.toUtf8() + "]\r\nArtist=Band\r\nAlbum=Record\r\nTrack1=Mornin\r\nTrack2=Noon\r\n");
    start();
    catalogue::Form2& f = openEditor();
    EXPECT_EQ(f.Text2->text(), "Band");
    EXPECT_EQ(f.Text3->text(), "Record");
    f.Text1->setText("Morning");
    emit f.Text1->returnPressed();
    f.Command10_Click();
    EXPECT_EQ(read("CdRoms.ini"),
              "[" + section.toUtf8() + "]\r\nArtist=Band\r\nAlbum=Record\r\nTrack1=Morning\r\nTrack2=Noon\r\n");
    EXPECT_EQ(shown("Label200"), "Band");
}

TEST_F(TitlesTest, CancelLeavesTheCatalogueAsItWas)
{
    const QString section = insertDisc({150, 150});
    const QByteArray before = "; mine\n[" + section.toUtf8() + "]\nTrack1=A\nTrack2=B\n";
    writeCatalogue(before);
    start();
    catalogue::Form2& f = openEditor();
    EXPECT_EQ(f.Text1->text(), "A");
    f.Text1->setText("changed");
    emit f.Text1->returnPressed();
    f.Text2->setText("Someone");
    f.Command11_Click();
    EXPECT_EQ(read("CdRoms.ini"), before);
    EXPECT_TRUE(window->isEnabled());
    EXPECT_EQ(list1()->item(0)->text(), "1. A");
}

TEST_F(TitlesTest, ADiscChangedWhileEditingIsNotWrittenOver)
{
    const QString first = insertDisc({150, 150, 150}, "first");
    const QByteArray before = "[" + first.toUtf8() + "]\r\nArtist=First\r\nAlbum=One\r\nTrack1=a\r\nTrack2=b\r\nTrack3=c\r\n";
    writeCatalogue(before);
    start();
    catalogue::Form2& f = openEditor();
    f.Text1->setText("edited");
    emit f.Text1->returnPressed();
    const auto other = fixtures::makeDiscImage(media.path(), {300, 300, 300}, "second");
    std::filesystem::rename(other.cue, disc.cue);  // another disc in the drive
    f.Command10_Click();
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].text, "The disc in the drive has changed. The titles were not saved.");
    EXPECT_EQ(read("CdRoms.ini"), before);
    ASSERT_FALSE(editor.isNull());
    EXPECT_TRUE(editor->isVisible());  // the edits are still there
    EXPECT_EQ(f.Combo1->item(0)->text(), "edited");
    f.Command11_Click();
}

// The main tick notices the other disc (and reloads its titles) before OK is pressed.
TEST_F(TitlesTest, ADiscSwappedAndSeenByTheTickWhileEditingGetsNothing)
{
    const QString first = insertDisc({150, 150, 150}, "first");
    start();
    catalogue::Form2& f = openEditor();
    f.Text2->setText("Artist of the first");
    const std::string kept = disc.cue + ".out";
    std::filesystem::rename(disc.cue, kept);  // ejected
    window->Timer2_Timer();
    const auto other = fixtures::makeDiscImage(media.path(), {300, 300, 300}, "second");
    std::filesystem::rename(other.cue, disc.cue);  // another disc in
    window->Timer2_Timer();
    const QByteArray before = read("CdRoms.ini");
    f.Command10_Click();
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(read("CdRoms.ini"), before);
    EXPECT_NE(shown("Label200"), "Artist of the first");
    f.Command11_Click();
}

TEST_F(TitlesTest, ASelectionMovedWithTheKeyboardActsAsAClick)
{
    insertDisc({150, 150, 150});
    start();
    catalogue::Form2& f = openEditor();
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QCoreApplication::sendEvent(f.Combo1, &down);
    ASSERT_EQ(f.Combo1->currentRow(), 1);
    EXPECT_EQ(f.Text1->text(), "Track 2");
    f.Text1->setText("Second");
    f.Command1_Click();  // Add writes the highlighted line, not the one clicked before
    EXPECT_EQ(f.Combo1->item(1)->text(), "Second");
    EXPECT_EQ(f.Combo1->item(0)->text(), "Track 1");
    f.Command11_Click();
}
