#include "common/Globals.h"
#include "common/Language.h"
#include "common/ProgramFolder.h"
#include "common/TimeText.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

using namespace common;

TEST(TimeText, PadsToTwoDigitsAndNeverRollsIntoHours)
{
    EXPECT_EQ(TimeText(0), "00:00");
    EXPECT_EQ(TimeText(59), "00:59");
    EXPECT_EQ(TimeText(60), "01:00");
    EXPECT_EQ(TimeText(100), "01:40");
    EXPECT_EQ(TimeText(3599), "59:59");
    EXPECT_EQ(TimeText(3600), "60:00");
    EXPECT_EQ(TimeText(6000 * 60 + 5), "6000:05");
}

TEST(TimeText, RemainingCarriesMinusAndNegativeIsZero)
{
    EXPECT_EQ(TimeText(92, true), "-01:32");
    EXPECT_EQ(TimeText(0, true), "-00:00");
    EXPECT_EQ(TimeText(-5), "00:00");
    EXPECT_EQ(TimeTextMs(100999), "01:40");
    EXPECT_EQ(TimeTextMs(92000, true), "-01:32");
}

TEST(ProgramFolder, OverrideWinsAndLosesItsTrailingSlash)
{
    testsupport::TempFolder tmp;
    const QString home = QString::fromStdString(tmp.file("home")) + "/";
    const QString folder = ResolveProgramFolder(home, "/usr/bin", "/nonexistent");
    EXPECT_EQ(folder, QString::fromStdString(tmp.file("home")));
    EXPECT_TRUE(QFileInfo(folder).isDir());  // made when missing
}

TEST(ProgramFolder, ExecutableFolderWhenWritableElseDataFolder)
{
    testsupport::TempFolder tmp;
    const QString exe = QString::fromStdString(tmp.path());
    EXPECT_EQ(ResolveProgramFolder({}, exe, "/nonexistent"), exe);

    const QString data = QString::fromStdString(tmp.file("data"));
    const QString missingExe = QString::fromStdString(tmp.file("no/such/folder"));
    const QString fallback = ResolveProgramFolder({}, missingExe, data);
    EXPECT_EQ(fallback, data + "/Sonorell");
    EXPECT_TRUE(QFileInfo(fallback).isDir());
    EXPECT_FALSE(QFileInfo(missingExe).exists());  // never made
}

TEST(ProgramFolder, FilesJoinWithOneSlash)
{
    qputenv("SONORELL_HOME", QByteArray(getenv("TEST_ROOT")) + "/pf/");
    EXPECT_EQ(ProgramFile("Data.dat"), QString(getenv("TEST_ROOT")) + "/pf/Data.dat");
    qputenv("SONORELL_HOME", "/");
    EXPECT_EQ(ProgramFile("Data.dat"), "/Data.dat");  // the root loses its slash
}
