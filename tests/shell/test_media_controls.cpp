// The desktop's media controls against the player, over a private session bus: the same calls
// the panels, playerctl and the media keys make.

#include "support/PlayerFixture.h"
#include "support/Files.h"
#include "metadata/Mp3Tag_Functions.h"
#include "media/ModuleMCI.h"
#include "platform/AuxVolume.h"
#include "shell/MediaControls.h"
#include "support/Text.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDir>
#include <QElapsedTimer>
#include <QLockFile>
#include <QStandardPaths>
#include <QProcess>
#include <QThread>
#include <QUrl>

#include <cstring>
#include <filesystem>

#include <signal.h>

using fixtures::Media;
using testsupport::q;

namespace {

const QString Service = QStringLiteral("org.mpris.MediaPlayer2.sonorell");
const QString Path = QStringLiteral("/org/mpris/MediaPlayer2");
const QString PlayerIface = QStringLiteral("org.mpris.MediaPlayer2.Player");

}  // namespace

// Collects the PropertiesChanged signals that reach another program.
class ChangeCatcher : public QObject {
    Q_OBJECT
public:
    QList<QVariantMap> changes;
    QList<qlonglong> seeks;  // the positions Seeked told, in microseconds
public slots:
    void changed(const QString&, const QVariantMap& properties, const QStringList&) { changes.push_back(properties); }
    void seeked(qlonglong positionUs) { seeks.push_back(positionUs); }
};

namespace {

// Runs a tool while this process goes on serving the bus; its output trimmed.
QString runWhileServing(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForStarted(5000)) return QStringLiteral("cannot start ") + program;
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (p.state() != QProcess::NotRunning && std::chrono::steady_clock::now() < until)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

QString playerctl(const QStringList& args) { return runWhileServing("playerctl", QStringList{"-p", "sonorell"} + args); }

// The fields of what plays ("xesam:title", "mpris:length", …), each as playerctl shows it, joined by '|'.
QString metadata(const QStringList& fields)
{
    QStringList format;
    for (const QString& field : fields) format << "{{" + field + "}}";
    return playerctl({"metadata", "--format", format.join('|')});
}
QString title() { return metadata({"xesam:title"}); }

// What playerctl shows once it shows want (or, after a while, still something else).
QString awaited(const std::function<QString()>& shown, const QString& want)
{
    QString got;
    testsupport::waitUntil([&] { return (got = shown()) == want; }, 5000, [] { QCoreApplication::processEvents(); });
    return got;
}
QString statusOnceItIs(const QString& want)
{
    return awaited([] { return playerctl({"status"}); }, want);
}
QString titleOnceItIs(const QString& want) { return awaited(title, want); }

// The real program's environment without a player fixture: no screen, home its folders.
QProcessEnvironment bareEnvironment(const testsupport::TempFolder& home)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("SONORELL_HOME", QString::fromStdString(home.path()));
    env.insert("XDG_RUNTIME_DIR", QString::fromStdString(home.path()));
    return env;
}

void tag(const std::string& path, const char* title, const char* artist, const char* album)
{
    Mp3Tag_Functions::TagRecord r{};
    std::memset(&r, ' ', sizeof r);
    std::memcpy(r.Identifier, "TAG", 3);
    std::memcpy(r.Title, title, std::strlen(title));
    std::memcpy(r.Artist, artist, std::strlen(artist));
    std::memcpy(r.Album, album, std::strlen(album));
    r.Genre[0] = 12;
    ASSERT_TRUE(Mp3Tag_Functions::WriteTag(QString::fromStdString(path), r));
}

