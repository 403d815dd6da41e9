#pragma once
// One sound file decoded for the audio output: uridecodebin, converted to the output's format,
// run a few seconds ahead in a queue, handed over by an appsink. It stays paused (prerolled)
// until the output lets it feed; then its streaming thread pushes into the output, blocking
// while the output is full.
//
// A section URI (see SectionUri) decodes a part of its file: every position, seek and length is
// counted from the part's start, and the part ends where its frames end.

#include "platform/gst/Gst.h"

#include <gst/gst.h>

#include <atomic>
#include <cstdint>
#include <string>

namespace platform::gst {

class Decoder {
public:
    enum class Preroll { Ready, HasPicture, Failed };

    explicit Decoder(std::string uri);
    ~Decoder();
    Decoder(const Decoder&) = delete;
    Decoder& operator=(const Decoder&) = delete;

    const std::string& uri() const { return uri_; }
    bool isSection() const { return section_; }
    // The factor its samples are scaled by: the file's ReplayGain while that is applied, else 1.
    float gain() const;

    // Starts prerolling without waiting.
    void begin();
    // Prerolls (bounded) and reads the length; Ready only for a file with sound, no picture and
    // a length.
    Preroll preroll();
    // True when begin()'s preroll has finished well: the file can follow another at once.
    bool readyNow();
    // Waits up to ms for begin()'s preroll to finish.
    void awaitPreroll(int64_t ms);

    int64_t lengthMs() const { return lengthMs_; }
    // Flushing, accurate seek to fromMs with an optional stop; waits until prerolled there.
    bool seek(int64_t fromMs, int64_t toMs);
    // True when the last seek plays to the file's own end (no earlier stop).
    bool endsNaturally() const { return stopMs_ < 0 || stopMs_ >= lengthMs_; }
    // Lets the streaming thread run (it feeds the output) or holds it.
    void run();
    void hold();
    // True once the pipeline has reported an error.
    bool failed();

private:
    friend class AudioOutput;
    // Its place on the output's timeline, in frames; guarded by the output's lock.
    struct Timeline {
        bool feeding = false;
        bool placed = false;
        uint64_t start = 0;
        int64_t fromNs = 0;
        int64_t end = -1;
    } timeline_;

    static void padAdded(GstElement*, GstPad* pad, gpointer self);
    static void noMorePads(GstElement*, gpointer self);
    static GstFlowReturn newSample(GstElement* sink, gpointer self);
    static void endOfStream(GstElement* sink, gpointer self);
    bool waitForPreroll(int64_t timeoutMs);
    void noteError(GstMessage* message);
    void readBus();

    std::string uri_;
    GstElement* pipeline_ = nullptr;
    GstElement* convert_ = nullptr;
    GstElement* source_ = nullptr;
    GstElement* sink_ = nullptr;
    bool stalled_ = false;  // the source never answered: stopping it may wait for it
    std::atomic<bool> picture_{false};
    bool failed_ = false;
    std::string error_;
    bool takeLength(gint64 fileNs);
    gint64 fileNs(int64_t ms) const;

    float tagGain_ = 1;
    int64_t lengthMs_ = -1;
    int64_t stopMs_ = -1;
    bool section_ = false;
    gint64 originNs_ = 0;       // the part's start in the file
    gint64 sectionEndNs_ = -1;  // the part's end in the file; -1: the file's end
    gint64 fileEndNs_ = -1;     // the file's length
    bool atStart_ = true;       // a part stands at its start once prerolled (or was moved since)
};

}  // namespace platform::gst
