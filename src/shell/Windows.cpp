#include "shell/Windows.h"
#include "about/Form3.h"
#include "associations/Form9.h"
#include "player/Form1.h"
#include "shell/Form7.h"
#include "metadata/Form4.h"

#include <QApplication>

namespace shell {

void OpenTracksPreview(player::Form1& main, const QString& caption)
{
    auto* preview = new Form7(main);
    preview->move(main.x(), main.y() + 24);
    preview->setWindowTitle(caption);
    preview->show();
}

bool OpenTracksInfo(player::Form1& main, const QString& caption)
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<metadata::Form4*>(w) && w->isVisible()) return false;
    auto* info = new metadata::Form4(main);
    info->setWindowTitle(caption);
    info->show();
    return true;
}
void OpenAssociations(player::Form1& main, const QString& caption) { associations::ShowAssociations(&main, caption); }

QWidget* OpenAbout(player::Form1& main, const QString& caption)
{
    auto* about = new about::Form3(&main);
    if (!caption.isEmpty()) about->setWindowTitle(caption);
    about->show();
    return about;
}

} // namespace shell
