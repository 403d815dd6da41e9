// Disc titles found without typing: the disc's CD-Text, and the disc database answered by a
// stand-in web service started in the test.

#include "support/PlayerFixture.h"
#include "support/StandInService.h"
#include "catalogue/Disk_Volume.h"
#include "catalogue/FoundTitles.h"
#include "catalogue/OnlineTitles.h"
#include "platform/MusicBrainz.h"
#include "platform/Profile.h"
#include "platform/cdrom/DiscId.h"
#include "support/Controls.h"

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QSslConfiguration>
#include <QSslSocket>
#include <QTcpSocket>
#include <QTimer>

#include <functional>

using platform::cdrom::MusicBrainzDiscOf;
using platform::cdrom::Toc;
using testsupport::StandInService;

namespace {

// A table of contents as a drive reports it, from MusicBrainz-style offsets (lead-in included).
Toc tocOf(int first, const std::vector<int>& offsets, int leadout)
{
    Toc toc;
    toc.firstTrack = first;
    for (int offset : offsets) toc.starts.push_back(offset - 150);
    toc.leadout = leadout - 150;
    return toc;
}

// The disc id as MusicBrainz defines it, computed here without libdiscid: SHA-1 of the first and
// last track in two hex digits and 100 offsets (the leadout first) in eight, in MusicBrainz's base64.
std::string discIdByHand(int first, int last, int leadout, const std::vector<int>& offsets)
{
    QByteArray text = QByteArray::number(first, 16).toUpper().rightJustified(2, '0') +
                      QByteArray::number(last, 16).toUpper().rightJustified(2, '0');
    for (int i = 0; i < 100; ++i) {
        const int value = i == 0 ? leadout : (i <= int(offsets.size()) ? offsets[size_t(i - 1)] : 0);
        text += QByteArray::number(value, 16).toUpper().rightJustified(8, '0');
    }
    QByteArray id = QCryptographicHash::hash(text, QCryptographicHash::Sha1).toBase64();
    id.replace('+', '.').replace('/', '_').replace('=', '-');
    return id.toStdString();
}

// A release's medium: its track count and whether its "discs" name the disc asked about.
struct Medium {
    int tracks;
    bool namesTheDisc = false;
};
struct Release {
    QString album;
    std::vector<Medium> media;
};

// A discid answer as the service gives it, releases in that order. Track titles read
// "<album> song <n>", or "<album> disc <m> song <n>" on a release of several media.
QByteArray releasesJson(const QString& discId, const std::vector<Release>& releases)
{
    QByteArray json = R"({"id":")" + discId.toUtf8() + R"(","releases":[)";
    for (size_t r = 0; r < releases.size(); ++r) {
        const Release& release = releases[r];
        json += (r ? "," : "") + QByteArray(R"({"title":")") + release.album.toUtf8() +
                R"(","artist-credit":[{"name":"Μίκης","joinphrase":" & "},{"name":"Band","joinphrase":""}],"media":[)";
        for (size_t m = 0; m < release.media.size(); ++m) {
            const Medium& medium = release.media[m];
            const QByteArray prefix =
                release.album.toUtf8() + (release.media.size() > 1 ? " disc " + QByteArray::number(m + 1) : QByteArray());
            json += (m ? "," : "") + QByteArray(R"({"position":)") + QByteArray::number(m + 1) + R"(,"track-count":)" +
                    QByteArray::number(medium.tracks) + R"(,"discs":[)" +
                    (medium.namesTheDisc ? R"({"id":")" + discId.toUtf8() + R"("})" : QByteArray()) + R"(],"tracks":[)";
            for (int t = 1; t <= medium.tracks; ++t)
                json += (t > 1 ? "," : "") + QByteArray(R"({"position":)") + QByteArray::number(t) + R"(,"title":")" + prefix +
                        " song " + QByteArray::number(t) + R"(","recording":{"title":"rec"}})";
            json += "]}";
        }
        json += "]}";
    }
    return json + "]}";
}

QByteArray releasesJson(const QString& discId, const std::vector<std::pair<QString, int>>& releases)
{
    std::vector<Release> full;
    for (const auto& [album, tracks] : releases) full.push_back({album, {{tracks}}});
    return releasesJson(discId, full);
}

}  // namespace

