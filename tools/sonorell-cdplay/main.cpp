// Plays the disc on from a position after the player has ended with "Exit and continue play",
// until the disc's end or until the player takes the disc back (SIGTERM).

#include "platform/AtomicFile.h"
#include "platform/CdHandOff.h"
#include "platform/cdrom/Disc.h"
#include "platform/mci/Interpreter.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>

#include <atomic>
#include <chrono>
#include <csignal>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

std::atomic<bool> takenBack{false};

void onTerm(int) { takenBack = true; }

std::string ask(platform::mci::Interpreter& mci, const std::string& command)
{
    std::string reply;
    return mci.send(command, reply) == 0 ? reply : std::string();
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2) return 2;
    std::signal(SIGTERM, onTerm);
    std::signal(SIGINT, onTerm);
    auto& mci = platform::mci::interpreter();
    const std::string from = std::to_string(std::max(0, std::atoi(argv[1])));
    std::string reply;
    if (mci.send("open cdaudio alias cd", reply) != 0) return 1;
    ask(mci, "set cd time format milliseconds");
    if (mci.send("play cd from " + from, reply) != 0) return 1;
    const QString source = QString::fromStdString(platform::cdrom::defaultSource());
    platform::WriteFileAtomically(
        platform::HandOffStateFile(),
        platform::HandOffState(::getpid(), source, std::atoi(from.c_str()), QDateTime::currentMSecsSinceEpoch()).toUtf8());
    while (!takenBack && ask(mci, "status cd mode") == "playing") std::this_thread::sleep_for(std::chrono::milliseconds(200));
    mci.closeAll();
    if (!takenBack) QFile::remove(platform::HandOffStateFile());  // played to the end: nothing to take back
    return 0;
}