class MediaControlsTest : public PlayerTest {
protected:
    // A second connection, so calls go through the bus daemon as another program's would.
    QDBusConnection client = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "client");

    void TearDown() override
    {
        controls.reset();
        QDBusConnection::disconnectFromBus("client");
        PlayerTest::TearDown();
    }
    void attach()
    {
        controls = std::make_unique<shell::MediaControls>(*window);
        ASSERT_TRUE(controls->registered());
    }
    QDBusMessage call(const QString& method, const QVariantList& args = {}, const QString& iface = PlayerIface)
    {
        QDBusMessage m = QDBusMessage::createMethodCall(Service, Path, iface, method);
        m.setArguments(args);
        return client.call(m, QDBus::BlockWithGui, 10000);
    }
    QVariant property(const QString& name)
    {
        const QDBusMessage reply = call("Get", {PlayerIface, name}, "org.freedesktop.DBus.Properties");
        if (reply.type() != QDBusMessage::ReplyMessage) return {};
        return reply.arguments().value(0).value<QDBusVariant>().variant();
    }
    bool setProperty(const QString& name, const QVariant& value)
    {
        return call("Set", {PlayerIface, name, QVariant::fromValue(QDBusVariant(value))}, "org.freedesktop.DBus.Properties")
                   .type() == QDBusMessage::ReplyMessage;
    }
    QString trackId() { return playerctl({"metadata", "mpris:trackid"}).remove(QLatin1Char('\'')); }
    // The real program started on args, as from a file manager, in this test's folders.
    void launch(QProcess& program, const QStringList& args = {})
    {
        program.setProcessEnvironment(programEnvironment());
        program.start(SONORELL_PLAYER, args);
    }
    // The desktop's Quit, and the program ends.
    void quit(QProcess& program)
    {
        call("Quit", {}, "org.mpris.MediaPlayer2");
        EXPECT_TRUE(program.waitForFinished(10000));
    }
    // one.mp3 ("Dawn" by "The Band" on "Record") and two.mp3, untagged, in the list; the controls
    // attached. Returns one.mp3.
    std::string startWithTwoSongs()
    {
        const auto first = fixtures::makeMedia(media.path(), Media::Mp3Cbr, 4.0, "one.mp3");
        const auto second = fixtures::makeMedia(media.path(), Media::Mp3Cbr, 4.0, "two.mp3");
        tag(first.path, "Dawn", "The Band", "Record");
        writeList({QString::fromStdString(first.path), QString::fromStdString(second.path)});
        start();
        attach();
        return first.path;
    }

    std::unique_ptr<shell::MediaControls> controls;
};

TEST_F(MediaControlsTest, AFilePlayingIsShownAndDrivenLikeTheButtons)
{
    startWithTwoSongs();
    EXPECT_EQ(playerctl({"status"}), "Stopped");
    EXPECT_EQ(metadata({"xesam:title", "xesam:artist", "xesam:album", "xesam:trackNumber"}), "Dawn|The Band|Record|1");
    EXPECT_NEAR(playerctl({"metadata", "mpris:length"}).toLongLong() / 1000, window->State().mediaLengthMs, 1);
    EXPECT_EQ(trackId(), "/org/sonorell/entry/1");
    EXPECT_FALSE(property("CanGoPrevious").toBool());
    EXPECT_TRUE(property("CanGoNext").toBool());

    playerctl({"play-pause"});
    EXPECT_EQ(playerctl({"status"}), "Playing");
    playerctl({"play-pause"});
    EXPECT_EQ(playerctl({"status"}), "Paused");

    // Seek and SetPosition go where the slider's release would; every jump, from the bus or the
    // window's own keys, is told once with Seeked, and an ordinary tick tells none.
    ChangeCatcher catcher;
    ASSERT_TRUE(client.connect(Service, Path, PlayerIface, "Seeked", &catcher, SLOT(seeked(qlonglong))));
    const auto toldMs = [&](int count) {
        waitFor([&] { return catcher.seeks.size() >= count; }, 2000);
        return catcher.seeks.size() == count ? catcher.seeks.back() / 1000 : -1;
    };
    call("Seek", {qlonglong(1500000)});
    EXPECT_EQ(ModuleMCI::GetMediaMode("ToTrexonTragoydi"), "playing");
    EXPECT_NEAR(property("Position").toLongLong() / 1000, 1500, 300);
    EXPECT_NEAR(toldMs(1), 1500, 300);
    call("SetPosition", {QVariant::fromValue(QDBusObjectPath("/org/sonorell/entry/1")), qlonglong(3000000)});
    EXPECT_NEAR(property("Position").toLongLong() / 1000, 3000, 300);
    EXPECT_NEAR(toldMs(2), 3000, 300);
    call("SetPosition", {QVariant::fromValue(QDBusObjectPath("/org/sonorell/entry/2")), qlonglong(0)});  // not this track
    EXPECT_GT(property("Position").toLongLong() / 1000, 2500);
    window->Timer2_Timer();
    window->SeekBy(-2000);
    EXPECT_NEAR(toldMs(3), 1000, 300);
    EXPECT_NEAR(property("Position").toLongLong() / 1000, 1000, 300);
    playerctl({"play"});  // playing already: it goes on
    EXPECT_NEAR(property("Position").toLongLong() / 1000, 1000, 400);

    playerctl({"next"});
    EXPECT_EQ(window->Tracks().current(), 1);
    EXPECT_EQ(trackId(), "/org/sonorell/entry/2");
    EXPECT_EQ(metadata({"xesam:title", "xesam:artist"}), "two.mp3|");  // the "New Artist" placeholder is no artist
    EXPECT_FALSE(property("CanGoNext").toBool());
    call("Next");  // on the last entry: nothing happens
    EXPECT_EQ(window->Tracks().current(), 1);
    call("Previous");
    EXPECT_EQ(window->Tracks().current(), 0);
}

