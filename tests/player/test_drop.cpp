// Dragging files, folders and playlists from a file manager onto the window and its list.

#include "support/PlayerFixture.h"
#include "support/Files.h"
#include "support/Controls.h"
#include "platform/FileNames.h"
#include "media/CDAudio.h"
#include "player/MessagesRun.h"
#include "shell/Windows.h"

#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QRadioButton>
#include <QUrl>

using fixtures::Media;

namespace {

class DropTest : public PlayerTest {
protected:
    void SetUp() override
    {
        PlayerTest::SetUp();
        root = QString::fromStdString(media.path());
        QDir(root).mkpath("album");
        for (const char* name : {"album/x.wav", "album/y.wav", "single.wav", "listed.wav"})
            fixtures::makeMedia(media.path(), Media::Wav8Mono, 0.5, name);
    }
    // The drag as a file manager sends it: enter, a move over the widget, then the drop.
    bool drag(QWidget* target, const QList<QUrl>& urls)
    {
        QMimeData data;
        data.setUrls(urls);
        const QPoint at = target->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &move);
        if (!move.isAccepted()) return false;
        QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &drop);
        return drop.isAccepted();
    }
    QUrl local(const char* name) const { return QUrl::fromLocalFile(root + "/" + name); }
    QString root;
};

}  // namespace

TEST_F(DropTest, FilesAndFoldersAreAddedInTheOrderDroppedOnTheWindowOrItsList)
{
    start();
    ASSERT_TRUE(drag(window.get(), {local("single.wav"), local("album")}));
    ASSERT_EQ(list1()->count(), 3);
    EXPECT_EQ(combo1()->itemText(0), root + "/single.wav");
    QStringList folder{combo1()->itemText(1), combo1()->itemText(2)};
    folder.sort();
    EXPECT_EQ(folder, (QStringList{root + "/album/x.wav", root + "/album/y.wav"}));
    EXPECT_EQ(shown("Label2"), "3 tracks.");
    EXPECT_EQ(window->Tracks().current(), 0);  // loaded, not playing

    ASSERT_TRUE(drag(list1()->viewport(), {local("listed.wav")}));
    EXPECT_EQ(entries().last(), "4. listed.wav");
    EXPECT_TRUE(dialogs.empty());
}

TEST_F(DropTest, APlaylistIsOpenedAsOpenListOpensIt)
{
    fixtures::writeFile(media.path(), "mine.m3u8", "#EXTM3U\n#EXTINF:1,Listed\nlisted.wav\nhttp://radio/x\n");
    writeList({root + "/single.wav", root + "/album/x.wav"});
    start();
    ASSERT_EQ(list1()->count(), 2);
    ASSERT_TRUE(drag(window.get(), {local("mine.m3u8")}));
    EXPECT_EQ(entries(), QStringList{"1. listed.wav"});
    EXPECT_EQ(shown("Label2"), "Tracks: 1");
    EXPECT_EQ(shown("Label1"), "listed.wav");

    fixtures::writeFile(media.path(), "dead.m3u", "/nowhere/a.mp3\n");
    ASSERT_TRUE(drag(window.get(), {local("dead.m3u")}));
    EXPECT_EQ(shown("Label1"), "No list");
}

// Dropped together with files, a playlist adds its entries among them: nothing dropped is lost.
TEST_F(DropTest, APlaylistDroppedWithFilesAddsItsEntriesInTheOrderDropped)
{
    fixtures::writeFile(media.path(), "mine.m3u8", "#EXTM3U\nlisted.wav\n");
    start();
    ASSERT_TRUE(drag(window.get(), {local("single.wav"), local("mine.m3u8"), local("album/x.wav")}));
    EXPECT_EQ(combo1()->count(), 3);
    EXPECT_EQ(combo1()->itemText(0), root + "/single.wav");
    EXPECT_EQ(combo1()->itemText(1), root + "/listed.wav");
    EXPECT_EQ(combo1()->itemText(2), root + "/album/x.wav");
}

