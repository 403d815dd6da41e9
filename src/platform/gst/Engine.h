#pragma once
// What plays a medium, whatever it is: a sound file on the run's one output (SoundFilePlayer), a
// file with a picture in a window (VideoPlayer), or a disc (DiscPlayer). Positions and lengths
// count the engine's own unit: milliseconds for a file, frames (1/75 s) for a disc, so each keeps
// its exact positions. An engine runs only when asked: each call first takes in what its pipeline
// reported since the last one.
//
// The rules every engine keeps: play runs from a place (else where it stands) to a stop (else
// the end); reaching the stop or the end leaves it stopped there, "at its end"; pause holds only
// what plays; resume starts a loaded or stopped medium from where it stands, but one at its end
// stays there; a play that has nothing to play is at its end at once.

#include <cstdint>
#include <optional>
#include <string>

namespace platform::gst {

class Engine {
public:
    enum class Mode { Stopped, Playing, Paused };

    virtual ~Engine() = default;

    int64_t length() const { return length_; }
    virtual int64_t position() = 0;
    virtual Mode mode();
    // The mode as last taken in, and where a stopped engine stands, without asking the pipeline.
    Mode lastMode() const { return mode_; }
    int64_t restingPosition() const { return rest_; }
    // Plays from `from` (else from where it stands) up to `to` (else the end); false when refused.
    virtual bool play(std::optional<int64_t> from, std::optional<int64_t> to) = 0;
    // Stands at `at`, stopped.
    virtual bool seek(int64_t at) = 0;
    virtual void pause();
    virtual void resume();
    virtual void stop();
    // The gain the medium plays at, 0..1; -1 when nothing is open.
    virtual double volume() const = 0;
    // The picture's size; false for a medium without a picture.
    virtual bool videoSize(int& width, int& height) const;
    // The file to follow this one without a gap (empty: none); only a sound file plays on.
    virtual void cueNext(const std::string& uri);

protected:
    // Takes in what the pipeline reported: an end, an error.
    virtual void poll() = 0;
    // What sounds holds where it is, and goes on again.
    virtual void hold() = 0;
    virtual void goOn() = 0;
    // Right after a resume: a sink whose sound server went away during the pause fails as it
    // starts, and is replaced now, not at the next look up to a second later.
    virtual void checkOutput() { }

    // The play reached its stop, its end or an error at `at`.
    void reachEnd(int64_t at);
    // Where the play under way stops: its stop, else the length.
    int64_t endOfPlay() const { return stop_ >= 0 ? stop_ : length_; }
    std::optional<int64_t> stopPosition() const;
    // A play from `from` to `to` (else the end) that has nothing to play.
    bool nothingToPlay(int64_t from, std::optional<int64_t> to) const { return from >= to.value_or(length_); }

    Mode mode_ = Mode::Stopped;
    int64_t length_ = -1;
    int64_t stop_ = -1;   // where play stops; -1 for the end
    bool atEnd_ = false;  // the last play reached its end
    int64_t rest_ = 0;    // the position while nothing moves it
};

}  // namespace platform::gst
