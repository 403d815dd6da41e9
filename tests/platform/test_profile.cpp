// Profile files as a catalogue from Windows has them, and the audio disc serial.

#include "platform/AtomicFile.h"
#include "support/Files.h"
#include "platform/CodePage.h"
#include "platform/Profile.h"
#include "platform/cdrom/Disc.h"
#include "platform/Settings.h"
#include "support/FullDisk.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

using platform::GetPrivateProfileString;
using platform::WritePrivateProfileString;

namespace {

class ProfileTest : public ::testing::Test {
protected:
    testsupport::TempFolder folder;
    QString path = QString::fromStdString(folder.file("CdRoms.ini"));
    void write(const QByteArray& bytes) { ASSERT_TRUE(testsupport::writeBytes(path, bytes)); }
    QByteArray bytes() const { return testsupport::readBytes(path); }
    QString read(const QString& section, const QString& key) const
    {
        return GetPrivateProfileString(section, key, "###########", path);
    }
};

const QByteArray HandMade = "; made by hand\r\n"
                            "[12345]\r\n"
                            "ARTIST = The Band  \r\n"
                            "album=\r\n"
                            "\r\n"
                            "; a comment line\r\n"
                            "Track1=Intro\r\n"
                            "Track2=########ABC\r\n"
                            "\r\n"
                            "[-1985229329]\r\n"
                            "Track1=Other disc\r\n";

}  // namespace

TEST_F(ProfileTest, ReadsIgnoreCaseTrimAndKnowEmptyFromMissing)
{
    write(HandMade);
    EXPECT_EQ(read("12345", "Artist"), "The Band");
    EXPECT_EQ(read(" 12345 ", "artist"), "The Band");
    EXPECT_EQ(read("12345", "Album"), "");              // present and empty
    EXPECT_EQ(read("12345", "Track3"), "###########");  // absent
    EXPECT_EQ(read("12345", "Track2"), "########ABC");
    EXPECT_EQ(read("-1985229329", "TRACK1"), "Other disc");
    EXPECT_EQ(read("999", "Track1"), "###########");
    EXPECT_EQ(GetPrivateProfileString("a", "b", "dflt", path + ".missing"), "dflt");
}

TEST_F(ProfileTest, LongValuesAreCutAt254)
{
    write("[1]\nTrack1=" + QByteArray(300, 'x') + "\n");
    EXPECT_EQ(read("1", "Track1"), QString(254, 'x'));
}

TEST_F(ProfileTest, WritesReplaceInPlaceAppendToTheirSectionAndKeepEveryOtherLine)
{
    write(HandMade);
    ASSERT_TRUE(WritePrivateProfileString("12345", "track1", "New intro", path));
    ASSERT_TRUE(WritePrivateProfileString("12345", "Track3", "Third", path));
    ASSERT_TRUE(WritePrivateProfileString("777", "Artist", "Someone", path));
    EXPECT_EQ(bytes(), QByteArray("; made by hand\r\n"
                                  "[12345]\r\n"
                                  "ARTIST = The Band  \r\n"
                                  "album=\r\n"
                                  "\r\n"
                                  "; a comment line\r\n"
                                  "Track1=New intro\r\n"
                                  "Track2=########ABC\r\n"
                                  "Track3=Third\r\n"
                                  "\r\n"
                                  "[-1985229329]\r\n"
                                  "Track1=Other disc\r\n"
                                  "[777]\r\n"
                                  "Artist=Someone\r\n"));
}

TEST_F(ProfileTest, AMissingFileIsMadeAndAValueStaysOneLine)
{
    ASSERT_TRUE(WritePrivateProfileString("5", "Artist", "two\r\nlines=bad", path));
    EXPECT_EQ(bytes(), QByteArray("[5]\r\nArtist=two  lines=bad\r\n"));
    EXPECT_EQ(read("5", "Artist"), "two  lines=bad");
    EXPECT_EQ(read("5", "lines"), "###########");
}

TEST_F(ProfileTest, AFileWithoutAFinalLineEndGetsOneBeforeWhatIsAdded)
{
    write("[1]\nA=1");
    ASSERT_TRUE(WritePrivateProfileString("1", "B", "2", path));
    ASSERT_TRUE(WritePrivateProfileString("2", "C", "3", path));
    EXPECT_EQ(bytes(), QByteArray("[1]\nA=1\nB=2\n[2]\nC=3\n"));
}

