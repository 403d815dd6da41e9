// The track list on its own: numbering, what follows what, and the signals its views follow.

#include "player/TrackList.h"

#include <gtest/gtest.h>

#include <QSignalSpy>

using player::TrackList;

namespace {

void fill(TrackList& list, int n)
{
    QStringList files, titles;
    for (int i = 1; i <= n; ++i) {
        files << QStringLiteral("/m/%1.wav").arg(i);
        titles << QStringLiteral("T%1").arg(i);
    }
    list.setFiles(files, titles);
}

}  // namespace

TEST(TrackList, RemovingNumbersEveryLineAgainButADroppedFileLeavesTheNumbersAlone)
{
    TrackList list;
    list.setFiles({"/m/a", "/m/b", "/m/c", "/m/d"}, {"A", "B.mp3", "C", ""});
    EXPECT_EQ(list.lines(), QStringList({"1. A", "2. B.mp3", "3. C", "4. "}));
    list.dropFailed(1);
    EXPECT_EQ(list.lines(), QStringList({"1. A", "3. C", "4. "}));
    EXPECT_EQ(list.paths(), QStringList({"/m/a", "/m/c", "/m/d"}));
    list.appendFiles({"/nowhere/e.wav"});  // numbered by the count when added, as a user saw it
    EXPECT_EQ(list.line(3), "4. e.wav");
    list.remove(0);
    EXPECT_EQ(list.lines(), QStringList({"1. C", "2. ", "3. e.wav"}));
    list.setTitle(1, "D");
    EXPECT_EQ(list.line(1), "2. D");
    EXPECT_EQ(list.line(7), "");
    EXPECT_EQ(list.path(-1), "");
}

TEST(TrackList, TheSuccessorWrapsExceptWhenOneFilePlaysAlone)
{
    TrackList empty;
    EXPECT_FALSE(empty.successor());
    EXPECT_FALSE(empty.next());
    EXPECT_FALSE(empty.previous());

    TrackList list;
    fill(list, 3);
    list.setCurrent(0);
    EXPECT_EQ(list.successor(), 1);
    EXPECT_FALSE(list.previous());
    list.setCurrent(2);
    EXPECT_EQ(list.successor(), 0);
    EXPECT_FALSE(list.next());
    EXPECT_EQ(list.previous(), 1);
    list.remove(2);  // the current entry was the last: what follows is the first again
    EXPECT_EQ(list.successor(), 0);

    TrackList one;
    fill(one, 1);
    EXPECT_EQ(one.successor(), 0);  // a list of one plays it again
    one.setSingleFile();
    EXPECT_FALSE(one.successor());
}

// Removing entries keeps the current one on the file loaded. Removed itself (it plays on), the
// entry that followed it comes next, not the one after that.
TEST(TrackList, RemovalsKeepTheCurrentEntryOnItsFileAndSkipNothing)
{
    TrackList list;
    fill(list, 5);
    list.setCurrent(2);
    list.remove(0);
    EXPECT_EQ(list.currentPath(), "/m/3.wav");
    EXPECT_EQ(list.successor(), 2);
    list.remove(3);  // after it: nothing moves
    EXPECT_EQ(list.currentPath(), "/m/3.wav");
    list.dropFailed(list.current());
    EXPECT_TRUE(list.currentRemoved());
    EXPECT_EQ(list.currentPath(), "/m/3.wav");  // it plays on
    EXPECT_EQ(list.path(*list.next()), "/m/4.wav");
    EXPECT_EQ(list.path(*list.successor()), "/m/4.wav");
    EXPECT_EQ(list.path(*list.previous()), "/m/2.wav");
    list.remove(list.current());           // the last: what follows is the first
    EXPECT_EQ(list.currentTitle(), "T3");  // still the file that plays, not the entry that followed
    EXPECT_FALSE(list.next());
    EXPECT_EQ(list.successor(), 0);
    list.setCurrent(0);
    EXPECT_FALSE(list.currentRemoved());
    EXPECT_EQ(list.successor(), 0);
}

TEST(TrackList, DiscTracksHaveLinesAndNoFiles)
{
    TrackList list;
    fill(list, 2);
    QSignalSpy reset(&list, &TrackList::reset);
    list.setDiscTitles({"Track 1", "Intro"});
    EXPECT_EQ(reset.count(), 1);
    EXPECT_EQ(list.lines(), QStringList({"1. Track 1", "2. Intro"}));
    EXPECT_TRUE(list.paths().isEmpty());
    EXPECT_EQ(list.titles(), QStringList({"Track 1", "Intro"}));
}

TEST(TrackList, ListFileNamesAndKinds)
{
    EXPECT_EQ(TrackList::WithListExtension("/l/Party"), "/l/Party.list");
    EXPECT_EQ(TrackList::WithListExtension("/l/Party.m3u"), "/l/Party.m3u.list");  // only a four-letter extension counts
    EXPECT_EQ(TrackList::WithListExtension("/l/Party.list"), "/l/Party.list");
    EXPECT_EQ(TrackList::WithListExtension("/l/a.m3u8"), "/l/a.m3u8");
    EXPECT_EQ(TrackList::WithListExtension("abc"), "abc.list");
    EXPECT_TRUE(TrackList::IsListFile("/l/x.LIST"));
    EXPECT_TRUE(TrackList::IsListFile("/l/x.pls"));
    EXPECT_FALSE(TrackList::IsListFile("/l/x.wav"));
}
