#pragma once
// One media file: a sound file fed to the run's one audio output (AudioOutput), or a file with a
// picture played by its own VideoPlayer into a window. Everything in milliseconds.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace platform::gst {

class Decoder;
class VideoPlayer;

class MediaPlayer {
public:
    enum class Mode { Stopped, Playing, Paused };
    enum class OpenResult { Ok, CannotDecode };

    MediaPlayer();
    ~MediaPlayer();
    MediaPlayer(const MediaPlayer&) = delete;
    MediaPlayer& operator=(const MediaPlayer&) = delete;

    // Prerolls the file (a file:// URI) and waits, bounded, until it is ready or refused.
    // A picture is drawn into parentWindow when it is not 0. A file the output already went on
    // to by itself (see cueNext) is taken over as it plays.
    OpenResult open(const std::string& uri, uint64_t parentWindow);

    int64_t lengthMs() const { return lengthMs_; }
    int64_t positionMs();
    Mode mode();
    // Plays from fromMs (else from where it stands) up to toMs (else the end); false when refused.
    bool play(std::optional<int64_t> fromMs, std::optional<int64_t> toMs);
    // Stands at ms, stopped.
    bool seek(int64_t ms);
    void pause();
    void resume();
    void stop();
    // The picture's size; false for a file without a picture.
    bool videoSize(int& width, int& height) const;
    // The gain the stream plays at, 0..1; -1 when nothing is open.
    double volume() const;

    // The file to follow this one without a gap when it plays to its end (empty: none). The
    // output then goes on to it by itself; opening that file takes it over. Until then it is
    // this player's: stop, pause, resume, a new cue and closing act on it.
    void cueNext(const std::string& uri);

private:
    bool reposition(int64_t fromMs, std::optional<int64_t> toMs, bool start);
    void poll();
    int64_t heardMs();
    void atEnd(int64_t positionMs);
    void goOnAfterLoss();
    std::optional<int64_t> stopPosition() const;
    bool holdsRunOn();
    void dropSuccessor();

    std::shared_ptr<Decoder> audio_;
    std::unique_ptr<VideoPlayer> video_;
    Mode mode_ = Mode::Stopped;
    int64_t lengthMs_ = -1;
    int64_t stopMs_ = -1;     // where play stops; -1 for the end
    int64_t restMs_ = 0;      // the position while not on the output's timeline
    bool atEnd_ = false;      // the last play reached its end
    bool takenOver_ = false;  // playing since the output went on to it, not moved since
    std::string cuedUri_;     // the file cued to follow this one
};

}  // namespace platform::gst
