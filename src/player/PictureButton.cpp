#include "player/PictureButton.h"

#include <QMouseEvent>

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
