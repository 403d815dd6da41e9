// What a person hears: the player's windows and devices playing to a private desktop sound
// server, its null sink recorded and analysed. Every entry is a tone of its own pitch, so what
// sounds tells which entry (or which part of it) plays. Bounds on "when" are generous; the
// benchmarks measure the real figures.

#include "listening/SoundServer.h"
#include "support/PlayerFixture.h"
#include "media/CDAudio.h"
#include "media/ModuleMCI.h"
#include "platform/gst/SoundServerFacts.h"
#include "support/Controls.h"

#include <QApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <map>
#include <tuple>

using listening::now;

namespace {

listening::SoundServer* server = nullptr;

constexpr double ToSound = 0.35;  // seconds from a click to the first sample heard, at most
// Seconds of silence between two entries, at most. A busy machine's PipeWire now and then misses
// a cycle of its graph, once two running (1024 frames at 48 kHz: 21 ms of silence each); anything
// of ours that is not gapless leaves far more.
constexpr double Gap = 0.045;

// An MP3 as the LAME encoder writes it, with the tag that states its encoder delay and padding.
std::string toMp3(const std::string& wav, const std::string& mp3)
{
    const std::string command = "lame --quiet -b 192 \"" + wav + "\" \"" + mp3 + "\"";
    if (std::system(command.c_str()) != 0) throw std::runtime_error("cannot make " + mp3);
    return mp3;
}

// The WAV re-encoded by GStreamer into another format ("flacenc", "opusenc ! oggmux", ...).
std::string encoded(const std::string& wav, const std::string& out, const std::string& encoder)
{
    const std::string command = "gst-launch-1.0 -q filesrc location=\"" + wav +
                                "\" ! wavparse ! audioconvert ! audioresample ! " + encoder + " ! filesink location=\"" + out +
                                "\" >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) throw std::runtime_error("cannot make " + out);
    return out;
}

// An AVI of a test picture with a 440 Hz sound track of about `seconds`, the track encoded by `audio`.
std::string videoWithTone(const std::string& path, int seconds, const std::string& audio)
{
    const std::string command = "gst-launch-1.0 -q avimux name=m ! filesink location=\"" + path +
                                "\" videotestsrc num-buffers=" + std::to_string(seconds * 25) +
                                " ! video/x-raw,width=160,height=120,framerate=25/1 ! jpegenc ! m. audiotestsrc freq=440 "
                                "volume=0.5 num-buffers=" +
                                std::to_string(seconds * 44100 / 1024 + 1) + " ! audioconvert ! " + audio +
                                " ! m. >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) throw std::runtime_error("cannot make " + path);
    return path;
}

}  // namespace

