// Ripping a generated disc image: every sample as on the disc (and moved by the read offset),
// AccurateRip checksums as an independent computation makes them, tags, names, the log and the
// files beside, and what a cancel or a full disk leaves.

#include "encoder/Converter.h"
#include "support/Files.h"
#include "encoder/Ripper.h"
#include "fixtures/DiscImage.h"
#include "fixtures/Media.h"
#include "platform/CoverArt.h"
#include "platform/FileNames.h"
#include "platform/FileTags.h"
#include "platform/cdrom/Disc.h"
#include "support/FullDisk.h"
#include "support/Bytes.h"
#include "support/Decoded.h"
#include "support/StandInService.h"
#include "support/TempFolder.h"
#include "support/Text.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>

#include <filesystem>
#include <fstream>
#include <iterator>

using namespace encoder;
using platform::gst::EncodeFormat;
using testsupport::q;

namespace {

constexpr int64_t Samples = 588;

class RipTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        static int argc = 1;
        static char name[] = "test_encoder";
        static char* argv[] = {name, nullptr};
        static QCoreApplication app(argc, argv);  // the database lookup waits in an event loop
    }
    void SetUp() override
    {
        qputenv("SONORELL_ACCURATERIP_URL", "http://127.0.0.1:9");  // nothing answers there
        disc = fixtures::makeDiscImage(folder.path(), {150, 113, 90});
    }

    RipReport rip(int offset = 0, EncodeFormat format = EncodeFormat::Flac, const RipProgress& progress = {},
                  const QString& out = {}, int jobs = 0)
    {
        RipOptions options{disc.cue, out.isEmpty() ? q(folder.path() + "/out") : out, {format, -1}, offset, {}, jobs};
        return RipDisc(options, titles, progress);
    }
    // The disc's bytes of [from, from + count) samples, zero beyond its ends.
    std::string discBytes(int64_t from, int64_t count) const
    {
        std::ifstream in(disc.bin, std::ios::binary);
        const std::string all((std::istreambuf_iterator<char>(in)), {});
        std::string out(size_t(count) * 4, '\0');
        for (int64_t i = 0; i < count; ++i)
            if (from + i >= 0 && (from + i) * 4 < int64_t(all.size()))
                out.replace(size_t(i) * 4, 4, all, size_t(from + i) * 4, 4);
        return out;
    }
    int64_t trackStart(int track) const
    {
        int64_t start = 0;
        for (int t = 1; t < track; ++t) start += disc.trackFrames[size_t(t - 1)];
        return start * Samples;
    }

    testsupport::TempFolder folder;
    fixtures::DiscImage disc;
    DiscTitles titles{"AC/DC", "Back: In Black?", {{1, "Hells Bells"}, {3, "Shoot to Thrill"}}};
};

}  // namespace

TEST_F(RipTest, ALosslessRipIsTheDiscSampleForSampleNamedAndTagged)
{
    const RipReport report = rip();
    ASSERT_TRUE(report.ok) << report.error.toStdString();
    ASSERT_EQ(report.tracks.size(), 3);
    const QString album = q(folder.path() + "/out/AC_DC/Back_ In Black_");
    EXPECT_EQ(report.albumFolder, album);
    EXPECT_EQ(report.tracks[0].file, album + "/01 Hells Bells.flac");
    EXPECT_EQ(report.tracks[1].file, album + "/02 Track 02.flac");
    for (int t = 1; t <= 3; ++t)
        EXPECT_EQ(testsupport::decodedSound(report.tracks[t - 1].file),
                  discBytes(trackStart(t), disc.trackFrames[size_t(t - 1)] * Samples))
            << "track " << t;
    const QString first = report.tracks[0].file;
    EXPECT_EQ(platform::ReadFileTag(first, "TITLE"), "Hells Bells");
    EXPECT_EQ(platform::ReadFileTag(first, "ARTIST"), "AC/DC");
    EXPECT_EQ(platform::ReadFileTag(first, "ALBUM"), "Back: In Black?");
    EXPECT_EQ(platform::ReadFileTag(first, "TRACKNUMBER"), "1/3");
    EXPECT_EQ(platform::ReadFileTag(first, "MUSICBRAINZ_DISCID").size(), 28);
    // Tones of amplitude 8000 in both channels: -12.9 LUFS by EBU R 128's own sum, so 5.1 dB
    // below the -18 LUFS reference; each track the same, so the album too.
    const auto db = [](const QString& gain) { return gain.section(' ', 0, 0).toDouble(); };
    for (const TrackResult& track : report.tracks) {
        EXPECT_NEAR(db(platform::ReadFileTag(track.file, "REPLAYGAIN_TRACK_GAIN")), -5.1, 0.6);
        EXPECT_NEAR(platform::ReadFileTag(track.file, "REPLAYGAIN_TRACK_PEAK").toDouble(), 8000.0 / 32768, 0.002);
        EXPECT_EQ(platform::ReadFileTag(track.file, "REPLAYGAIN_ALBUM_GAIN"),
                  platform::ReadFileTag(first, "REPLAYGAIN_ALBUM_GAIN"));
    }
    EXPECT_NEAR(db(platform::ReadFileTag(first, "REPLAYGAIN_ALBUM_GAIN")), -5.1, 0.6);
    EXPECT_NEAR(platform::ReadFileTag(first, "REPLAYGAIN_ALBUM_PEAK").toDouble(), 8000.0 / 32768, 0.002);

    QStringList beside = QDir(album).entryList({"Back_ In Black_.*"}, QDir::Files);
    beside.sort();
    EXPECT_EQ(beside, (QStringList{"Back_ In Black_.cue", "Back_ In Black_.log", "Back_ In Black_.m3u8"}));
    EXPECT_EQ(testsupport::readBytes(album + "/Back_ In Black_.m3u8"),
              "#EXTM3U\n01 Hells Bells.flac\n02 Track 02.flac\n03 Shoot to Thrill.flac\n");
}

