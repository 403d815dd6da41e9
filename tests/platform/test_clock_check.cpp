// Telling a sound server's failed clock (its position falls back, or stands for good, or the
// clock leapt centuries ahead) from a stream it is merely slow to start.

#include "platform/gst/Gst.h"

#include <gst/audio/gstaudioclock.h>
#include <gtest/gtest.h>

using platform::gst::ClockCheck;
using platform::gst::ClockLeap;

namespace {

constexpr int64_t Ms = 1000000;
constexpr int64_t Fed = 60000 * Ms;  // sound fed well beyond every position read here

// Readings every 100 ms from atMs on, each at the same position after the one before; the first
// reading at which the clock counts as failed, or -1.
int64_t failsStandingAt(ClockCheck& check, int64_t ns, int64_t fedNs, int64_t atMs, int64_t forMs)
{
    for (int64_t t = atMs; t <= atMs + forMs; t += 100)
        if (check.failed(true, ns, ns, fedNs, t)) return t;
    return -1;
}

}  // namespace

TEST(ClockCheck, APositionThatFallsBackWhilePlayingFailsAtOnce)
{
    ClockCheck check;
    EXPECT_FALSE(check.failed(true, 2050 * Ms, 2000 * Ms, Fed, 0));
    EXPECT_FALSE(check.failed(true, 1950 * Ms, 2050 * Ms, Fed, 100));  // a reading's jitter
    EXPECT_TRUE(check.failed(true, 0, 1950 * Ms, Fed, 200));           // resumed at 1.95 s, read as 0
}

TEST(ClockCheck, APositionStandingWithSoundFedBeyondFailsOnlyAfterThreeSeconds)
{
    ClockCheck slowStart;
    EXPECT_EQ(failsStandingAt(slowStart, 400 * Ms, Fed, 0, 2800), -1);
    EXPECT_FALSE(slowStart.failed(true, 500 * Ms, 400 * Ms, Fed, 2900));     // the server started it
    EXPECT_EQ(failsStandingAt(slowStart, 500 * Ms, Fed, 3000, 5000), 5900);  // counted from the move

    ClockCheck stuck;
    EXPECT_EQ(failsStandingAt(stuck, 0, Fed, 0, 9000), 3000);

    // Nothing fed beyond it: the decoder is slow, or the file's end is near.
    ClockCheck starved;
    EXPECT_EQ(failsStandingAt(starved, 3000 * Ms, 3400 * Ms, 0, 9000), -1);

    // Paused, nothing fails; a pause between readings starts the count again.
    ClockCheck paused;
    EXPECT_EQ(failsStandingAt(paused, 0, Fed, 0, 2500), -1);
    EXPECT_FALSE(paused.failed(false, 0, 1000 * Ms, Fed, 2550));
    EXPECT_EQ(failsStandingAt(paused, 0, Fed, 2600, 9000), 5600);
}

// The new stream after a failure may stand while the server starts it: it is not replaced again
// and again, and a later failure is still seen.
TEST(ClockCheck, AFailureIsNotSeenAgainWithinTenSeconds)
{
    ClockCheck check;
    ASSERT_TRUE(check.failed(true, 0, 2000 * Ms, Fed, 1000));
    EXPECT_EQ(failsStandingAt(check, 0, Fed, 1100, 9800), -1);
    EXPECT_FALSE(check.failed(true, 0, 900 * Ms, Fed, 10900));
    EXPECT_TRUE(check.failed(true, 0, 900 * Ms, Fed, 11000));
}

namespace {

GstClockTime shownTime = 0;  // what the sink's clock below reads
GstClockTime showTime(GstClock*, gpointer) { return shownTime; }

// A pipeline that has played on the given clock, or on the one it picks (the system clock).
GstElement* pipelinePlayedOn(GstClock* clock)
{
    GstElement* pipeline = gst_pipeline_new(nullptr);
    if (clock) gst_pipeline_use_clock(GST_PIPELINE(pipeline), clock);
    gst_element_set_state(pipeline, GST_STATE_PLAYING);
    return pipeline;
}

}  // namespace

TEST(ClockLeap, ASinkClockGainingTenMinutesOnTheMonotonicClockLeaptForTheSinksLife)
{
    gst_init(nullptr, nullptr);
    shownTime = 0;
    GstClock* clock = gst_audio_clock_new("sink", showTime, nullptr, nullptr);
    GstElement* pipeline = gst_pipeline_new(nullptr);
    ClockLeap leap;
    leap.forget();
    EXPECT_FALSE(leap.leapt(pipeline));  // never played: no clock yet
    gst_object_unref(pipeline);
    pipeline = pipelinePlayedOn(clock);

    shownTime = 2 * GST_SECOND;  // ahead of the wall by what the stream buffered at its start
    EXPECT_FALSE(leap.leapt(pipeline));
    shownTime = 500 * GST_SECOND;
    EXPECT_FALSE(leap.leapt(pipeline));
    shownTime = GstClockTime(13356669857) * GST_SECOND;  // as read from a stream just uncorked (unsigned: beyond int64)
    EXPECT_TRUE(leap.leapt(pipeline));
    shownTime = 3 * GST_SECOND;
    EXPECT_TRUE(leap.leapt(pipeline));  // the sink's clock keeps the time it leapt to
    leap.forget();
    EXPECT_TRUE(leap.leapt(pipeline));  // read afresh, it is still there

    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(pipeline);
    gst_object_unref(clock);
}

TEST(ClockLeap, TheSystemClockRunningSinceBootNeverLeapt)
{
    gst_init(nullptr, nullptr);
    GstElement* pipeline = pipelinePlayedOn(nullptr);
    ClockLeap leap;
    leap.forget();
    EXPECT_FALSE(leap.leapt(pipeline));
    EXPECT_FALSE(leap.leapt(pipeline));
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(pipeline);
}