TEST_F(ProfileTest, AWindowsGreekCatalogueIsReadAndWrittenBackAsUtf8)
{
    const QString title = QString::fromUtf8("Τραγούδι της βροχής");
    const std::string greek = platform::ToGreekCodePage(title);
    write("[42]\r\nTrack1=" + QByteArray::fromStdString(greek) + "\r\nTrack2=x\r\n");
    EXPECT_EQ(read("42", "Track1"), title);
    ASSERT_TRUE(WritePrivateProfileString("42", "Track2", QString::fromUtf8("Νύχτα"), path));
    EXPECT_EQ(bytes(), ("[42]\r\nTrack1=" + title + "\r\nTrack2=" + QString::fromUtf8("Νύχτα") + "\r\n").toUtf8());
    EXPECT_EQ(read("42", "Track1"), title);
}

TEST_F(ProfileTest, AFileThatCannotBeReadIsNeverReplaced)
{
    // A folder where the catalogue should be: even root cannot read it as a file.
    ASSERT_TRUE(QDir().mkpath(path + "/inside"));
    EXPECT_FALSE(WritePrivateProfileString("12345", "Artist", "x", path));
    EXPECT_TRUE(QFileInfo(path + "/inside").isDir());
}

TEST(DiscSerial, SumsTheTrackStartsAndAddsTheLengthForShortDiscs)
{
    platform::cdrom::Toc toc;
    toc.firstTrack = 1;
    // Starts at 00:02:00, 00:22:00, 01:12:30 and 01:15:30 with the lead-in.
    toc.starts = {0, 1500, 5280, 5505};
    toc.leadout = 5805;
    EXPECT_EQ(platform::cdrom::AudioDiscSerial(toc), 0x200u + 0x1600u + 0x10C1Eu + 0x10F1Eu);
    toc.starts = {0, 1500};
    toc.leadout = 5280;
    EXPECT_EQ(platform::cdrom::AudioDiscSerial(toc), 0x200u + 0x1600u + 5280u);
    toc.starts = {33, 183};  // a disc whose first track does not start at 0
    toc.leadout = 333;
    EXPECT_EQ(platform::cdrom::AudioDiscSerial(toc), 0x221u + 0x421u + 300u);
    EXPECT_EQ(platform::cdrom::AudioDiscSerial(platform::cdrom::Toc{}), 0u);
    EXPECT_EQ(int32_t(0x89ABCDEFu), -1985229329);
}

// A full disk: nothing the player keeps is emptied or shortened, and each failure is reported.
TEST(FullDisk, FilesAndSettingsKeepTheirOldContentsAndTheFailureIsReported)
{
    testsupport::FullDisk disk;
    const std::string config = getenv("XDG_CONFIG_HOME");
    const QString catalogue = QString::fromStdString(disk.file("CdRoms.ini"));
    const QString data = QString::fromStdString(disk.file("Data.dat"));
    ASSERT_TRUE(platform::WritePrivateProfileString("123", "Artist", "Band", catalogue));
    ASSERT_TRUE(platform::WriteFileAtomically(data, QByteArray(514, '\x01')));
    setenv("XDG_CONFIG_HOME", disk.path().c_str(), 1);
    platform::SaveSetting("Sonorell", "LANGUAGE", "True");
    const auto bytesOf = testsupport::readBytes;
    const QByteArray catalogueBefore = bytesOf(catalogue), settingsBefore = bytesOf(platform::settingsFile());
    QStringList reported;
    platform::SetSaveFailureReporter([&](const QString& path) { reported << path; });
    {
        const testsupport::FullDisk::Full full(disk);
        EXPECT_FALSE(platform::WritePrivateProfileString("123", "Album", QString(600, 'x'), catalogue));
        EXPECT_FALSE(platform::WriteFileAtomically(data, QByteArray(514, '\x02')));
        platform::SaveSetting("Sonorell", "TRAY", QString(600, 'y'));
    }
    platform::SetSaveFailureReporter(nullptr);
    EXPECT_EQ(bytesOf(catalogue), catalogueBefore);
    EXPECT_EQ(bytesOf(data), QByteArray(514, '\x01'));
    EXPECT_EQ(bytesOf(platform::settingsFile()), settingsBefore);
    EXPECT_EQ(platform::GetSetting("Sonorell", "LANGUAGE"), "True");
    EXPECT_EQ(reported, (QStringList{catalogue, data, platform::settingsFile()}));
    EXPECT_FALSE(QFile::exists(platform::settingsFile() + ".new"));
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
}
