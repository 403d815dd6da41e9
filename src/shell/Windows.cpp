#include "shell/Windows.h"
#include "about/Form3.h"
#include "associations/Form9.h"
#include "player/Form1.h"
#include "player/MessagesRun.h"
#include "shell/Form5.h"
#include "shell/Form7.h"
#include "metadata/Form4.h"

#include <QApplication>
#include <QTimer>

#include <functional>

namespace shell {

namespace {

constexpr int OutsideRetryMs = 200;

// The open window of type W, brought to the front; null when there is none.
template <typename W> W* bringToFront()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* window = qobject_cast<W*>(widget);
        if (!window || !window->isVisible()) continue;  // closed, going away
        window->raise();
        window->activateWindow();
        return window;
    }
    return nullptr;
}

// While a message box or a chooser has the window, what comes from outside waits until it is
// closed, in the order it came, rather than being dropped as a click would be.
void whenFree(player::Form1& main, const std::function<void()>& act)
{
    if (player::MessagesRun::Now()) {
        QTimer::singleShot(OutsideRetryMs, &main, [&main, act] { whenFree(main, act); });
        return;
    }
    act();
}

}  // namespace

void OpenTracksPreview(player::Form1& main, const QString& caption)
{
    if (bringToFront<Form7>()) return;
    auto* preview = new Form7(main);
    preview->move(main.x(), main.y() + 24);
    preview->setWindowTitle(caption);
    preview->show();
}

bool OpenTracksInfo(player::Form1& main, const QString& caption)
{
    if (bringToFront<metadata::Form4>()) return false;
    auto* info = new metadata::Form4(main);
    info->setWindowTitle(caption);
    info->show();
    return true;
}
void OpenAssociations(player::Form1& main, const QString& caption) { associations::ShowAssociations(&main, caption); }

QWidget* OpenAbout(player::Form1& main, const QString& caption)
{
    if (auto* open = bringToFront<about::Form3>()) return open;
    auto* about = new about::Form3(&main);
    if (!caption.isEmpty()) about->setWindowTitle(caption);
    about->show();
    return about;
}

void BringForward(player::Form1& main)
{
    if (auto* menu = dynamic_cast<Form5*>(main.menu())) menu->epanafora_Click();
    main.raise();
    main.activateWindow();
}

void OpenFromOutside(player::Form1& main, const QStringList& arguments)
{
    if (arguments == QStringList{player::Form1::PlaySwitchHandedOver}) {
        whenFree(main, [&main] {
            if (!main.PlayDiscFromTrackOne()) BringForward(main);
        });
        return;
    }
    BringForward(main);
    if (!arguments.isEmpty()) whenFree(main, [&main, arguments] { main.OpenPaths(arguments, player::Form1::Opening::Add); });
}

}  // namespace shell
