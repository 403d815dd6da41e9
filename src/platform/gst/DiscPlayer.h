#pragma once
// A disc in a drive (or a disc image) as an engine: positions are the disc's frames (1/75 s),
// counted as the table of contents counts them. What sounds is a CdStream.

#include "platform/cdrom/Disc.h"
#include "platform/gst/CdStream.h"
#include "platform/gst/Engine.h"

#include <string>

namespace platform::gst {

class DiscPlayer : public Engine {
public:
    // The disc at source with this table of contents (empty: none); stopped at its first frame.
    void load(const std::string& source, const cdrom::Toc& toc);

    int64_t position() override;
    // Frames [from, to) play; a data track's frames play as silence.
    bool play(std::optional<int64_t> from, std::optional<int64_t> to) override;
    bool seek(int64_t frame) override;
    // Stopped, the stream lets the drive go.
    void stop() override;
    double volume() const override;

protected:
    void poll() override;
    void hold() override;
    void goOn() override;

private:
    CdStream stream_;
    std::string source_;
    cdrom::Toc toc_;
};

}  // namespace platform::gst
