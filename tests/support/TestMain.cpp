// Every test program starts with its own settings and program folders, so nothing a test
// writes reaches the user's files.

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <cstdlib>

int main(int argc, char** argv)
{
    QTemporaryDir root;
    setenv("XDG_CONFIG_HOME", (root.path() + "/config").toUtf8().constData(), 1);
    setenv("XDG_DATA_HOME", (root.path() + "/data").toUtf8().constData(), 1);
    setenv("SONORELL_HOME", (root.path() + "/program").toUtf8().constData(), 1);
    setenv("TEST_ROOT", root.path().toUtf8().constData(), 1);
    if (!getenv("SONORELL_AUDIO_SINK")) setenv("SONORELL_AUDIO_SINK", "fakesink sync=true", 1);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
