// The command-line front: one answer line per command, each as soon as its line is read.

#include "fixtures/DiscImage.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <QProcess>

#include <fstream>

namespace {

QProcess* startTool(const std::string& cdSource, const QStringList& args = {})
{
    auto* tool = new QProcess;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("SONORELL_CD_DEVICE", QString::fromStdString(cdSource));
    tool->setProcessEnvironment(env);
    tool->start(SONORELL_MCI_TOOL, args);
    tool->waitForStarted();
    return tool;
}

QString ask(QProcess& tool, const QString& command, int timeoutMs = 5000)
{
    tool.write((command + "\n").toUtf8());
    while (!tool.canReadLine())
        if (!tool.waitForReadyRead(timeoutMs)) return "timeout";
    return QString::fromUtf8(tool.readLine()).trimmed();
}

}  // namespace

TEST(SonorellMci, AnswersEachLineAtOnce)
{
    testsupport::TempFolder folder;
    const auto disc = fixtures::makeDiscImage(folder.path(), {750, 300, 300});
    std::unique_ptr<QProcess> tool(startTool(disc.cue));
    EXPECT_EQ(ask(*tool, "open cdaudio alias cd wait shareable"), "0");
    EXPECT_EQ(ask(*tool, "set cd time format tmsf wait"), "0");
    EXPECT_EQ(ask(*tool, "status cd number of tracks wait"), "0 3");
    EXPECT_EQ(ask(*tool, "status cd length track 1"), "0 00:10:00");
    EXPECT_EQ(ask(*tool, "seek cd to  2"), "0");
    EXPECT_EQ(ask(*tool, "status cd position"), "0 02:00:00:00");
    EXPECT_TRUE(ask(*tool, "seek cd to  0").startsWith("282 "));
    EXPECT_TRUE(ask(*tool, "bogus words").startsWith("261 "));
    EXPECT_EQ(ask(*tool, "", 300), "timeout");  // blank lines are skipped, not answered
    tool->closeWriteChannel();
    EXPECT_TRUE(tool->waitForFinished(5000));
    EXPECT_EQ(tool->exitCode(), 0);
}

TEST(SonorellMci, ArgumentsAreCommandsToo)
{
    std::unique_ptr<QProcess> tool(startTool("none", {"open cdaudio alias cd", "status cd mode"}));
    ASSERT_TRUE(tool->waitForFinished(5000));
    const QStringList lines = QString::fromUtf8(tool->readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith("306 "));
    EXPECT_TRUE(lines[1].startsWith("263 "));
}

// A file GStreamer refuses fails at once, is tried once, and its reason is written once to
// standard error, for a user running from a terminal.
TEST(SonorellMci, AFileThatCannotBePlayedSaysWhyOnce)
{
    testsupport::TempFolder folder;
    const std::string junk = folder.file("junk.mp3");
    std::ofstream(junk) << std::string(8192, 'x');
    std::unique_ptr<QProcess> tool(startTool("none", {QString::fromStdString("open " + junk + " type MPEGVideo alias m")}));
    ASSERT_TRUE(tool->waitForFinished(8000));
    EXPECT_TRUE(QString::fromUtf8(tool->readAllStandardOutput()).startsWith("274 "));
    const QStringList reasons =
        QString::fromUtf8(tool->readAllStandardError()).split('\n', Qt::SkipEmptyParts).filter("cannot play");
    ASSERT_EQ(reasons.size(), 1);
    EXPECT_TRUE(reasons[0].contains("junk.mp3"));
    EXPECT_GT(reasons[0].section(": ", 2).size(), 5);  // GStreamer's own description follows
}