TEST_F(DropTest, WhatIsNotALocalFileIsRefused)
{
    start();
    EXPECT_FALSE(drag(window.get(), {QUrl("https://example.org/song.mp3")}));
    EXPECT_FALSE(drag(window.get(), {QUrl::fromLocalFile(root + "/gone.wav")}));
    QMimeData text;
    text.setText("/some/path.mp3");
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &enter);
    EXPECT_FALSE(enter.isAccepted());
    EXPECT_EQ(list1()->count(), 0);
}

TEST_F(DropTest, ADropInCdModeChangesToMediaFirst)
{
    const auto disc = insertDisc({150, 150});
    writeList({root + "/album/x.wav"});
    start();
    ctl<QRadioButton>("Option2")->click();
    ASSERT_FALSE(common::InMediaMode());
    ASSERT_TRUE(drag(window.get(), {local("single.wav")}));
    EXPECT_TRUE(common::InMediaMode());
    EXPECT_TRUE(ctl<QRadioButton>("Option1")->isChecked());
    // The media list comes back as choosing the mode brings it, and the drop goes after it.
    EXPECT_EQ(entries(), (QStringList{"1. x.wav", "2. single.wav"}));
}

// Paths handed over from outside: a playlist's entries, a folder's files and a file become the
// list (or follow it), the first of them plays, and a disc on show gives way to media mode.
TEST_F(DropTest, PathsFromOutsideReplaceOrFollowTheListAndTheFirstPlays)
{
    ASSERT_TRUE(testsupport::writeBytes(root + "/mix.m3u", "#EXTM3U\nlisted.wav\nmissing.wav\n"));
    const fixtures::DiscImage disc = insertDisc({150, 150});
    start();
    ASSERT_FALSE(common::InMediaMode());

    window->OpenPaths({root + "/mix.m3u", root + "/single.wav", root + "/nowhere.wav"}, player::Form1::Opening::Replace);
    EXPECT_TRUE(common::InMediaMode());
    EXPECT_EQ(window->Tracks().paths(), (QStringList{root + "/listed.wav", root + "/single.wav"}));
    EXPECT_EQ(window->Tracks().current(), 0);
    EXPECT_EQ(ModuleMCI::GetMediaMode(common::MediaAlias), "playing");

    window->OpenPaths({root + "/album"}, player::Form1::Opening::Add);
    EXPECT_EQ(window->Tracks().count(), 4);
    EXPECT_EQ(window->Tracks().current(), 2);  // the folder's first file
    EXPECT_EQ(window->Tracks().path(2).section('/', 0, -2), root + "/album");
    EXPECT_EQ(shown("Label2"), "Tracks: 4");

    window->OpenPaths({root + "/nowhere.wav"}, player::Form1::Opening::Replace);  // nothing to open: nothing changes
    EXPECT_EQ(window->Tracks().count(), 4);
    EXPECT_TRUE(dialogs.empty());
}

// Paths from outside while a message box or chooser has the window are opened once it is closed.
TEST_F(DropTest, PathsFromOutsideWaitForAMessageBoxToClose)
{
    start();
    {
        player::MessagesRun messageBox;
        shell::OpenFromOutside(*window, {root + "/single.wav"});
        wait(500);
        EXPECT_FALSE(window->Tracks().paths().contains(root + "/single.wav"));
    }
    ASSERT_TRUE(waitFor([&] { return window->Tracks().paths().contains(root + "/single.wav"); }));
    EXPECT_EQ(ModuleMCI::GetMediaMode(common::MediaAlias), "playing");
}

