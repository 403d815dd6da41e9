// The class store: registry semantics, its REGEDIT4 file, and what a damaged or unreadable file keeps.

#include "platform/Registry.h"
#include "support/Files.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdlib>

namespace reg = platform::registry;

namespace {

class RegistryTest : public ::testing::Test {
protected:
    testsupport::TempFolder folder;
    void SetUp() override { setenv("XDG_CONFIG_HOME", folder.path().c_str(), 1); }

    static void write(const QByteArray& bytes)
    {
        QFile::remove(reg::StoreFile());
        reg::CreateKey("x");  // makes the folder
        ASSERT_TRUE(testsupport::writeBytes(reg::StoreFile(), bytes));
    }
    static QByteArray bytes(const QString& path = reg::StoreFile()) { return testsupport::readBytes(path); }
};

TEST_F(RegistryTest, KeysAndValuesMatchWithoutCaseAndKeepTheirFirstSpelling)
{
    ASSERT_TRUE(reg::CreateKey("Cantorine_.mp3\\Shell\\Open\\Command"));
    EXPECT_TRUE(reg::KeyExists("cantorine_.MP3\\shell"));
    EXPECT_TRUE(reg::KeyExists("Cantorine_.mp3\\\\Shell\\"));
    ASSERT_TRUE(reg::SetString("cantorine_.mp3\\shell\\open\\command", "", "/opt/x %1"));
    ASSERT_TRUE(reg::SetString("Cantorine_.mp3", "Content Type", "a"));
    ASSERT_TRUE(reg::SetString("Cantorine_.mp3", "content type", "b"));  // replaces, no second value
    EXPECT_EQ(reg::QueryString("CANTORINE_.MP3\\SHELL\\OPEN\\COMMAND", "").value(), "/opt/x %1");
    EXPECT_EQ(reg::QueryString("Cantorine_.mp3", "Content Type").value(), "b");
    EXPECT_FALSE(reg::QueryString("Cantorine_.mp3", "").has_value());  // no default set
    EXPECT_FALSE(reg::QueryString("Nowhere", "").has_value());
    EXPECT_FALSE(reg::SetString("Nowhere", "", "v"));  // a value needs its key
    EXPECT_EQ(bytes(), "REGEDIT4\r\n"
                       "\r\n[HKEY_CLASSES_ROOT\\Cantorine_.mp3]\r\n\"Content Type\"=\"b\"\r\n"
                       "\r\n[HKEY_CLASSES_ROOT\\Cantorine_.mp3\\Shell]\r\n"
                       "\r\n[HKEY_CLASSES_ROOT\\Cantorine_.mp3\\Shell\\Open]\r\n"
                       "\r\n[HKEY_CLASSES_ROOT\\Cantorine_.mp3\\Shell\\Open\\Command]\r\n@=\"/opt/x %1\"\r\n");
    EXPECT_TRUE(reg::DeleteValue("cantorine_.mp3\\shell\\open\\command", ""));
    EXPECT_FALSE(reg::QueryString("Cantorine_.mp3\\Shell\\Open\\Command", "").has_value());
    EXPECT_TRUE(reg::KeyExists("Cantorine_.mp3\\Shell\\Open\\Command"));  // the key stays
    EXPECT_FALSE(reg::DeleteValue("Cantorine_.mp3\\Shell\\Open\\Command", ""));
}

TEST_F(RegistryTest, TextRoundTripsWithEscapesOtherKindsAndNonAsciiText)
{
    write("REGEDIT4\r\n\r\n"
          "[HKEY_CLASSES_ROOT\\.mp3]\r\n"
          "@=\"Cantorine_.mp3\"\r\n"
          "\"Content Type\"=\"Cantorine Audio File\"\r\n\r\n"
          "[HKEY_CLASSES_ROOT\\Odd \"name\" ]\r\n"
          "@=\"C:\\\\Program Files\\\\say \\\"hi\\\" \xce\xa4\xcf\x81\xce\xb1\xce\xb3\xce\xbf\xcf\x8d\xce\xb4\xce\xb9\"\r\n"
          "\"Flags\"=dword:00010000\r\n"
          "\"Blob\"=hex:01,02,\\\r\n  03,04\r\n");
    EXPECT_EQ(reg::QueryString(".mp3", "").value(), "Cantorine_.mp3");
    EXPECT_EQ(reg::QueryString("odd \"NAME\" ", "").value(), QString::fromUtf8("C:\\Program Files\\say \"hi\" Τραγούδι"));
    EXPECT_FALSE(reg::QueryString("Odd \"name\" ", "Flags").has_value());  // not a string
    const QByteArray before = bytes();
    ASSERT_TRUE(reg::SetString(".mp3", "", "Cantorine_.mp3"));  // a rewrite keeps what it did not touch
    bool damaged = true;
    const auto again = reg::Classes::Parse(bytes(), &damaged);
    EXPECT_FALSE(damaged);
    EXPECT_EQ(again.Serialize().toStdString(), reg::Classes::Parse(before).Serialize().toStdString());
    EXPECT_TRUE(bytes().contains("\"Flags\"=dword:00010000\r\n\"Blob\"=hex:01,02,03,04\r\n"));
    EXPECT_FALSE(QFile::exists(reg::StoreFile() + ".damaged"));
}

TEST_F(RegistryTest, DamagedFileKeepsWhatCanBeReadAndIsSetAsideBeforeItIsReplaced)
{
    const QByteArray damagedText = "REGEDIT4\n"
                                   "[HKEY_CLASSES_ROOT\\.wav]\n"
                                   "@=\"wavfile\"\n"
                                   "@=\"no end\n"  // unclosed string
                                   "garbage line\n"
                                   "[HKEY_LOCAL_MACHINE\\Software]\n"  // another root
                                   "\"x\"=\"y\"\n"
                                   "[HKEY_CLASSES_ROOT\\wavfile\\shell\\open\\command]\n"
                                   "@=\"/usr/bin/p %1\"\n"
                                   "[HKEY_CLASSES_ROOT\\cut";  // cut off mid-line
    write(damagedText);
    EXPECT_EQ(reg::QueryString(".wav", "").value(), "wavfile");
    EXPECT_EQ(reg::QueryString("wavfile\\shell\\open\\command", "").value(), "/usr/bin/p %1");
    EXPECT_FALSE(reg::KeyExists("Software"));
    ASSERT_TRUE(reg::SetString(".wav", "Content Type", "audio"));
    EXPECT_EQ(bytes(reg::StoreFile() + ".damaged"), damagedText);
    bool damaged = true;
    reg::Classes::Parse(bytes(), &damaged);
    EXPECT_FALSE(damaged);
    EXPECT_EQ(reg::QueryString("wavfile\\shell\\open\\command", "").value(), "/usr/bin/p %1");
}

TEST_F(RegistryTest, UnreadableStoreIsNeverReplaced)
{
    // A store that exists but cannot be read as a file (here a folder in its place, which even
    // root cannot read as one) must not be replaced by what the program knows: nothing.
    write("");
    QFile::remove(reg::StoreFile());
    ASSERT_TRUE(QDir().mkpath(reg::StoreFile() + "/inside"));
    EXPECT_FALSE(reg::CreateKey("new"));
    EXPECT_FALSE(reg::QueryString("new", "").has_value());
    EXPECT_TRUE(QFileInfo(reg::StoreFile() + "/inside").isDir());
}

TEST_F(RegistryTest, LineBreaksInAValueCannotSplitTheFile)
{
    ASSERT_TRUE(reg::CreateKey("t"));
    ASSERT_TRUE(reg::SetString("t", "", "one\r\n[HKEY_CLASSES_ROOT\\evil]\n@=\"x\""));
    EXPECT_FALSE(reg::KeyExists("evil"));
    bool damaged = true;
    reg::Classes::Parse(bytes(), &damaged);
    EXPECT_FALSE(damaged);
}

}  // namespace
