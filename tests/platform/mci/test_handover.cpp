// The media device at the hand-over from one file to the one cued after it, on a silent sink
// that keeps real time: who answers for what the output plays, and what the position says.

#include "fixtures/Media.h"
#include "platform/ShortPath.h"
#include "platform/gst/AudioOutput.h"
#include "platform/mci/Errors.h"
#include "platform/mci/Interpreter.h"
#include "support/MciSession.h"
#include "support/TempFolder.h"
#include "support/Waits.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include <sys/stat.h>

using namespace platform::mci;
using platform::gst::AudioOutput;

namespace {

class HandOverTest : public ::testing::Test, protected testsupport::MciSession {
protected:
    static void SetUpTestSuite()
    {
        folder = new testsupport::TempFolder;
        first = fixtures::makeMedia(folder->path(), fixtures::Media::Wav16Stereo, 1.5, "first.wav").path;
        second = fixtures::makeMedia(folder->path(), fixtures::Media::Wav16Stereo, 6.0, "second.wav").path;
        third = fixtures::makeMedia(folder->path(), fixtures::Media::Wav16Stereo, 1.0, "third.wav").path;
    }
    static void TearDownTestSuite() { delete folder; }
    void TearDown() override
    {
        mci.closeAll();
        // A run-on left by a test is silenced before the next one starts.
        testsupport::waitUntil([] { return !AudioOutput::instance().playing(); }, 1000);
    }

    uint32_t open(const std::string& path, const std::string& alias)
    {
        return send("open " + platform::ShortPathName(path) + " type MPEGVideo Alias " + alias);
    }
    static std::string uri(const std::string& path) { return platform::ShortPathName(path); }
    static bool sounds(const std::string& path)
    {
        return AudioOutput::instance().runningOn(uri(path)) && AudioOutput::instance().playing();
    }

    // first plays with second cued after it; returns once the output went on to second.
    void playIntoHandOver(bool untilHeard)
    {
        ASSERT_EQ(open(first, "a"), Ok);
        ASSERT_EQ(send("cue a next " + uri(second)), Ok);
        ASSERT_EQ(send("play a from 0 to " + ask("status a length")), Ok);
        ASSERT_TRUE(testsupport::waitUntil([&] { return AudioOutput::instance().runningOn(uri(second)); }, 5000));
        if (untilHeard) {
            ASSERT_TRUE(testsupport::waitUntil([&] { return ask("status a mode") != "playing"; }, 3000));
        }
    }

    static testsupport::TempFolder* folder;
    static std::string first, second, third;
};

testsupport::TempFolder* HandOverTest::folder = nullptr;
std::string HandOverTest::first, HandOverTest::second, HandOverTest::third;

using testsupport::sleepMs;

}  // namespace

TEST_F(HandOverTest, ThePositionNeverGoesBackAndStaysAtTheLengthAfterTheEnd)
{
    ASSERT_EQ(open(first, "a"), Ok);
    const int length = number("status a length");
    ASSERT_EQ(send("cue a next " + uri(second)), Ok);
    ASSERT_EQ(send("play a from 0 to " + std::to_string(length)), Ok);
    int last = 0;
    bool wentOn = false;
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(length + 1500);
    while (std::chrono::steady_clock::now() < until) {
        const int at = number("status a position");
        ASSERT_GE(at, last) << "the position went back";
        ASSERT_LE(at, length);
        last = at;
        wentOn = wentOn || AudioOutput::instance().runningOn(uri(second));
        sleepMs(10);
    }
    EXPECT_TRUE(wentOn);
    EXPECT_EQ(last, length);
    EXPECT_EQ(ask("status a mode"), "stopped");
    EXPECT_TRUE(sounds(second));
    // Taken over, the file heard counts from its own start.
    ASSERT_EQ(send("close a"), Ok);
    ASSERT_EQ(open(second, "a"), Ok);
    EXPECT_EQ(ask("status a mode"), "playing");
    const int taken = number("status a position");
    EXPECT_GT(taken, 0);
    EXPECT_LT(taken, 2000);
    EXPECT_TRUE(testsupport::waitUntil([&] { return number("status a position") > taken; }));
}

TEST_F(HandOverTest, ClosingTheAliasSilencesWhatItWentOnToUnlessItIsOpenedAtOnce)
{
    playIntoHandOver(true);
    ASSERT_EQ(send("close a"), Ok);
    EXPECT_TRUE(testsupport::waitUntil([&] { return !sounds(second); }, 100));
    sleepMs(200);
    EXPECT_FALSE(sounds(second));
    // Opened now, it is a new file from its start.
    ASSERT_EQ(open(second, "a"), Ok);
    EXPECT_EQ(ask("status a mode"), "stopped");
    EXPECT_EQ(number("status a position"), 0);
}

TEST_F(HandOverTest, StopPauseResumeAndAClearedCueActOnWhatSounds)
{
    playIntoHandOver(true);
    const int length = number("status a length");
    ASSERT_EQ(send("pause a"), Ok);
    EXPECT_FALSE(AudioOutput::instance().playing());
    EXPECT_EQ(ask("status a mode"), "paused");
    EXPECT_EQ(number("status a position"), length);
    ASSERT_EQ(send("resume a"), Ok);
    EXPECT_TRUE(sounds(second));
    ASSERT_EQ(send("stop a"), Ok);
    EXPECT_FALSE(sounds(second));
    EXPECT_EQ(ask("status a mode"), "stopped");
    EXPECT_EQ(number("status a position"), length);

    // Played again, the same successor follows; cleared while it sounds, it goes.
    ASSERT_EQ(send("play a from 0 to " + std::to_string(length)), Ok);
    ASSERT_TRUE(testsupport::waitUntil([&] { return ask("status a mode") == "stopped"; }, 4000));
    ASSERT_TRUE(sounds(second));
    ASSERT_EQ(send("cue a next"), Ok);
    EXPECT_FALSE(sounds(second));
    EXPECT_EQ(number("status a position"), length);
}

