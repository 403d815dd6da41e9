#pragma once
// A file with a picture, played with playbin into a window, its sound on a stream of its own.

#include "platform/gst/Engine.h"
#include "platform/gst/Gst.h"

#include <memory>

namespace platform::gst {

class VideoPlayer : public Engine {
public:
    VideoPlayer();
    ~VideoPlayer() override;
    VideoPlayer(const VideoPlayer&) = delete;
    VideoPlayer& operator=(const VideoPlayer&) = delete;

    // Prerolls the file (a file:// URI) and waits, bounded, until it is ready; false when it is
    // refused. The picture is drawn into parentWindow when it is not 0.
    bool open(const std::string& uri, uint64_t parentWindow);

    int64_t position() override;
    bool play(std::optional<int64_t> fromMs, std::optional<int64_t> toMs) override;
    bool seek(int64_t ms) override;
    bool videoSize(int& width, int& height) const override;
    double volume() const override;

protected:
    void poll() override;
    void hold() override;
    void goOn() override;
    void checkOutput() override { poll(); }

private:
    int64_t preroll(const std::string& uri, uint64_t parentWindow, bool waitForLength);
    void applyVolume();
    void endAt(int64_t positionMs);
    void failed(GstMessage* error);
    bool serverBackForStandIn();
    void goOnWithNewSink();
    int64_t playedMs() const;
    bool clockFailed(int64_t playedMs);
    // Told to play from fromMs: the position reads that while the sink uncorks its stream.
    void startPlaying(int64_t fromMs);

    struct Gst;
    std::unique_ptr<Gst> gst_;
    int auxListener_ = 0;
    int64_t restedSinceMs_ = -1;     // since when the sound stream waits, prerolled, for a play
    bool soundLost_ = false;         // its sink failed: it goes on from rest_ on a new sink
    int64_t standInTriedAtMs_ = -1;  // a silent sink stands in for the server, last tried then
    ClockLeap leap_;
    ClockCheck clock_;
    int64_t lastPlayedMs_ = 0;  // the position last read since the last play
    Uncorking uncorking_;       // told to play from uncorkingFromMs_
    int64_t uncorkingFromMs_ = 0;
};

}  // namespace platform::gst
