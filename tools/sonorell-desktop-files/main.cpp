// Writes the files an installation puts on the desktop: the icon at the usual sizes and the
// desktop entry, so they come from the same art and the same entry text the program uses.
//   sonorell-desktop-files <icon.svg> <output folder>

#include "platform/DesktopBridge.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

namespace {

bool writePng(QSvgRenderer& renderer, int side, const QString& folder)
{
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    const QString dir = folder + QStringLiteral("/icons/hicolor/%1x%1/apps").arg(side);
    return QDir().mkpath(dir) && image.save(dir + QStringLiteral("/sonorell.png"));
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: sonorell-desktop-files <icon.svg> <output folder>\n");
        return 2;
    }
    const QString svg = QString::fromLocal8Bit(argv[1]);
    const QString out = QString::fromLocal8Bit(argv[2]);
    QSvgRenderer renderer(svg);
    if (!renderer.isValid()) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    for (int side : {16, 22, 24, 32, 48, 64, 128, 256})
        if (!writePng(renderer, side, out)) return 1;
    QDir().mkpath(out + QStringLiteral("/applications"));
    QFile entry(out + QStringLiteral("/applications/sonorell.desktop"));
    if (!entry.open(QIODevice::WriteOnly | QIODevice::Truncate)) return 1;
    entry.write(platform::desktop::DesktopEntry(QStringLiteral("sonorell")).toUtf8());
    return entry.error() == QFileDevice::NoError ? 0 : 1;
}
