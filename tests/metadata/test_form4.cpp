// The tracks-info window on generated MP3 files: what it shows, what typing may do, what Save writes.

#include "support/PlayerFixture.h"
#include "metadata/Form4.h"
#include "metadata/Mp3Tag_Functions.h"
#include "shell/Windows.h"
#include "support/Text.h"
#include "support/Controls.h"

#include <QApplication>
#include <QKeyEvent>
#include <QProcess>

#include <filesystem>
#include <fstream>

using fixtures::Media;
using namespace Mp3Tag_Functions;

namespace {

using testsupport::q;

// mutagen's reading of the file's ID3v1 title and genre, one per line.
QStringList mutagenTitleAndGenre(const QString& path)
{
    QProcess p;
    p.start("/usr/bin/python3", {"-c",
                                 "import sys\nfrom mutagen.id3._id3v1 import find_id3v1\n"
                                 "f = open(sys.argv[1], 'rb')\nframes, offset = find_id3v1(f)\n"
                                 "print(frames['TIT2'].text[0] if 'TIT2' in frames else '')\n"
                                 "print(frames['TCON'].text[0] if 'TCON' in frames else '')\n",
                                 path});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput()).split('\n');
}

void type(QWidget* box, const QString& text, int key = 0)
{
    QKeyEvent press(QEvent::KeyPress, key ? key : Qt::Key_A, Qt::NoModifier, text);
    QCoreApplication::sendEvent(box, &press);
}

}  // namespace

class TracksInfoTest : public PlayerTest {
protected:
    void SetUp() override
    {
        PlayerTest::SetUp();
        const auto song = fixtures::makeMedia(media.path(), Media::Mp3Cbr, 1.0, "seed.mp3");
        for (int i = 1; i <= 4; ++i) {
            songs << q(media.path()) + QStringLiteral("/song%1.mp3").arg(i);
            QFile::copy(q(song.path), songs.last());
        }
        TagRecord tag = BlankTag();
        SetField(tag.Title, "Tagged");
        SetFieldBytes(tag.Genre, std::string(1, char(32)));
        ASSERT_TRUE(WriteTag(songs[1], tag));
        writeList(songs);
        start();
    }
    metadata::Form4& open()
    {
        shell::OpenTracksInfo(*window, "&Tracks Info");
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* f = qobject_cast<metadata::Form4*>(w); f && f->isVisible()) info = f;
        EXPECT_FALSE(info.isNull());
        return *info;
    }
    void TearDown() override
    {
        if (info) info->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        PlayerTest::TearDown();
    }
    QStringList songs;
    QPointer<metadata::Form4> info;
};

TEST_F(TracksInfoTest, AnUntaggedFileShowsBlanksAndSavesOther)
{
    metadata::Form4& f = open();
    EXPECT_EQ(f.windowTitle(), "&Tracks Info");
    EXPECT_FALSE(window->isEnabled());
    EXPECT_EQ(f.Combo2->currentIndex(), 0);
    EXPECT_EQ(f.Label1->text(), "Title:");
    EXPECT_EQ(f.Text2->text(), "");
    EXPECT_EQ(f.Text1->currentText(), " ");
    EXPECT_EQ(f.Label7->text(), QString::number(QFileInfo(songs[0]).size()) + " bytes.");
    EXPECT_EQ(f.Label8->text(), "128Kbit");
    EXPECT_EQ(f.Label9->text(), "44Khz");
    EXPECT_EQ(f.Text1->count(), 126);
    f.Command4_Click();
    EXPECT_EQ(mutagenTitleAndGenre(songs[0]).value(1), "12");  // Other
    EXPECT_EQ(list1()->item(0)->text(), "1. song1.mp3");       // no title: named as a load names it
    f.Command3_Click();
    EXPECT_TRUE(window->isEnabled());
    EXPECT_FALSE(common::globals().DialogOpen);
}

TEST_F(TracksInfoTest, ATaggedClassicalFileKeepsItsGenre)
{
    window->UpdateMP3(1, false);
    metadata::Form4& f = open();
    EXPECT_EQ(f.Text2->text(), "Tagged");
    EXPECT_EQ(f.Text1->currentText(), "Classical");
    f.Text2->setText("Tagged, typo fixed");
    f.Command4_Click();
    EXPECT_EQ(mutagenTitleAndGenre(songs[1]), (QStringList{"Tagged, typo fixed", "32", ""}));  // Classical
}

TEST_F(TracksInfoTest, SavingRenamesTheEntryInBothLists)
{
    ctl<QLabel>("Label10")->clear();
    metadata::Form4& f = open();
    EXPECT_EQ(f.Combo2->currentIndex(), 0);
    f.Combo2->setCurrentIndex(3);
    f.Combo2_Click();
    EXPECT_EQ(f.ShownTrackIndex, 3);
    f.Text2->setText("   Word   ");
    f.Text3->setText("Someone");
    f.Text1->setCurrentIndex(17);  // chosen from the list
    f.Command4_Click();
    EXPECT_EQ(f.Combo2->itemText(3), "4. Word");
    EXPECT_EQ(list1()->item(3)->text(), "4. Word");
    const TagRecord tag = ReadTag(songs[3]);
    EXPECT_EQ(FieldText(tag.Title), "   Word" + QString(23, ' '));
    EXPECT_EQ(uint8_t(tag.Genre[0]), 17);
    EXPECT_TRUE(dialogs.empty());
}

