#include "player/Skin.h"

#include <QPainter>
#include <QFile>
#include <QSvgRenderer>

namespace player::skin {

namespace {

QPixmap render(const QString& svg, QSize size, qreal ratio)
{
    QPixmap pixmap(size * ratio);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(svg.toUtf8());
    QPainter painter(&pixmap);
    renderer.render(&painter);
    painter.end();
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

// Shapes on a 30 x 24 canvas.
QString glyphPath(Glyph glyph)
{
    switch (glyph) {
    case Glyph::Play: return "<path d='M12 7 L20 12 L12 17 Z'/>";
    case Glyph::Pause:
        return "<rect x='10.5' y='7' width='3' height='10' rx='0.6'/><rect x='16.5' y='7' width='3' height='10' rx='0.6'/>";
    case Glyph::Next: return "<path d='M9 7 L15 12 L9 17 Z M15 7 L21 12 L15 17 Z'/><rect x='21' y='7' width='1.8' height='10'/>";
    case Glyph::Previous:
        return "<rect x='7.2' y='7' width='1.8' height='10'/><path d='M21 7 L15 12 L21 17 Z M15 7 L9 12 L15 17 Z'/>";
    case Glyph::Eject: return "<path d='M15 6.5 L21 13 L9 13 Z'/><rect x='9' y='15' width='12' height='2.4' rx='0.6'/>";
    case Glyph::AddDirectory:
        return "<path d='M7 9 L12 9 L13.5 10.5 L21 10.5 L21 18 L7 18 Z'/>"
               "<path d='M19.5 4.5 v5 M17 7 h5' stroke-width='1.6' stroke-linecap='round' fill='none'/>";
    case Glyph::AddFile:
        return "<path d='M9 5.5 L15.5 5.5 L19 9 L19 18.5 L9 18.5 Z'/>"
               "<path d='M14 11 v5 M11.5 13.5 h5' stroke='#2b2b2b' stroke-width='1.6' stroke-linecap='round' fill='none'/>";
    case Glyph::OpenList:
        return "<rect x='8' y='7' width='9' height='1.8'/><rect x='8' y='11' width='9' height='1.8'/>"
               "<rect x='8' y='15' width='6' height='1.8'/><path d='M18 17 L22 13 L18 13 Z' transform='rotate(-90 20 15)'/>";
    case Glyph::SaveList:
        return "<path d='M8 6 L19 6 L22 9 L22 18 L8 18 Z'/>"
               "<rect x='11' y='6' width='7' height='4' fill='#2b2b2b'/><rect x='11' y='13' width='8' height='5' "
               "fill='#2b2b2b'/>";
    case Glyph::ListDown: return "<path d='M6 6 L16 6 L11 11 Z'/>";
    case Glyph::ListUp: return "<path d='M6 11 L16 11 L11 6 Z'/>";
    }
    return {};
}

}  // namespace

QPixmap Button(Glyph glyph, bool highlighted, QSize size, qreal ratio)
{
    const bool small = glyph == Glyph::ListDown || glyph == Glyph::ListUp;
    const QString top = highlighted ? "#7d8796" : "#5c5c5c";
    const QString bottom = highlighted ? "#3e4653" : "#2c2c2c";
    const QString ink = highlighted ? "#bfe3ff" : "#d6d6d6";
    const QString view = small ? "0 0 22 16" : "0 0 30 24";
    const QString body =
        small ? "<rect x='0.5' y='0.5' width='21' height='15' rx='3'" : "<rect x='0.5' y='0.5' width='29' height='23' rx='4'";
    const QString svg =
        QString("<svg xmlns='http://www.w3.org/2000/svg' viewBox='%1'>"
                "<defs><linearGradient id='g' x1='0' y1='0' x2='0' y2='1'>"
                "<stop offset='0' stop-color='%2'/><stop offset='1' stop-color='%3'/></linearGradient></defs>"
                "%4 fill='url(#g)' stroke='#161616'/>"
                "%4 fill='none' stroke='#ffffff' stroke-opacity='0.12' transform='translate(0.6 0.6) scale(0.96)'/>"
                "<g fill='%5' stroke='%5'>%6</g></svg>")
            .arg(view, top, bottom, body, ink, glyphPath(glyph));
    return render(svg, size, ratio);
}

QPixmap TitleStrip(QSize size, qreal ratio)
{
    const QString svg =
        QString(
            "<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 %1 %2'>"
            "<defs><linearGradient id='t' x1='0' y1='0' x2='0' y2='1'>"
            "<stop offset='0' stop-color='#6b6f78'/><stop offset='1' stop-color='#383b40'/></linearGradient></defs>"
            "<rect width='%1' height='%2' fill='url(#t)'/>"
            "<rect x='0' y='%3' width='%1' height='1' fill='#1a1a1a'/>"
            "<rect x='336' y='8' width='8' height='2' fill='#e4e4e4'/>"
            "<path d='M349.5 3.5 L355.5 9.5 M355.5 3.5 L349.5 9.5' stroke='#e4e4e4' stroke-width='1.6' stroke-linecap='round'/>"
            "</svg>")
            .arg(size.width())
            .arg(size.height())
            .arg(size.height() - 1);
    return render(svg, size, ratio);
}

QPixmap Thumb(QSize size, qreal ratio)
{
    const QString svg = "<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 10 16'>"
                        "<defs><linearGradient id='k' x1='0' y1='0' x2='1' y2='0'>"
                        "<stop offset='0' stop-color='#e8e8e8'/><stop offset='1' stop-color='#8c8c8c'/></linearGradient></defs>"
                        "<rect x='0.5' y='0.5' width='9' height='15' rx='2' fill='url(#k)' stroke='#202020'/>"
                        "<rect x='4.3' y='4' width='1.4' height='8' fill='#555'/></svg>";
    return render(svg, size, ratio);
}

QPixmap Groove(QSize size, qreal ratio)
{
    const QString svg =
        QString(
            "<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 %1 %2'>"
            "<rect x='0.5' y='0.5' width='%3' height='%4' rx='3' fill='#1f1f1f' stroke='#707070' stroke-opacity='0.6'/></svg>")
            .arg(size.width())
            .arg(size.height())
            .arg(size.width() - 1)
            .arg(size.height() - 1);
    return render(svg, size, ratio);
}

QIcon AppIcon()
{
    QFile file(QStringLiteral(":/sonorell.svg"));
    const QString svg = file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    QIcon icon;
    for (int side : {16, 22, 32, 48, 64, 128}) icon.addPixmap(render(svg, QSize(side, side), 1.0));
    return icon;
}

}  // namespace player::skin
