#include "media/Channel.h"
#include "platform/mci/Interpreter.h"

#include <gtest/gtest.h>

using namespace media;

TEST(Channel, LeadingNumberReadsLikeTheReplyReader)
{
    EXPECT_EQ(LeadingNumber("12345"), 12345);
    EXPECT_EQ(LeadingNumber("   42abc"), 42);
    EXPECT_EQ(LeadingNumber("-7"), -7);
    EXPECT_EQ(LeadingNumber("2.5 frames"), 2.5);
    EXPECT_EQ(LeadingNumber("1e3"), 1000);
    EXPECT_EQ(LeadingNumber("1e"), 1);
    EXPECT_EQ(LeadingNumber(""), 0);
    EXPECT_EQ(LeadingNumber("playing"), 0);
    EXPECT_EQ(LeadingNumber("."), 0);
    EXPECT_EQ(LeadingNumber("01:02:03"), 1);
}

TEST(Channel, RoundsHalvesToEvenAndRefusesWhatDoesNotFit)
{
    int32_t v = 0;
    ASSERT_TRUE(RoundToInt32(2.5, v));
    EXPECT_EQ(v, 2);
    ASSERT_TRUE(RoundToInt32(3.5, v));
    EXPECT_EQ(v, 4);
    ASSERT_TRUE(RoundToInt32(-2.5, v));
    EXPECT_EQ(v, -2);
    ASSERT_TRUE(RoundToInt32(2147483647.0, v));
    EXPECT_EQ(v, 2147483647);
    EXPECT_FALSE(RoundToInt32(2147483648.0, v));
    EXPECT_FALSE(RoundToInt32(1e300, v));
}

TEST(Channel, LeadingBlankNumbers)
{
    EXPECT_EQ(WithLeadingBlank(3), " 3");
    EXPECT_EQ(WithLeadingBlank(0), " 0");
    EXPECT_EQ(WithLeadingBlank(-3), "-3");
}

TEST(Channel, ConventionsOnADeviceThatIsNotOpen)
{
    platform::mci::interpreter().closeAll();
    // 1: never "Success"; the whole 128-character buffer, description then NULs.
    const std::string status = SendAction("Close nothing");
    ASSERT_EQ(status.size(), 128u);
    EXPECT_NE(status.substr(0, 7), "Success");
    EXPECT_NE(status[0], '\0');
    EXPECT_EQ(status.back(), '\0');
    // 2, 3, 5.
    EXPECT_EQ(SendNumeric("status nothing position"), -1);
    EXPECT_EQ(SendMode("status nothing mode"), "ERROR");
    EXPECT_EQ(SendRaw("status cd position"), std::string(30, '\0'));
    SendSilent("status nothing mode", 128);  // nothing to see, nothing to crash
}

TEST(Channel, SuccessIsExactlySuccess)
{
    platform::mci::interpreter().closeAll();
    EXPECT_EQ(SendAction("close all"), "Success");
}