TEST_F(TracksInfoTest, TypingStopsAtEachFieldsWidth)
{
    metadata::Form4& f = open();
    f.Text2->setText(QString(30, 'x'));
    f.Text2->deselect();
    type(f.Text2, "y");
    EXPECT_EQ(f.Text2->text(), QString(30, 'x'));
    type(f.Text2, "", Qt::Key_Backspace);
    EXPECT_EQ(f.Text2->text().size(), 29);
    f.Text2->setText(QString(30, 'x'));
    f.Text2->selectAll();
    type(f.Text2, "y");  // a selection is typed over
    EXPECT_EQ(f.Text2->text(), "y");
    f.Text6->setText(QString(29, 'c'));
    f.Text6->deselect();
    type(f.Text6, "d");
    EXPECT_EQ(f.Text6->text().size(), 29);
    f.Text5->setText("1999");
    f.Text5->deselect();
    type(f.Text5, "9");
    EXPECT_EQ(f.Text5->text(), "1999");
    const QString genre = f.Text1->currentText();
    type(f.Text1->lineEdit(), "z");
    EXPECT_EQ(f.Text1->currentText(), genre);
}

// Padded with NUL bytes by another tagger: the title is its text, and typing goes on after it.
TEST_F(TracksInfoTest, ATitlePaddedWithNulsIsShownAndTypedOnAsItsText)
{
    TagRecord tag = BlankTag();
    std::string title("Song A");
    title.resize(30, '\0');
    SetFieldBytes(tag.Title, title);
    ASSERT_TRUE(WriteTag(songs[2], tag));
    metadata::Form4& f = open();
    f.Combo2->setCurrentIndex(2);
    f.Combo2_Click();
    EXPECT_EQ(f.Text2->text(), "Song A");
    f.Text2->end(false);
    type(f.Text2, "!");
    EXPECT_EQ(f.Text2->text(), "Song A!");
}

TEST_F(TracksInfoTest, AFileThatCannotBeWrittenSaysSo)
{
    metadata::Form4& f = open();
    QFile::remove(songs[0]);
    f.Text2->setText("lost");
    f.Command4_Click();
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].text, "No saved.");
    EXPECT_EQ(list1()->item(0)->text(), "1. song1.mp3");
    EXPECT_EQ(f.Text2->text(), "lost");
}

// A file named on an older system (Latin-1 "café"): its size and tag are those of that file.
TEST_F(TracksInfoTest, AFileWhoseNameIsNotUtf8ShowsItsSizeAndSavesItsTag)
{
    stop();
    const std::string bytes = media.path() + "/caf\xe9.mp3";
    std::filesystem::copy_file(songs[0].toStdString(), bytes);
    writeList({platform::DecodeFileName(QByteArray::fromStdString(bytes))});
    start();
    metadata::Form4& f = open();
    EXPECT_EQ(f.Label7->text(), QString::number(QFileInfo(songs[0]).size()) + " bytes.");
    f.Text2->setText("Caf");
    f.Command4_Click();
    EXPECT_TRUE(dialogs.empty());
    std::ifstream file(bytes, std::ios::binary | std::ios::ate);
    std::string tag(128, '\0');
    file.seekg(-128, std::ios::end);
    file.read(tag.data(), 128);
    EXPECT_EQ(tag.substr(0, 33), "TAGCaf" + std::string(27, ' '));
}

// A file tagged the way most are today, with an ID3v2 tag and no ID3v1: a year typed and saved
// alone leaves the entry named after the ID3v2 title, as it is named again when the list loads.
TEST_F(TracksInfoTest, AYearSavedAloneOnAnId3v2FileKeepsItsTitleInTheList)
{
    fixtures::tagWithMutagen(songs[2].toStdString(), "id3v2.4", "Ένα", "Band", "Album");
    stop();
    start();
    EXPECT_EQ(list1()->item(2)->text(), QString::fromUtf8("3. Ένα"));
    metadata::Form4& f = open();
    f.Combo2->setCurrentIndex(2);
    f.Combo2_Click();
    EXPECT_EQ(f.Text2->text(), "");  // the ID3v1 tag's, which it has not
    f.Text5->setText("1999");
    f.Command4_Click();
    EXPECT_EQ(FieldText(ReadTag(songs[2]).Year), "1999");
    EXPECT_EQ(list1()->item(2)->text(), QString::fromUtf8("3. Ένα"));
    f.close();
    stop();
    start();
    EXPECT_EQ(list1()->item(2)->text(), QString::fromUtf8("3. Ένα"));
}
