// The media file device on real files of every supported kind, made at run time.

#include "fixtures/Media.h"
#include "platform/ShortPath.h"
#include "platform/gst/MediaFile.h"
#include "platform/mci/Errors.h"
#include "platform/mci/Interpreter.h"
#include "support/MciSession.h"
#include "support/TempFolder.h"
#include "support/Waits.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <future>
#include <map>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace platform::mci;
using fixtures::Media;

namespace {

using testsupport::sleepMs;

class MediaDeviceTest : public ::testing::Test, protected testsupport::MciSession {
protected:
    static void SetUpTestSuite() { folder = new testsupport::TempFolder; }
    static void TearDownTestSuite()
    {
        delete folder;
        made.clear();
    }
    void TearDown() override { mci.closeAll(); }

    // Made once a suite, each kind and length in a folder of its own under the kind's own name.
    static const fixtures::MediaFile& media(Media kind, double seconds = 10.0)
    {
        auto& slot = made[{int(kind), int(seconds * 10)}];
        if (slot.path.empty()) {
            const std::string in = folder->file(std::to_string(int(kind)) + "_" + std::to_string(int(seconds * 10)));
            std::filesystem::create_directory(in);
            slot = fixtures::makeMedia(in, kind, seconds);
        }
        return slot;
    }
    uint32_t openFile(const std::string& path, const std::string& alias = "m")
    {
        return send("open " + platform::ShortPathName(path) + " type MPEGVideo Alias " + alias + " Style 1073741824");
    }

    static testsupport::TempFolder* folder;
    static std::map<std::pair<int, int>, fixtures::MediaFile> made;
};

testsupport::TempFolder* MediaDeviceTest::folder = nullptr;
std::map<std::pair<int, int>, fixtures::MediaFile> MediaDeviceTest::made;

}  // namespace

TEST_F(MediaDeviceTest, EveryFormatOpensWithItsTrueLengthAndPictureSize)
{
    for (Media kind : {Media::Mp3Cbr, Media::Mp3Vbr, Media::Mp3Id3v2, Media::Mp3Id3v1, Media::Mp2, Media::Wav16Stereo,
                       Media::Wav8Mono, Media::Midi, Media::Rmi, Media::Wma, Media::AviVideo, Media::MovVideo}) {
        const auto& file = media(kind);
        SCOPED_TRACE(file.path);
        ASSERT_EQ(openFile(file.path), Ok);
        EXPECT_EQ(ask("status m mode"), "stopped");
        const int length = number("status m length");
        EXPECT_NEAR(length, file.lengthMs, file.lengthMs * 0.01);
        ASSERT_EQ(send("set m time format ms"), Ok);
        EXPECT_EQ(number("status m length"), length);  // milliseconds under every format
        if (file.width)
            EXPECT_EQ(ask("where m destination"), "0 0 352 288");
        else
            EXPECT_EQ(send("where m destination"), NoWindow);
        EXPECT_EQ(send("close m"), Ok);
    }
}

TEST_F(MediaDeviceTest, BadFilesFailCleanlyAndLeaveTheAliasFree)
{
    const std::string dir = folder->path();
    std::ifstream mp3(media(Media::Mp3Cbr).path, std::ios::binary);
    std::string head(200, '\0');
    mp3.read(head.data(), 200);
    std::string noise(8000, '\0');
    for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = char((i * 2654435761u) >> 13);
    const std::map<std::string, uint32_t> bad = {
        {fixtures::writeFile(dir, "text.mp3", "this is not music\n"), CannotPlayFile},
        {fixtures::writeFile(dir, "empty.mp3", ""), InvalidFile},
        {fixtures::writeFile(dir, "cut.mp3", head), CannotPlayFile},
        {fixtures::writeFile(dir, "noise.mp3", noise), CannotPlayFile},
    };
    for (const auto& [path, code] : bad) {
        EXPECT_EQ(openFile(path), code) << path;
        EXPECT_FALSE(mci.isOpen("m")) << path;
    }
    EXPECT_EQ(send("open " + dir + "/missing.mp3 type MPEGVideo Alias m"), FileNotFound);
    EXPECT_EQ(send("open  type MPEGVideo Alias m parent 0 Style 1073741824"), FilenameRequired);
    EXPECT_EQ(send("open " + dir + " type MPEGVideo Alias m"), FileNotFound);  // a folder
    EXPECT_EQ(mci.openCount(), 0u);

    ASSERT_EQ(openFile(media(Media::Wav16Stereo).path), Ok);
    EXPECT_EQ(openFile(media(Media::Mp3Cbr).path), DuplicateAlias);
    EXPECT_EQ(number("status m length"), media(Media::Wav16Stereo).lengthMs);  // the first one stays
}

