// ModuleMCI: its command texts, its defaults, its reply parsing, on the real media device.

#include "fixtures/Media.h"
#include "media/Channel.h"
#include "media/ModuleMCI.h"
#include "platform/mci/Errors.h"
#include "platform/mci/Interpreter.h"
#include "support/TempFolder.h"
#include "support/Waits.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

using namespace ModuleMCI;

namespace {

const std::string Alias = "ToTrexonTragoydi";

// Answers position and length with values a test sets, to walk IsMediaAtEnd's boundaries.
struct Scripted : platform::mci::Device {
    static inline std::string position, length;
    uint32_t open(const platform::mci::OpenParams&) override { return 0; }
    uint32_t execute(const std::string& verb, platform::mci::WordCursor& args, std::string& reply) override
    {
        if (verb != "status") return 0;
        const std::string what = *args.next();
        const std::string& value = what == "position" ? position : length;
        if (value == "refuse") return platform::mci::DeviceNotReady;
        reply = value;
        return 0;
    }
};

class ModuleMciTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        folder = new testsupport::TempFolder;
        wav = new fixtures::MediaFile(fixtures::makeMedia(folder->path(), fixtures::Media::Wav8Mono, 3.0, "a b.wav"));
        avi = new fixtures::MediaFile(fixtures::makeMedia(folder->path(), fixtures::Media::AviVideo, 1.0));
        platform::mci::interpreter().registerType("scripted", [] { return std::make_unique<Scripted>(); });
    }
    static void TearDownTestSuite()
    {
        delete wav;
        delete avi;
        delete folder;
    }
    void SetUp() override
    {
        media::setCommandObserver([this](const std::string& c) { sent.push_back(c); });
    }
    void TearDown() override
    {
        media::setCommandObserver(nullptr);
        platform::mci::interpreter().closeAll();
    }
    std::string open(const std::string& path)
    {
        uint64_t parent = 0;
        return OpenMedia(parent, Alias, path, "MPEGVideo");
    }
    static testsupport::TempFolder* folder;
    static fixtures::MediaFile* wav;
    static fixtures::MediaFile* avi;
    std::vector<std::string> sent;
};

testsupport::TempFolder* ModuleMciTest::folder = nullptr;
fixtures::MediaFile* ModuleMciTest::wav = nullptr;
fixtures::MediaFile* ModuleMciTest::avi = nullptr;

std::string rtrim(std::string s)
{
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

}  // namespace

TEST_F(ModuleMciTest, OpenSendsTheUriInAPaddedFieldAndNeverCutsIt)
{
    uint64_t parent = 4242;
    EXPECT_EQ(OpenMedia(parent, Alias, wav->path, "MPEGVideo"), "Success");
    EXPECT_EQ(parent, 4242u);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].size(), 255u);
    EXPECT_EQ(rtrim(sent[0]),
              "open file://" + folder->path() + "/a%20b.wav type MPEGVideo Alias " + Alias + " parent 4242 Style 1073741824");
    EXPECT_EQ(CloseMedia(Alias), "Success");

    // A deep Greek path: its URI is far longer than the field and still opens.
    std::string deep = folder->path();
    for (int i = 0; i < 6; ++i) deep += "/Φάκελος με ελληνικά ονόματα";
    std::filesystem::create_directories(deep);
    std::filesystem::copy_file(wav->path, deep + "/τραγούδι.wav");
    sent.clear();
    EXPECT_EQ(open(deep + "/τραγούδι.wav"), "Success");
    EXPECT_GT(sent[0].size(), 255u);
}

TEST_F(ModuleMciTest, OpenOfAMissingFileSendsNoNameAndFails)
{
    const std::string status = open(folder->path() + "/missing.mp3");
    EXPECT_NE(status, "Success");
    EXPECT_EQ(status.size(), 128u);
    EXPECT_EQ(sent[0].substr(0, 12), "open  type M");
    EXPECT_FALSE(platform::mci::interpreter().isOpen(Alias));
}

