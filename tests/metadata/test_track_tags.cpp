// Tags beyond ID3v1, written by an independent tool (mutagen) into real encoded files: what the
// list and the display take from each format, and the facts line of each format.

#include "fixtures/Media.h"
#include "metadata/Mp3Tag_Functions.h"
#include "metadata/Mp3Tag_ListFiles.h"
#include "metadata/TrackTags.h"
#include "support/TempFolder.h"
#include "support/Text.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

using namespace Mp3Tag_Functions;
using fixtures::Media;

namespace {

using testsupport::q;

struct Tagged {
    Media kind;
    const char* name;
    const char* tagKind;
};

class TrackTagsTest : public ::testing::Test {
protected:
    std::string make(Media kind, const std::string& name) { return fixtures::makeMedia(dir.path(), kind, 0.3, name).path; }
    testsupport::TempFolder dir;
};

}  // namespace

TEST_F(TrackTagsTest, EveryFormatsOwnTagGivesTitleArtistAndAlbumInItsOwnEncoding)
{
    // Greek and other non-Latin-1 text: each format's own encoding has to survive the reading.
    const std::string title = "Ωδή στη χαρά – ♪", artist = "Μίκης Θεοδωράκης", album = "Άξιον Εστί";
    const Tagged cases[] = {
        {Media::Mp3Cbr, "v23.mp3", "id3v2.3"},  // UTF-16
        {Media::Mp3Cbr, "v24.mp3", "id3v2.4"},  // UTF-8
        {Media::Mp3Cbr, "ape.mp3", "ape"},     {Media::Flac, "a.flac", "vorbis"}, {Media::OggVorbis, "a.ogg", "vorbis"},
        {Media::Opus, "a.opus", "vorbis"},     {Media::M4a, "a.m4a", "mp4"},
    };
    for (const Tagged& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = make(c.kind, c.name);
        fixtures::tagWithMutagen(path, c.tagKind, title, artist, album);
        const TrackTags tags = ReadTrackTags(q(path));
        EXPECT_FALSE(tags.fromId3v1);
        EXPECT_EQ(tags.title, q(title));
        EXPECT_EQ(tags.artist, q(artist));
        EXPECT_EQ(tags.album, q(album));
        EXPECT_EQ(TrackNameFromFile(q(path)), q(title));
    }
}

// The ID3v1 tag wins; only a blank ID3v1 title lets the list name the entry after the other tag,
// as Tracks Info writes one when a year is saved alone.
TEST_F(TrackTagsTest, AnId3v1TagWinsAndOnlyABlankTitleFallsToTheOtherTag)
{
    const std::string both = make(Media::Mp3Cbr, "both.mp3");
    fixtures::tagWithMutagen(both, "id3v2.4", "Long ID3v2 title", "V2 artist", "V2 album");
    TagRecord v1 = BlankTag();
    SetField(v1.Title, QStringLiteral("Τίτλος"));
    SetField(v1.Artist, QStringLiteral("Καλλιτέχνης"));
    ASSERT_TRUE(WriteTag(q(both), v1));
    TrackTags tags = ReadTrackTags(q(both));
    EXPECT_TRUE(tags.fromId3v1);
    EXPECT_EQ(tags.title, QStringLiteral("Τίτλος"));
    EXPECT_EQ(tags.artist, QStringLiteral("Καλλιτέχνης"));
    EXPECT_EQ(tags.album, QString());  // blank in ID3v1: not filled from the other tag
    EXPECT_EQ(TrackNameFromFile(q(both)).trimmed(), QStringLiteral("Τίτλος"));

    TagRecord blank = BlankTag();
    ASSERT_TRUE(WriteTag(q(both), blank));
    EXPECT_EQ(TrackNameFromFile(q(both)), QStringLiteral("Long ID3v2 title"));
    EXPECT_EQ(ReadTrackTags(q(both)).artist, QString());  // still the ID3v1 tag's
}

