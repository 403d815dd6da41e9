// Parts of one sound file opened as files (an album image's tracks): their lengths, positions and
// seeks count from the part's start, a part ends where its frames end, and the next part of the
// same file follows it on the output as any cued file does.

#include "fixtures/Media.h"
#include "platform/ShortPath.h"
#include "platform/gst/AudioOutput.h"
#include "platform/gst/Decoder.h"
#include "platform/gst/MediaFile.h"
#include "platform/mci/Errors.h"
#include "platform/mci/Interpreter.h"
#include "platform/mci/Sections.h"
#include "support/MciSession.h"
#include "support/TempFolder.h"
#include "support/Waits.h"

#include <gtest/gtest.h>

using namespace platform::mci;
using platform::gst::AudioOutput;

namespace {

class SectionTest : public ::testing::Test, protected testsupport::MciSession {
protected:
    static void SetUpTestSuite()
    {
        folder = new testsupport::TempFolder;
        image = fixtures::makeMedia(folder->path(), fixtures::Media::Flac, 4.0, "image.flac").path;
    }
    static void TearDownTestSuite() { delete folder; }
    // "<folder>/image.cue#N": part 1 is 0..1 s, part 2 1..3 s, part 3 3 s to the end; part 9 lies
    // beyond the end.
    void SetUp() override
    {
        SetSectionReader([](const std::string& path) -> std::optional<FileSection> {
            const std::string prefix = folder->path() + "/image.cue#";
            if (path.rfind(prefix, 0) != 0) return std::nullopt;
            switch (std::stoi(path.substr(prefix.size()))) {
            case 1: return FileSection{image, 0, 75};
            case 2: return FileSection{image, 75, 225};
            case 3: return FileSection{image, 225, -1};
            case 9: return FileSection{image, 75 * 60, -1};
            default: return std::nullopt;
            }
        });
    }
    void TearDown() override
    {
        mci.closeAll();
        SetSectionReader({});
        testsupport::waitUntil([] { return !AudioOutput::instance().playing(); }, 1000);
    }

    static std::string part(int n) { return folder->path() + "/image.cue#" + std::to_string(n); }
    static std::string partUri(int n)
    {
        const int64_t bounds[][2] = {{0, 75}, {75, 225}, {225, -1}};
        return platform::gst::SectionUri(platform::ShortPathName(image), bounds[n - 1][0], bounds[n - 1][1]);
    }
    uint32_t open(const std::string& path, const std::string& alias)
    {
        return send("open \"" + path + "\" type MPEGVideo Alias " + alias);
    }

    static testsupport::TempFolder* folder;
    static std::string image;
};

testsupport::TempFolder* SectionTest::folder = nullptr;
std::string SectionTest::image;

}  // namespace

TEST_F(SectionTest, APartOpensWithItsOwnLengthAndCountsFromItsStart)
{
    ASSERT_EQ(open(part(2), "p"), Ok);
    EXPECT_EQ(number("status p length"), 2000);
    EXPECT_EQ(number("status p position"), 0);
    ASSERT_EQ(send("seek p to 1500"), Ok);
    EXPECT_EQ(number("status p position"), 1500);
    // Played to its end, it stops at its own length, not the file's.
    ASSERT_EQ(send("play p"), Ok);
    ASSERT_TRUE(testsupport::waitUntil([&] { return ask("status p mode") == "stopped"; }, 3000));
    EXPECT_EQ(number("status p position"), 2000);
    ASSERT_EQ(send("play p from 1800 to 2001"), OutOfRange);

    ASSERT_EQ(open(part(3), "last"), Ok);
    ASSERT_EQ(open(image, "whole"), Ok);
    EXPECT_NEAR(number("status last length"), number("status whole length") - 3000, 1);  // to the file's end
}

TEST_F(SectionTest, APathNoReaderKnowsOrAPartBeyondTheFileFailsCleanly)
{
    EXPECT_EQ(open(part(5), "p"), FileNotFound);
    EXPECT_EQ(open(part(9), "p"), CannotPlayFile);
    SetSectionReader({});
    EXPECT_EQ(open(part(1), "p"), FileNotFound);
    ASSERT_EQ(open(image, "w"), Ok);
    EXPECT_EQ(send("cue w next \"" + part(2) + "\""), FileNotFound);
}

TEST_F(SectionTest, TheNextPartFollowsOnTheOutputAndIsTakenOverFromItsStart)
{
    ASSERT_EQ(open(part(1), "a"), Ok);
    ASSERT_EQ(send("cue a next \"" + part(2) + "\""), Ok);
    ASSERT_EQ(send("play a"), Ok);
    ASSERT_TRUE(testsupport::waitUntil([&] { return AudioOutput::instance().runningOn(partUri(2)); }, 3000))
        << "the output did not go on to the next part";
    ASSERT_TRUE(testsupport::waitUntil([&] { return ask("status a mode") == "stopped"; }, 2000));
    EXPECT_EQ(number("status a position"), 1000);
    ASSERT_EQ(send("close a"), Ok);
    ASSERT_EQ(open(part(2), "a"), Ok);
    EXPECT_EQ(ask("status a mode"), "playing");
    EXPECT_EQ(number("status a length"), 2000);
    const int taken = number("status a position");
    EXPECT_LT(taken, 1000) << "the part taken over counts from its own start";
    EXPECT_TRUE(testsupport::waitUntil([&] { return number("status a position") > taken; }));
}

// Part 1 ends on its 44100th or 48000th sample: the next part starts on the output one second
// in, to the sample, with no sample of the one before played twice.
TEST_F(SectionTest, ThePartsOfAFileMeetOnTheOutputSampleForSample)
{
    ASSERT_EQ(open(part(1), "a"), Ok);
    ASSERT_EQ(send("cue a next \"" + part(2) + "\""), Ok);
    ASSERT_EQ(send("play a"), Ok);
    ASSERT_TRUE(testsupport::waitUntil([&] { return ask("status a mode") == "stopped"; }, 3000));
    const std::shared_ptr<platform::gst::Decoder> next = AudioOutput::instance().takeRunOn(partUri(2));
    ASSERT_TRUE(next);
    EXPECT_NEAR(AudioOutput::instance().span(*next).startNs, 1'000'000'000, 1000);
    AudioOutput::instance().release(next.get());
}
