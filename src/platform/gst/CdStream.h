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

    // The frame now heard: from + frames played, never past to; once the output is lost, the
    // frame heard when it failed.
    int32_t currentFrame();
    // True once the last frame has been played.
    bool finished();
    // True once the sound output failed (its server went away) while it played, and a second
    // after a silent stand-in took its place; a stop lets the pipeline go, so the next start
    // opens the output anew.
    bool lost();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace platform::gst
