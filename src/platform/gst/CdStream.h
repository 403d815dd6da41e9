#pragma once
// CD audio from a drive or image, read frame by frame and played through GStreamer: the
// pipeline under a DiscPlayer.

#include "platform/cdrom/Disc.h"

#include <memory>
#include <string>

namespace platform::gst {

class CdStream {
public:
    CdStream();
    ~CdStream();
    CdStream(const CdStream&) = delete;
    CdStream& operator=(const CdStream&) = delete;

    // Plays frames [from, to) of the disc at source; data tracks play as silence.
    bool start(const std::string& source, const cdrom::Toc& toc, int32_t from, int32_t to);
    void pause();
    void resume();
    void stop();

    // The frame now heard: from + frames played, never past to.
    int32_t currentFrame();
    // True once the last frame has been played (or the source failed).
    bool finished();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace platform::gst
