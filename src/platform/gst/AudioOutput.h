#pragma once
// The one audio output of the run. Files are decoded by Decoders into raw audio of one fixed
// format and fed to a single long-lived pipeline, so the sound server sees one stream for the
// whole run: a track change or a seek flushes that stream instead of building a new one, and the
// next file can follow the current one sample for sample.
//
// The output has one timeline: a count of frames since the last restart. The decoder feeding it
// stamps its buffers with that count; a decoder's file position is its start on the timeline plus
// where in the file it started.
//
// Whatever the output plays belongs to an owner (a SoundFilePlayer): the file it feeds, the file cued
// to follow, and the file it went on to by itself until another player takes that over. A closed
// owner's run-on waits a moment for a player to take it over (the window closes one file and
// opens the next), and is silenced when none does.

#include "platform/gst/Gst.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace platform::gst {

class Decoder;

class AudioOutput {
public:
    using Owner = const void*;

    static constexpr int Channels = 2;
    static constexpr int FrameBytes = 8;  // F32LE, two channels: 24-bit files keep every bit

    static AudioOutput& instance();
    // The fixed format every decoder converts to (a new reference): at the sound server's rate.
    static GstCaps* newCaps();

    AudioOutput(const AudioOutput&) = delete;
    AudioOutput& operator=(const AudioOutput&) = delete;

    // Silences the output, forgets every decoder, starts the timeline again at 0, runs
    // reposition (the decoder seeks while nothing can reach the output) and then lets decoder
    // feed the output from fromNs of its file. The output is left paused.
    bool restart(const std::shared_ptr<Decoder>& decoder, int64_t fromNs, const std::function<bool()>& reposition);
    // Silences the output when decoder is what it plays.
    void release(const Decoder* decoder);
    // The owner is gone (its alias closed): its cue is dropped, and what the output went on to
    // for it is silenced unless a player takes it over within a moment.
    void forget(Owner owner);
    // Silences the output and forgets the decoder it went on to by itself, if any.
    void dropRunOn();
    // The same for a run-on nobody owns any more.
    void dropOrphan();
    // True while the output plays (or holds) a file it went on to for owner.
    bool runOnOf(Owner owner);

    void play();
    void pause();
    bool playing() const { return playing_; }

    // The point of the timeline now heard, in nanoseconds; the last one heard once the output is lost.
    int64_t heardNs();
    // True once the sound server went away or the sink failed: the next restart() or play()
    // builds the output again. Says so once on standard error.
    bool lost();
    // True once the end of stream fed since the output was last flushed has been heard.
    bool playedOut();

    // What a decoder knows of its place on the timeline.
    struct Span {
        bool feeding = false;  // it is the decoder the output plays
        bool placed = false;   // it is on the timeline: feeding, or fed until the output went on
        int64_t startNs = 0;   // timeline point of its first sample
        int64_t fromNs = 0;    // file position of that sample
        int64_t endNs = -1;    // timeline point after its last sample, once known
    };
    Span span(const Decoder& decoder);

    // The file to play after the feeding decoder's natural end, cued by owner; null forgets it.
    void setNext(Owner owner, std::shared_ptr<Decoder> next);
    std::string nextUri();
    // The decoder the output went on to by itself, when it plays uri and is heard already (the
    // file before it has ended); it is handed over once.
    std::shared_ptr<Decoder> takeRunOn(const std::string& uri);
    bool runningOn(const std::string& uri);

    // Decoder streaming threads.
    GstFlowReturn deliver(Decoder& from, GstSample* sample);
    void finished(Decoder& from);

    // The gain of the output, 0..1.
    double volume() const;

private:
    // A sink for another pipeline could not open on the chosen server. The idle output (no file
    // on it) would notice only at its next play, and until then new sinks share its connection to
    // a server that went away and fail: it opens anew now. False when it did not (never made, or
    // a file on it).
    static bool serverWentAway();
    AudioOutput();
    ~AudioOutput();
    void build();
    void rebuildIfLost();
    void noteLoss(GstMessage* error);
    bool clockFailed(int64_t position);
    int64_t readHeard();  // the position read from the pipeline, as heardNs() gives it while the output works
    static void unplace(Decoder* decoder);
    void silenceOrphanLater();
    // The watch thread acts on the output's own deadlines (an orphan to silence, a woken stream
    // to cork, a stream played out to rest) when due; a deadline of -1 is none.
    void watchUntil(int64_t AudioOutput::*deadline, int64_t dueMs);
    void watchDeadlines();
    void settle();
    void restOnceEndHeard();
    void endAfterSilence(uint64_t at, uint64_t frames);
    bool endPending();
    void applyVolume();
    void flush();
    void reap();
    void wakeStream();
    void pushSilence(uint64_t at, uint64_t frames);
    void awaitNext(const Decoder& from);
    static GstPadProbeReturn dropStale(GstPad*, GstPadProbeInfo* info, gpointer self);

    // Commands come from the caller's thread and the deadline watch; one at a time.
    std::recursive_mutex control_;
    GstElement* pipeline_ = nullptr;
    GstElement* appsrc_ = nullptr;
    GstElement* volume_ = nullptr;
    std::atomic<bool> playing_ = false;
    bool lost_ = false;
    bool silent_ = false;    // a stand-in sink: the real output is tried again now and then
    int64_t triedAtMs_ = 0;  // the last try to build the output
    HeardPosition heard_;
    int64_t wokeAtMs_ = -1;               // when the stream was started on silence; -1 once settled or played
    std::atomic<bool> endHeard_ = false;  // the end of stream fed since the last flush has been heard

    std::mutex mutex_;
    std::condition_variable room_;  // the output has room for more
    uint64_t epoch_ = 1;            // buffers stamped with another epoch are stale and dropped
    uint64_t frames_ = 0;           // timeline length delivered so far
    std::shared_ptr<Decoder> feeding_;
    std::shared_ptr<Decoder> next_;
    Owner nextOwner_ = nullptr;
    std::shared_ptr<Decoder> runOn_;  // went on to by itself, not yet handed to an open file
    Owner runOnOwner_ = nullptr;      // null once its owner is gone
    int64_t orphanDeadlineMs_ = -1;   // when an ownerless run-on is silenced
    int64_t settleDueMs_ = -1;        // when a woken stream is corked
    int64_t restDueMs_ = -1;          // when a stream whose end was heard is corked
    uint64_t endEpoch_ = 0;           // the epoch an end of stream was fed in
    std::condition_variable deadlines_;
    std::thread watch_;
    std::vector<std::shared_ptr<Decoder>> retired_;  // let go on a streaming thread
};

}  // namespace platform::gst
