#pragma once
// Waiting for what a test expects to happen, up to a deadline, instead of sleeping a fixed time:
// quick on a quiet machine, still steady on a busy one or under the sanitizers.

#include <chrono>
#include <functional>
#include <thread>

namespace testsupport {

// Polls condition until it holds (true) or deadlineMs pass (false). pump runs between polls:
// window tests run their events there.
inline bool waitUntil(const std::function<bool()>& condition, int deadlineMs = 5000, const std::function<void()>& pump = {})
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(deadlineMs);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > until) return false;
        if (pump)
            pump();
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

inline void sleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

}  // namespace testsupport
