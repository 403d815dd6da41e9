#pragma once
// The player's own skin: every picture drawn from SVG at the screen's pixel ratio.

#include <QPixmap>
#include <QSize>

namespace player::skin {

enum class Glyph {
    Play, Pause, Next, Previous, Eject, AddDirectory, AddFile, OpenList, SaveList, ListDown, ListUp,
};

// A skin button of size (window units); highlighted is the twin shown under the mouse.
QPixmap Button(Glyph glyph, bool highlighted, QSize size, qreal pixelRatio);
// The title strip with its minimise mark (x 334-346) and close mark (from 347).
QPixmap TitleStrip(QSize size, qreal pixelRatio);
QPixmap Thumb(QSize size, qreal pixelRatio);
QPixmap Groove(QSize size, qreal pixelRatio);

} // namespace player::skin
