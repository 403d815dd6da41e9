#pragma once
// Acts on the next modal window as soon as it is shown, the way a user at the screen would.

#include <QApplication>
#include <QTimer>

#include <functional>

template <typename Window> void whenShown(std::function<void(Window&)> act)
{
    auto* poll = new QTimer;
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, [poll, act] {
        auto* window = qobject_cast<Window*>(QApplication::activeModalWidget());
        if (!window || !window->isVisible()) return;
        poll->stop();
        poll->deleteLater();
        act(*window);
    });
    poll->start();
}