// A seek from the desktop just after continuous play went on to the next file, before the window
// showed it, counts from where that file stands: back a second is its start, not near its end.
// A position set for the file that ended is stale.
TEST_F(MediaControlsTest, ASeekJustAfterAFileEndedCountsFromTheFileHeard)
{
    startWithTwoSongs();
    menu().synexeia_Click();
    ctl<QTimer>("Timer2")->stop();
    const auto playFirstToItsEnd = [&] {  // no events run meanwhile: the window has not seen the end
        window->UpdateMP3(0, true);
        window->SeekTo(3500);
        int32_t length = 0;
        ASSERT_TRUE(testsupport::waitUntil([&] { return ModuleMCI::IsMediaAtEnd("ToTrexonTragoydi", length); }));
        ASSERT_EQ(window->Tracks().current(), 0);
    };
    playFirstToItsEnd();
    call("SetPosition", {QVariant::fromValue(QDBusObjectPath("/org/sonorell/entry/1")), qlonglong(2000000)});
    EXPECT_EQ(window->Tracks().current(), 1);
    EXPECT_LT(window->PositionMs(), 1000);
    playFirstToItsEnd();
    call("Seek", {qlonglong(-1000000)});
    EXPECT_EQ(window->Tracks().current(), 1);
    EXPECT_LT(window->PositionMs(), 500);
    call("Seek", {qlonglong(10000000)});  // past its end: the next file, none after the last
    EXPECT_EQ(window->Tracks().current(), 1);
    EXPECT_EQ(ModuleMCI::GetMediaMode("ToTrexonTragoydi"), "playing");
}

// Removed from the list, the file playing plays on: the desktop shows it, not the entry that took
// its place, until the window goes on to that entry.
TEST_F(MediaControlsTest, AFileRemovedWhilePlayingIsStillTheOneShown)
{
    const std::string first = startWithTwoSongs();
    window->Image2_Click();
    ASSERT_TRUE(window->RemoveEntry(0));
    window->Timer2_Timer();
    EXPECT_EQ(playerctl({"status"}), "Playing");
    EXPECT_EQ(metadata({"xesam:title", "xesam:url"}), "Dawn|" + QUrl::fromLocalFile(QString::fromStdString(first)).toString());
    EXPECT_EQ(trackId(), "/org/sonorell/removed/1");
    EXPECT_TRUE(property("CanGoNext").toBool());  // to two.mp3, now the first entry
    call("Next");
    EXPECT_EQ(trackId(), "/org/sonorell/entry/1");
    EXPECT_EQ(title(), "two.mp3");
}

TEST_F(MediaControlsTest, VolumeIsTheBarsTenthsAndChangesAreSignalledFromTheTick)
{
    const auto song = fixtures::makeMedia(media.path(), Media::Mp3Cbr, 3.0, "one.mp3");
    writeList({QString::fromStdString(song.path)});
    start();
    attach();
    ChangeCatcher catcher;
    const QList<QVariantMap>& signalled = catcher.changes;
    ASSERT_TRUE(client.connect(Service, Path, "org.freedesktop.DBus.Properties", "PropertiesChanged", &catcher,
                               SLOT(changed(QString, QVariantMap, QStringList))));

    ASSERT_TRUE(setProperty("Volume", 0.34));
    EXPECT_DOUBLE_EQ(property("Volume").toDouble(), 0.3);
    EXPECT_EQ(player::Form1::LitSegments(player::Form1::GetOutputVolume(platform::AuxMedia)), 3);
    window->Label5_Click(6);  // the bar itself
    EXPECT_DOUBLE_EQ(property("Volume").toDouble(), 0.7);

    window->Image2_Click();
    window->Timer2_Timer();
    bool sawPlaying = false, sawVolume = false;
    EXPECT_TRUE(waitFor([&] {
        for (const QVariantMap& m : signalled) {
            sawPlaying = sawPlaying || m.value("PlaybackStatus").toString() == "Playing";
            sawVolume = sawVolume || m.contains("Volume");
        }
        return sawPlaying && sawVolume;
    }));
    const int before = signalled.size();
    window->Timer2_Timer();  // nothing changed: nothing is sent
    wait(200);               // nothing may arrive: a fixed time is the point here
    EXPECT_EQ(signalled.size(), before);
}

