#pragma once
// Builds a window's control the way its designer placed it: named, at its geometry (pixels).

#include <QString>
#include <QWidget>

namespace common {

template <typename W> W* control(QWidget* parent, const char* name, int left, int top, int width, int height)
{
    auto* w = new W(parent);
    w->setObjectName(QString::fromLatin1(name));
    w->setGeometry(left, top, width, height);
    return w;
}

// The owner stays disabled while window, one of its own windows, is open. Qt disables a child
// window with its parent, so the window is enabled again explicitly, or nothing in it could be used.
inline void DisableOwnerWhileOpen(QWidget& owner, QWidget& window)
{
    owner.setEnabled(false);
    window.setEnabled(true);
}

}  // namespace common
