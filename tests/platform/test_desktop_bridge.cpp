// The desktop side of associations: our entries, and our defaults among other programs' lines.

#include "platform/DesktopBridge.h"
#include "support/Files.h"
#include "support/DesktopEnv.h"

#include <gtest/gtest.h>

#include <QFile>

namespace desk = platform::desktop;

namespace {

const auto contents = testsupport::readBytes;

void put(const QString& path, const QByteArray& bytes) { ASSERT_TRUE(testsupport::writeBytes(path, bytes)); }

std::vector<desk::Association> handled(const QStringList& entries)
{
    std::vector<desk::Association> all;
    for (const char* e : {"AudioCD", ".mp3", ".mp2", ".mid", ".wma", ".wax", ".wav", ".rmi", ".mov", ".avi"})
        all.push_back({QString::fromLatin1(e), entries.contains(QString::fromLatin1(e))});
    return all;
}

const QString Program = QStringLiteral("/opt/My Player/sonorell");

TEST(DesktopBridge, ExecArgumentsQuotedOnlyWhenTheyMustBe)
{
    EXPECT_EQ(desk::ExecArgument("/usr/bin/sonorell"), "/usr/bin/sonorell");
    EXPECT_EQ(desk::ExecArgument("/opt/My Player/sonorell"), "\"/opt/My Player/sonorell\"");
    // Inside quotes $ " ` \ take a backslash, and every backslash is doubled again by the file's own escaping.
    EXPECT_EQ(desk::ExecArgument("/a$b\"c`d\\e"), "\"/a\\\\$b\\\\\"c\\\\`d\\\\\\\\e\"");
    EXPECT_EQ(desk::ExecArgument("/100%/p"), "/100%%/p");
}

TEST(DesktopBridge, OurEntryGoesFirstAndComesOutLeavingTheRestAsItWas)
{
    const QString us = desk::EntryId;
    EXPECT_EQ(desk::WithOursFirst("", us), "sonorell.desktop;");
    EXPECT_EQ(desk::WithOursFirst("vlc.desktop", us), "sonorell.desktop;vlc.desktop");
    EXPECT_EQ(desk::WithOursFirst("a.desktop;sonorell.desktop;b.desktop;", us), "sonorell.desktop;a.desktop;b.desktop;");
    EXPECT_EQ(desk::WithoutOurs(desk::WithOursFirst("vlc.desktop", us), us), "vlc.desktop");
    EXPECT_EQ(desk::WithoutOurs("sonorell.desktop;", us), "");
    EXPECT_EQ(desk::WithoutOurs("vlc.desktop;", us), "vlc.desktop;");
}

TEST(DesktopBridge, EntriesPassTheDesktopValidator)
{
    testsupport::DesktopEnv env;
    put(env.data() + "/main.desktop", desk::DesktopEntry(Program).toUtf8());
    put(env.data() + "/disc.desktop", desk::DiscEntry("/home/x/$odd \"dir\"/sonorell").toUtf8());
    EXPECT_EQ(env.run("desktop-file-validate", {env.data() + "/main.desktop"}), "");
    EXPECT_EQ(env.run("desktop-file-validate", {env.data() + "/disc.desktop"}), "");
    // Several files at once, and the lists it opens: playlists and album images' cue sheets.
    const QString entry = desk::DesktopEntry(Program);
    EXPECT_TRUE(entry.contains(" %F\n"));
    for (const char* type : {"audio/x-mpegurl;", "audio/x-scpls;", "application/x-cue;"})
        EXPECT_TRUE(entry.contains(type)) << type;
}

TEST(DesktopBridge, ReflectKeepsOtherProgramsLinesAndUndoesExactlyWhatItSet)
{
    testsupport::DesktopEnv env;
    const QByteArray others = "# chosen by hand\n"
                              "[Added Associations]\n"
                              "audio/mpeg=vlc.desktop;\n"
                              "\n"
                              "[Default Applications]\n"
                              "audio/mpeg=vlc.desktop\n"
                              "text/plain=gedit.desktop\n";
    put(desk::MimeAppsFile(), others);
    ASSERT_TRUE(desk::Reflect(handled({".mp3", ".mid", "AudioCD"}), Program));
    const QByteArray after = contents(desk::MimeAppsFile());
    EXPECT_TRUE(after.startsWith("# chosen by hand\n[Added Associations]\naudio/mpeg=vlc.desktop;\n\n[Default Applications]\n"
                                 "audio/mpeg=sonorell.desktop;vlc.desktop\ntext/plain=gedit.desktop\n"));
    EXPECT_TRUE(after.contains("audio/midi=sonorell.desktop;\n"));
    EXPECT_TRUE(after.contains("x-content/audio-cdda=sonorell-cd.desktop;\n"));
    EXPECT_FALSE(after.contains("audio/x-wav"));
    EXPECT_EQ(env.run("xdg-mime", {"query", "default", "audio/mpeg"}), "sonorell.desktop");
    EXPECT_EQ(env.run("xdg-mime", {"query", "default", "x-content/audio-cdda"}), "sonorell-cd.desktop");

    // .mid goes but .rmi shares its type: the type stays ours while either is handled.
    ASSERT_TRUE(desk::Reflect(handled({".mp3", ".rmi", "AudioCD"}), Program));
    EXPECT_TRUE(contents(desk::MimeAppsFile()).contains("audio/midi=sonorell.desktop;\n"));

    ASSERT_TRUE(desk::Reflect(handled({}), Program));
    EXPECT_EQ(contents(desk::MimeAppsFile()), others);
    EXPECT_FALSE(QFile::exists(desk::ApplicationsFolder() + "/sonorell.desktop"));
    EXPECT_FALSE(QFile::exists(desk::ApplicationsFolder() + "/sonorell-cd.desktop"));
    EXPECT_EQ(env.run("xdg-mime", {"query", "default", "audio/mpeg"}), "");
}

TEST(DesktopBridge, ANewMimeAppsListHasTheDesktopsLineEnds)
{
    testsupport::DesktopEnv env;
    ASSERT_TRUE(desk::Reflect(handled({".wav"}), Program));
    EXPECT_EQ(contents(desk::MimeAppsFile()), "[Default Applications]\naudio/x-wav=sonorell.desktop;\n");
    EXPECT_EQ(env.run("xdg-mime", {"query", "default", "audio/x-wav"}), "sonorell.desktop");
}

TEST(DesktopBridge, AnEntryNotWrittenByUsIsLeftInPlace)
{
    testsupport::DesktopEnv env;
    QDir().mkpath(desk::ApplicationsFolder());
    const QByteArray installed = "[Desktop Entry]\nType=Application\nName=Sonorell Player\nExec=sonorell %f\n";
    put(desk::ApplicationsFolder() + "/sonorell.desktop", installed);
    ASSERT_TRUE(desk::Reflect(handled({}), Program));
    EXPECT_EQ(contents(desk::ApplicationsFolder() + "/sonorell.desktop"), installed);
}

}  // namespace
