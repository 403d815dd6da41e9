// The cdaudio device on a generated disc image: its replies, seeks, play, and the disc coming and going.

#include "fixtures/DiscImage.h"
#include "fixtures/Media.h"
#include "platform/mci/Errors.h"
#include "platform/mci/Interpreter.h"
#include "support/MciSession.h"
#include "support/SharedDisc.h"
#include "support/TempFolder.h"
#include "support/Waits.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <iterator>
#include <cstdio>
#include <filesystem>
#include <thread>

using namespace platform::mci;

namespace {

using testsupport::sleepMs;

class CdDeviceTest : public testsupport::SharedDiscTest, protected testsupport::MciSession {
protected:
    void SetUp() override { useDisc(disc->cue); }
    void TearDown() override { mci.closeAll(); }

    void useDisc(const std::string& source)
    {
        setenv("SONORELL_CD_DEVICE", source.c_str(), 1);
        mci.closeAll();
        ASSERT_EQ(send("open cdaudio alias cd wait shareable"), Ok);
        ASSERT_EQ(send("set cd time format tmsf wait"), Ok);
    }
};

}  // namespace

TEST_F(CdDeviceTest, QueriesInTmsf)
{
    EXPECT_EQ(ask("status cd number of tracks wait"), "4");
    EXPECT_EQ(ask("status cd length wait"), "01:17:30");  // 5805 frames
    EXPECT_EQ(ask("status cd length track 1"), "00:20:00");
    EXPECT_EQ(ask("status cd length track 2"), "00:50:30");
    EXPECT_EQ(ask("status cd length track 4"), "00:04:00");
    EXPECT_EQ(ask("status cd position"), "01:00:00:00");
    EXPECT_EQ(ask("status cd position track 3"), "03:00:00:00");  // where it starts
    EXPECT_EQ(ask("status cd mode"), "stopped");
    EXPECT_EQ(ask("status cd time format"), "tmsf");
    EXPECT_EQ(ask("status cd length track 0"), "error 282");
    EXPECT_EQ(ask("status cd length track 5"), "error 282");
    EXPECT_EQ(ask("status cd length track x"), "error 270");
    EXPECT_EQ(ask("status cd position track 5"), "error 282");
    EXPECT_EQ(ask("status cd position track"), "error 273");
    EXPECT_EQ(ask("status cd colour"), "error 259");
}

TEST_F(CdDeviceTest, QueriesInMilliseconds)
{
    ASSERT_EQ(send("set cd time format milliseconds"), Ok);
    EXPECT_EQ(ask("status cd length"), "77400");
    EXPECT_EQ(ask("status cd length track 2"), "50400");
    EXPECT_EQ(ask("status cd length track 3"), "3000");
    EXPECT_EQ(ask("status cd position"), "0");
    EXPECT_EQ(ask("status cd position track 3"), "70400");  // 5280 frames
    EXPECT_EQ(ask("status cd number of tracks"), "4");
    ASSERT_EQ(send("set cd time format ms"), Ok);
    EXPECT_EQ(ask("status cd time format"), "milliseconds");
    EXPECT_EQ(send("set cd time format smpte"), BadTimeFormat);
}

TEST_F(CdDeviceTest, SeeksToTracksAndMillisecondsExactToTheFrame)
{
    ASSERT_EQ(send("seek cd to  3"), Ok);
    EXPECT_EQ(ask("status cd position"), "03:00:00:00");
    EXPECT_EQ(send("seek cd to  0"), OutOfRange);  // track 0: refused, position kept
    EXPECT_EQ(send("seek cd to  5"), OutOfRange);
    EXPECT_EQ(ask("status cd position"), "03:00:00:00");
    EXPECT_EQ(send("seek cd to 2:00:10:05"), Ok);
    EXPECT_EQ(ask("status cd position"), "02:00:10:05");

    ASSERT_EQ(send("set cd time format milliseconds"), Ok);
    ASSERT_EQ(send("seek cd to 65000"), Ok);  // 4875 frames: track 2, 45 s in
    EXPECT_EQ(ask("status cd position"), "65000");
    EXPECT_EQ(send("seek cd to 77414"), OutOfRange);
    EXPECT_EQ(send("seek cd to -1"), OutOfRange);
    EXPECT_EQ(send("seek cd to abc"), BadInteger);
    ASSERT_EQ(send("seek cd to 6"), Ok);  // 0.45 frames: the nearest is frame 0
    EXPECT_EQ(ask("status cd position"), "0");
    ASSERT_EQ(send("seek cd to 14"), Ok);
    EXPECT_EQ(ask("status cd position"), "13");  // frame 1 = 13.33 ms
    // What a frame reads as seeks back to it (frame 110 = 1466.67 ms), never to the frame before.
    ASSERT_EQ(send("seek cd to 1466"), Ok);
    EXPECT_EQ(ask("status cd position"), "1466");
    ASSERT_EQ(send("set cd time format tmsf"), Ok);
    EXPECT_EQ(ask("status cd position"), "01:00:01:35");
}

