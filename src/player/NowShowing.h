#pragma once
// What the main window shows, published by the window at each tick and, asked by those who report
// it elsewhere (the desktop's media controls), after a command. Readers take it from here, not
// from the window's labels; only the window asks the devices.

#include <QElapsedTimer>
#include <QString>

#include <cstdint>

namespace player {

struct NowShowing {
    enum class State { Stopped, Playing, Paused };
    State state = State::Stopped;
    bool mediaMode = true;
    int entries = 0;               // list entries, or the disc's tracks
    int index = -1;                // the entry or track on display, from 0; -1 for none
    QString title, artist, album;  // artist and album empty where the window shows a placeholder
    QString path;                  // the file, in media mode
    int64_t lengthMs = 0;
    int64_t positionMs = 0;  // when published
    int volumeTenths = 0;
    QElapsedTimer published;

    // The position now: it moves on from the published one while playing.
    int64_t positionNowMs() const
    {
        if (state != State::Playing || !published.isValid()) return positionMs;
        const int64_t now = positionMs + published.elapsed();
        return lengthMs > 0 && now > lengthMs ? lengthMs : now;
    }
};

}  // namespace player