// Checksums computed apart, by a short Python program over the image's bytes.
TEST_F(RipTest, AccurateRipChecksumsAreThoseOfAnIndependentComputation)
{
    const RipReport report = rip();
    ASSERT_TRUE(report.ok);
    const char* script = R"(
import struct, sys
data = open(sys.argv[1], 'rb').read()
frames = [int(f) for f in sys.argv[2:]]
start = 0
for n, f in enumerate(frames):
    words = struct.unpack('<%dI' % (f * 588), data[start * 2352:(start + f) * 2352])
    first = 2940 if n == 0 else 1
    last = len(words) - (2940 if n == len(frames) - 1 else 0)
    v1 = v2 = 0
    for i, w in enumerate(words):
        m = i + 1
        if first <= m <= last:
            p = w * m
            v1 = (v1 + p) & 0xffffffff
            v2 = (v2 + (p & 0xffffffff) + (p >> 32)) & 0xffffffff
    print('%08X %08X' % (v1, v2))
    start += f
)";
    QProcess python;
    QStringList args{"-c", script, q(disc.bin)};
    for (int f : disc.trackFrames) args << QString::number(f);
    python.start("/usr/bin/python3", args);
    ASSERT_TRUE(python.waitForFinished(60000));
    const QStringList expected = QString::fromUtf8(python.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(expected.size(), 3);
    for (int t = 0; t < 3; ++t)
        EXPECT_EQ(QStringLiteral("%1 %2")
                      .arg(report.tracks[t].v1, 8, 16, QLatin1Char('0'))
                      .arg(report.tracks[t].v2, 8, 16, QLatin1Char('0'))
                      .toUpper(),
                  expected[t]);
    const QString text = QString::fromUtf8(testsupport::readBytes(report.albumFolder + "/Back_ In Black_.log"));
    EXPECT_TRUE(text.contains("AccurateRip v1: " + expected[1].section(' ', 0, 0) + "\n"));
    EXPECT_TRUE(text.contains("Read offset: 0 samples\n"));
}

// With offset N, a track starting at sample S is written from S + N; beyond the disc, zeros.
TEST_F(RipTest, TheReadOffsetMovesEveryTrackAndZeroesBeyondTheDisc)
{
    for (const int offset : {667, -30}) {
        const RipReport report = rip(offset);
        ASSERT_TRUE(report.ok);
        for (int t = 1; t <= 3; ++t)
            EXPECT_EQ(testsupport::decodedSound(report.tracks[t - 1].file),
                      discBytes(trackStart(t) + offset, disc.trackFrames[size_t(t - 1)] * Samples))
                << "offset " << offset << ", track " << t;
    }
}

