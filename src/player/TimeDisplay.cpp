#include "player/TimeDisplay.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>

namespace player {

const TimeDisplay::Glyph& TimeDisplay::glyph(QChar c)
{
    auto it = glyphs_.find(c);
    if (it == glyphs_.end()) {
        Glyph made{QStaticText(QString(c)), QFontMetrics(font()).horizontalAdvance(c)};
        made.text.setTextFormat(Qt::PlainText);
        made.text.prepare({}, font());
        it = glyphs_.insert(c, made);
    }
    return *it;
}

// Left-aligned and centred in height, as the label itself draws it. Every character a time can
// show is laid out at the first paint: loading a glyph costs more than a second's drawing.
void TimeDisplay::paintEvent(QPaintEvent*)
{
    if (glyphs_.isEmpty())
        for (const QChar c : QStringLiteral("0123456789:-")) glyph(c);
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(palette().color(foregroundRole()));
    const QRect area = contentsRect();
    QPoint at(area.left(), area.top() + (area.height() - QFontMetrics(font()).height()) / 2);
    for (const QChar c : text()) {
        const Glyph& g = glyph(c);
        painter.drawStaticText(at, g.text);
        at.rx() += g.advance;
    }
}

void TimeDisplay::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) glyphs_.clear();
    QLabel::changeEvent(event);
}

}  // namespace player