TEST_F(MediaControlsTest, ADiscTrackIsShownAndTheButtonsRulesHold)
{
    const auto disc = insertDisc({1500, 1500, 1500});
    start();
    ASSERT_FALSE(common::InMediaMode());
    attach();
    playerctl({"play"});
    EXPECT_EQ(playerctl({"status"}), "Playing");
    window->Timer2_Timer();
    EXPECT_EQ(metadata({"xesam:title", "xesam:trackNumber", "xesam:url"}), "Track 1|1|");
    EXPECT_NEAR(playerctl({"metadata", "mpris:length"}).toLongLong() / 1000, 20000, 20);

    playerctl({"next"});
    window->Timer2_Timer();
    EXPECT_EQ(trackId(), "/org/sonorell/disc/2");
    call("Seek", {qlonglong(5000000)});
    EXPECT_NEAR(property("Position").toLongLong() / 1000, 5000, 500);
    EXPECT_EQ(trackId(), "/org/sonorell/disc/2");
    playerctl({"pause"});
    EXPECT_EQ(playerctl({"status"}), "Paused");
    playerctl({"previous"});
    window->Timer2_Timer();
    EXPECT_EQ(trackId(), "/org/sonorell/disc/1");
    playerctl({"previous"});  // on track 1 it restarts it
    window->Timer2_Timer();
    EXPECT_EQ(trackId(), "/org/sonorell/disc/1");
    EXPECT_EQ(playerctl({"status"}), "Playing");
}

// The desktop shows the file's own picture (kept once in the cache), else the folder's cover, and
// nothing where there is none.
TEST_F(MediaControlsTest, CoverArtIsTheEmbeddedPictureElseTheFoldersCover)
{
    const QByteArray png = QByteArray::fromStdString(fixtures::tinyPng());
    const std::string pictured = fixtures::makeMedia(media.path(), Media::Flac, 2.0, "pictured.flac").path;
    const std::string picture = media.path() + "/front.png";
    ASSERT_TRUE(testsupport::writeBytes(q(picture), png));
    fixtures::pictureWithMutagen(pictured, picture);
    QDir().mkpath(q(media.path() + "/album"));
    const std::string plain = fixtures::makeMedia(media.path() + "/album", Media::Wav8Mono, 2.0, "plain.wav").path;
    QFile::copy(q(picture), q(media.path() + "/album/Folder.PNG"));
    const std::string bare = fixtures::makeMedia(media.path() + "/album", Media::Wav8Mono, 2.0, "bare.wav").path;
    QDir().mkpath(q(media.path() + "/bare"));
    QFile::rename(q(bare), q(media.path() + "/bare/bare.wav"));
    const std::string old = media.path() + "/caf\xe9";  // a folder named on an older system (Latin-1)
    std::filesystem::create_directory(old);
    std::filesystem::copy_file(plain, old + "/old.wav");
    std::filesystem::copy_file(picture, old + "/cover.png");
    writeList({q(pictured), q(plain), q(media.path() + "/bare/bare.wav"),
               platform::DecodeFileName(QByteArray::fromStdString(old + "/old.wav"))});
    start();
    attach();

    const QUrl art(playerctl({"metadata", "mpris:artUrl"}));
    ASSERT_TRUE(art.isLocalFile()) << art.toString().toStdString();
    EXPECT_TRUE(
        art.toLocalFile().startsWith(QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + "/sonorell/"));
    EXPECT_EQ(testsupport::readBytes(art.toLocalFile()), png);

    window->UpdateMP3(1, false);
    window->Timer2_Timer();
    EXPECT_EQ(playerctl({"metadata", "mpris:artUrl"}), QUrl::fromLocalFile(q(media.path() + "/album/Folder.PNG")).toString());
    window->UpdateMP3(2, false);
    window->Timer2_Timer();
    EXPECT_EQ(metadata({"mpris:artUrl", "xesam:title"}), "|bare.wav");
    window->UpdateMP3(3, false);
    window->Timer2_Timer();
    const QString escaped = "file://" + QUrl::toPercentEncoding(q(media.path()), "/") + "/caf%E9/";
    EXPECT_EQ(metadata({"mpris:artUrl", "xesam:url"}), escaped + "cover.png|" + escaped + "old.wav");
}

