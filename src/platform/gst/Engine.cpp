#include "platform/gst/Engine.h"

namespace platform::gst {

Engine::Mode Engine::mode()
{
    poll();
    return mode_;
}

void Engine::pause()
{
    poll();
    if (mode_ != Mode::Playing) return;
    hold();
    mode_ = Mode::Paused;
}

void Engine::resume()
{
    poll();
    if (mode_ == Mode::Stopped) {
        if (!atEnd_) play(std::nullopt, std::nullopt);
        return;
    }
    if (mode_ != Mode::Paused) return;
    goOn();
    mode_ = Mode::Playing;
}

void Engine::stop()
{
    poll();
    if (mode_ == Mode::Stopped) return;
    restMs_ = positionMs();
    hold();
    mode_ = Mode::Stopped;
}

bool Engine::videoSize(int&, int&) const { return false; }

void Engine::cueNext(const std::string&) { }

void Engine::reachEnd(int64_t positionMs)
{
    atEnd_ = true;
    restMs_ = positionMs;
    mode_ = Mode::Stopped;
}

std::optional<int64_t> Engine::stopPosition() const
{
    if (stopMs_ < 0) return std::nullopt;
    return stopMs_;
}

}  // namespace platform::gst
