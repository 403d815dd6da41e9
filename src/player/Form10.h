#pragma once
// The video window: a plain grey window the picture of a video file is drawn into.

#include <QWidget>

namespace player {

class Form10 : public QWidget {
    Q_OBJECT
public:
    explicit Form10(QWidget* mainWindow);
    // The native window id the media device draws into.
    uint64_t windowId();
    // Sized to the picture: 16 x width by 18 x height twips, at least 700 twips high.
    void SizeToPicture(int cx, int cy);
};

}  // namespace player
