// CDAudio: the exact command texts it sends, and what it makes of the device's replies.

#include "fixtures/DiscImage.h"
#include "media/CDAudio.h"
#include "media/Channel.h"
#include "platform/mci/Interpreter.h"
#include "support/SharedDisc.h"
#include "support/TempFolder.h"
#include "support/Waits.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

using namespace media;

namespace {

class CDAudioTest : public testsupport::SharedDiscTest {
protected:
    void SetUp() override
    {
        setenv("SONORELL_CD_DEVICE", disc->cue.c_str(), 1);
        setCommandObserver([this](const std::string& c) { sent.push_back(c); });
    }
    void TearDown() override
    {
        setCommandObserver(nullptr);
        platform::mci::interpreter().closeAll();
    }
    std::vector<std::string> take()
    {
        auto out = std::move(sent);
        sent.clear();
        return out;
    }
    static std::string cut(const std::string& raw) { return raw.substr(0, raw.find('\0')); }

    CDAudio cd;
    std::vector<std::string> sent;
};

using Commands = std::vector<std::string>;

}  // namespace

// The routines that are several commands: their order is what makes each one work.
TEST_F(CDAudioTest, CompoundRoutinesSendTheirCommandsInOrder)
{
    cd.SeekCDtoX(2);
    EXPECT_EQ(take(), (Commands{"stop cd wait", "seek cd to  2", "play cd"}));
    cd.ReadyDevice();
    EXPECT_EQ(take(), (Commands{"close all", "open cdaudio alias cd wait shareable", "set cd time format tmsf wait"}));
    cd.PlayTrackFrom(65000);
    EXPECT_EQ(take(), (Commands{"set cd time format milliseconds", "seek cd to 65000", "set cd time format tmsf wait"}));
    cd.PlayCD();
    EXPECT_EQ(take(), (Commands{"stop cd wait", "seek cd to  0", "play cd"}));
    cd.StopCD();
    EXPECT_EQ(take(), (Commands{"stop cd wait"}));
}

TEST_F(CDAudioTest, RepliesOfAReadyDisc)
{
    cd.ReadyDevice();
    EXPECT_EQ(cd.GetNumTracks(), 4);
    EXPECT_EQ(cd.CheckIfPlaying(), 0);
    const std::string length = cd.GetCDLength();
    ASSERT_EQ(length.size(), 30u);  // the raw buffer, NULs included
    EXPECT_EQ(cut(length), "01:17:30");
    EXPECT_EQ(cut(cd.GetTrackLength(2)), "00:50:30");
    EXPECT_EQ(cut(cd.GetCDPosition_FUN()), "01:00:00:00");
    EXPECT_EQ(cd.ReadMilliseconds(2).trackStart, -1);  // not asked for
    EXPECT_EQ(cd.ReadMilliseconds(2, true).trackStart, 20000);
    EXPECT_EQ(cut(cd.GetCDPosition_FUN()), "01:00:00:00");  // tmsf again
}

TEST_F(CDAudioTest, NoDiscReadsAsZero)
{
    setenv("SONORELL_CD_DEVICE", (folder->path() + "/gone.cue").c_str(), 1);
    cd.ReadyDevice();
    EXPECT_EQ(cd.GetNumTracks(), 0);
    EXPECT_EQ(cd.CheckIfPlaying(), 0);
    EXPECT_EQ(cd.GetCDPosition_FUN(), std::string(30, '\0'));
    cd.PlayCD();  // no effect, no failure
    setenv("SONORELL_CD_DEVICE", "none", 1);
    cd.ReadyDevice();
    EXPECT_EQ(cd.GetNumTracks(), 0);
}

TEST_F(CDAudioTest, PlayTrackFromLeavesTmsfAt65SecondsNotPlaying)
{
    cd.ReadyDevice();
    cd.PlayCD();
    cd.PlayTrackFrom(65000);
    EXPECT_EQ(cd.CheckIfPlaying(), 0);
    EXPECT_EQ(cut(cd.GetCDPosition_FUN()), "02:00:45:00");  // tmsf again
    cd.SetFormat_milliseconds();
    EXPECT_EQ(cut(cd.GetCDPosition_FUN()), "65000");
}

TEST_F(CDAudioTest, SeekCDtoXPlaysTheTrackAndPlayCDResumesAfterPause)
{
    cd.ReadyDevice();
    cd.SeekCDtoX(2);
    EXPECT_EQ(cd.CheckIfPlaying(), 1);
    const int32_t start = cd.ReadMilliseconds().position;
    ASSERT_TRUE(testsupport::waitUntil([&] { return cd.ReadMilliseconds().position >= start + 300; }));
    cd.PausePlay();
    EXPECT_EQ(cd.CheckIfPlaying(), 0);
    const int32_t paused = cd.ReadMilliseconds().position;
    EXPECT_EQ(cut(cd.GetCDPosition_FUN()).substr(0, 6), "02:00:");
    EXPECT_GE(paused, start + 300);
    cd.PlayCD();  // stop, a refused seek to track 0, play: from the paused point, not track 1
    EXPECT_EQ(cd.CheckIfPlaying(), 1);
    const int32_t resumed = cd.ReadMilliseconds().position;
    EXPECT_GE(resumed, paused - 14);
    EXPECT_LE(resumed, paused + 300);
}

TEST_F(CDAudioTest, ReadyDeviceClosesAnOpenMediaFileToo)
{
    platform::mci::Interpreter& mci = platform::mci::interpreter();
    mci.registerType("testmedia", [] {
        struct Null : platform::mci::Device {
            uint32_t open(const platform::mci::OpenParams&) override { return 0; }
            uint32_t execute(const std::string&, platform::mci::WordCursor&, std::string&) override { return 0; }
        };
        return std::make_unique<Null>();
    });
    ASSERT_EQ(SendAction("open song.mp3 type testmedia Alias ToTrexonTragoydi"), "Success");
    cd.ReadyDevice();
    EXPECT_FALSE(mci.isOpen("ToTrexonTragoydi"));
    EXPECT_TRUE(mci.isOpen("cd"));
}