TEST_F(HandOverTest, APauseInTheHandOverIsKeptByTheFileThatTakesOver)
{
    playIntoHandOver(true);
    ASSERT_EQ(send("pause a"), Ok);
    ASSERT_EQ(send("close a"), Ok);
    ASSERT_EQ(open(second, "a"), Ok);
    EXPECT_EQ(ask("status a mode"), "paused");
    const int at = number("status a position");
    sleepMs(200);  // nothing may move while paused
    EXPECT_EQ(number("status a position"), at);
    ASSERT_EQ(send("resume a"), Ok);
    EXPECT_TRUE(testsupport::waitUntil([&] { return number("status a position") > at; }));
}

// In the last moments of a file its successor is already on the output, not yet heard.
TEST_F(HandOverTest, ACueClearedBeforeTheEndIsHeardLetsTheFileEndAlone)
{
    playIntoHandOver(false);
    ASSERT_EQ(ask("status a mode"), "playing");
    const int before = number("status a position");
    ASSERT_EQ(send("cue a next"), Ok);
    EXPECT_FALSE(AudioOutput::instance().runningOn(uri(second)));
    EXPECT_GE(number("status a position"), before);
    ASSERT_TRUE(testsupport::waitUntil([&] { return ask("status a mode") == "stopped"; }, 3000));
    EXPECT_EQ(number("status a position"), number("status a length"));
    EXPECT_FALSE(AudioOutput::instance().playing());
}

TEST_F(HandOverTest, StopBeforeTheEndIsHeardDropsTheSuccessorAndPlayCuesItAgain)
{
    playIntoHandOver(false);
    ASSERT_EQ(send("stop a"), Ok);
    EXPECT_FALSE(AudioOutput::instance().runningOn(uri(second)));
    EXPECT_EQ(ask("status a mode"), "stopped");
    ASSERT_EQ(send("play a"), Ok);
    EXPECT_TRUE(testsupport::waitUntil([&] { return sounds(second); }, 3000));
}

TEST_F(HandOverTest, ACueDiesWithItsAlias)
{
    ASSERT_EQ(open(first, "a"), Ok);
    ASSERT_EQ(send("cue a next " + uri(second)), Ok);
    ASSERT_EQ(send("close a"), Ok);
    EXPECT_EQ(AudioOutput::instance().nextUri(), "");
    ASSERT_EQ(open(third, "c"), Ok);
    ASSERT_EQ(send("play c"), Ok);
    ASSERT_TRUE(testsupport::waitUntil([&] { return ask("status c mode") == "stopped"; }, 3000));
    sleepMs(100);
    EXPECT_FALSE(AudioOutput::instance().runningOn(uri(second)));
    EXPECT_FALSE(AudioOutput::instance().playing());
}

TEST_F(HandOverTest, AnotherFileOpenedInTheHandOverLetsTheOrphanGo)
{
    playIntoHandOver(true);
    ASSERT_EQ(send("close a"), Ok);
    ASSERT_EQ(open(third, "a"), Ok);
    EXPECT_FALSE(AudioOutput::instance().runningOn(uri(second)));
    EXPECT_FALSE(AudioOutput::instance().playing());
    ASSERT_EQ(send("play a"), Ok);
    EXPECT_TRUE(testsupport::waitUntil([&] { return number("status a position") > 0; }));
}

// Asked for while the file before it still sounds (a click on the next entry in the last moments
// of one), the file the output went on to starts anew from its start: the tail of the one before
// does not sound first.
TEST_F(HandOverTest, TheNextFileOpenedBeforeItIsHeardStartsAnew)
{
    playIntoHandOver(false);
    ASSERT_EQ(ask("status a mode"), "playing");
    ASSERT_EQ(send("close a"), Ok);
    ASSERT_EQ(open(second, "a"), Ok);
    EXPECT_EQ(ask("status a mode"), "stopped");
    EXPECT_EQ(number("status a position"), 0);
    EXPECT_FALSE(AudioOutput::instance().playing());
}

// A pipe cannot tell its length, nor be read twice: it is never cued, and the file before it ends
// as if nothing were cued. The window opens it as usual when its turn comes.
TEST_F(HandOverTest, AFileThatCannotTellItsLengthIsNeverCued)
{
    const std::string pipe = folder->path() + "/pipe.ogg";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    ASSERT_EQ(open(first, "a"), Ok);
    EXPECT_EQ(send("cue a next " + uri(pipe)), FileNotFound);
    EXPECT_EQ(AudioOutput::instance().nextUri(), "");
    ASSERT_EQ(send("play a"), Ok);
    EXPECT_TRUE(testsupport::waitUntil([&] { return ask("status a mode") == "stopped"; }, 4000));
    EXPECT_EQ(number("status a position"), number("status a length"));
    EXPECT_FALSE(AudioOutput::instance().playing());
}