class ListeningTest : public PlayerTest {
protected:
    void SetUp() override
    {
        PlayerTest::SetUp();
        recording = std::make_unique<listening::Recording>(*server);
        ASSERT_TRUE(recording->started()) << "the sink's monitor could not be recorded";
    }
    void TearDown() override
    {
        PlayerTest::TearDown();
        recording.reset();
    }
    // The default list: one tone an entry, at the given pitches; the first mp3s entries are MP3s.
    void startWithTones(const std::vector<double>& pitches, double seconds = 3.0, size_t mp3s = 0)
    {
        QStringList paths;
        for (size_t i = 0; i < pitches.size(); ++i) {
            const std::string name = "tone" + std::to_string(i);
            std::string path = listening::WriteToneWav(media.file(name + ".wav"), {{pitches[i], seconds}});
            if (i < mp3s) path = toMp3(path, media.file(name + ".mp3"));
            paths << QString::fromStdString(path);
        }
        writeList(paths);
        start();
        ASSERT_TRUE(common::InMediaMode());
    }
    // The default list: a tone (when pitch is given), then a 10 s video of a 440 Hz sound track
    // encoded by audio; the window started.
    void startWithVideo(const std::string& audio, double pitch = 0, double seconds = 0)
    {
        QStringList paths;
        if (pitch > 0) paths << QString::fromStdString(listening::WriteToneWav(media.file("a.wav"), {{pitch, seconds}}));
        paths << QString::fromStdString(videoWithTone(media.file("clip.avi"), 10, audio));
        writeList(paths);
        start();
    }
    void startWithDisc(const std::vector<int>& trackFrames)
    {
        disc = PlayerTest::startWithDisc(trackFrames);
        ASSERT_FALSE(common::InMediaMode());
    }
    // Runs the window's events until t (a time of now()).
    static void until(double t)
    {
        while (now() < t) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    // Runs fn, then the events for a while, and checks that sound starts soon after the click.
    double clickAndListen(const std::function<void()>& fn, double listen = 0.8)
    {
        const double t = now();
        fn();
        until(t + listen);
        const double heard = recording->firstSound(t);
        EXPECT_GE(heard, t) << "nothing was heard";
        EXPECT_LT(heard - t, ToSound) << "sound started late";
        return t;
    }
    double pitchAt(double t0, double t1) const { return recording->pitch(t0, t1); }
    // Clicks, and the tone of that pitch sounds at once.
    void clickAndHear(const std::function<void()>& fn, double pitch)
    {
        const double t = clickAndListen(fn);
        EXPECT_NEAR(pitchAt(t + 0.4, t + 0.8), pitch, 10) << "not the tone of " << pitch << " Hz";
    }

    std::unique_ptr<listening::Recording> recording;
    fixtures::DiscImage disc;
};

TEST_F(ListeningTest, PlayLongAfterTheOpenSoundsAtOnceAndTheTimeMoves)
{
    startWithTones({440, 660}, 6.0, 1);
    until(now() + 3.0);  // a person looks at the window before pressing Play
    const double t = clickAndListen([&] { window->Image2_Click(); }, 2.2);
    EXPECT_NEAR(pitchAt(t + 0.4, t + 1.8), 440, 10);
    EXPECT_NE(shown("Label3"), "00:00");
}

// The player starts while nothing else uses the sound server (its sink idle, as with a real card
// and no other program playing); the recording only begins afterwards.
TEST_F(ListeningTest, PlayLongAfterStartingOnAnIdleServerSoundsAtOnce)
{
    recording.reset();
    startWithTones({440, 660}, 6.0);
    until(now() + 3.0);
    recording = std::make_unique<listening::Recording>(*server);
    ASSERT_TRUE(recording->started());
    until(now() + 3.0);  // past the time the idle stream is corked again
    const double t = clickAndListen([&] { window->Image2_Click(); }, 1.5);
    EXPECT_NEAR(pitchAt(t + 0.4, t + 1.4), 440, 10);
}

TEST_F(ListeningTest, PauseSilencesAndResumeGoesOn)
{
    startWithTones({440});
    window->Image2_Click();
    until(now() + 1.0);
    const double paused = now();
    window->Image3_Click();
    until(paused + 1.2);
    EXPECT_LT(recording->level(paused + 0.3, paused + 1.1), 0.002);
    clickAndHear([&] { window->Image2_Click(); }, 440);
}

TEST_F(ListeningTest, NextAndPreviousInTheListSoundAtOnce)
{
    startWithTones({440, 660, 880});
    window->Image2_Click();
    until(now() + 0.6);
    clickAndHear([&] { window->Image4_Click(); }, 660);
    clickAndHear([&] { window->Image4_Click(); }, 880);
    clickAndHear([&] { window->Image6_Click(); }, 660);
}

TEST_F(ListeningTest, FlacOpusAndM4aFilesSoundAtTheirPitch)
{
    const std::vector<std::pair<double, std::pair<const char*, const char*>>> files = {
        {440, {"flac", "flacenc"}}, {660, {"opus", "opusenc ! oggmux"}}, {880, {"m4a", "avenc_aac ! mp4mux"}}};
    QStringList paths;
    for (const auto& [pitch, format] : files) {
        const std::string wav = listening::WriteToneWav(media.file(std::to_string(int(pitch)) + ".wav"), {{pitch, 3.0}});
        paths << QString::fromStdString(encoded(wav, media.file(std::to_string(int(pitch)) + "." + format.first), format.second));
    }
    writeList(paths);
    start();
    clickAndHear([&] { window->Image2_Click(); }, 440);
    for (double pitch : {660.0, 880.0}) clickAndHear([&] { window->Image4_Click(); }, pitch);
}

TEST_F(ListeningTest, ADoubleClickInTheListPlaysThatEntry)
{
    startWithTones({440, 660, 880});
    list1()->setCurrentRow(2);
    clickAndHear([&] { window->List1_DblClick(); }, 880);
    EXPECT_EQ(window->Tracks().current(), 2);
}

// Two MP3s (their encoder delay and padding trimmed) and a WAV.
TEST_F(ListeningTest, ContinuousPlayGoesOnWithoutAGapAndTheWindowFollows)
{
    startWithTones({440, 660, 880}, 1.5, 2);
    menu().synexeia_Click();
    ASSERT_TRUE(common::globals().Continuous);
    const double t = clickAndListen([&] { window->Image2_Click(); }, 0.5);
    const double start = recording->firstSound(t);
    until(start + 3.4);  // the third entry has just begun to sound: the window shows it already
    EXPECT_EQ(window->Tracks().current(), 2);
    EXPECT_EQ(shown("Label10"), "3");
    EXPECT_EQ(list1()->currentRow(), 2);
    until(start + 4.6);
    EXPECT_NEAR(pitchAt(start + 0.2, start + 1.3), 440, 10);
    EXPECT_NEAR(pitchAt(start + 1.7, start + 2.8), 660, 10);
    EXPECT_NEAR(pitchAt(start + 3.2, start + 4.3), 880, 10);
    EXPECT_LT(recording->longestSilence(start + 0.1, start + 4.4), Gap);
}

// An album rip: one FLAC of three tones and its cue sheet. Opened, its tracks play on into each
// other without a gap; the third, chosen, plays the third tone with its time from 00:00.
TEST_F(ListeningTest, AnAlbumImagesTracksPlayTheirOwnPartsWithoutAGap)
{
    const std::string wav = listening::WriteToneWav(media.file("album.wav"), {{440, 2.0}, {660, 2.0}, {880, 2.0}});
    encoded(wav, media.file("album.flac"), "flacenc");
    std::remove(wav.c_str());
    const QString sheet = QString::fromStdString(
        fixtures::writeFile(media.path(), "album.cue",
                            "FILE \"album.flac\" WAVE\nTRACK 01 AUDIO\nINDEX 01 00:00:00\nTRACK 02 AUDIO\nINDEX 01 00:02:00\n"
                            "TRACK 03 AUDIO\nINDEX 01 00:04:00\n"));
    start();
    menu().synexeia_Click();
    const double t = clickAndListen([&] { window->OpenPaths({sheet}, player::Form1::Opening::Replace); }, 0.5);
    const double begin = recording->firstSound(t);
    until(begin + 3.3);  // the window shows the second track once it is heard
    EXPECT_EQ(window->Tracks().current(), 1);
    EXPECT_NEAR(pitchAt(begin + 0.2, begin + 1.8), 440, 10);
    EXPECT_NEAR(pitchAt(begin + 2.2, begin + 3.2), 660, 10);
    EXPECT_LT(recording->longestSilence(begin + 0.1, begin + 3.2), Gap);

    list1()->setCurrentRow(2);
    const double third = clickAndListen([&] { window->List1_DblClick(); });
    EXPECT_LT(window->PositionMs(), 1500) << "the time counts from the track's start";
    EXPECT_TRUE(shown("Label3").startsWith("00:0"));
    until(third + 1.0);
    EXPECT_NEAR(pitchAt(third + 0.3, third + 0.8), 880, 10);
}

// ReplayGain: two files 12 dB apart, tagged so, sound within 1 dB of each other; switched off,
// they are 12 dB apart again.
TEST_F(ListeningTest, FilesTaggedWithReplayGainSoundAtOneLoudness)
{
    const auto make = [&](double pitch, const char* volume, const char* name, const char* gain, const char* peak) {
        const std::string wav = listening::WriteToneWav(media.file(std::string(name) + ".wav"), {{pitch, 4.0}});
        const std::string flac =
            encoded(wav, media.file(std::string(name) + ".flac"), std::string("volume volume=") + volume + " ! flacenc");
        const std::string tag = "from mutagen.flac import FLAC\nimport sys\nf = FLAC(sys.argv[1])\n"
                                "f['REPLAYGAIN_TRACK_GAIN'] = sys.argv[2]; f['REPLAYGAIN_TRACK_PEAK'] = sys.argv[3]; f.save()\n";
        EXPECT_EQ(
            QProcess::execute("/usr/bin/python3", {"-c", QString::fromStdString(tag), QString::fromStdString(flac), gain, peak}),
            0);
        return QString::fromStdString(flac);
    };
    // 440 Hz at half scale, 660 Hz at an eighth: 12 dB apart; each tagged to meet at a quarter.
    writeList({make(440, "1.0", "loud", "-6.00 dB", "0.500000"), make(660, "0.25", "quiet", "+6.00 dB", "0.125000")});
    start();
    const auto levelsApart = [&] {
        const double a = clickAndListen([&] { window->UpdateMP3(0, true); });
        const double loud = recording->level(a + 0.3, a + 0.8);
        const double b = clickAndListen([&] { window->UpdateMP3(1, true); });
        const double quiet = recording->level(b + 0.3, b + 0.8);
        return 20 * std::log10(loud / quiet);
    };
    EXPECT_NEAR(levelsApart(), 0.0, 1.0);
    menu().item("ReplayGain")->trigger();  // off
    EXPECT_NEAR(levelsApart(), 12.0, 1.0);
    menu().item("ReplayGain")->trigger();  // on again, as the settings had it

    // Switched off while a file plays: heard within the output's short queue (0.5 to 0.7 s here),
    // and in the file already cued to follow it.
    menu().synexeia_Click();
    const double begin = recording->firstSound(clickAndListen([&] { window->UpdateMP3(0, true); }, 1.5));
    const double on = recording->level(begin + 0.4, begin + 1.1);
    menu().item("ReplayGain")->trigger();
    const double off = now();
    until(begin + 5.6);
    const double loud = recording->level(off + 1.0, begin + 3.9);
    EXPECT_NEAR(20 * std::log10(loud / on), 6.0, 1.0) << "not heard at once";
    EXPECT_NEAR(20 * std::log10(loud / recording->level(begin + 4.3, begin + 5.5)), 12.0, 1.0) << "the next file kept the gain";
}

TEST_F(ListeningTest, ContinuousPlaySwitchedOffStopsAtTheEnd)
{
    startWithTones({440, 660}, 1.5);
    menu().synexeia_Click();
    window->Image2_Click();
    until(now() + 0.5);  // the next entry is prepared by now
    menu().synexeia_Click();
    const double t = now();
    until(t + 2.0);
    EXPECT_LT(recording->level(t + 1.3, t + 2.0), 0.002);
    EXPECT_EQ(window->Tracks().current(), 0);
}

TEST_F(ListeningTest, TheDiscPlaysOnIntoItsNextTrack)
{
    startWithDisc({150, 225});  // 2 s of 220 Hz, then 3 s of 440 Hz
    const double t = clickAndListen([&] { window->Image2_Click(); }, 3.0);
    const double start = recording->firstSound(t);
    EXPECT_NEAR(pitchAt(start + 0.3, start + 1.8), 220, 10);
    EXPECT_NEAR(pitchAt(start + 2.2, start + 2.7), 440, 10);
    EXPECT_LT(recording->longestSilence(start + 0.1, start + 2.8), Gap);
}

TEST_F(ListeningTest, NextAndPreviousOnTheDiscSoundAtOnce)
{
    startWithDisc({375, 375, 375});
    window->Image2_Click();
    until(now() + 0.8);
    clickAndHear([&] { window->Image4_Click(); }, 440);
    clickAndHear([&] { window->Image6_Click(); }, 220);
}

// The fifth segment halves the level, heard at once: also when the player sat a while with a
// file open, or after an entry's end, before Play (a sound server then owed that time would take
// seconds of sound at once, played at the old volume).
TEST_F(ListeningTest, TheFifthVolumeSegmentHalvesTheLevelAtOnceAfterAnyWait)
{
    startWithTones({440, 660}, 4.0);
    const auto halvesAtOnce = [&](const std::function<void()>& play) {
        window->Label5_Click(9);
        const double t = clickAndListen(play, 1.2);
        const double full = recording->level(t + 0.4, t + 1.1);
        window->Label5_Click(4);
        const double half = now();
        until(half + 1.0);
        EXPECT_NEAR(recording->level(half + 0.4, half + 0.9) / full, 0.5, 0.06);
    };
    until(now() + 6.0);
    halvesAtOnce([&] { window->Image2_Click(); });
    until(now() + 8.0);  // the end, and a while after it
    halvesAtOnce([&] { window->Image4_Click(); });
    window->Label5_Click(9);
}

TEST_F(ListeningTest, TheSliderPlaysFromWhereItWasDropped)
{
    // The first half is 440 Hz, the second 880 Hz.
    writeList({QString::fromStdString(listening::WriteToneWav(media.file("halves.wav"), {{440, 2.0}, {880, 2.0}}))});
    start();
    window->Image2_Click();
    until(now() + 1.1);  // a tick has seen it play
    window->Image17_MouseDown();
    window->Image17_MouseMove(149 - ctl<player::PictureButton>("Image17")->x() + 5);  // three quarters of the way along
    window->Image17_MouseMove(5);  // the pointer rests there: the time follows the thumb
    clickAndHear([&] { window->Image17_MouseUp(); }, 880);
}

// A person's timing at the end of an entry under continuous play: just before its end is heard
// (the next entry is already on its way to the sound server) and just after (it sounds, the
// window has not taken it over yet). Whatever they do, what they hear is what the window shows.
enum class Act { Untick, RemoveAll, Pause, RemoveNext, Next };

class HandOverHeardTest : public ListeningTest, public ::testing::WithParamInterface<std::tuple<Act, double>> {
protected:
    void act(Act what)
    {
        switch (what) {
        case Act::Untick: menu().synexeia_Click(); break;
        case Act::RemoveAll:
            answer = platform::AnswerYes;
            menu().item(QStringLiteral("removeALL"))->trigger();
            break;
        case Act::Pause: window->Image3_Click(); break;
        case Act::RemoveNext:
            list1()->setCurrentRow(1);
            menu().item(QStringLiteral("removefile"))->trigger();
            break;
        case Act::Next: window->Image4_Click(); break;
        }
    }
    // Over the next moments: the pitch of the entry the window shows playing, else silence.
    void expectHeardAsShown(const std::vector<double>& pitches)
    {
        const double t = now();
        const bool playing = window->IsPlaying();
        const QString shownFile = window->Tracks().currentPath();  // "toneN.wav", also once removed
        until(t + 0.4);
        if (playing) {
            const size_t tone = size_t(QFileInfo(shownFile).completeBaseName().mid(4).toInt());
            ASSERT_LT(tone, pitches.size());
            EXPECT_NEAR(pitchAt(t + 0.05, t + 0.4), pitches[tone], 10) << "not the entry shown";
            EXPECT_LT(recording->longestSilence(t + 0.05, t + 0.4), 0.1) << "the entry shown is not heard";
        } else {
            EXPECT_LT(recording->level(t + 0.05, t + 0.4), 0.002) << "sound while the window shows none";
        }
    }
};

TEST_P(HandOverHeardTest, WhatSoundsIsWhatTheWindowShows)
{
    const auto [what, offset] = GetParam();
    const std::vector<double> pitches = {440, 660, 880};
    startWithTones(pitches, 1.5);
    menu().synexeia_Click();
    const double t = clickAndListen([&] { window->Image2_Click(); }, 0.3);
    ctl<QTimer>("Timer2")->stop();  // ticks by hand: none takes the next entry over before the act
    const double end = recording->firstSound(t) + 1.5;
    until(end + offset);
    const double acted = now();
    act(what);
    until(acted + 0.6);
    window->Timer2_Timer();
    expectHeardAsShown(pitches);
    if (what == Act::RemoveAll || what == Act::Pause) {
        EXPECT_LT(recording->level(std::max(acted, end) + 0.15, now()), 0.002) << "still heard after the command";
    }
    // The entry sounding plays on: removed before it is heard, the one after it follows at once.
    if (what == Act::RemoveNext) {
        EXPECT_LT(recording->longestSilence(acted, now()), Gap) << "silence after the removal";
    }
    // Next goes on from the entry heard: after the end, that is the second.
    if (what == Act::Next) {
        EXPECT_EQ(window->Tracks().current(), offset < 0 ? 1 : 2);
    }
    if (what == Act::Untick && offset > 0) {
        EXPECT_EQ(window->Tracks().current(), 1) << "the entry heard does not play to its end";
    }
    if (what == Act::Untick && offset < 0) {
        EXPECT_EQ(window->Tracks().current(), 0);
        EXPECT_LT(recording->level(end + 0.15, now()), 0.002) << "the next entry was heard";
    }
    if (what == Act::Pause) {
        // Play goes on where it was paused: with the entry shown, or its last moments first.
        const int shown = window->Tracks().current();
        const double resumed = clickAndListen([&] { window->PlayPause(); }, 0.6);
        window->Timer2_Timer();  // a tick: the window takes over what it went on to meanwhile
        EXPECT_GE(window->Tracks().current(), shown);
        expectHeardAsShown(pitches);
        EXPECT_LT(recording->longestSilence(resumed + ToSound, now()), Gap);
    }
}

INSTANTIATE_TEST_SUITE_P(Moments, HandOverHeardTest,
                         ::testing::Combine(::testing::Values(Act::Untick, Act::RemoveAll, Act::Pause, Act::RemoveNext,
                                                              Act::Next),
                                            ::testing::Values(-0.25, 0.4)));

TEST_F(ListeningTest, TheTimeNeverFallsBackToZeroUnderTheEntryItCounts)
{
    startWithTones({440, 660}, 2.5);
    menu().synexeia_Click();
    window->Image2_Click();
    std::map<int, bool> counting;  // entries whose time has moved past 00:00
    const double t = now();
    while (now() < t + 4.5) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        const int index = window->Tracks().current();
        const QString time = shown("Label3");
        if (time != "00:00")
            counting[index] = true;
        else
            ASSERT_FALSE(counting[index]) << "00:00 again under entry " << index;
    }
    EXPECT_EQ(window->Tracks().current(), 1);
}

