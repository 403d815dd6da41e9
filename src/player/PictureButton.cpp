#include "player/PictureButton.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace player {

PictureButton::PictureButton(const QString& name, QWidget* parent) : QLabel(parent)
{
    setObjectName(name);
    setMouseTracking(true);
}

QString PictureButton::ButtonName() const
{
    if (!toolTip().isEmpty()) return toolTip();
    return twin_ ? twin_->toolTip() : QString();
}

void PictureButton::mousePressEvent(QMouseEvent* event) { emit pressed(event); }

void PictureButton::mouseReleaseEvent(QMouseEvent* event)
{
    emit released(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
}

void PictureButton::mouseMoveEvent(QMouseEvent* event) { emit moved(event); }
void PictureButton::mouseDoubleClickEvent(QMouseEvent*) { emit doubleClicked(); }

void PictureButton::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if ((key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) && event->modifiers() == Qt::NoModifier) {
        if (!event->isAutoRepeat()) Activate();  // held down, a button presses once, as a push button does
        return;
    }
    QLabel::keyPressEvent(event);  // not ours: the window's keys
}

// A disabled button is the same picture faded into the body, not the style's washed-out copy,
// which would read as lit. The keyboard focus is a dotted frame in the skin's text colour.
void PictureButton::paintEvent(QPaintEvent* event)
{
    if (isEnabled() || pixmap().isNull()) {
        QLabel::paintEvent(event);
    } else {
        QPainter painter(this);
        painter.setOpacity(0.35);
        painter.drawPixmap(rect(), pixmap());
    }
    if (!hasFocus()) return;
    QPainter painter(this);
    painter.setPen(QPen(QColor(0xe6, 0xe6, 0xe6), 1, Qt::DotLine));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace player