// Most taggers pad the fields with NUL bytes: the text ends at the first, so a title "Song A" is
// no 30 characters wide, and a title of NULs alone is no title.
TEST_F(TrackTagsTest, AnId3v1TagPaddedWithNulsGivesItsTextAndAnEmptyTitleTheFileName)
{
    const std::string path = make(Media::Mp3Cbr, "nuls.mp3");
    const auto padded = [](const char* text, std::size_t width) {
        std::string bytes(text);
        bytes.resize(width, '\0');
        return bytes;
    };
    TagRecord tag = BlankTag();
    SetFieldBytes(tag.Title, padded("Song A", 30));
    SetFieldBytes(tag.Artist, padded(" Artist One ", 30));
    SetFieldBytes(tag.Album, padded("", 30));
    ASSERT_TRUE(WriteTag(q(path), tag));
    EXPECT_EQ(TrackNameFromFile(q(path)), QStringLiteral("Song A"));
    const TrackTags tags = ReadTrackTags(q(path));
    EXPECT_EQ(tags.title, QStringLiteral("Song A"));
    EXPECT_EQ(tags.artist, QStringLiteral(" Artist One"));
    EXPECT_EQ(tags.album, QString());

    SetFieldBytes(tag.Title, padded("", 30));
    ASSERT_TRUE(WriteTag(q(path), tag));
    EXPECT_EQ(TrackNameFromFile(q(path)), QStringLiteral("nuls.mp3"));
}

TEST_F(TrackTagsTest, FilesWithoutAnyTagOrUnreadableAreNamedByTheirFileName)
{
    const std::string plain = make(Media::Flac, "no tags.flac");
    EXPECT_EQ(TrackNameFromFile(q(plain)), QStringLiteral("no tags.flac"));
    const std::string text = fixtures::writeFile(dir.path(), "not really.ogg", "just some text, no Ogg pages\n");
    EXPECT_EQ(TrackNameFromFile(q(text)), QStringLiteral("not really.ogg"));
    EXPECT_TRUE(ReadTrackTags(q(text)).title.isEmpty());
    EXPECT_EQ(TrackNameFromFile(q(dir.path() + "/missing.flac")), QStringLiteral("missing.flac"));
    const std::string midi = make(Media::Midi, "tune.mid");
    EXPECT_EQ(TrackNameFromFile(q(midi)), QStringLiteral("tune.mid"));
}

TEST_F(TrackTagsTest, TheFactsLineKeepsTheMp3HeaderAndGivesOtherFormatsTheSameShape)
{
    const std::string mp3 = make(Media::Mp3Cbr, "h.mp3");
    fixtures::tagWithMutagen(mp3, "id3v2.4", "t", "a", "b");
    // An MP3 keeps the line of its frame header, also behind the tag in front of its audio.
    EXPECT_EQ(FactsLine(q(mp3)), "128Kbit  44Khz  jstereo");

    const QRegularExpression shape(QStringLiteral("^(\\d+)Kbit  (\\d+)Khz  (stereo|mono)$"));
    for (const auto& [kind, name, rate] : {std::tuple{Media::Flac, "f.flac", 44},
                                           {Media::OggVorbis, "o.ogg", 44},
                                           {Media::Opus, "o.opus", 48},
                                           {Media::M4a, "m.m4a", 44},
                                           {Media::Wav16Stereo, "w.wav", 44}}) {
        SCOPED_TRACE(name);
        const auto match = shape.match(FactsLine(q(make(kind, name))));
        ASSERT_TRUE(match.hasMatch()) << FactsLine(q(make(kind, name))).toStdString();
        EXPECT_GT(match.captured(1).toInt(), 0);
        EXPECT_EQ(match.captured(2).toInt(), rate);
        EXPECT_EQ(match.captured(3), QStringLiteral("stereo"));
    }
    EXPECT_EQ(FactsLine(q(make(Media::Wav8Mono, "m.wav"))).section(QStringLiteral("  "), 2), QStringLiteral("mono"));
    EXPECT_EQ(FactsLine(q(make(Media::Wav16Stereo, "w16.wav"))), QStringLiteral("1411Kbit  44Khz  stereo"));
}
