#pragma once
// A sound file, decoded and fed to the run's one audio output (AudioOutput). A file the output
// went on to by itself (see cueNext) is taken over as it plays.

#include "platform/gst/Engine.h"

#include <memory>
#include <string>

namespace platform::gst {

class Decoder;

class SoundFilePlayer : public Engine {
public:
    // A file prerolled and ready, or (takenOver) the one the output already plays on into.
    SoundFilePlayer(std::shared_ptr<Decoder> decoder, bool takenOver);
    ~SoundFilePlayer() override;
    SoundFilePlayer(const SoundFilePlayer&) = delete;
    SoundFilePlayer& operator=(const SoundFilePlayer&) = delete;

    int64_t position() override;
    Mode mode() override;
    bool play(std::optional<int64_t> fromMs, std::optional<int64_t> toMs) override;
    bool seek(int64_t ms) override;
    void pause() override;
    void resume() override;
    void stop() override;
    double volume() const override;

    // The file to follow this one without a gap when it plays to its end (empty: none). The
    // output then goes on to it by itself; opening that file takes it over. Until then it is
    // this player's: stop, pause, resume, a new cue and closing act on it.
    void cueNext(const std::string& uri) override;

protected:
    void poll() override;
    void hold() override;
    void goOn() override;
    void checkOutput() override;

private:
    bool reposition(int64_t fromMs, std::optional<int64_t> toMs, bool start);
    int64_t heardMs();
    void atEnd(int64_t positionMs);
    void goOnAfterLoss();
    bool holdsRunOn();
    void dropSuccessor();
    static std::shared_ptr<Decoder> successor(const std::string& uri);

    std::shared_ptr<Decoder> audio_;
    bool takenOver_ = false;  // playing since the output went on to it, not moved since
    std::string cuedUri_;     // the file cued to follow this one
};

}  // namespace platform::gst