// A video goes on by itself when the sound server restarts; opened again, it is heard too.
TEST_F(ListeningTest, AVideoGoesOnAfterTheSoundServerRestartsAndOpenedAgainIsHeard)
{
    startWithVideo("audio/x-raw,format=S16LE", 660, 6.0);
    clickAndListen([&] { window->Image2_Click(); }, 0.5);  // the file output is made, then left idle
    window->UpdateMP3(1, false);
    clickAndListen([&] { window->Image2_Click(); }, 1.5);
    recording.reset();
    ASSERT_TRUE(server->restartPulse()) << "the sound server did not come back";
    recording = std::make_unique<listening::Recording>(*server);
    until(now() + 2.5);  // the server is tried again once a second
    EXPECT_TRUE(window->IsPlaying());
    EXPECT_NEAR(pitchAt(now() - 0.9, now() - 0.1), 440, 10) << "the video did not go on by itself";
    EXPECT_GE(window->PositionMs(), 1500 + 1500) << "it went on from where it was";
    window->UpdateMP3(1, false);
    const double t = clickAndListen([&] { window->Image2_Click(); }, 1.5);
    EXPECT_NEAR(pitchAt(t + 0.5, t + 1.4), 440, 10);
}

// A list of files, or a disc: either goes on from where it was heard, and Next sounds at once.
class ServerRestartTest : public ListeningTest, public ::testing::WithParamInterface<bool> { };

