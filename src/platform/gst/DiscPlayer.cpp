#include "platform/gst/DiscPlayer.h"
#include "platform/AuxVolume.h"

namespace platform::gst {

void DiscPlayer::load(const std::string& source, const cdrom::Toc& toc)
{
    stream_.stop();
    source_ = source;
    toc_ = toc;
    length_ = toc.leadout;
    stop_ = -1;
    mode_ = Mode::Stopped;
    atEnd_ = false;
    rest_ = toc.discStart();
}

int64_t DiscPlayer::position() { return mode_ == Mode::Stopped ? rest_ : stream_.currentFrame(); }

bool DiscPlayer::play(std::optional<int64_t> from, std::optional<int64_t> to)
{
    poll();
    const int64_t start = from.value_or(position());
    stop_ = to.value_or(-1);
    atEnd_ = false;
    if (nothingToPlay(start, to)) {
        stream_.stop();
        reachEnd(start);
        return true;
    }
    if (!stream_.start(source_, toc_, int32_t(start), int32_t(endOfPlay()))) return false;
    mode_ = Mode::Playing;
    return true;
}

bool DiscPlayer::seek(int64_t frame)
{
    stream_.stop();
    mode_ = Mode::Stopped;
    atEnd_ = false;
    rest_ = frame;
    return true;
}

void DiscPlayer::stop()
{
    Engine::stop();
    stream_.stop();
}

double DiscPlayer::volume() const { return auxGain(AuxCd); }

// The stream played its last frame: it stops there. Its sound output was lost (the server went
// away): the disc goes on from the frame heard then, on a new output (a silent one until the
// server is back).
void DiscPlayer::poll()
{
    if (mode_ != Mode::Playing) return;
    const bool lost = stream_.lost();
    if (!lost && !stream_.finished()) return;
    const int32_t frame = stream_.currentFrame();
    stream_.stop();
    if (lost && frame < endOfPlay() && stream_.start(source_, toc_, frame, int32_t(endOfPlay()))) return;
    reachEnd(frame);
}

void DiscPlayer::hold() { stream_.pause(); }

void DiscPlayer::goOn() { stream_.resume(); }

}  // namespace platform::gst
