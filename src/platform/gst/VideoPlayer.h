#pragma once
// A file with a picture, played with playbin into a window; everything in milliseconds.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace platform::gst {

class VideoPlayer {
public:
    enum class Mode { Stopped, Playing, Paused };
    enum class OpenResult { Ok, CannotDecode };

    VideoPlayer();
    ~VideoPlayer();
    VideoPlayer(const VideoPlayer&) = delete;
    VideoPlayer& operator=(const VideoPlayer&) = delete;

    // Prerolls the file (a file:// URI) and waits, bounded, until it is ready or refused.
    // A picture is drawn into parentWindow when it is not 0.
    OpenResult open(const std::string& uri, uint64_t parentWindow);

    int64_t lengthMs() const { return lengthMs_; }
    int64_t positionMs();
    Mode mode();
    // Plays from fromMs (else from where it stands) up to toMs (else the end); false when refused.
    bool play(std::optional<int64_t> fromMs, std::optional<int64_t> toMs);
    void pause();
    void resume();
    void stop();
    // The picture's size; false for a file without a picture.
    bool videoSize(int& width, int& height) const;
    // The gain the stream plays at, 0..1; -1 when nothing is open.
    double volume() const;

private:
    int64_t preroll(const std::string& uri, uint64_t parentWindow, bool waitForLength);
    void poll();
    void applyVolume();

    struct Gst;
    std::unique_ptr<Gst> gst_;
    Mode mode_ = Mode::Stopped;
    int64_t lengthMs_ = -1;
    int64_t stopMs_ = -1;        // where play stops; -1 for the end
    bool atEnd_ = false;         // the last play reached its end
    int64_t endPositionMs_ = 0;  // the position once at the end
    int auxListener_ = 0;
    int64_t restedSinceMs_ = -1;  // since when the sound stream waits, prerolled, for a play
};

}  // namespace platform::gst