TEST_F(RipTest, ACancelOrAFullDiskKeepsTheTracksDoneAndLeavesNoPartOfAFile)
{
    // One track at a time, so the first is whole when the second is cancelled.
    const RipReport cancelled = rip(
        0, EncodeFormat::Flac, [](int track, double done) { return track < 2 || done < 0.5; }, {}, 1);
    EXPECT_FALSE(cancelled.ok);
    ASSERT_EQ(cancelled.tracks.size(), 3);
    EXPECT_TRUE(cancelled.tracks[0].ok);
    EXPECT_EQ(cancelled.tracks[1].error, "cancelled");
    EXPECT_EQ(cancelled.tracks[2].error, "cancelled");
    QStringList left = QDir(cancelled.albumFolder).entryList(QDir::Files | QDir::Hidden);
    left.sort();
    EXPECT_EQ(left, (QStringList{"01 Hells Bells.flac", "Back_ In Black_.cue", "Back_ In Black_.log", "Back_ In Black_.m3u8"}));

    testsupport::FullDisk disk;
    QDir().mkpath(q(disk.path() + "/AC_DC/Back_ In Black_"));
    testsupport::FullDisk::Full full(disk);
    const RipReport report = rip(0, EncodeFormat::Flac, {}, q(disk.path()));
    EXPECT_FALSE(report.ok);
    for (const TrackResult& track : report.tracks) EXPECT_FALSE(track.ok);
    for (const QString& name : QDir(q(disk.path() + "/AC_DC/Back_ In Black_")).entryList(QDir::Files | QDir::Hidden))
        EXPECT_FALSE(name.endsWith(".flac") || name.endsWith(".part")) << name.toStdString();
}

// The image cut short under the reader while track 2 is read, as a disc whose end no longer
// reads (what the readers hold already is read on): the reads are retried, then the last track
// fails with no file, and the log says what reading needed.
TEST_F(RipTest, WhatCannotBeReadIsRetriedReportedAndNotWritten)
{
    disc = fixtures::makeDiscImage(folder.path(), {150, 750, 750});
    const RipReport report = rip(
        0, EncodeFormat::Flac,
        [&](int track, double) {
            if (track == 2) std::filesystem::resize_file(disc.bin, 0);
            return true;
        },
        {}, 1);
    EXPECT_FALSE(report.ok);
    ASSERT_EQ(report.tracks.size(), 3);
    EXPECT_TRUE(report.tracks[0].ok);
    EXPECT_FALSE(report.tracks[2].ok);
    EXPECT_TRUE(report.tracks[2].error.contains("places could not be read")) << report.tracks[2].error.toStdString();
    EXPECT_GT(report.tracks[2].trouble.retries, 0);
    EXPECT_FALSE(QDir(report.albumFolder).entryList(QDir::Files | QDir::Hidden).join('|').contains("03 "));
    const QString text = QString::fromUtf8(testsupport::readBytes(report.albumFolder + "/Back_ In Black_.log"));
    EXPECT_TRUE(text.contains("  Read: 0 retries, 0 corrections, 0 stretches not read\n")) << text.toStdString();
    EXPECT_TRUE(text.contains("Track 03\n  Not ripped: ")) << text.toStdString();
}

TEST_F(RipTest, OpusAndMp3RipsDecodeToTheirTracksLength)
{
    for (const EncodeFormat format : {EncodeFormat::Opus, EncodeFormat::Mp3}) {
        const RipReport report = rip(0, format);
        ASSERT_TRUE(report.ok) << report.tracks.value(0).error.toStdString();
        const double seconds = double(testsupport::decodedSound(report.tracks[0].file).size()) / 4 / 44100;
        EXPECT_NEAR(seconds, 2.0, 0.06);
        EXPECT_EQ(platform::ReadFileTag(report.tracks[2].file, "TITLE"), "Shoot to Thrill");
    }
}

TEST_F(RipTest, NamesTheFileSystemTakes)
{
    EXPECT_EQ(SafeFileName("AC/DC"), "AC_DC");
    EXPECT_EQ(SafeFileName("What? <Now>: \"a|b\\c*\""), "What_ _Now__ _a_b_c__");
    EXPECT_EQ(SafeFileName("Dots..."), "Dots");
    EXPECT_EQ(SafeFileName(" \t.."), "_");
    EXPECT_EQ(SafeFileName(QString::fromUtf8("Μουσική")), QString::fromUtf8("Μουσική"));
}

