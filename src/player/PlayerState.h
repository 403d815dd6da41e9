#pragma once
// What the main window keeps between its ticks and commands, besides the track list; back to
// the start-up values with reset().

#include <QString>

#include <cstdint>

namespace player {

struct PlayerState {
    // Display.
    bool showRemaining = false;  // the time counts down to the end
    bool showAtStart = true;     // false when "/play" starts the disc with the window hidden
    int marqueeStep = 0;         // characters of the scrolling title typed so far
    QString marqueeText;         // what the scrolling title types out; empty when it fits

    // The entry playing.
    QString loadedPath;           // the entry last loaded; the device may have closed it since
    int32_t mediaLengthMs = 0;    // of the file loaded
    int32_t trackStartMs = 0;     // of the disc track on display, from the disc's start
    int lastCdTrack = 0;          // the track the last tick showed
    bool noDiscShown = false;     // "No AudioCD." is on display
    bool nothingFollows = false;  // continuous play found no entry to go on to at the end of this one

    // The slider.
    double positionScale = 0;  // milliseconds per pixel of the groove
    bool thumbDragging = false;
    QString seekTarget;  // ms the thumb was dragged to in media mode; "" from a press until a drag

    void reset() { *this = PlayerState(); }
};

}  // namespace player
