// The associations window against a store and a desktop of the test's own.

#include "associations/Form9.h"
#include "support/Files.h"
#include "associations/Module1.h"
#include "common/Globals.h"
#include "platform/Dialogs.h"
#include "platform/Registry.h"
#include "shell/ModalDriver.h"
#include "support/DesktopEnv.h"

#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QTest>

using associations::Form9;
namespace reg = platform::registry;

namespace {

class AssociationsTest : public ::testing::Test {
protected:
    testsupport::DesktopEnv desktop;
    std::vector<QString> messages;

    void SetUp() override
    {
        common::globals().LanguageGreek = true;
        platform::setDialogRecorder([this](const platform::DialogCall& call) {
            messages.push_back(call.text);
            return int(platform::AnswerOk);
        });
    }
    void TearDown() override
    {
        platform::setDialogRecorder(nullptr);
        common::globals().LanguageGreek = true;
    }

    static QStringList comboItems(const Form9& w)
    {
        QStringList items;
        for (int i = 0; i < w.Combo1->count(); ++i) items << w.Combo1->itemText(i);
        return items;
    }
    static QStringList listItems(const Form9& w)
    {
        QStringList items;
        for (int i = 0; i < w.List1->count(); ++i) items << w.List1->item(i)->text();
        return items;
    }
    static void choose(Form9& w, const QString& entry)
    {
        const int index = w.Combo1->findText(entry);
        ASSERT_GE(index, 0) << entry.toStdString();
        w.Combo1->setCurrentIndex(index);
        w.Combo1_Click(index);
    }
    static void click(Form9& w, int row)
    {
        w.List1->setCurrentRow(row);
        w.List1_Click();
    }
    static QString value(const QString& key, const QString& name = {}) { return reg::QueryString(key, name).value_or("<none>"); }
    QString defaultFor(const char* mimeType) { return desktop.run("xdg-mime", {"query", "default", mimeType}); }
};

const QStringList AllEntries = {"AudioCD", ".mp3", ".mp2",  ".mid", ".wma",  ".wax", ".wav", ".rmi",
                                ".mov",    ".avi", ".flac", ".ogg", ".opus", ".m4a", ".mkv", ".mp4"};

TEST_F(AssociationsTest, AddingMp3WritesItsKeysMovesItToTheListAndMakesUsTheDesktopDefault)
{
    Form9 w;
    EXPECT_TRUE(common::globals().DialogOpen);
    EXPECT_EQ(comboItems(w), AllEntries);
    EXPECT_EQ(w.List1->count(), 0);
    EXPECT_EQ(w.Combo1->currentText(), "");

    choose(w, ".mp3");
    EXPECT_EQ(w.AssocTypeName, "");  // no type yet
    w.Text1->setText("MP3 song");
    w.Command1_Click();

    EXPECT_EQ(value(".mp3"), "Cantorine_.mp3");
    EXPECT_EQ(value(".mp3", "Content Type"), "Cantorine Audio File");
    EXPECT_EQ(value("Cantorine_.mp3"), "MP3 song");
    EXPECT_EQ(value("Cantorine_.mp3\\Shell\\Open\\Command"), associations::OpenCommandLine());
    EXPECT_TRUE(associations::OpenCommandLine().endsWith("/test_player %1"));
    EXPECT_FALSE(reg::KeyExists("Cantorine_.mp3\\DefaultIcon"));
    EXPECT_EQ(listItems(w), QStringList{".mp3  ##  MP3 song"});
    EXPECT_EQ(comboItems(w).size(), AllEntries.size() - 1);
    EXPECT_FALSE(comboItems(w).contains(".mp3"));
    EXPECT_EQ(w.Text1->text(), "");
    EXPECT_EQ(w.Combo1->currentText(), "");
    EXPECT_EQ(defaultFor("audio/mpeg"), "sonorell.desktop");

    // Clicking it puts it back into the boxes; adding it again is refused.
    click(w, 0);
    EXPECT_EQ(w.Combo1->currentText(), ".mp3");
    EXPECT_EQ(w.Text1->text(), "MP3 song");
    w.Command1_Click();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], QString::fromUtf8("Ήδη υπάρχει συσχέτιση για αυτό το αρχειο."));

    // Delete takes the open command away and the desktop default with it; the rest stays.
    w.Command2_Click();
    EXPECT_EQ(w.List1->count(), 0);
    EXPECT_EQ(comboItems(w), AllEntries);
    EXPECT_EQ(value("Cantorine_.mp3\\Shell\\Open\\Command"), "<none>");
    EXPECT_EQ(value(".mp3"), "Cantorine_.mp3");
    EXPECT_EQ(value("Cantorine_.mp3"), "MP3 song");
    EXPECT_EQ(defaultFor("audio/mpeg"), "");
    w.show();
    w.close();
    EXPECT_FALSE(common::globals().DialogOpen);
}

