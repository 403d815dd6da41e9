// File names that are not valid UTF-8 (a Latin-1 name from an older system) go through the
// player's strings and back to the same bytes, and the file system finds them again.

#include "platform/AtomicFile.h"
#include "platform/FileNames.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <QDir>

#include <filesystem>
#include <fstream>

using namespace platform;

TEST(FileNames, EveryByteStringComesBackAsItWas)
{
    const QByteArray cases[] = {
        "plain.wav",
        "caf\xe9.mp3",                         // Latin-1
        "\xce\x9c\xce\xbf\xcf\x85.wav",        // valid Greek UTF-8
        "\xf0\x9f\x8e\xb5 and \xff\xfe",       // a character beyond the BMP, then stray bytes
        "\xc0\xaf overlong \xed\xa0\x80 cut",  // an overlong form and an encoded surrogate are not UTF-8
        "end \xe2\x82",                        // a sequence cut short at the end
    };
    for (const QByteArray& bytes : cases) {
        const QString name = DecodeFileName(bytes);
        EXPECT_EQ(EncodeFileName(name), bytes) << bytes.toHex().toStdString();
    }
    // Valid UTF-8 reads as Qt reads it; kept bytes show as replacement characters.
    EXPECT_EQ(DecodeFileName("\xce\x9c\xce\xbf\xcf\x85.wav"), QString::fromUtf8("Μου.wav"));
    EXPECT_EQ(ReadableFileName(DecodeFileName("caf\xe9.mp3")), QString::fromUtf8("caf\xef\xbf\xbd.mp3"));
    EXPECT_EQ(ReadableFileName(QString::fromUtf8("\xf0\x9f\x8e\xb5")), QString::fromUtf8("\xf0\x9f\x8e\xb5"));
}

TEST(FileNames, AFolderListsAndFindsANameInAnyBytes)
{
    testsupport::TempFolder folder;
    std::ofstream(folder.path() + "/caf\xe9.wav") << "x";
    std::ofstream(folder.path() + "/.hidden") << "x";
    const QString dir = QString::fromStdString(folder.path());
    QDir().mkpath(dir + "/sub");
    QStringList names = FolderFileNames(dir);
    names.sort();
    ASSERT_EQ(names.size(), 2);  // no folders
    EXPECT_EQ(names[0], ".hidden");
    const QString latin = dir + "/" + names[1];
    EXPECT_EQ(EncodeFileName(latin), QByteArray::fromStdString(folder.path()) + "/caf\xe9.wav");
    EXPECT_TRUE(IsRegularFile(latin));
    EXPECT_TRUE(PathExists(latin));
    EXPECT_FALSE(IsFolder(latin));
    EXPECT_TRUE(IsFolder(dir + "/sub"));
    EXPECT_FALSE(IsRegularFile(dir + "/sub"));
    EXPECT_FALSE(IsRegularFile(ReadableFileName(latin)));  // the name as shown is not the file
    EXPECT_TRUE(FolderFileNames(dir + "/nowhere").isEmpty());
    EXPECT_EQ(SubfolderNames(dir), QStringList{"sub"});

    // As a URL: its bytes escaped, and read back as the same name; a UTF-8 name as Qt writes it.
    EXPECT_EQ(FileUrlOf(latin), "file://" + QUrl::toPercentEncoding(dir, "/") + "/caf%E9.wav");
    EXPECT_EQ(LocalFileOf(QUrl(FileUrlOf(latin))), latin);
    const QString greek = dir + QString::fromUtf8("/Μου σική.wav");
    EXPECT_EQ(FileUrlOf(greek), QUrl::fromLocalFile(greek).toString());
}

// A file replaced whole is found under the bytes of its name, keeps its mode, and stays the
// file a link names rather than the link being replaced.
TEST(FileNames, AFileReplacedWholeKeepsItsNameModeAndLink)
{
    testsupport::TempFolder folder;
    const std::string old = folder.path() + "/caf\xe9";
    std::filesystem::create_directory(old);
    const QString list = DecodeFileName(QByteArray::fromStdString(old + "/mix\xe9.list"));
    ASSERT_TRUE(WriteFileAtomically(list, "one\r\n"));
    ASSERT_TRUE(WriteFileAtomically(list, "two\r\n"));
    EXPECT_EQ(ReadFileBytes(list), QByteArray("two\r\n"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(old), {}), 1);  // no temporary file left

    std::filesystem::permissions(old + "/mix\xe9.list", std::filesystem::perms(0640));
    const std::string link = folder.path() + "/link.list";
    std::filesystem::create_symlink(old + "/mix\xe9.list", link);
    ASSERT_TRUE(WriteFileAtomically(QString::fromStdString(link), "three\r\n"));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadFileBytes(list), QByteArray("three\r\n"));
    EXPECT_EQ(std::filesystem::status(old + "/mix\xe9.list").permissions(), std::filesystem::perms(0640));
    EXPECT_FALSE(WriteFileAtomically(DecodeFileName(QByteArray::fromStdString(old + "/nowhere/x.list")), "x"));
}
