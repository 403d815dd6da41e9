#include "player/Form10.h"

#include <QCoreApplication>

namespace player {

namespace {
int twipsToPixels(int twips) { return (twips + 7) / 15; }
}  // namespace

Form10::Form10(QWidget* mainWindow) : QWidget(mainWindow, Qt::Window)
{
    setObjectName(QStringLiteral("Form10"));
    QPalette grey = palette();
    grey.setColor(QPalette::Window, QColor(128, 128, 128));
    setPalette(grey);
    setAutoFillBackground(true);
    setGeometry(twipsToPixels(480), twipsToPixels(360), twipsToPixels(5500), twipsToPixels(3195));
    if (mainWindow) setCursor(mainWindow->cursor());
}

uint64_t Form10::windowId()
{
    // A native window for this one only: by default Qt would make every widget of the main window
    // native too, and the title strip's zones, transparent to the mouse as plain widgets, would
    // then take its clicks.
    QCoreApplication::setAttribute(Qt::AA_DontCreateNativeWidgetSiblings);
    return static_cast<uint64_t>(winId());
}

void Form10::SizeToPicture(int cx, int cy)
{
    int height = 18 * cy;
    if (height < 700) height = 700;
    resize(twipsToPixels(16 * cx), twipsToPixels(height));
}

}  // namespace player