// The real program: playerctl drives it, Quit closes it as the Exit command does.
TEST_F(MediaControlsTest, TheProgramAnswersPlayerctlAndQuitSavesItsOptions)
{
    const auto first = fixtures::makeMedia(media.path(), Media::Mp3Cbr, 4.0, "one.mp3");
    const auto second = fixtures::makeMedia(media.path(), Media::Mp3Cbr, 4.0, "two.mp3");
    writeList({QString::fromStdString(first.path), QString::fromStdString(second.path)});
    QProcess program;
    launch(program);
    ASSERT_TRUE(program.waitForStarted());
    EXPECT_EQ(statusOnceItIs("Stopped"), "Stopped");
    EXPECT_EQ(title(), "one.mp3");
    playerctl({"play-pause"});
    EXPECT_EQ(playerctl({"status"}), "Playing");
    playerctl({"next"});
    EXPECT_EQ(title(), "two.mp3");
    EXPECT_EQ(read("Data.dat").size(), 0);  // made empty at start
    quit(program);
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_GT(read("Data.dat").size(), 0);
}

// Files reach the real program from outside: several on its command line become the list and the
// first plays; a later start (a file manager's double click) adds its file and plays it, ending
// at once; the desktop's OpenUri does the same, and refuses what is not a local file. A later
// start with the play switch (the desktop's action for a disc put in) plays the disc.
TEST_F(MediaControlsTest, FilesFromTheCommandLineALaterStartAndOpenUriPlay)
{
    const auto disc = insertDisc({750, 750});
    QStringList songs;
    for (const char* name : {"one.wav", "two.wav", "three.wav", "four.wav"})
        songs << q(fixtures::makeMedia(media.path(), Media::Wav8Mono, 30.0, name).path);
    QProcess program;
    launch(program, {songs[0], songs[1]});
    ASSERT_TRUE(program.waitForStarted());
    EXPECT_EQ(statusOnceItIs("Playing"), "Playing");
    EXPECT_EQ(title(), "one.wav");

    QProcess later;
    QElapsedTimer clock;
    clock.start();
    launch(later, {songs[2]});
    ASSERT_TRUE(later.waitForFinished(3000));
    EXPECT_LT(clock.elapsed(), 1500);
    EXPECT_EQ(later.exitCode(), 0);
    EXPECT_EQ(titleOnceItIs("three.wav"), "three.wav");
    EXPECT_EQ(playerctl({"status"}), "Playing");
    later.start(SONORELL_PLAYER);  // with nothing to open: it only ends
    EXPECT_TRUE(later.waitForFinished(3000));
    EXPECT_EQ(later.exitCode(), 0);
    EXPECT_EQ(program.state(), QProcess::Running);

    EXPECT_EQ(call("OpenUri", {QUrl::fromLocalFile(songs[3]).toString()}).type(), QDBusMessage::ReplyMessage);
    EXPECT_EQ(titleOnceItIs("four.wav"), "four.wav");
    const QDBusMessage refused = call("OpenUri", {"https://example.org/song.mp3"});
    EXPECT_EQ(refused.type(), QDBusMessage::ErrorMessage);
    EXPECT_EQ(refused.errorName(), "org.freedesktop.DBus.Error.NotSupported");
    EXPECT_EQ(call("OpenUri", {"file:///nowhere/song.mp3"}).type(), QDBusMessage::ErrorMessage);

    launch(later, {"/play"});
    ASSERT_TRUE(later.waitForFinished(3000));
    EXPECT_EQ(later.exitCode(), 0);
    EXPECT_EQ(titleOnceItIs("Track 1"), "Track 1");
    EXPECT_EQ(playerctl({"status"}), "Playing");
    quit(program);
    // The list the player ended with: the command line's files, then each one handed over.
    EXPECT_EQ(QString::fromUtf8(read("Default.list")), songs.join("\r\n") + "\r\n");
}

// Two starts at once (a file manager opening two files, each with a start of its own): the one
// that finds the other still starting (held here, as a slow start would be) waits for its answer.
TEST_F(MediaControlsTest, AStartThatFindsThePlayerStillStartingWaitsForIt)
{
    QStringList songs;
    for (const char* name : {"one.wav", "two.wav"})
        songs << q(fixtures::makeMedia(media.path(), Media::Wav8Mono, 30.0, name).path);
    QProcess program;
    launch(program, {songs[0]});
    ASSERT_TRUE(waitFor([&] { return QFile::exists(q(media.path() + "/sonorell-player.lock")); }));
    ::kill(pid_t(program.processId()), SIGSTOP);
    QProcess later;
    launch(later, {songs[1]});
    EXPECT_FALSE(later.waitForFinished(1200)) << "it gave up on a player that was starting";
    ::kill(pid_t(program.processId()), SIGCONT);
    ASSERT_TRUE(later.waitForFinished(10000));
    EXPECT_EQ(later.exitCode(), 0);
    EXPECT_EQ(titleOnceItIs("two.wav"), "two.wav");
    quit(program);
}

