// Window tests need a QApplication; this main makes one and then runs the tests.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

int main(int argc, char** argv)
{
    QTemporaryDir root;
    setenv("XDG_CONFIG_HOME", (root.path() + "/config").toUtf8().constData(), 1);
    setenv("XDG_DATA_HOME", (root.path() + "/data").toUtf8().constData(), 1);
    setenv("XDG_CACHE_HOME", (root.path() + "/cache").toUtf8().constData(), 1);
    setenv("XDG_RUNTIME_DIR", root.path().toUtf8().constData(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    if (!getenv("SONORELL_AUDIO_SINK")) setenv("SONORELL_AUDIO_SINK", "fakesink sync=true", 1);
    setenv("SONORELL_VIDEO_SINK", "fakesink sync=true", 1);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Sonorell Player"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