TEST_P(ServerRestartTest, PlayGoesOnAfterTheSoundServerRestarts)
{
    if (GetParam())
        startWithDisc({750, 750});  // 10 s of 220 Hz, then 440 Hz
    else
        startWithTones({220, 440}, 10.0);
    clickAndListen([&] { window->Image2_Click(); }, 1.5);
    // The position last read long before the server goes: what played since was heard all the same.
    window->SetTickEnabled(false);
    const int64_t read = window->PositionMs();
    const double readAt = now();
    until(readAt + 0.9);
    recording.reset();
    ASSERT_TRUE(server->restartPulse()) << "the sound server did not come back";
    const int64_t goesOnAt = window->PositionMs();
    EXPECT_GE(goesOnAt, read + 800) << "what was heard plays again";
    EXPECT_LE(goesOnAt, read + int64_t((now() - readAt) * 1000) + 100) << "what was never heard is skipped";
    window->SetTickEnabled(true);
    recording = std::make_unique<listening::Recording>(*server);
    ASSERT_TRUE(recording->started());
    const double back = now();
    until(back + 3.0);
    EXPECT_TRUE(window->IsPlaying());
    EXPECT_NEAR(pitchAt(now() - 1.0, now()), 220, 10) << "play did not go on";
    const int64_t at = window->PositionMs();
    until(now() + 1.2);
    EXPECT_GT(window->PositionMs(), at) << "the time stands still";
    clickAndHear([&] { window->Image4_Click(); }, 440);
}