// Four files at once (one missing, one named in Latin-1 bytes, two of one name), to Opus and to MP3: tags and the
// front cover go with them, and a name keeps its bytes.
TEST_F(RipTest, FilesConvertWithTheirTagsPictureAndAGain)
{
    const auto song = fixtures::makeMedia(folder.path(), fixtures::Media::Flac, 2.0, "song.flac");
    fixtures::tagWithMutagen(song.path, "vorbis", "Ένα", "Band", "Album");
    std::ofstream(folder.path() + "/cover.png", std::ios::binary) << fixtures::tinyPng();
    fixtures::pictureWithMutagen(song.path, folder.path() + "/cover.png");
    const std::string latin1 = folder.path() + "/caf\xe9.flac";
    std::filesystem::copy_file(song.path, latin1);
    std::filesystem::create_directory(folder.path() + "/other");
    std::filesystem::copy_file(song.path, folder.path() + "/other/song.flac");
    const QStringList files{q(song.path), q(folder.path() + "/missing.wav"),
                            platform::DecodeFileName(QByteArray::fromStdString(latin1)), q(folder.path() + "/other/song.flac")};
    for (const EncodeFormat format : {EncodeFormat::Opus, EncodeFormat::Mp3}) {
        const std::string extension = format == EncodeFormat::Opus ? ".opus" : ".mp3";
        const std::string out = folder.path() + (format == EncodeFormat::Opus ? "/phone" : "/car");
        const QList<TrackResult> results = ConvertFiles(files, q(out), {format, -1});
        ASSERT_EQ(results.size(), 4);
        ASSERT_TRUE(results[0].ok) << results[0].error.toStdString();
        EXPECT_EQ(results[0].file, q(out + "/song" + extension));
        EXPECT_EQ(platform::ReadFileTag(results[0].file, "TITLE"), QString::fromUtf8("Ένα"));
        EXPECT_EQ(platform::ReadFileTag(results[0].file, "ARTIST"), "Band");
        EXPECT_FALSE(platform::ReadFileTag(results[0].file, "REPLAYGAIN_TRACK_GAIN").isEmpty());
        const platform::EmbeddedPicture picture = platform::ReadEmbeddedPicture(results[0].file);
        EXPECT_EQ(picture.bytes.toStdString(), fixtures::tinyPng());
        EXPECT_EQ(picture.mimeType, "image/png");
        EXPECT_FALSE(results[1].ok);
        EXPECT_TRUE(results[2].ok) << results[2].error.toStdString();
        EXPECT_TRUE(std::filesystem::is_regular_file(out + "/caf\xe9" + extension));
        EXPECT_EQ(results[3].file, q(out + "/song (2)" + extension));  // converted alongside the first
        EXPECT_EQ(testsupport::decodedSound(results[3].file), testsupport::decodedSound(results[0].file));
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(out), {}), 3);  // no part left
    }
}

// What the player turns the volume by, read from each format's tag as other programs write it
// (names in small letters too).
TEST_F(RipTest, ReplayGainIsReadFromEveryTagFormat)
{
    const char* script = R"(
import sys
from mutagen.id3 import ID3, TXXX
from mutagen.apev2 import APEv2
from mutagen.mp4 import MP4, MP4FreeForm
import mutagen
kind, path = sys.argv[1:3]
gain, peak = '-6.50 dB', '0.812500'
if kind == 'id3v2':
    t = ID3(); t.add(TXXX(encoding=3, desc='replaygain_track_gain', text=gain))
    t.add(TXXX(encoding=3, desc='replaygain_track_peak', text=peak)); t.save(path)
elif kind == 'ape':
    t = APEv2(); t['REPLAYGAIN_TRACK_GAIN'] = gain; t['Replaygain_Track_Peak'] = peak; t.save(path)
elif kind == 'mp4':
    f = MP4(path)
    f['----:com.apple.iTunes:replaygain_track_gain'] = [MP4FreeForm(gain.encode())]
    f['----:com.apple.iTunes:REPLAYGAIN_TRACK_PEAK'] = [MP4FreeForm(peak.encode())]; f.save()
else:
    f = mutagen.File(path); f['replaygain_track_gain'] = gain; f['REPLAYGAIN_TRACK_PEAK'] = peak; f.save()
)";
    using fixtures::Media;
    const std::vector<std::pair<Media, const char*>> files = {
        {Media::Mp3Cbr, "id3v2"}, {Media::Mp3Vbr, "ape"}, {Media::M4a, "mp4"}, {Media::OggVorbis, "vorbis"}};
    for (const auto& [kind, tag] : files) {
        const std::string path = fixtures::makeMedia(folder.path(), kind, 1.0, std::string("rg-") + tag).path;
        ASSERT_EQ(QProcess::execute("/usr/bin/python3", {"-c", script, tag, q(path)}), 0) << tag;
        EXPECT_EQ(platform::ReadFileTag(q(path), "REPLAYGAIN_TRACK_GAIN"), "-6.50 dB") << tag;
        EXPECT_EQ(platform::ReadFileTag(q(path), "REPLAYGAIN_TRACK_PEAK"), "0.812500") << tag;
    }
}