TEST_F(AssociationsTest, HandledTypesAreFoundWhateverTheLetterCaseAndListedFromTheEndOfTheTable)
{
    for (const auto& [ext, type, command] : {std::tuple{".wav", "wavfile", associations::OpenCommandLine().toUpper()},
                                             std::tuple{".avi", "AVIFile", associations::OpenCommandLine()},
                                             std::tuple{".mov", "movfile", QString("/usr/bin/other %1")}}) {
        reg::CreateKey(ext);
        reg::SetString(ext, "", type);
        reg::CreateKey(QString(type) + "\\shell\\open\\command");
        reg::SetString(type, "", QString(type) + " clip");
        reg::SetString(QString(type) + "\\shell\\open\\command", "", command);
    }
    Form9 w;
    EXPECT_EQ(listItems(w), (QStringList{".avi  ##  AVIFile clip", ".wav  ##  wavfile clip"}));
    EXPECT_TRUE(comboItems(w).contains(".mov"));  // another program's type
    EXPECT_EQ(comboItems(w).size(), AllEntries.size() - 2);

    // Choosing .mov takes over its existing type and description.
    choose(w, ".mov");
    EXPECT_EQ(w.AssocTypeName, "movfile");
    EXPECT_EQ(w.Text1->text(), "movfile clip");
    w.Command1_Click();
    EXPECT_EQ(value("movfile\\Shell\\Open\\Command"), associations::OpenCommandLine());
    EXPECT_EQ(value(".mov"), "movfile");
    EXPECT_EQ(listItems(w), (QStringList{".avi  ##  AVIFile clip", ".mov  ##  movfile clip", ".wav  ##  wavfile clip"}));
}

TEST_F(AssociationsTest, DeleteWithoutASelectionDoesNothingAndASecondAddReusesTheTypeName)
{
    Form9 w;
    choose(w, ".mp3");
    w.Text1->setText("first");
    w.Command1_Click();
    const QByteArray before = testsupport::readBytes(reg::StoreFile());
    w.Combo1->setEditText(".mp3");
    w.Command2_Click();
    EXPECT_EQ(w.List1->count(), 1);
    EXPECT_EQ(testsupport::readBytes(reg::StoreFile()), before);

    // With nothing chosen in between, the next Add uses the type of the first.
    w.Combo1->setEditText(".wav");
    w.Text1->setText("second");
    w.Command1_Click();
    EXPECT_EQ(value(".wav"), "Cantorine_.mp3");
    EXPECT_EQ(value("Cantorine_.mp3"), "second");
    EXPECT_EQ(listItems(w), (QStringList{".wav  ##  second", ".mp3  ##  second"}));

    // An empty box adds nothing.
    w.Combo1->setEditText("   ");
    w.Command1_Click();
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(w.List1->count(), 2);
}