// An album rip's cue sheet opened with the real program: its tracks are the list, the first
// plays under the sheet's title with the folder's cover, and Next goes on to the second.
TEST_F(MediaControlsTest, AnAlbumRipsSheetOpensAsItsTracksWithItsCover)
{
    fixtures::makeMedia(media.path(), Media::Flac, 30.0, "rip.flac");
    const QString sheet = q(fixtures::writeFile(media.path(), "rip.cue",
                                                "FILE \"rip.flac\" WAVE\nTRACK 01 AUDIO\nTITLE \"Πρώτο\"\nINDEX 01 00:00:00\n"
                                                "TRACK 02 AUDIO\nTITLE \"Second\"\nINDEX 01 00:10:00\n"));
    const std::string cover = fixtures::writeFile(media.path(), "cover.jpg", "a picture");
    QProcess program;
    launch(program, {sheet});
    ASSERT_TRUE(program.waitForStarted());
    waitFor([&] { return playerctl({"status"}) == "Playing"; });
    EXPECT_EQ(metadata({"xesam:title", "mpris:artUrl", "xesam:url", "mpris:length"}),
              QStringList({QString::fromUtf8("Πρώτο"), QUrl::fromLocalFile(q(cover)).toString(),
                           QUrl::fromLocalFile(q(media.path() + "/rip.flac")).toString(), "10000000"})
                  .join('|'));
    playerctl({"next"});
    EXPECT_EQ(titleOnceItIs("Second"), "Second");
    EXPECT_EQ(playerctl({"status"}), "Playing");
    quit(program);
    EXPECT_EQ(QString::fromUtf8(read("Default.list")), sheet + "#1\r\n" + sheet + "#2\r\n");
}

// Without a session bus the program plays on and says nothing about it.
TEST(MediaControlsWithoutBus, TheProgramRunsQuietly)
{
    testsupport::TempFolder home;
    QProcess program;
    QProcessEnvironment env = bareEnvironment(home);
    env.insert("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + QString::fromStdString(home.file("no-bus")));
    program.setProcessEnvironment(env);
    program.start(SONORELL_PLAYER);
    ASSERT_TRUE(program.waitForStarted());
    EXPECT_FALSE(program.waitForFinished(1500));  // still running
    program.terminate();
    EXPECT_TRUE(program.waitForFinished(5000));
    const QString said = QString::fromUtf8(program.readAllStandardError() + program.readAllStandardOutput());
    EXPECT_FALSE(said.contains("dbus", Qt::CaseInsensitive)) << said.toStdString();
    EXPECT_FALSE(said.contains("mpris", Qt::CaseInsensitive)) << said.toStdString();
}

// The lock held by this test, with no player behind it (stuck, or its socket gone).
class LaterStart : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(held.tryLock(0));
        later.setProcessEnvironment(bareEnvironment(home));
        later.start(SONORELL_PLAYER, {QString::fromStdString(home.file("sonorell-player.lock"))});
    }
    testsupport::TempFolder home;
    QLockFile held{QString::fromStdString(home.file("sonorell-player.lock"))};
    QProcess later;
};

// A later start says so and fails, rather than ending as if its file had been handed on.
TEST_F(LaterStart, APlayerThatDoesNotAnswerIsReported)
{
    ASSERT_TRUE(later.waitForFinished(5000));
    EXPECT_EQ(later.exitCode(), 1);
    EXPECT_TRUE(later.readAllStandardError().contains("did not answer")) << "the failure was not told";
}

// The lock let go while a later start waits (the player quit meanwhile): that start is the player.
TEST_F(LaterStart, ALockLetGoMeanwhileMakesItThePlayer)
{
    QThread::msleep(500);
    held.unlock();
    EXPECT_FALSE(later.waitForFinished(2500)) << later.readAllStandardError().toStdString();
    later.terminate();
    EXPECT_TRUE(later.waitForFinished(5000));
}

}  // namespace

#include "test_media_controls.moc"