// The disc first: the file output, idle meanwhile, lets go of the server that went away (new
// sinks would share its dead connection), and the files after it sound at once.
INSTANTIATE_TEST_SUITE_P(DiscThenFiles, ServerRestartTest, ::testing::Values(true, false));

// The next track of a disc, or a video opened then, played while the sound server is away
// (restarting, say) plays silently and is heard once the server is back.
TEST_P(ServerRestartTest, PlayPressedWhileTheSoundServerIsAwayIsHeardOnceItIsBack)
{
    const bool disc = GetParam();
    if (disc) {
        startWithDisc({750, 750});
    } else {
        startWithVideo("audio/x-raw,format=S16LE");
    }
    clickAndListen([&] { window->Image2_Click(); }, 0.5);  // the server's output is found
    window->Image3_Click();
    recording.reset();
    server->stopPulse();
    if (disc) {
        window->Image4_Click();
    } else {
        window->UpdateMP3(0, false);
        window->Image2_Click();
    }
    until(now() + 1.0);
    ASSERT_TRUE(server->startPulse()) << "the sound server did not come back";
    recording = std::make_unique<listening::Recording>(*server);
    ASSERT_TRUE(recording->started());
    until(now() + 2.0);
    EXPECT_TRUE(window->IsPlaying());
    EXPECT_NEAR(pitchAt(now() - 0.8, now() - 0.1), 440, 10) << "not heard once the server is back";
    if (!disc) {
        EXPECT_GE(window->PositionMs(), 2500) << "it did not go on meanwhile";
    }
}

