// Sonorell Player: one instance per session, the command line, the main window.

#include "player/Form1.h"
#include "platform/FileNames.h"
#include "platform/QuitSignals.h"
#include "platform/SingleInstance.h"
#include "shell/Form5.h"
#include "shell/MediaControls.h"
#include "shell/Windows.h"

#include <QApplication>
#include <QFileInfo>

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
            std::puts("Usage: sonorell [FILE | /play | PATH...]\n"
                      "  FILE     play this media file alone in MM-Player mode\n"
                      "  /play    play the audio disc from track 1 with the window hidden\n"
                      "  PATH...  files, folders and playlists (.m3u, .m3u8, .pls) become the track list\n"
                      "           and the first entry plays\n"
                      "  With the player already running, the paths are added to its list and the first\n"
                      "  of them plays; /play plays its disc from track 1.\n"
                      "  --help, --version");
            return true;
        }
    }
    return false;
}

QStringList arguments(int argc, char** argv)
{
    QStringList words;
    for (int i = 1; i < argc; ++i) words << platform::DecodeFileName(QByteArray(argv[i]));
    return words;
}

// The paths named, made whole from this process's folder, for a player that may run elsewhere.
QStringList existingPaths(const QStringList& words)
{
    QStringList paths;
    for (const QString& word : words)
        if (platform::PathExists(word)) paths << QFileInfo(word).absoluteFilePath();
    return paths;
}

// What a later start hands to the running player: the play switch, or the paths named.
QStringList handedOver(const QStringList& words)
{
    const QString joined = words.join(QLatin1Char(' '));
    if (player::Form1::IsPlaySwitch(joined.trimmed()) && !platform::PathExists(joined))
        return {player::Form1::PlaySwitchHandedOver};
    return existingPaths(words);
}

// The command line as the player has always taken it: nothing, "/play", or one media file
// (its name may hold blanks, so the words joined). Several paths, a folder or a playlist are
// opened as a list instead.
bool takenWhole(const QStringList& words)
{
    const QString joined = words.join(QLatin1Char(' '));
    if (joined.trimmed().isEmpty() || !platform::PathExists(joined)) return existingPaths(words).isEmpty();
    return platform::IsRegularFile(joined) && !player::TrackList::IsListFile(joined);
}

}  // namespace

int main(int argc, char** argv)
{
    if (printedInfo(argc, argv)) return 0;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Sonorell Player"));
    const QStringList words = arguments(argc, argv);
    platform::SingleInstance instance;
    if (!instance.acquired()) {
        // The running player takes the paths or the play switch (or only comes forward) and this
        // start ends. A failure is told: a file manager's click would otherwise just vanish.
        if (instance.handOver(handedOver(words))) return 0;
        if (!instance.acquired()) {
            std::fprintf(stderr, "sonorell: the player already running did not answer in time; what was given may not open\n");
            return 1;
        }
        // That player ended meanwhile: this start is the player now.
    }

    const bool whole = takenWhole(words);
    player::Form1 window(whole ? words.join(QLatin1Char(' ')) : QString(),
                         [](player::Form1* main) { return new shell::Form5(main); });
    if (!whole) window.OpenAtStart(existingPaths(words));
    window.Start();
    QObject::connect(&instance, &platform::SingleInstance::argumentsArrived, &window,
                     [&window](const QStringList& paths) { shell::OpenFromOutside(window, paths); });
    if (window.State().showAtStart) window.show();
    // Benchmarks time start-up as a whole process: with this set the player closes at once.
    if (qEnvironmentVariableIsSet("SONORELL_QUIT_AFTER_START")) return 0;
    shell::MediaControls mediaControls(window);
    QObject::connect(&app, &QApplication::aboutToQuit, &window, &player::Form1::Shutdown);
    platform::QuitOnTerminationSignals();
    return app.exec();
}