TEST(DiscIdTest, TheIdAndTocAreMusicBrainzsForItsDocumentedExampleAndByHand)
{
    const std::vector<int> example{150, 15363, 32314, 46592, 63414, 80489};
    const auto disc = MusicBrainzDiscOf(tocOf(1, example, 95462));
    EXPECT_EQ(disc.id, "49HHV7Eb8UKF3aQiNmu1GR8vKTY-");
    EXPECT_EQ(disc.id, discIdByHand(1, 6, 95462, example));
    EXPECT_EQ(disc.toc, "1+6+95462+150+15363+32314+46592+63414+80489");
    EXPECT_EQ(disc.tracks, 6);

    // An enhanced disc: the data track after the audio is not part of the id; the audio ends
    // 11400 frames before it.
    Toc enhanced = tocOf(1, {150, 15363, 32314, 60000}, 95462);
    enhanced.audio = {true, true, true, false};
    const auto audio = MusicBrainzDiscOf(enhanced);
    EXPECT_EQ(audio.toc, "1+3+48600+150+15363+32314");
    EXPECT_EQ(audio.id, discIdByHand(1, 3, 60000 - 11400, {150, 15363, 32314}));
    EXPECT_TRUE(MusicBrainzDiscOf(Toc{}).id.empty());
}

// The disc database is reached over https: a fresh machine has a TLS backend that loads and
// the certificates it checks the service against.
TEST(MusicBrainzTls, ATlsBackendLoadsAndTrustsTheSystemsCertificates)
{
    EXPECT_TRUE(QSslSocket::supportsSsl()) << QSslSocket::availableBackends().join(", ").toStdString();
    EXPECT_FALSE(QSslConfiguration::systemCaCertificates().isEmpty());
}

TEST(MusicBrainzReplyTest, TheReleaseWhoseMediumHasTheDiscsTrackCountFirstListedWins)
{
    using platform::musicbrainz::ParseDiscReply;
    const QByteArray two = releasesJson("X", {{"Double", 12}, {"Right", 3}, {"Also right", 3}});
    const auto found = ParseDiscReply(two, 3, "X");
    ASSERT_TRUE(found);
    EXPECT_EQ(found->album, "Right");
    EXPECT_EQ(found->artist, "Μίκης & Band");
    EXPECT_EQ(found->tracks.value(1), "Right song 1");
    EXPECT_EQ(found->tracks.size(), 3);
    EXPECT_FALSE(ParseDiscReply(two, 5, "X"));
    EXPECT_FALSE(ParseDiscReply("{\"releases\": [", 3, "X"));
    EXPECT_FALSE(ParseDiscReply("<html>busy</html>", 3, "X"));
    EXPECT_FALSE(ParseDiscReply(R"({"releases":[{"media":"none"}]})", 3, "X"));

    // The medium that names the disc wins, even when its track count is not the disc's (a data
    // track, a hidden track) and another release's medium has the right count.
    const QByteArray named =
        R"({"releases":[)"
        R"({"title":"Counted","media":[{"track-count":3,"discs":[],"tracks":[{"position":1,"title":"c"}]}]},)"
        R"({"title":"Named","media":[{"track-count":2,"discs":[{"id":"Y"}],"tracks":[{"position":1,"title":"n"}]},)"
        R"({"track-count":3,"discs":[],"tracks":[{"position":1,"title":"other medium"}]}]}]})";
    const auto chosen = ParseDiscReply(named, 3, "Y");
    ASSERT_TRUE(chosen);
    EXPECT_EQ(chosen->album, "Named");
    EXPECT_EQ(chosen->tracks.value(1), "n");
    EXPECT_EQ(ParseDiscReply(named, 3, "Z")->album, "Counted");
}

