#include "listening/SoundServer.h"
#include "support/Bytes.h"
#include "support/Waits.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <functional>

#include <signal.h>

namespace listening {

double now() { return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count(); }

namespace {

using testsupport::le;

}  // namespace

std::string WriteToneWav(const std::string& path, const std::vector<std::pair<double, double>>& tones)
{
    std::string data;
    for (const auto& [frequency, seconds] : tones)
        for (int i = 0; i < int(seconds * 44100); ++i) {
            const auto v = uint16_t(int16_t(std::lround(16384 * std::sin(2 * M_PI * frequency * i / 44100))));
            data += le(v, 2) + le(v, 2);
        }
    std::ofstream(path, std::ios::binary) << testsupport::wav(2, 44100, 16, data);
    return path;
}

namespace {

// Polled every 50 ms: a check may run pactl.
bool waitFor(const std::function<bool()>& ready, double seconds)
{
    return testsupport::waitUntil(ready, int(seconds * 1000), [] { QThread::msleep(50); });
}

QString tail(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(f.readAll().right(1500));
}

}  // namespace

SoundServer::SoundServer(Kind kind) : kind_(kind)
{
    dir_ = QDir::tempPath() + "/sonorell-sound-" + QString::number(QCoreApplication::applicationPid()) + "-" +
           QString::number(qint64(now() * 1000));
    QDir().mkpath(dir_);
    QFile::setPermissions(dir_, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    env_ = QProcessEnvironment::systemEnvironment();
    env_.insert("XDG_RUNTIME_DIR", dir_);
    env_.insert("HOME", dir_);
    env_.insert("PULSE_RUNTIME_PATH", dir_ + "/pulse");
    env_.remove("PULSE_SERVER");
    env_.remove("SONORELL_AUDIO_SINK");
}

SoundServer::~SoundServer() { stop(); }

SoundServer::Kind SoundServer::kindFromEnvironment()
{
    const char* name = std::getenv("SONORELL_LISTEN_SERVER");
    return name && std::string(name) == "pulseaudio" ? Kind::PulseAudio : Kind::PipeWire;
}

bool SoundServer::spawn(const QString& program, const QStringList& args)
{
    auto process = std::make_unique<QProcess>();
    process->setProcessEnvironment(env_);
    process->setProcessChannelMode(QProcess::MergedChannels);
    process->setStandardOutputFile(dir_ + "/" + program + ".log");
    process->start(program, args);
    const bool started = process->waitForStarted(5000);
    processes_.push_back(std::move(process));
    return started;
}

int SoundServer::pactl(const QStringList& args, QString* out) const
{
    QProcess p;
    p.setProcessEnvironment(env_);
    p.start("pactl", args);
    if (!p.waitForFinished(10000)) {
        p.kill();
        p.waitForFinished();
        return -1;
    }
    if (out) *out = QString::fromUtf8(p.readAllStandardOutput());
    return p.exitCode();
}

bool SoundServer::start(std::string& error)
{
    const QStringList tools =
        kind_ == Kind::PipeWire ? QStringList{"pipewire", "wireplumber", "pipewire-pulse"} : QStringList{"pulseaudio"};
    for (const QString& tool : tools + QStringList{"pactl", "parec", "dbus-daemon"})
        if (QStandardPaths::findExecutable(tool).isEmpty()) {
            error = tool.toStdString() + " is not installed (scripts/install-deps installs it)";
            return false;
        }
    // A session bus of its own: the servers and their session manager need one.
    QProcess bus;
    bus.setProcessEnvironment(env_);
    bus.start("dbus-daemon", {"--session", "--fork", "--print-address=1", "--print-pid=1", "--nosyslog"});
    if (!bus.waitForFinished(10000) || bus.exitCode() != 0) {
        error = "a session bus could not start";
        return false;
    }
    const QStringList lines = QString::fromUtf8(bus.readAllStandardOutput()).split('\n');
    if (lines.size() < 2) {
        error = "a session bus gave no address";
        return false;
    }
    env_.insert("DBUS_SESSION_BUS_ADDRESS", lines[0].trimmed());
    busPid_ = lines[1].trimmed().toLongLong();

    // A server that does not come up is given one more try from scratch.
    QString failedStep;
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (attempt > 0) stopServers();
        if (kind_ == Kind::PipeWire) {
            spawn("pipewire", {});
            QThread::msleep(300);
            spawn("wireplumber", {});
        }
        if (startPulse(&failedStep)) return true;
    }
    QString logs;
    for (const QString& tool : tools) logs += tool + ": " + tail(dir_ + "/" + tool + ".log") + "\n";
    error = name() + " could not start with a null sink (" + failedStep.toStdString() + " failed):\n" + logs.toStdString();
    stop();
    return false;
}

// The pulse protocol's server up, with the null sink "listen" as its default output. PipeWire
// answers "info" before its graph is ready and makes a loaded sink known a moment later, so
// each step is retried until it holds.
bool SoundServer::startPulse(QString* failedStep)
{
    if (kind_ == Kind::PipeWire)
        spawn("pipewire-pulse", {});
    else
        spawn("pulseaudio", {"-n", "--daemonize=no", "--exit-idle-time=-1", "--log-target=stderr", "-L",
                             "module-native-protocol-unix", "-L", "module-always-sink"});
    if (!waitFor([this] { return pactl({"info"}) == 0; }, 15)) {
        if (failedStep) *failedStep = "pactl info";
        return false;
    }
    return addSink(failedStep);
}

bool SoundServer::addSink(QString* failedStep)
{
    const auto step = [&](const char* name, const std::function<bool()>& done, double seconds) {
        if (waitFor(done, seconds)) return true;
        if (failedStep) *failedStep = name;
        return false;
    };
    QString sinks;
    return step(
               "load-module module-null-sink",
               [&] {
                   QString index;
                   if (sinkModule_.isEmpty() &&
                       pactl({"load-module", "module-null-sink", "sink_name=listen", "rate=" + QString::number(Rate)}, &index) ==
                           0)
                       sinkModule_ = index.trimmed();
                   return !sinkModule_.isEmpty();
               },
               10) &&
           step(
               "the sink listen",
               [&] {
                   return pactl({"list", "short", "sinks"}, &sinks) == 0 && sinks.contains("listen");
               },
               10) &&
           step(
               "set-default-sink listen",
               [this] {
                   return pactl({"set-default-sink", "listen"}) == 0;
               },
               10);
}

QString SoundServer::sinkInputs() const
{
    QString out;
    pactl({"list", "sink-inputs"}, &out);
    return out;
}

bool SoundServer::removeSink()
{
    // The daemon's stand-in sink for a server without any is taken away first.
    if (kind_ == Kind::PulseAudio) pactl({"unload-module", "module-always-sink"});
    const bool removed = pactl({"unload-module", sinkModule_}) == 0;
    sinkModule_.clear();
    return removed;
}

bool SoundServer::restartPulse()
{
    stopPulse();
    return startPulse();
}

void SoundServer::stopPulse()
{
    sinkModule_.clear();
    const QString program = kind_ == Kind::PipeWire ? "pipewire-pulse" : "pulseaudio";
    for (auto it = processes_.begin(); it != processes_.end(); ++it) {
        if ((*it)->program() != program) continue;
        (*it)->terminate();
        if (!(*it)->waitForFinished(5000)) (*it)->kill(), (*it)->waitForFinished();
        processes_.erase(it);
        break;
    }
}

void SoundServer::useInThisProcess() const
{
    setenv("PULSE_SERVER", ("unix:" + dir_ + "/pulse/native").toUtf8().constData(), 1);
    unsetenv("SONORELL_AUDIO_SINK");
}

void SoundServer::stopServers()
{
    sinkModule_.clear();
    for (auto it = processes_.rbegin(); it != processes_.rend(); ++it) (*it)->terminate();
    for (auto& p : processes_)
        if (!p->waitForFinished(5000)) p->kill(), p->waitForFinished();
    processes_.clear();
}

void SoundServer::stop()
{
    stopServers();
    if (busPid_ > 0) ::kill(pid_t(busPid_), SIGTERM);
    busPid_ = 0;
    if (!dir_.isEmpty()) QDir(dir_).removeRecursively();
    dir_.clear();
}

Recording::Recording(const SoundServer& server)
{
    path_ = server.environment().value("XDG_RUNTIME_DIR") + "/monitor-" + QString::number(qint64(now() * 1e6)) + ".raw";
    parec_ = std::make_unique<QProcess>();
    parec_->setProcessEnvironment(server.environment());
    parec_->setStandardOutputFile(path_);
    parec_->start("parec", {"-d", "listen.monitor", "--latency-msec=20", "--format=s16le",
                            "--rate=" + QString::number(SoundServer::Rate), "--channels=1", "--raw"});
    if (!parec_->waitForStarted(5000)) return;
    if (!waitFor([this] { return QFileInfo(path_).size() > SoundServer::Rate / 5; }, 10)) return;
    // Every reading of the recording's size bounds when its first sample was taken; the
    // tightest bound is the estimate.
    double best = 1e300;
    for (int i = 0; i < 40; ++i) {
        const double t = now();
        const qint64 size = QFileInfo(path_).size();
        best = std::min(best, t - double(size) / 2 / SoundServer::Rate);
        QThread::msleep(5);
    }
    startTime_ = best;
}

Recording::~Recording() { stop(); }

void Recording::stop()
{
    if (!parec_) return;
    parec_->terminate();
    parec_->waitForFinished(5000);
    parec_.reset();
}

std::vector<float> Recording::samples(double t0, double t1) const
{
    QFile f(path_);
    if (!f.open(QIODevice::ReadOnly) || t1 <= t0) return {};
    const qint64 first = std::max<qint64>(0, qint64((t0 - startTime_) * SoundServer::Rate));
    const qint64 count = qint64((t1 - t0) * SoundServer::Rate);
    f.seek(first * 2);
    const QByteArray bytes = f.read(count * 2);
    std::vector<float> out(size_t(bytes.size() / 2));
    const auto* raw = reinterpret_cast<const int16_t*>(bytes.constData());
    for (size_t i = 0; i < out.size(); ++i) out[i] = float(raw[i]) / 32768.0f;
    return out;
}

double Recording::firstSound(double after, double threshold) const
{
    const std::vector<float> x = samples(after, now() + 1);
    const size_t window = SoundServer::Rate / 200;
    for (size_t start = 0; start + window <= x.size(); start += window) {
        double sum = 0;
        for (size_t i = start; i < start + window; ++i) sum += double(x[i]) * x[i];
        if (std::sqrt(sum / double(window)) > threshold) return after + double(start) / SoundServer::Rate;
    }
    return -1;
}

double Recording::level(double t0, double t1) const
{
    const std::vector<float> x = samples(t0, t1);
    if (x.empty()) return 0;
    double sum = 0;
    for (float v : x) sum += double(v) * v;
    return std::sqrt(sum / double(x.size()));
}

double Recording::pitch(double t0, double t1) const
{
    const std::vector<float> x = samples(t0, t1);
    const size_t step = SoundServer::Rate / 1000;
    if (x.size() < SoundServer::Rate / 100) return 0;
    // Crossings of a band around zero, so noise near silence does not count; over the
    // milliseconds that sound, so a dropout of the server's (checked apart where it matters)
    // does not lower the pitch of what was heard.
    const float band = 0.01f;
    int crossings = 0, side = 0;
    size_t sounding = 0;
    for (size_t start = 0; start + step <= x.size(); start += step) {
        float peak = 0;
        for (size_t i = start; i < start + step; ++i) {
            const int now = x[i] > band ? 1 : x[i] < -band ? -1 : 0;
            if (now != 0 && side != 0 && now != side) ++crossings;
            if (now != 0) side = now;
            peak = std::max(peak, std::fabs(x[i]));
        }
        if (peak >= band) ++sounding;
    }
    return sounding ? crossings / 2.0 / (double(sounding) / 1000) : 0;
}

double Recording::longestSilence(double t0, double t1, double threshold) const
{
    const std::vector<float> x = samples(t0, t1);
    const size_t step = SoundServer::Rate / 1000;
    int longest = 0, run = 0;
    for (size_t start = 0; start + step <= x.size(); start += step) {
        float peak = 0;
        for (size_t i = start; i < start + step; ++i) peak = std::max(peak, std::fabs(x[i]));
        run = peak < threshold ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    return longest / 1000.0;
}

}  // namespace listening