TEST_F(MediaDeviceTest, OpenPlayPauseResumeStopClose)
{
    ASSERT_EQ(openFile(media(Media::Mp3Cbr).path), Ok);
    EXPECT_EQ(number("status m position"), 0);
    ASSERT_EQ(send("play m from 0 to " + ask("status m length")), Ok);
    EXPECT_EQ(ask("status m mode"), "playing");
    ASSERT_TRUE(testsupport::waitUntil([&] { return number("status m position") >= 300; }));
    ASSERT_EQ(send("Pause m"), Ok);
    EXPECT_EQ(ask("status m mode"), "paused");
    const int paused = number("status m position");
    EXPECT_GE(paused, 300);
    sleepMs(300);  // nothing may move while paused: a fixed time is the point here
    EXPECT_EQ(number("status m position"), paused);
    ASSERT_EQ(send("Resume m"), Ok);
    EXPECT_EQ(ask("status m mode"), "playing");
    EXPECT_TRUE(testsupport::waitUntil([&] { return number("status m position") > paused; }));
    ASSERT_EQ(send("stop m"), Ok);
    EXPECT_EQ(ask("status m mode"), "stopped");
    const int stopped = number("status m position");
    EXPECT_EQ(send("Resume m"), Ok);  // a stopped file plays on from where it stands
    EXPECT_EQ(ask("status m mode"), "playing");
    EXPECT_GE(number("status m position"), stopped);
    ASSERT_EQ(send("Close m"), Ok);
    EXPECT_EQ(send("status m mode"), InvalidDeviceName);
}

TEST_F(MediaDeviceTest, PlayFromToStopsAtTo)
{
    ASSERT_EQ(openFile(media(Media::Wav16Stereo).path), Ok);
    ASSERT_EQ(send("play m from 3000 to 3400"), Ok);
    const int during = number("status m position");
    EXPECT_GE(during, 3000);
    EXPECT_LE(during, 3400);
    EXPECT_TRUE(testsupport::waitUntil([&] { return ask("status m mode") == "stopped"; }));
    EXPECT_EQ(number("status m position"), 3400);
    // A later play without "to" runs to the end again.
    const int length = number("status m length");
    ASSERT_EQ(send("play m from " + std::to_string(length - 200)), Ok);
    EXPECT_TRUE(testsupport::waitUntil([&] { return ask("status m mode") == "stopped"; }));
    EXPECT_EQ(number("status m position"), length);
}

TEST_F(MediaDeviceTest, TheEndOfATrackIsStoppedAtItsLength)
{
    const auto& file = media(Media::Mp3Vbr, 1.0);
    ASSERT_EQ(openFile(file.path), Ok);
    const int length = number("status m length");
    ASSERT_EQ(send("play m from 0 to " + std::to_string(length)), Ok);
    EXPECT_TRUE(testsupport::waitUntil([&] { return ask("status m mode") == "stopped"; }, length + 5000));
    EXPECT_EQ(number("status m position"), length);
    // Played again from the start after the end.
    ASSERT_EQ(send("play m from 0 to " + std::to_string(length)), Ok);
    EXPECT_EQ(ask("status m mode"), "playing");
    EXPECT_LT(number("status m position"), 300);
}