// The command line's paths stand for the default list at start, with a disc in the drive too: the
// default list is not read first.
TEST_F(DropTest, PathsAtStartAreTheListInsteadOfTheDefaultOne)
{
    writeList({root + "/listed.wav"});
    const fixtures::DiscImage disc = insertDisc({150, 150});
    window = std::make_unique<player::Form1>(QString(), [](player::Form1* m) { return new shell::Form5(m); });
    window->OpenAtStart({root + "/album"});
    window->Start();
    EXPECT_TRUE(common::InMediaMode());
    ASSERT_EQ(window->Tracks().count(), 2);
    EXPECT_EQ(window->Tracks().path(0).section('/', 0, -2), root + "/album");
    EXPECT_EQ(ModuleMCI::GetMediaMode(common::MediaAlias), "playing");
}

// A file manager sends a Latin-1 name percent-escaped: the file is found by its bytes.
TEST_F(DropTest, ADroppedNameThatIsNotUtf8IsTheFileItNames)
{
    const std::string latin = media.path() + "/caf\xe9.wav";
    std::filesystem::copy_file(media.path() + "/single.wav", latin);
    start();
    ASSERT_TRUE(drag(window.get(), {QUrl::fromEncoded(QUrl::fromLocalFile(root).toEncoded() + "/caf%E9.wav")}));
    ASSERT_EQ(window->Tracks().count(), 1);
    EXPECT_EQ(platform::EncodeFileName(window->Tracks().path(0)), QByteArray::fromStdString(latin));
}

// A later start's play switch (the desktop's action for an audio disc put in): the disc plays from
// track one in place of the file playing, and the window stays hidden as it was; without a disc,
// or while another window has the player's, the player only comes forward.
TEST_F(DropTest, ThePlaySwitchOfALaterStartPlaysTheDiscFromTrackOne)
{
    const auto song = fixtures::makeMedia(media.path(), Media::Wav8Mono, 5.0, "long.wav");
    const auto disc = insertDisc({750, 750, 750});
    std::filesystem::rename(disc.cue, disc.cue + ".out");  // the drive empty
    start();
    window->OpenPaths({QString::fromStdString(song.path)}, player::Form1::Opening::Replace);
    shell::OpenFromOutside(*window, {"--play"});
    EXPECT_EQ(mediaMode(), "playing");
    EXPECT_TRUE(window->isVisible());
    window->hide();
    std::filesystem::rename(disc.cue + ".out", disc.cue);  // a disc put in
    QWidget* about = shell::OpenAbout(*window, {});        // a window that has the main one meanwhile
    shell::OpenFromOutside(*window, {"--play"});
    EXPECT_TRUE(common::InMediaMode());
    EXPECT_EQ(mediaMode(), "playing");
    about->close();
    shell::OpenFromOutside(*window, {"--play"});
    EXPECT_FALSE(common::InMediaMode());
    EXPECT_TRUE(ctl<QRadioButton>("Option2")->isChecked());
    auto& cd = *common::globals().CdDevice;
    EXPECT_EQ(cd.CheckIfPlaying(), 1);
    EXPECT_EQ(cd.GetTmsfPosition().track, 1);
    EXPECT_NE(mediaMode(), "playing");
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(QString::fromUtf8(read("Default.list")), QString::fromStdString(song.path) + "\r\n");

    window->Image4_Click();
    ASSERT_EQ(cd.GetTmsfPosition().track, 2);
    shell::OpenFromOutside(*window, {"--play"});
    EXPECT_EQ(cd.GetTmsfPosition().track, 1);
    EXPECT_EQ(cd.CheckIfPlaying(), 1);

    std::filesystem::rename(disc.cue, disc.cue + ".out");  // taken out
    window->Timer2_Timer();
    shell::OpenFromOutside(*window, {"--play"});
    EXPECT_TRUE(window->isVisible());
    std::filesystem::rename(disc.cue + ".out", disc.cue);  // put back, not yet seen by the tick
    shell::OpenFromOutside(*window, {"--play"});
    EXPECT_EQ(cd.GetTmsfPosition().track, 1);
    EXPECT_EQ(cd.CheckIfPlaying(), 1);
    EXPECT_EQ(list1()->count(), 3);
    EXPECT_TRUE(dialogs.empty());
}