class FoundTitlesTest : public PlayerTest {
protected:
    void SetUp() override
    {
        PlayerTest::SetUp();
        platform::SaveSetting("Sonorell", "ONLINE_TITLES", "True");
        setenv("SONORELL_MUSICBRAINZ_URL", service.url().toUtf8().constData(), 1);
        disc = fixtures::makeDiscImage(media.path(), {150, 150, 150});
    }
    void TearDown() override
    {
        PlayerTest::TearDown();
        setenv("SONORELL_MUSICBRAINZ_URL", "http://127.0.0.1:9", 1);
    }
    void insert(const std::string& sheet)
    {
        setenv("SONORELL_CD_DEVICE", sheet.c_str(), 1);
        section = QString::number(int32_t(platform::cdrom::DiscSerialOf(sheet)));
    }
    QString stored(const char* key) const
    {
        return platform::GetPrivateProfileString(section, key, "<none>", file("CdRoms.ini"));
    }
    // Runs the window until the service has been asked count times and had time to be heard.
    bool waitForRequests(size_t count, int ms = 5000)
    {
        QElapsedTimer t;
        t.start();
        while (service.requests.size() < count && t.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        wait(300);
        return service.requests.size() >= count;
    }
    QString discId() const { return QString::fromStdString(MusicBrainzDiscOf(platform::cdrom::Drive(disc.cue).toc()).id); }

    StandInService service;
    fixtures::DiscImage disc;
    QString section;
};

TEST_F(FoundTitlesTest, CdTextOfACueSheetOrATocFileFillsTheCatalogueAndIsShownAtOnce)
{
    const fixtures::CdText text{"Άξιον Εστί", "Μίκης Θεοδωράκης", {"Η Γένεσις", "", "Τα Πάθη"}};
    for (const std::string& sheet :
         {fixtures::writeCueWithText(disc, "text", text), fixtures::writeTocWithText(disc, "text", text)}) {
        SCOPED_TRACE(sheet);
        QFile::remove(file("CdRoms.ini"));
        service.handler = [](const QByteArray&) { return StandInService::Answer{404, "{}"}; };
        insert(sheet);
        start();
        EXPECT_EQ(entries(), (QStringList{"1. Η Γένεσις", "2. Track 2", "3. Τα Πάθη"}));
        EXPECT_EQ(stored("Album"), "Άξιον Εστί");
        EXPECT_EQ(stored("Artist"), "Μίκης Θεοδωράκης");
        EXPECT_EQ(stored("Track3"), "Τα Πάθη");
        EXPECT_EQ(stored("Track2"), "<none>");
        stop();
    }
    // What a person typed stays; only what is missing is filled.
    QFile::remove(file("CdRoms.ini"));
    platform::WritePrivateProfileString(section, "Track1", "Typed by hand", file("CdRoms.ini"));
    platform::WritePrivateProfileString(section, "Album", "My album", file("CdRoms.ini"));
    start();
    EXPECT_EQ(stored("Track1"), "Typed by hand");
    EXPECT_EQ(stored("Album"), "My album");
    EXPECT_EQ(stored("Artist"), "Μίκης Θεοδωράκης");
    EXPECT_TRUE(dialogs.empty());
}

// An enhanced disc: its data track has no title, and the titles of its audio are all it needs.
TEST_F(FoundTitlesTest, ADiscWithADataTrackShowsItsFoundTitlesAndIsNotAskedAgain)
{
    service.handler = [](const QByteArray&) { return StandInService::Answer{404, "{}"}; };
    const fixtures::CdText text{"Enhanced", "Band", {"One", "Two"}, true};
    insert(fixtures::writeCueWithText(disc, "enhanced", text));
    start();
    EXPECT_EQ(entries(), (QStringList{"1. One", "2. Two", "3. Track 3"}));
    EXPECT_EQ(shown("Label200"), "Band");
    EXPECT_EQ(shown("Label201"), "Enhanced");
    stop();
    start();
    wait(1200);
    EXPECT_EQ(shown("Label201"), "Enhanced");
    EXPECT_TRUE(service.requests.empty()) << "the disc database was asked about a disc the catalogue knows";
}

TEST_F(FoundTitlesTest, TheDatabaseIsAskedByIdAndTocAndItsAnswerIsFiledAndShown)
{
    service.handler = [&](const QByteArray&) {
        // A release of four songs, then the one whose second medium is this disc (the first
        // medium has as many tracks, so only the disc's id tells them apart).
        return StandInService::Answer{
            200, releasesJson(discId(), std::vector<Release>{{"Four songs", {{4}}}, {"Found album", {{3}, {3, true}}}})};
    };
    insert(disc.cue);
    start();
    ASSERT_TRUE(waitForRequests(1));
    const auto mb = MusicBrainzDiscOf(platform::cdrom::Drive(disc.cue).toc());
    EXPECT_EQ(service.requests[0].target, "/ws/2/discid/" + QByteArray::fromStdString(mb.id) + "?toc=" +
                                              QByteArray::fromStdString(mb.toc) + "&inc=artist-credits+recordings&fmt=json");
    EXPECT_TRUE(service.requests[0].userAgent.startsWith("SonorellPlayer/" SONORELL_VERSION " "))
        << service.requests[0].userAgent.toStdString();
    EXPECT_EQ(stored("Album"), "Found album");
    EXPECT_EQ(stored("Artist"), "Μίκης & Band");
    EXPECT_EQ(entries(),
              (QStringList{"1. Found album disc 2 song 1", "2. Found album disc 2 song 2", "3. Found album disc 2 song 3"}));
    EXPECT_EQ(shown("Label201"), "Found album");

    // A complete section is not asked about again, in this run or the next.
    stop();
    start();
    wait(1200);
    EXPECT_EQ(service.requests.size(), 1u);
    EXPECT_TRUE(dialogs.empty());
}

TEST_F(FoundTitlesTest, UnknownDiscsErrorsAndBadAnswersLeaveTheDefaultTitlesQuietly)
{
    const std::vector<StandInService::Answer> answers = {
        {404, R"({"error":"Not Found"})"}, {503, "busy"}, {200, "{\"releases\": [{"}, {200, releasesJson("x", {{"Other", 7}})}};
    for (const auto& answer : answers) {
        SCOPED_TRACE(answer.status);
        service.handler = [&](const QByteArray&) { return answer; };
        const size_t before = service.requests.size();
        insert(disc.cue);
        start();
        ASSERT_TRUE(waitForRequests(before + 1));
        EXPECT_EQ(entries().value(0), "1. Track 1");
        EXPECT_FALSE(QFile::exists(file("CdRoms.ini")));
        stop();
    }
    EXPECT_TRUE(dialogs.empty());

    // Switched off, the service is never asked; the choice is remembered.
    platform::SaveSetting("Sonorell", "ONLINE_TITLES", "True");
    start();
    const size_t before = service.requests.size();
    menu().OnlineTitles_Click();
    EXPECT_EQ(platform::GetSetting("Sonorell", "ONLINE_TITLES"), "False");
    stop();
    start();
    EXPECT_FALSE(menu().OnlineTitles->isChecked());
    EXPECT_EQ(menu().OnlineTitles->text(), "Titles from the &Internet");
    wait(1200);
    EXPECT_EQ(service.requests.size(), before);
}

TEST_F(FoundTitlesTest, AnAnswerAfterTheOptionWasSwitchedOffOrTooLargeIsNotFiled)
{
    service.handler = [&](const QByteArray&) {
        return StandInService::Answer{200, releasesJson(discId(), {{"Unwanted", 3}}), 1000};
    };
    insert(disc.cue);
    start();
    ASSERT_TRUE(waitForRequests(1, 3000));
    menu().OnlineTitles_Click();  // off, while the answer is on its way
    wait(1500);
    EXPECT_EQ(stored("Album"), "<none>");
    stop();

    platform::SaveSetting("Sonorell", "ONLINE_TITLES", "True");
    const QByteArray huge =
        R"({"pad":")" + QByteArray(5 * 1024 * 1024, 'x') + R"(",)" + releasesJson(discId(), {{"Huge", 3}}).mid(1);
    service.handler = [&](const QByteArray&) { return StandInService::Answer{200, huge}; };
    start();
    ASSERT_TRUE(waitForRequests(2, 3000));
    wait(1500);
    EXPECT_EQ(stored("Album"), "<none>");
}

TEST_F(FoundTitlesTest, AnAnswerAfterTheDiscChangedIsNotFiledAndASlowServiceNeverFreezesTheWindow)
{
    service.handler = [&](const QByteArray&) {
        return StandInService::Answer{200, releasesJson(discId(), {{"Too late", 3}}), 1500};
    };
    insert(disc.cue);
    const QString first = section;
    start();
    ASSERT_TRUE(waitForRequests(1, 3000));
    // Another disc goes in while the answer is on its way.
    disc = fixtures::makeDiscImage(media.path(), {150, 225, 150, 150});
    wait(2000);
    EXPECT_EQ(platform::GetPrivateProfileString(first, "Album", "<none>", file("CdRoms.ini")), "<none>");
    stop();

    // No answer at all: the window goes on ticking until the lookup gives up.
    service.handler = [](const QByteArray&) { return StandInService::Answer{200, {}, -1}; };
    insert(disc.cue);
    start();
    QElapsedTimer clock;
    clock.start();
    qint64 longestGap = 0, last = 0;
    QTimer beat;
    QObject::connect(&beat, &QTimer::timeout, [&] {
        longestGap = std::max(longestGap, clock.elapsed() - last);
        last = clock.elapsed();
    });
    beat.start(50);
    wait(11000);
    EXPECT_LT(longestGap, 1000);
    // The player gave up on the request: it closed the connection about ten seconds after asking.
    ASSERT_FALSE(service.requests.empty());
    const auto& request = service.requests.back();
    EXPECT_GE(request.closedAtMs - request.atMs, 9000) << request.closedAtMs;
    EXPECT_LE(request.closedAtMs - request.atMs, 10900) << request.closedAtMs;
    EXPECT_EQ(entries().value(0), "1. Track 1");
    EXPECT_FALSE(QFile::exists(file("CdRoms.ini")));
}

TEST_F(FoundTitlesTest, TwoDiscsCloseTogetherAreAskedAboutASecondApart)
{
    service.handler = [](const QByteArray&) { return StandInService::Answer{404, "{}"}; };
    const auto other = fixtures::makeDiscImage(media.path(), {150, 300}, "other");
    Disk_Volume::OnlineTitles titles;
    insert(disc.cue);
    titles.Lookup(section.toInt());
    insert(other.cue);
    titles.Lookup(section.toInt());
    titles.Lookup(section.toInt());  // the same disc again: asked once a run
    ASSERT_TRUE(waitForRequests(2));
    EXPECT_GE(service.requests[1].atMs - service.requests[0].atMs, 900);
    wait(1200);
    EXPECT_EQ(service.requests.size(), 2u);
    EXPECT_FALSE(titles.Waiting());
}