// The server's last device goes (unplugged, say), leaving its streams nowhere to go: a disc, a
// file or a video plays on silently, its time moving, and is heard once a device is back.
class DeviceGoneTest : public ListeningTest, public ::testing::WithParamInterface<std::string> { };

TEST_P(DeviceGoneTest, PlayGoesOnSilentlyAndIsHeardOnceADeviceIsBack)
{
    if (GetParam() == "disc") {
        startWithDisc({750, 750});  // 220 Hz
    } else if (GetParam() == "file") {
        startWithTones({220, 440}, 10.0);
    } else {
        startWithVideo("lamemp3enc");  // 440 Hz
    }
    const double pitch = GetParam() == "video" ? 440 : 220;
    clickAndListen([&] { window->Image2_Click(); }, 1.0);
    recording.reset();
    ASSERT_TRUE(server->removeSink());
    const int64_t gone = window->PositionMs();
    until(now() + 2.5);
    EXPECT_TRUE(window->IsPlaying());
    EXPECT_GE(window->PositionMs(), gone + 1000) << "the time stood while nothing could be heard";
    ASSERT_TRUE(server->addSink());
    recording = std::make_unique<listening::Recording>(*server);
    ASSERT_TRUE(recording->started());
    until(now() + 2.5);
    EXPECT_NEAR(pitchAt(now() - 0.8, now() - 0.1), pitch, 10) << "not heard once a device is back";
}

