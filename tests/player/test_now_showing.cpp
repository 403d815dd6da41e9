// What the desktop's media controls are told of the position: it runs on between two readings
// and never goes back while the same play goes on, though a new stream's time can stand a moment.

#include "player/NowShowing.h"
#include "support/Waits.h"

#include <gtest/gtest.h>

using player::NowShowing;

namespace {

NowShowing publishedAt(int64_t positionMs, NowShowing::State state = NowShowing::State::Playing, int index = 0)
{
    NowShowing s;
    s.state = state;
    s.entries = 3;
    s.index = index;
    s.path = QStringLiteral("/m/%1.flac").arg(index);
    s.lengthMs = 60000;
    s.positionMs = positionMs;
    s.published.start();
    return s;
}

// Reported 10 s and a little more as the play ran on; the stream's next reading stood at 10.01 s.
struct AfterAStall : testing::Test {
    NowShowing before = publishedAt(10000);
    int64_t reported = 0;
    void SetUp() override
    {
        testsupport::sleepMs(80);
        reported = before.positionNowMs();
        ASSERT_GE(reported, 10080);
    }
    bool jumped = false;
    NowShowing next(int64_t positionMs, NowShowing::State state = NowShowing::State::Paused, int index = 0)
    {
        NowShowing s = publishedAt(positionMs, state, index);
        jumped = s.goOnFrom(before);
        return s;
    }
};

}  // namespace

TEST_F(AfterAStall, WhatWasReportedStandsUntilTheStreamCatchesUp)
{
    EXPECT_GE(next(10010, NowShowing::State::Playing).positionNowMs(), reported);
    EXPECT_FALSE(jumped);
    // Paused there: what was reported stands (the play before ran on a moment since).
    NowShowing paused = next(10010);
    const int64_t stands = paused.positionNowMs();
    EXPECT_GE(stands, reported);
    testsupport::sleepMs(20);
    EXPECT_EQ(paused.positionNowMs(), stands);
    NowShowing resumed = publishedAt(10010);
    resumed.goOnFrom(paused);
    EXPECT_GE(resumed.positionNowMs(), stands);
    NowShowing caughtUp = publishedAt(12000, NowShowing::State::Paused);
    caughtUp.goOnFrom(resumed);
    EXPECT_EQ(caughtUp.positionNowMs(), 12000);
}

// A jump on the same play is told; a stop or another entry is told otherwise (state, metadata).
TEST_F(AfterAStall, ASeekAStopOrAnotherEntryStartsAfresh)
{
    EXPECT_EQ(next(9000).positionNowMs(), 9000);  // back, as after a replay
    EXPECT_TRUE(jumped);
    EXPECT_EQ(next(10010, NowShowing::State::Paused, 1).positionNowMs(), 10010);  // another entry
    EXPECT_FALSE(jumped);
    EXPECT_EQ(next(10010, NowShowing::State::Stopped).positionNowMs(), 10010);
    EXPECT_FALSE(jumped);
    before.published.invalidate();  // a seek to just after where it stood
    EXPECT_EQ(next(10010).positionNowMs(), 10010);
    EXPECT_TRUE(jumped);
}

TEST(NowShowing, NeverRunsPastTheEnd)
{
    const NowShowing s = publishedAt(59990);
    testsupport::sleepMs(30);
    EXPECT_EQ(s.positionNowMs(), 60000);
}
