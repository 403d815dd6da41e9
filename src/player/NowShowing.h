#pragma once
// What the main window shows, published by the window at each tick and, asked by those who report
// it elsewhere (the desktop's media controls), after a command. Readers take it from here, not
// from the window's labels; only the window asks the devices.

#include <QElapsedTimer>
#include <QString>

#include <algorithm>
#include <cstdint>

namespace player {

struct NowShowing {
    enum class State { Stopped, Playing, Paused };
    State state = State::Stopped;
    bool mediaMode = true;
    int entries = 0;               // list entries, or the disc's tracks
    int index = -1;                // the entry or track on display, from 0; -1 for none
    bool leftList = false;         // the file plays on after its entry was removed: index is the entry that follows
    QString title, artist, album;  // artist and album empty where the window shows a placeholder
    QString path;                  // the file, in media mode
    int64_t lengthMs = 0;
    int64_t positionMs = 0;      // when published
    int64_t shownAtLeastMs = 0;  // what was reported before on the same play, which is never taken back
    int volumeTenths = 0;
    QElapsedTimer published;  // invalid after a seek: the position published before no longer runs on

    // The position now: it moves on from the published one while playing.
    int64_t positionNowMs() const
    {
        int64_t now = positionMs;
        if (state == State::Playing && published.isValid()) now += published.elapsed();
        now = std::max(now, shownAtLeastMs);
        return lengthMs > 0 && now > lengthMs ? lengthMs : now;
    }

    // Published after before. On the same play a stream that stood for a moment (a new one starting
    // on the sound server) leaves this reading behind what was reported from before, which then
    // stands until the stream catches up. True when the position jumped instead (a seek, a replay
    // from the start), which the desktop is told of; a stop or another entry starts afresh.
    bool goOnFrom(const NowShowing& before)
    {
        const bool samePlay = state != State::Stopped && before.state != State::Stopped && index == before.index &&
                              mediaMode == before.mediaMode && path == before.path;
        if (!samePlay) return false;
        if (!before.published.isValid() || positionMs < before.positionMs) return true;
        shownAtLeastMs = before.positionNowMs();
        return false;
    }
};

}  // namespace player
