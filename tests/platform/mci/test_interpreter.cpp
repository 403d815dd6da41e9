#include "platform/mci/Errors.h"
#include "platform/mci/Interpreter.h"
#include "platform/mci/Words.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace platform::mci;

namespace {

// Echoes what the interpreter hands a device, to check the dispatch.
struct EchoDevice : Device {
    OpenParams opened;
    uint32_t open(const OpenParams& p) override
    {
        opened = p;
        return p.element == "refuse" ? FileNotFound : Ok;
    }
    uint32_t execute(const std::string& verb, WordCursor& args, std::string& reply) override
    {
        reply = verb;
        while (auto w = args.next()) reply += "|" + *w;
        return Ok;
    }
};

struct InterpreterTest : ::testing::Test {
    Interpreter mci;
    std::string reply;
    void SetUp() override
    {
        mci.registerType("echo", [] { return std::make_unique<EchoDevice>(); });
    }
    uint32_t send(const std::string& command) { return mci.send(command, reply); }
};

}  // namespace

TEST(Words, BlanksQuotesAndCase)
{
    std::vector<std::string> words;
    EXPECT_EQ(splitWords("  seek cd to  3   ", words), Ok);
    EXPECT_EQ(words, (std::vector<std::string>{"seek", "cd", "to", "3"}));
    EXPECT_EQ(splitWords("open \"/my music/a b.mp3\" type mpegvideo", words), Ok);
    EXPECT_EQ(words[1], "/my music/a b.mp3");
    EXPECT_EQ(splitWords("open \"\" type x", words), Ok);
    EXPECT_EQ(words[1], "");
    EXPECT_EQ(splitWords("open \"unclosed", words), NoClosingQuote);
    EXPECT_EQ(splitWords("   ", words), Ok);
    EXPECT_TRUE(words.empty());
    EXPECT_TRUE(iequals("TMSF", "tmsf"));
    EXPECT_FALSE(iequals("tmsf", "tms"));
}

TEST(Words, IntegersAreWholeAndNothingElse)
{
    EXPECT_EQ(parseInteger("65000"), 65000);
    EXPECT_EQ(parseInteger("-3"), -3);
    EXPECT_EQ(parseInteger("+7"), 7);
    EXPECT_FALSE(parseInteger(""));
    EXPECT_FALSE(parseInteger("12a"));
    EXPECT_FALSE(parseInteger("1.5"));
    EXPECT_FALSE(parseInteger("99999999999999999999999"));
}

TEST_F(InterpreterTest, OpensUnderAliasAndDispatchesWithoutCompletionFlags)
{
    EXPECT_EQ(send("OPEN /a/b.mp3 TYPE Echo ALIAS Song parent 77 Style 1073741824 wait"), Ok);
    EXPECT_TRUE(mci.isOpen("song"));
    EXPECT_EQ(send("Status SONG mode wait notify"), Ok);
    EXPECT_EQ(reply, "status|mode");
    EXPECT_EQ(send("play song from 0 to 100"), Ok);
    EXPECT_EQ(reply, "play|from|0|to|100");
}

TEST_F(InterpreterTest, ErrorsAreDistinct)
{
    EXPECT_EQ(send(""), MissingCommandString);
    EXPECT_EQ(send("frobnicate cd"), UnrecognizedCommand);
    EXPECT_EQ(send("status"), InvalidDeviceName);
    EXPECT_EQ(send("status nobody mode"), InvalidDeviceName);
    EXPECT_EQ(send("open"), MissingParameter);
    EXPECT_EQ(send("open x type"), MissingParameter);
    EXPECT_EQ(send("open x type nosuchtype alias a"), CannotLoadDriver);
    EXPECT_EQ(send("open nosuchtype"), DeviceTypeRequired);
    EXPECT_EQ(send("open x type echo alias a parent -1"), BadInteger);
    EXPECT_EQ(send("open x type echo alias a style abc"), BadInteger);
    EXPECT_EQ(send("open x type echo alias a colour red"), UnrecognizedKeyword);
    EXPECT_EQ(send("open \"x type echo"), NoClosingQuote);
    EXPECT_EQ(send("play all"), CannotUseAll);
    EXPECT_EQ(send("close nobody"), InvalidDeviceName);
    EXPECT_EQ(mci.openCount(), 0u);
}

TEST_F(InterpreterTest, SecondOpenOfAnAliasFailsAndKeepsTheFirst)
{
    ASSERT_EQ(send("open one.mp3 type echo alias a"), Ok);
    EXPECT_EQ(send("open two.mp3 type echo alias A"), DuplicateAlias);
    EXPECT_EQ(mci.openCount(), 1u);
    EXPECT_EQ(send("open refuse type echo alias b"), FileNotFound);
    EXPECT_FALSE(mci.isOpen("b"));  // a failed open leaves nothing open
}

TEST_F(InterpreterTest, CloseAllClosesEveryDevice)
{
    ASSERT_EQ(send("open one type echo alias a"), Ok);
    ASSERT_EQ(send("open two type echo alias b"), Ok);
    EXPECT_EQ(send("close a"), Ok);
    EXPECT_EQ(mci.openCount(), 1u);
    EXPECT_EQ(send("close all"), Ok);
    EXPECT_EQ(mci.openCount(), 0u);
    EXPECT_EQ(send("status b mode"), InvalidDeviceName);
    EXPECT_EQ(send("close all"), Ok);  // nothing open is not an error
}

TEST(SendString, RepliesAreCutToTheBufferAndNulTerminated)
{
    Interpreter& mci = interpreter();
    mci.registerType("echo", [] { return std::make_unique<EchoDevice>(); });
    ASSERT_EQ(SendString("open x type echo alias e", nullptr, 0), Ok);
    char buffer[8];
    std::memset(buffer, 'X', sizeof buffer);
    EXPECT_EQ(SendString("status e abcdefghij", buffer, sizeof buffer), Ok);
    EXPECT_STREQ(buffer, "status|");  // 7 characters and the NUL
    std::memset(buffer, 'X', sizeof buffer);
    EXPECT_EQ(SendString("status e", buffer, 0), Ok);
    EXPECT_EQ(buffer[0], 'X');  // size 0: nothing written
    EXPECT_EQ(SendString("status nobody mode", buffer, sizeof buffer), InvalidDeviceName);
    EXPECT_EQ(buffer[0], '\0');
    mci.closeAll();
}

TEST(SendString, ErrorTextsAreReadableAndCut)
{
    char text[128];
    EXPECT_TRUE(GetErrorString(InvalidDeviceName, text, sizeof text));
    EXPECT_STRNE(text, "");
    char small[10];
    EXPECT_TRUE(GetErrorString(FileNotFound, small, sizeof small));
    EXPECT_EQ(std::strlen(small), 9u);
    EXPECT_FALSE(GetErrorString(12345, text, sizeof text));
    EXPECT_STREQ(text, "");
    for (uint32_t code : {259u, 261u, 263u, 270u, 275u, 276u, 282u, 289u, 293u, 306u})
        EXPECT_FALSE(describe(code).empty()) << code;
}
