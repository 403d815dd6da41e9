#pragma once
// Builds a window's control the way its designer placed it: named, at its geometry (pixels).

#include <QString>
#include <QWidget>

namespace common {

template <typename W>
W* control(QWidget* parent, const char* name, int left, int top, int width, int height)
{
    auto* w = new W(parent);
    w->setObjectName(QString::fromLatin1(name));
    w->setGeometry(left, top, width, height);
    return w;
}

} // namespace common
