#include "platform/AuxVolume.h"
#include "platform/Settings.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(AuxVolume, FullWhenNeverSetThenRememberedBetweenRuns)
{
    resetAuxVolumes();
    EXPECT_EQ(auxGetVolume(AuxMedia), AuxFull);
    EXPECT_EQ(auxGetVolume(AuxCd), AuxFull);
    EXPECT_DOUBLE_EQ(auxGain(AuxMedia), 1.0);

    ASSERT_TRUE(auxSetVolume(AuxMedia, 0x80008000u));
    ASSERT_TRUE(auxSetVolume(AuxCd, 0xB332B332u));
    resetAuxVolumes();  // as a new run: read from the settings store
    EXPECT_EQ(auxGetVolume(AuxMedia), 0x80008000u);
    EXPECT_EQ(auxGetVolume(AuxCd), 0xB332B332u);
    EXPECT_NEAR(auxGain(AuxMedia), 32768 / 65535.0, 1e-9);
}

TEST(AuxVolume, ChannelsAreUnsignedAndTheLouderCounts)
{
    ASSERT_TRUE(auxSetVolume(AuxMedia, 0xFFFF0000u));  // right full, left silent
    EXPECT_DOUBLE_EQ(auxGain(AuxMedia), 1.0);
    ASSERT_TRUE(auxSetVolume(AuxMedia, 0x00001999u));
    EXPECT_NEAR(auxGain(AuxMedia), 0x1999 / 65535.0, 1e-9);
    EXPECT_FALSE(auxSetVolume(1, 5));
    EXPECT_EQ(auxGetVolume(1), 0u);
}

TEST(AuxVolume, ListenersHearChangesOfTheirDevice)
{
    std::vector<uint32_t> heard;
    const int id = addAuxListener([&](uint32_t device) { heard.push_back(device); });
    auxSetVolume(AuxCd, 1);
    auxSetVolume(AuxMedia, 2);
    removeAuxListener(id);
    auxSetVolume(AuxMedia, 3);
    EXPECT_EQ(heard, (std::vector<uint32_t>{AuxCd, AuxMedia}));
}

TEST(Settings, StoredUnderTheConfigFolder)
{
    SaveSetting("Sonorell", "Language", "English");
    EXPECT_EQ(GetSetting("Sonorell", "Language"), "English");
    EXPECT_EQ(GetSetting("Sonorell", "Missing", "fallback"), "fallback");
    EXPECT_TRUE(settingsFile().startsWith(qEnvironmentVariable("XDG_CONFIG_HOME") + "/Dravenholt/"));
}