INSTANTIATE_TEST_SUITE_P(DiscFileVideo, DeviceGoneTest, ::testing::Values("disc", "file", "video"));

// A 16-bit file at CD rate followed by a 24-bit one at the server's rate: the second reaches the
// server in floating point at the server's own rate (never resampled there), without a gap.
TEST_F(ListeningTest, FilesOfOtherRatesAndWidthsFollowWithoutAGapAndKeepTheirBits)
{
    const std::string cd = listening::WriteToneWav(media.file("cd.wav"), {{440, 1.5}});
    const std::string hi = media.file("hi.wav");
    const std::string command = "sox \"" + listening::WriteToneWav(media.file("hi-src.wav"), {{660, 2.5}}) + "\" -b 24 -r " +
                                std::to_string(listening::SoundServer::Rate) + " \"" + hi + "\"";
    ASSERT_EQ(std::system(command.c_str()), 0);
    writeList({QString::fromStdString(cd), QString::fromStdString(hi)});
    start();
    menu().synexeia_Click();
    const double t = clickAndListen([&] { window->Image2_Click(); }, 0.5);
    const double begin = recording->firstSound(t);
    until(begin + 2.5);
    const QString streams = server->sinkInputs();
    EXPECT_TRUE(streams.contains("float32le 2ch " + QString::number(listening::SoundServer::Rate) + "Hz"))
        << streams.toStdString();
    EXPECT_NEAR(pitchAt(begin + 0.2, begin + 1.3), 440, 10);
    EXPECT_NEAR(pitchAt(begin + 1.7, begin + 2.4), 660, 10);
    EXPECT_LT(recording->longestSilence(begin + 0.1, begin + 2.4), Gap);
}

