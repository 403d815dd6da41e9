#include "common/Globals.h"
#include "media/CDAudio.h"

#include <QApplication>
#include <QLabel>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) { std::puts("Sonorell Player 0.1.0"); return 0; }
        if (std::strcmp(argv[i], "--help") == 0) {
            std::puts("Usage: sonorell [FILE | /play]\n  FILE   a media file to play\n  /play  play the disc from track 1");
            return 0;
        }
    }
    QApplication app(argc, argv);
    common::globals().CdDevice = std::make_shared<media::CDAudio>();
    QLabel window(QStringLiteral("Sonorell Player"));
    window.setWindowTitle(QStringLiteral("Sonorell Player"));
    window.resize(357, 213);
    window.show();
    return app.exec();
}
