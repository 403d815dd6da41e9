#include "player/PictureButton.h"

#include <QMouseEvent>
#include <QPainter>

namespace player {

PictureButton::PictureButton(const QString& name, QWidget* parent) : QLabel(parent)
{
    setObjectName(name);
    setMouseTracking(true);
}

void PictureButton::mousePressEvent(QMouseEvent* event) { emit pressed(event); }

void PictureButton::mouseReleaseEvent(QMouseEvent* event)
{
    emit released(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
}

void PictureButton::mouseMoveEvent(QMouseEvent* event) { emit moved(event); }
void PictureButton::mouseDoubleClickEvent(QMouseEvent*) { emit doubleClicked(); }

} // namespace player

namespace player {

// A disabled button is the same picture faded into the body, not the style's washed-out copy,
// which would read as lit.
void PictureButton::paintEvent(QPaintEvent* event)
{
    if (isEnabled() || pixmap().isNull()) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    painter.setOpacity(0.35);
    painter.drawPixmap(rect(), pixmap());
}

} // namespace player