// The PulseAudio daemon is told from PipeWire's pulse server, which asks for sound in another
// rhythm: the output's request size is chosen for each.
TEST(SoundServerFacts, TheDaemonIsToldFromPipeWire)
{
    const platform::gst::SoundServerFacts& facts = platform::gst::soundServer();
    EXPECT_EQ(facts.rate, listening::SoundServer::Rate);
    EXPECT_EQ(facts.pulseAudioDaemon, server->kind() == listening::SoundServer::Kind::PulseAudio);
}

// The file output's stream, started on silence at the open, is corked again a few seconds later
// though the list has moved on to a video meanwhile: left running, it would wake the sound
// server's thread here many times a second while nothing plays.
TEST_F(ListeningTest, TheStreamWokenAtTheOpenIsCorkedAgainWhenAVideoFollows)
{
    startWithVideo("audio/x-raw,format=S16LE", 660, 3.0);
    window->UpdateMP3(1, false);
    until(now() + 6.5);
    const QString streams = server->sinkInputs();
    EXPECT_TRUE(streams.contains("Corked: yes")) << streams.toStdString();
    EXPECT_FALSE(streams.contains("Corked: no")) << streams.toStdString();
}

TEST_F(ListeningTest, AVideoLeftOpenSoundsAtOncePlayed)
{
    startWithVideo("lamemp3enc");
    // A moment after the open as well as long after: the sound server counts either wait.
    for (const double wait : {0.6, 5.0}) {
        window->UpdateMP3(0, false);
        until(now() + wait);
        const double t = clickAndListen([&] { window->Image2_Click(); });
        std::printf("video: first sound %.0f ms after Play, %.1f s after the open\n", (recording->firstSound(t) - t) * 1000,
                    wait);
        EXPECT_NEAR(pitchAt(t + 0.35, t + 0.75), 440, 10) << wait;
    }
}

int main(int argc, char** argv)
{
    QTemporaryDir root;
    setenv("XDG_CONFIG_HOME", (root.path() + "/config").toUtf8().constData(), 1);
    setenv("XDG_DATA_HOME", (root.path() + "/data").toUtf8().constData(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("SONORELL_VIDEO_SINK", "fakesink sync=true", 1);
    QApplication app(argc, argv);
    listening::SoundServer sound(listening::SoundServer::kindFromEnvironment());
    std::string error;
    if (!sound.start(error)) {
        std::fprintf(stderr, "The listening tests need a sound server, and %s\n", error.c_str());
        return 1;
    }
    sound.useInThisProcess();
    server = &sound;
    std::printf("Listening through %s\n", sound.name().c_str());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

// A file or a video paused while the sound server restarts is heard at once when resumed, from
// where it was paused; the window's tick, which would notice the loss up to a second later, is off.
TEST_F(ListeningTest, APausedFileOrVideoResumesAtOnceAfterTheSoundServerRestarts)
{
    startWithVideo("audio/x-raw,format=S16LE", 440, 10.0);
    for (int entry : {0, 1}) {
        SCOPED_TRACE(entry);
        window->UpdateMP3(entry, false);
        clickAndListen([&] { window->Image2_Click(); }, 1.0);
        window->Image3_Click();
        const int64_t pausedAt = window->PositionMs();
        recording.reset();
        ASSERT_TRUE(server->restartPulse()) << "the sound server did not come back";
        recording = std::make_unique<listening::Recording>(*server);
        window->SetTickEnabled(false);
        const double t = clickAndListen([&] { window->Image2_Click(); }, 1.0);
        EXPECT_NEAR(pitchAt(t + 0.4, t + 0.9), 440, 10);
        EXPECT_NEAR(window->PositionMs(), pausedAt + 1000, 400) << "it went on from where it was paused";
        window->SetTickEnabled(true);
    }
}

// A video opened after the sound server restarted under a paused file is heard: the file output,
// idle once that file is closed, lets go of the server that went away when the video's sink
// cannot open on it.
TEST_F(ListeningTest, AVideoOpenedAfterTheSoundServerRestartedUnderAPausedFileIsHeard)
{
    startWithVideo("audio/x-raw,format=S16LE", 660, 6.0);
    clickAndListen([&] { window->Image2_Click(); }, 0.5);
    window->Image3_Click();
    recording.reset();
    ASSERT_TRUE(server->restartPulse()) << "the sound server did not come back";
    recording = std::make_unique<listening::Recording>(*server);
    window->UpdateMP3(1, false);
    const double t = clickAndListen([&] { window->Image2_Click(); }, 1.5);
    EXPECT_NEAR(pitchAt(t + 0.5, t + 1.4), 440, 10);
}