TEST_F(CdDeviceTest, PlaysOnIntoTheNextTrack)
{
    ASSERT_EQ(send("seek cd to 1:00:19:40"), Ok);  // 0.47 s before track 2
    ASSERT_EQ(send("play cd"), Ok);
    EXPECT_EQ(ask("status cd mode"), "playing");
    ASSERT_TRUE(testsupport::waitUntil([&] { return ask("status cd position").substr(0, 2) == "02"; }));
    const std::string position = ask("status cd position");
    EXPECT_EQ(position.substr(0, 6), "02:00:") << position;
    EXPECT_EQ(ask("status cd mode"), "playing");
}

TEST_F(CdDeviceTest, PauseKeepsThePosition)
{
    ASSERT_EQ(send("set cd time format milliseconds"), Ok);
    ASSERT_EQ(send("seek cd to 30000"), Ok);
    ASSERT_EQ(send("play cd"), Ok);
    ASSERT_TRUE(testsupport::waitUntil([&] { return std::stoi(ask("status cd position")) >= 30400; }));
    ASSERT_EQ(send("pause cd"), Ok);
    EXPECT_EQ(ask("status cd mode"), "paused");
    const int paused = std::stoi(ask("status cd position"));
    EXPECT_GE(paused, 30400);
    EXPECT_LE(paused, 31500);
    sleepMs(400);  // nothing may move while paused
    EXPECT_EQ(std::stoi(ask("status cd position")), paused);
}

TEST_F(CdDeviceTest, StopsAfterTheLastTrack)
{
    ASSERT_EQ(send("seek cd to 4:00:03:40"), Ok);
    ASSERT_EQ(send("play cd"), Ok);
    EXPECT_TRUE(testsupport::waitUntil([&] { return ask("status cd mode") == "stopped"; }));
    EXPECT_EQ(ask("status cd position"), "04:00:04:00");
}

// A sink that fails mid-play, as when the sound server goes away: the disc goes on from where it
// was heard on a new one, still playing, never back and never on to its end.
TEST_F(CdDeviceTest, ASinkThatFailsIsReplacedAndTheDiscGoesOn)
{
    const std::string sink = std::getenv("SONORELL_AUDIO_SINK");
    setenv("SONORELL_AUDIO_SINK", "identity error-after=5 ! fakesink sync=true", 1);  // fails after about a second
    ASSERT_EQ(send("set cd time format milliseconds"), Ok);
    ASSERT_EQ(send("seek cd to 30000"), Ok);
    ASSERT_EQ(send("play cd"), Ok);
    int last = 30000;
    for (int i = 0; i < 14; ++i) {
        sleepMs(250);
        EXPECT_EQ(ask("status cd mode"), "playing");
        const int position = std::stoi(ask("status cd position"));
        EXPECT_GE(position, last);
        EXPECT_LT(position, 30000 + 250 * (i + 1) + 300);
        last = position;
    }
    setenv("SONORELL_AUDIO_SINK", sink.c_str(), 1);
    EXPECT_GT(last, 32000);  // past the first failure and the second
}

TEST_F(CdDeviceTest, SeekWhilePlayingStops)
{
    ASSERT_EQ(send("play cd"), Ok);
    ASSERT_EQ(send("seek cd to  2"), Ok);
    EXPECT_EQ(ask("status cd mode"), "stopped");
    EXPECT_EQ(ask("status cd position"), "02:00:00:00");
}

TEST_F(CdDeviceTest, DiscTakenOutAndPutBack)
{
    testsupport::TempFolder own;
    const auto image = fixtures::makeDiscImage(own.path(), {150, 150, 150});
    useDisc(image.cue);
    EXPECT_EQ(ask("status cd number of tracks"), "3");
    ASSERT_EQ(send("play cd"), Ok);

    const std::string aside = own.file("aside.cue");
    std::filesystem::rename(image.cue, aside);
    EXPECT_EQ(send("status cd number of tracks"), DeviceNotReady);
    EXPECT_EQ(ask("status cd mode"), "not ready");
    EXPECT_EQ(send("play cd"), DeviceNotReady);
    EXPECT_EQ(send("status cd position"), DeviceNotReady);

    std::filesystem::rename(aside, image.cue);
    EXPECT_EQ(ask("status cd number of tracks"), "3");
    EXPECT_EQ(ask("status cd mode"), "stopped");
    EXPECT_EQ(ask("status cd position"), "01:00:00:00");
}

TEST_F(CdDeviceTest, DiscChangedForAnother)
{
    testsupport::TempFolder own;
    const auto first = fixtures::makeDiscImage(own.path(), {150, 150, 150}, "a");
    const auto second = fixtures::makeDiscImage(own.path(), {75, 75}, "b");
    useDisc(first.cue);
    ASSERT_EQ(send("seek cd to  3"), Ok);
    std::filesystem::copy_file(second.cue, first.cue, std::filesystem::copy_options::overwrite_existing);
    EXPECT_EQ(ask("status cd number of tracks"), "2");
    EXPECT_EQ(ask("status cd position"), "01:00:00:00");
}

