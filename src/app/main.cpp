// Sonorell Player: one instance per session, the command line, the main window.

#include "player/Form1.h"
#include "platform/QuitSignals.h"
#include "platform/SingleInstance.h"
#include "shell/Form5.h"
#include "shell/MediaControls.h"

#include <QApplication>

#include <cstdio>
#include <cstring>

namespace {

bool printedInfo(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::puts("Sonorell Player 1.0");
            return true;
        }
        if (std::strcmp(argv[i], "--help") == 0) {
            std::puts("Usage: sonorell [FILE | /play]\n"
                      "  FILE    play this media file alone in MM-Player mode\n"
                      "  /play   play the audio disc from track 1 with the window hidden\n"
                      "  --help, --version");
            return true;
        }
    }
    return false;
}

QString joinedArguments(int argc, char** argv)
{
    QStringList words;
    for (int i = 1; i < argc; ++i) words << QString::fromLocal8Bit(argv[i]);
    return words.join(QLatin1Char(' '));
}

}  // namespace

int main(int argc, char** argv)
{
    if (printedInfo(argc, argv)) return 0;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Sonorell Player"));
    platform::SingleInstance instance;
    if (!instance.acquired()) return 0;

    player::Form1 window(joinedArguments(argc, argv), [](player::Form1* main) { return new shell::Form5(main); });
    window.Start();
    if (window.State().showAtStart) window.show();
    // Benchmarks time start-up as a whole process: with this set the player closes at once.
    if (qEnvironmentVariableIsSet("SONORELL_QUIT_AFTER_START")) return 0;
    shell::MediaControls mediaControls(window);
    QObject::connect(&app, &QApplication::aboutToQuit, &window, &player::Form1::Shutdown);
    platform::QuitOnTerminationSignals();
    return app.exec();
}