TEST_F(MediaDeviceTest, RefusesBadValues)
{
    ASSERT_EQ(openFile(media(Media::Wav8Mono).path), Ok);
    const int length = number("status m length");
    EXPECT_EQ(send("play m from " + std::to_string(length + 1)), OutOfRange);
    EXPECT_EQ(send("play m from -5"), OutOfRange);
    EXPECT_EQ(send("play m from 500 to 100"), OutOfRange);
    EXPECT_EQ(send("play m from abc"), BadInteger);
    EXPECT_EQ(send("play m sideways"), UnrecognizedKeyword);
    EXPECT_EQ(send("set m time format smpte"), BadTimeFormat);
    EXPECT_EQ(send("status m colour"), UnrecognizedKeyword);
    EXPECT_EQ(send("pause m now"), ExtraCharacters);
    EXPECT_EQ(ask("status m mode"), "stopped");
}

TEST_F(MediaDeviceTest, PathsWithBlanksGreekQuotesAndPercentSignsOpen)
{
    const std::string dir = folder->path() + "/Μουσική με κενά";
    std::filesystem::create_directories(dir);
    for (const char* name : {"a b.wav", "τραγούδι.wav", "it's \"quoted\".wav", "100% #1?.wav"}) {
        const std::string path = dir + "/" + name;
        std::filesystem::copy_file(media(Media::Wav8Mono, 1.0).path, path);
        const std::string uri = platform::ShortPathName(path);
        EXPECT_EQ(uri.find(' '), std::string::npos) << uri;
        EXPECT_EQ(platform::LocalPathOf(uri), path);
        EXPECT_EQ(openFile(path), Ok) << path;
        EXPECT_EQ(send("close m"), Ok);
    }
    EXPECT_EQ(platform::ShortPathName(dir + "/missing.wav"), "");
    EXPECT_EQ(platform::ShortPathName(""), "");
}

namespace {

std::size_t openDescriptors()
{
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) ++n;
    return n;
}

long residentKb()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    return 0;
}

}  // namespace

TEST_F(MediaDeviceTest, ThreeHundredCyclesLeaveNothingBehind)
{
    const std::vector<std::string> files = {media(Media::Mp3Cbr, 1.0).path, media(Media::Wav8Mono, 1.0).path,
                                            media(Media::Wma, 1.0).path, media(Media::AviVideo, 1.0).path,
                                            media(Media::Midi, 1.0).path};
    auto cycle = [&](int i) {
        ASSERT_EQ(openFile(files[i % files.size()]), Ok);
        ASSERT_EQ(send("play m from 0"), Ok);
        ASSERT_EQ(send("close m"), Ok);
    };
    for (int i = 0; i < 20; ++i) cycle(i);  // warm-up: plugins loaded, caches filled
    const std::size_t descriptors = openDescriptors();
    const long resident = residentKb();
    for (int i = 0; i < 300; ++i) cycle(i);
    EXPECT_LE(openDescriptors(), descriptors + 2);
    EXPECT_LT(residentKb() - resident, 40 * 1024) << "resident memory grew";
}

// A source that never answers (a stalled mount, a pipe nobody writes): the open gives up within a
// bound instead of freezing the window, and never tries the file a second time.
TEST_F(MediaDeviceTest, ASourceThatNeverAnswersFailsWithinABound)
{
    const std::string pipe = folder->path() + "/stalled.mp3";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const int writer = ::open(pipe.c_str(), O_RDWR | O_NONBLOCK);  // holds the pipe open, writes nothing
    ASSERT_GE(writer, 0);
    std::promise<void> opened;
    std::thread release([writer, done = opened.get_future()] {
        done.wait_for(std::chrono::seconds(12));  // at the latest, an end of file long after any bound
        ::close(writer);
    });
    const auto started = std::chrono::steady_clock::now();
    {
        // The device refuses an empty file before it gets here; the player below it is what waits.
        EXPECT_EQ(platform::gst::OpenMediaFile("file://" + pipe, 0), nullptr);
        const auto waited = std::chrono::steady_clock::now() - started;
        opened.set_value();
        EXPECT_LT(waited, std::chrono::seconds(10));  // one try, not two of the old ten seconds each
    }
    EXPECT_EQ(openFile(pipe), InvalidFile);
    release.join();
}