TEST_F(ModuleMciTest, PlayMediaWritesItsDefaultsBack)
{
    ASSERT_EQ(open(wav->path), "Success");
    sent.clear();
    std::string from, to;
    EXPECT_EQ(PlayMedia(Alias, from, to), "Success");
    ASSERT_EQ(sent.size(), 3u);  // the length query's two commands, then the play
    EXPECT_EQ(from, "0");
    EXPECT_EQ(to, std::to_string(GetMediaLength(Alias)));
    EXPECT_EQ(sent[0], "set " + Alias + " time format frames");
    EXPECT_EQ(sent[1], "status " + Alias + " length");
    EXPECT_EQ(sent[2].size(), 128u);
    EXPECT_EQ(rtrim(sent[2]), "play " + Alias + " from 0 to " + to);
    EXPECT_EQ(GetMediaMode(Alias), "playing");

    std::string seekFrom = "1500", seekTo;
    EXPECT_EQ(PlayMedia(Alias, seekFrom, seekTo), "Success");
    EXPECT_EQ(seekFrom, "1500");
    EXPECT_GE(GetMediaPosition(Alias), 1500);
    EXPECT_EQ(PauseMedia(Alias), "Success");
    EXPECT_EQ(GetMediaMode(Alias), "paused");
    EXPECT_EQ(ResumeMedia(Alias), "Success");
    EXPECT_EQ(CloseMedia(Alias), "Success");
    EXPECT_EQ(GetMediaMode(Alias), "ERROR");
    EXPECT_EQ(GetMediaPosition(Alias), -1);
    EXPECT_NE(CloseMedia(Alias), "Success");
}

TEST_F(ModuleMciTest, LengthInMillisecondsLeavesTheFormatFrames)
{
    ASSERT_EQ(open(wav->path), "Success");
    sent.clear();
    const int32_t length = GetMediaLengthMs(Alias);
    EXPECT_NEAR(length, wav->lengthMs, 5);
    EXPECT_EQ(sent, (std::vector<std::string>{"set " + Alias + " time format ms", "status " + Alias + " length",
                                              "set " + Alias + " time format frames"}));
    char format[32];
    platform::mci::SendString("status " + Alias + " time format", format, sizeof format);
    EXPECT_STREQ(format, "frames");
    EXPECT_EQ(GetMediaLength(Alias), length);  // the same unit under "frames"
}

TEST_F(ModuleMciTest, VideoSize)
{
    ASSERT_EQ(open(avi->path), "Success");
    EXPECT_EQ(GetVideoSize(Alias, "cx"), 352);
    EXPECT_EQ(GetVideoSize(Alias, "CY"), 288);
    sent.clear();
    EXPECT_EQ(GetVideoSize(Alias, "cz"), -1);
    EXPECT_TRUE(sent.empty());
    EXPECT_EQ(GetVideoSize(Alias, "CX"), 352);
    EXPECT_EQ(sent, (std::vector<std::string>{"Where " + Alias + " destination"}));
    CloseMedia(Alias);
    ASSERT_EQ(open(wav->path), "Success");
    EXPECT_EQ(GetVideoSize(Alias, "cx"), -1);  // no picture
    EXPECT_EQ(GetVideoSize(Alias, "cy"), -1);

    EXPECT_EQ(VideoSizeFromReply("0 0 352 288", true), 352);
    EXPECT_EQ(VideoSizeFromReply("0 0 352 288", false), 288);
    EXPECT_EQ(VideoSizeFromReply("10 20 1920 1080", true), 1920);
    EXPECT_EQ(VideoSizeFromReply("0 0 352", true), -1);
    EXPECT_EQ(VideoSizeFromReply("", false), -1);
}

TEST_F(ModuleMciTest, AtEndExactlyWhenThePositionReachesTheLength)
{
    ASSERT_EQ(media::SendAction("open x type scripted alias s"), "Success");
    auto atEnd = [](const std::string& position, int32_t length) {
        Scripted::position = position;
        return IsMediaAtEnd("s", length);
    };
    EXPECT_FALSE(atEnd("999", 1000));
    EXPECT_TRUE(atEnd("1000", 1000));
    EXPECT_TRUE(atEnd("1001", 1000));
    EXPECT_FALSE(atEnd("refuse", 1000));

    // A length of 0 is asked for once and kept in the caller's variable.
    Scripted::length = "2000";
    Scripted::position = "2000";
    int32_t length = 0;
    sent.clear();
    EXPECT_TRUE(IsMediaAtEnd("s", length));
    EXPECT_EQ(length, 2000);
    EXPECT_EQ(sent.size(), 3u);
    Scripted::length = "refuse";
    length = 0;
    EXPECT_FALSE(IsMediaAtEnd("s", length));
    EXPECT_EQ(length, -1);
}

TEST_F(ModuleMciTest, RealEndOfTrackIsSeen)
{
    ASSERT_EQ(open(wav->path), "Success");
    int32_t length = 0;
    std::string from = std::to_string(GetMediaLength(Alias) - 250), to;
    ASSERT_EQ(PlayMedia(Alias, from, to), "Success");
    EXPECT_FALSE(IsMediaAtEnd(Alias, length));
    EXPECT_TRUE(testsupport::waitUntil([&] { return IsMediaAtEnd(Alias, length); }));
    EXPECT_EQ(GetMediaMode(Alias), "stopped");
}