TEST_F(CdDeviceTest, DoorOpenTakesTheDiscOutUntilClosed)
{
    ASSERT_EQ(send("play cd"), Ok);
    ASSERT_EQ(send("set cd door open"), Ok);
    EXPECT_EQ(ask("status cd mode"), "open");
    EXPECT_EQ(send("status cd number of tracks"), DeviceNotReady);
    EXPECT_EQ(ask("status cd media present"), "false");
    ASSERT_EQ(send("set cd door closed"), Ok);
    EXPECT_EQ(ask("status cd number of tracks"), "4");
    EXPECT_EQ(ask("status cd mode"), "stopped");
}

TEST_F(CdDeviceTest, NoDriveAndNoImage)
{
    mci.closeAll();
    setenv("SONORELL_CD_DEVICE", "none", 1);
    EXPECT_EQ(send("open cdaudio alias cd wait shareable"), DeviceNotInstalled);
    EXPECT_FALSE(mci.isOpen("cd"));

    setenv("SONORELL_CD_DEVICE", (folder->path() + "/missing.cue").c_str(), 1);
    ASSERT_EQ(send("open cdaudio alias cd wait shareable"), Ok);  // the drive is there, empty
    EXPECT_EQ(ask("status cd mode"), "not ready");
    EXPECT_EQ(send("status cd number of tracks wait"), DeviceNotReady);
    EXPECT_EQ(send("seek cd to  1"), DeviceNotReady);
}

TEST_F(CdDeviceTest, DamagedImagesReadAsNoDisc)
{
    testsupport::TempFolder own;
    for (const char* text : {"", "garbage\n", "FILE \"nothere.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"}) {
        useDisc(fixtures::writeFile(own.path(), "bad.cue", text));
        EXPECT_EQ(ask("status cd mode"), "not ready") << text;
        EXPECT_EQ(send("play cd"), DeviceNotReady);
    }
}

TEST_F(CdDeviceTest, CloseAllClosesTheCdToo)
{
    ASSERT_EQ(send("play cd"), Ok);
    ASSERT_EQ(send("close all"), Ok);
    EXPECT_EQ(send("status cd mode"), InvalidDeviceName);
    EXPECT_EQ(mci.openCount(), 0u);
}

TEST_F(CdDeviceTest, ACueSheetNamedOtherwiseThanItsDataFileIsRead)
{
    testsupport::TempFolder other;
    std::filesystem::create_directory(other.file("sub dir"));
    std::filesystem::copy_file(disc->bin, other.file("sub dir/Album Data.bin"));
    useDisc(fixtures::writeFile(
        other.path(), "My Album.cue",
        "REM made by hand\r\nFILE \"sub dir/Album Data.bin\" BINARY\r\n  TRACK 01 AUDIO\r\n    INDEX 01 00:00:00\r\n"
        "  TRACK 02 AUDIO\r\n    INDEX 01 00:20:00\r\n"));
    EXPECT_EQ(ask("status cd number of tracks"), "2");
    EXPECT_EQ(ask("status cd length"), "01:17:30");
    EXPECT_EQ(ask("status cd length track 2"), "00:57:30");
}

namespace {

// The image with the given tracks made data tracks (1-based), as a cue sheet states them.
std::string withDataTracks(const fixtures::DiscImage& image, std::initializer_list<int> data)
{
    std::ifstream in(image.cue);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (int track : data) {
        char audio[32], mode[32];
        std::snprintf(audio, sizeof audio, "TRACK %02d AUDIO", track);
        std::snprintf(mode, sizeof mode, "TRACK %02d MODE1/2352", track);
        text.replace(text.find(audio), std::strlen(audio), mode);
    }
    std::ofstream(image.cue, std::ios::trunc) << text;
    return image.cue;
}

}  // namespace

// CD-Extra: two audio tracks, then data. Playing on stops at the end of the audio, which reads
// as the end of an all-audio disc does; the data track itself is never played.
TEST_F(CdDeviceTest, PlayingOnStopsBeforeADataTrack)
{
    testsupport::TempFolder own;
    useDisc(withDataTracks(fixtures::makeDiscImage(own.path(), {150, 45, 150}), {3}));
    ASSERT_EQ(send("play cd from 2"), Ok);
    EXPECT_TRUE(testsupport::waitUntil([&] { return ask("status cd mode") == "stopped"; }));
    EXPECT_EQ(ask("status cd position"), "02:00:00:45");
    EXPECT_EQ(ask("status cd current track"), "2");
    ASSERT_EQ(send("play cd from 3"), Ok);
    EXPECT_EQ(ask("status cd mode"), "stopped");
}

// Mixed mode: the data track first; play starts with the first audio track.
TEST_F(CdDeviceTest, PlayingFromADataTrackStartsAtTheAudio)
{
    testsupport::TempFolder own;
    useDisc(withDataTracks(fixtures::makeDiscImage(own.path(), {150, 150}), {1}));
    ASSERT_EQ(send("play cd from 1"), Ok);
    EXPECT_EQ(ask("status cd mode"), "playing");
    EXPECT_EQ(ask("status cd current track"), "2");
}