TEST_F(AssociationsTest, TheAudioDiscIsRegisteredRecognisedAndRemovedUnderOneKey)
{
    Form9 w;
    choose(w, "AudioCD");
    w.Text1->setText("Audio CD");
    w.Command1_Click();
    EXPECT_EQ(value("AudioCD"), "Cantorine_AudioCD");
    EXPECT_EQ(value("AudioCD", "Content Type"), "AudioCD");
    EXPECT_FALSE(reg::KeyExists(".AudioCD"));
    EXPECT_EQ(value("Cantorine_AudioCD\\Shell\\play\\Command"), associations::PlayCommandLine());
    EXPECT_TRUE(associations::PlayCommandLine().endsWith("/test_player /play"));
    EXPECT_EQ(listItems(w), QStringList{"AudioCD  ##  Audio CD"});
    EXPECT_EQ(defaultFor("x-content/audio-cdda"), "sonorell-cd.desktop");
    EXPECT_EQ(defaultFor("audio/mpeg"), "");

    click(w, 0);
    w.Command2_Click();
    EXPECT_EQ(w.List1->count(), 0);
    EXPECT_EQ(value("Cantorine_AudioCD\\Shell\\play\\Command"), "<none>");
    EXPECT_EQ(defaultFor("x-content/audio-cdda"), "");
}

TEST_F(AssociationsTest, EnglishTextsTypingBlockedAndTheMenuCaptionAsTitle)
{
    common::globals().LanguageGreek = false;
    QString title;
    QStringList texts;
    QString typed;
    whenShown<Form9>([&](Form9& w) {
        title = w.windowTitle();
        texts = {w.Label1[1]->text(), w.Label1[0]->text(), w.Command2->text(), w.Command1->text()};
        QTest::keyClicks(w.Combo1->lineEdit(), ".ogg");
        QTest::keyClicks(w.Combo1, "x");
        typed = w.Combo1->currentText();
        w.List1->clearSelection();
        w.Combo1->setEditText(".mp3");
        w.Text1->setText("t");
        w.Command1_Click();
        click(w, 0);
        w.Command1_Click();
        w.close();
    });
    associations::ShowAssociations(nullptr, "File Formats");
    EXPECT_EQ(title, "File Formats");
    EXPECT_EQ(texts, (QStringList{"Extension", "Description", "Delete", "Add"}));
    EXPECT_EQ(typed, "");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "This file is already associated.");
    EXPECT_FALSE(common::globals().DialogOpen);
}

}  // namespace

TEST_F(AssociationsTest, DeleteRemovesTheEntryHighlightedWithTheKeyboard)
{
    Form9 w;
    for (const char* entry : {".mp3", ".wav"}) {
        choose(w, entry);
        w.Text1->setText("player");
        w.Command1_Click();
    }
    ASSERT_EQ(w.List1->count(), 2);
    click(w, 0);
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QCoreApplication::sendEvent(w.List1, &down);
    ASSERT_EQ(w.List1->currentRow(), 1);
    const QString highlighted = w.List1->item(1)->text();
    w.Command2_Click();
    ASSERT_EQ(w.List1->count(), 1);
    EXPECT_NE(w.List1->item(0)->text(), highlighted);
}

TEST_F(AssociationsTest, TodaysFormatsAreBridgedToTheDesktopLikeTheOthers)
{
    Form9 w;
    for (const char* entry : {".flac", ".ogg", ".opus", ".m4a", ".mkv", ".mp4"}) {
        choose(w, entry);
        w.Text1->setText(QStringLiteral("%1 file").arg(entry));
        w.Command1_Click();
    }
    EXPECT_EQ(w.List1->count(), 6);
    for (const char* type :
         {"audio/flac", "audio/ogg", "audio/x-vorbis+ogg", "audio/x-opus+ogg", "audio/mp4", "video/x-matroska", "video/mp4"})
        EXPECT_EQ(defaultFor(type), "sonorell.desktop") << type;
    click(w, w.List1->count() - 1);  // listed from the end of the table: .flac is last
    EXPECT_EQ(w.Combo1->currentText(), ".flac");
    w.Command2_Click();
    EXPECT_EQ(defaultFor("audio/flac"), "");
    EXPECT_EQ(defaultFor("audio/x-opus+ogg"), "sonorell.desktop");
}
