// Click to sound and the gap between entries, heard through a private sound server: the media
// device of the command-line tool (argument 1, default build/sonorell-mci) is driven as the main
// window drives it, and the null sink's monitor is recorded. Medians of 10, on PipeWire and on
// the PulseAudio daemon. Targets: at most 150 ms to sound, at most 20 ms of gap.

#include "listening/SoundServer.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

using listening::now;
using listening::Recording;
using listening::SoundServer;

namespace {

// The command-line front of the devices, one command a line.
class Tool {
public:
    Tool(const QString& program, const QProcessEnvironment& env)
    {
        process_.setProcessEnvironment(env);
        process_.start(program, {});
        process_.waitForStarted();
    }
    ~Tool()
    {
        process_.closeWriteChannel();
        if (!process_.waitForFinished(5000)) process_.kill();
    }
    std::string send(const std::string& command)
    {
        process_.write((command + "\n").c_str());
        process_.waitForBytesWritten();
        while (!process_.canReadLine()) process_.waitForReadyRead(5000);
        return process_.readLine().trimmed().toStdString();
    }

private:
    QProcess process_;
};

// The first time after t at which a 30 ms window holds the tone frequency (10 ms steps).
double firstPitch(const Recording& rec, double t, double frequency, double within = 1.5)
{
    for (double at = t; at < t + within; at += 0.01)
        if (std::fabs(rec.pitch(at, at + 0.03) - frequency) < frequency * 0.1) return at;
    return -1;
}

// A click never heard counts as the longest wait: the median then says so.
double median(std::vector<double> v)
{
    for (double& x : v)
        if (x < 0) x = 1e9;
    std::sort(v.begin(), v.end());
    return v.empty() ? 1e9 : v[v.size() / 2];
}

std::string ms(double seconds)
{
    if (seconds >= 1e8) return "never";
    char text[32];
    std::snprintf(text, sizeof text, "%.0f ms", seconds * 1000);
    return text;
}

void pause(double seconds) { QThread::usleep(useconds_t(seconds * 1e6)); }

struct Figures {
    double idlePlay, openPlay, next, seek, gap;
};

Figures measure(const QString& tool, const SoundServer& server, const std::string& dir)
{
    const std::string a = listening::WriteToneWav(dir + "/a.wav", {{440, 6}});
    const std::string b = listening::WriteToneWav(dir + "/b.wav", {{660, 6}});
    const std::string halves = listening::WriteToneWav(dir + "/halves.wav", {{440, 3}, {880, 3}});
    std::vector<std::string> parts;
    for (double f : {440.0, 660.0, 880.0})
        parts.push_back(listening::WriteToneWav(dir + "/p" + std::to_string(int(f)) + ".wav", {{f, 1.0}}));

    Recording rec(server);
    Tool mci(tool, server.environment());
    const auto open = [&](const std::string& file) { return mci.send("open " + file + " type MPEGVideo Alias a"); };
    std::vector<double> idlePlay, openPlay, next, seek;
    for (int i = 0; i < 3; ++i) {  // a person opens, looks at the window, then presses Play
        mci.send("close a");
        open(a);
        pause(3);
        const double t = now();
        mci.send("play a");
        pause(0.6);
        const double heard = firstPitch(rec, t, 440, 4);
        idlePlay.push_back(heard < 0 ? -1 : heard - t);
    }
    for (int i = 0; i < 10; ++i) {
        mci.send("close a");
        pause(0.6);
        double t = now();
        open(a);
        mci.send("play a");
        pause(0.6);
        const double played = firstPitch(rec, t, 440);
        openPlay.push_back(played < 0 ? -1 : played - t);

        t = now();
        mci.send("close a");
        open(b);
        mci.send("play a from 0 to 6000");
        pause(0.6);
        const double nexted = firstPitch(rec, t, 660);
        next.push_back(nexted < 0 ? -1 : nexted - t);

        mci.send("close a");
        open(halves);
        mci.send("play a");
        pause(0.5);
        t = now();
        mci.send("play a from 4000");
        pause(0.6);
        const double sought = firstPitch(rec, t, 880);
        seek.push_back(sought < 0 ? -1 : sought - t);
    }
    mci.send("close a");
    pause(0.5);

    // Three entries one after another, as the window plays them with continuous play on.
    const double start = now();
    open(parts[0]);
    const bool cues = mci.send("cue a next " + parts[1]) == "0";
    mci.send("play a");
    double lastPlay = now();
    for (size_t entry = 1; entry < parts.size();) {
        pause(cues ? 0.2 : 1.0);  // the main tick's second, where the device cannot go on by itself
        if (mci.send("status a mode") == "0 playing") continue;
        mci.send("close a");
        open(parts[entry]);
        mci.send("play a from 0 to 1000");
        lastPlay = now();
        if (++entry < parts.size() && cues) mci.send("cue a next " + parts[entry]);
    }
    pause(1.3);
    mci.send("close a");
    const double first = rec.firstSound(start);
    const double gap = rec.longestSilence(first + 0.05, lastPlay + 0.5);
    return {median(idlePlay), median(openPlay), median(next), median(seek), gap};
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QString tool = argc > 1 ? argv[1] : SONORELL_MCI_TOOL;
    for (auto kind : {SoundServer::Kind::PipeWire, SoundServer::Kind::PulseAudio}) {
        SoundServer server(kind);
        std::string error;
        if (!server.start(error)) {
            std::printf("%s: %s\n", server.name().c_str(), error.c_str());
            return 1;
        }
        QTemporaryDir dir;
        const Figures f = measure(tool, server, dir.path().toStdString());
        std::printf("%-10s click to sound: play 3 s after the open %s (median of 3, heard within 4 s); median of 10: "
                    "open+play %s, next %s, seek %s; longest silence across three entries %s\n",
                    server.name().c_str(), ms(f.idlePlay).c_str(), ms(f.openPlay).c_str(), ms(f.next).c_str(), ms(f.seek).c_str(),
                    ms(f.gap).c_str());
    }
    return 0;
}