// The encoder without windows: the catalogue's titles (from SONORELL_HOME), a line a track, and
// an exit status that says whether everything was written.
TEST_F(RipTest, TheCommandLineRipsWithTheCataloguesTitlesAndSaysWhatFailed)
{
    const auto run = [&](const QStringList& args, QString* out = nullptr) {
        QProcess encode;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("SONORELL_HOME", q(folder.path()));
        encode.setProcessEnvironment(env);
        encode.start(SONORELL_ENCODE, args);
        encode.waitForFinished(60000);
        if (out) *out = QString::fromUtf8(encode.readAllStandardOutput());
        return encode.exitCode();
    };
    std::ofstream(folder.path() + "/CdRoms.ini")
        << "[" << int32_t(platform::cdrom::DiscSerialOf(disc.cue)) << "]\r\nArtist=Cat\r\nAlbum=Alog\r\nTrack1=First\r\n";
    EXPECT_EQ(run({"--disc", q(disc.cue), "--output", q(folder.path() + "/cli")}), 2);  // no format
    EXPECT_EQ(run({"--disc", q(disc.cue), "--format", "wav", "--output", "x"}), 2);
    EXPECT_EQ(run({"--disc", q(folder.path() + "/nowhere.cue"), "--format", "flac", "--output", q(folder.path() + "/cli")}), 1);
    QString out;
    EXPECT_EQ(run({"--disc", q(disc.cue), "--format", "flac", "--tracks", "1,3", "--output", q(folder.path() + "/cli")}, &out),
              0);
    const QStringList lines = out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith("track 01")) << lines[0].toStdString();
    EXPECT_TRUE(lines[0].endsWith("/cli/Cat/Alog/01 First.flac")) << lines[0].toStdString();
    EXPECT_TRUE(lines[1].endsWith("/03 Track 03.flac")) << lines[1].toStdString();
    // Two tracks of three are no album: no album gain.
    const QString ripped = lines[0].section(": ", 1);
    EXPECT_FALSE(platform::ReadFileTag(ripped, "REPLAYGAIN_TRACK_GAIN").isEmpty());
    EXPECT_TRUE(platform::ReadFileTag(ripped, "REPLAYGAIN_ALBUM_GAIN").isEmpty());
}

// The database asked at a stand-in: a match (by v1 or v2, confidences summed over pressings), a
// mismatch, a disc it does not know, and an answer that is no checksum file.
TEST_F(RipTest, EachTrackIsCheckedAgainstTheAccurateRipDatabase)
{
    const RipReport first = rip();  // nothing answers: the database was not asked
    ASSERT_TRUE(first.ok);
    EXPECT_EQ(first.tracks[0].verdict, "not checked");

    testsupport::StandInService service;
    qputenv("SONORELL_ACCURATERIP_URL", service.url().toUtf8());
    const auto le = [](uint32_t v) { return QByteArray::fromStdString(testsupport::le(v, 4)); };
    const auto pressing = [&](const std::vector<std::pair<int, uint32_t>>& entries) {
        QByteArray bytes = "\x03" + le(0x2fe) + le(0x9c6) + le(0x0b000403);
        for (const auto& [confidence, checksum] : entries) bytes += char(confidence) + le(checksum) + le(0);
        return bytes;
    };
    const QByteArray other = "\x03" + le(1) + le(2) + le(3) + QByteArray(27, '\x09');  // another disc in the same file
    const std::vector<std::pair<testsupport::StandInService::Answer, QStringList>> cases = {
        {{200, other + pressing({{5, first.tracks[0].v1}, {7, first.tracks[1].v2}, {3, 1}}) +
                   pressing({{2, first.tracks[0].v2}, {1, 2}, {1, 3}})},
         {"accurate (confidence 7)", "accurate (confidence 7)", "not accurate"}},
        {{200, pressing({{5, 1}, {5, 2}, {5, 3}})}, {"not accurate", "not accurate", "not accurate"}},
        {{404, "no such disc"}, {"not in the database", "not in the database", "not in the database"}},
        {{200, "\x03garbage"}, {"not checked", "not checked", "not checked"}},
    };
    for (const auto& [answer, verdicts] : cases) {
        service.handler = [answer = answer](const QByteArray&) { return answer; };
        const RipReport report = rip();
        ASSERT_EQ(report.tracks.size(), 3);
        for (int t = 0; t < 3; ++t) EXPECT_EQ(report.tracks[t].verdict, verdicts[t]) << "track " << t + 1;
    }
    // The disc's ids in the address, as AccurateRip makes them from this table of contents.
    ASSERT_FALSE(service.requests.empty());
    EXPECT_EQ(service.requests.back().target, "/accuraterip/e/f/2/dBAR-003-000002fe-000009c6-0b000403.bin");
    EXPECT_TRUE(testsupport::readBytes(first.albumFolder + "/Back_ In Black_.log")
                    .contains("AccurateRip database: the database's answer could not be read\n"));
}
