#pragma once
// The player's own skin: every picture drawn from SVG at the screen's pixel ratio.

#include <QIcon>
#include <QPixmap>
#include <QSize>

namespace player::skin {

enum class Glyph {
    Play,
    Pause,
    Next,
    Previous,
    Eject,
    AddDirectory,
    AddFile,
    OpenList,
    SaveList,
    ListDown,
    ListUp,
};

// A skin button of size (window units); highlighted is the twin shown under the mouse.
QPixmap Button(Glyph glyph, bool highlighted, QSize size, qreal pixelRatio);
// The title strip with its minimise mark (x 334-346) and close mark (from 347).
QPixmap TitleStrip(QSize size, qreal pixelRatio);
QPixmap Thumb(QSize size, qreal pixelRatio);
QPixmap Groove(QSize size, qreal pixelRatio);
// The program's icon: a disc with a note, at the usual icon sizes.
QIcon AppIcon();

}  // namespace player::skin
