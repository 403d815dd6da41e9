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
    checkOutput();
}

void Engine::stop()
{
    poll();
    if (mode_ == Mode::Stopped) return;
    rest_ = position();
    hold();
    mode_ = Mode::Stopped;
}

bool Engine::videoSize(int&, int&) const { return false; }

void Engine::cueNext(const std::string&) { }

void Engine::reachEnd(int64_t at)
{
    atEnd_ = true;
    rest_ = at;
    mode_ = Mode::Stopped;
}

std::optional<int64_t> Engine::stopPosition() const
{
    if (stop_ < 0) return std::nullopt;
    return stop_;
}

}  // namespace platform::gst
