#pragma once
// A private desktop sound server with a null sink, and a recording of what that sink plays.
// The listening tests and benchmarks hear the player through it, as a person would.

#include <QProcess>
#include <QString>

#include <memory>
#include <string>
#include <vector>

namespace listening {

// Seconds on the steady clock: the one time base of commands and recorded samples.
double now();

// Writes a 44.1 kHz stereo WAV of tones played one after another, {frequency, seconds} each, so
// what sounds tells which file (or which part of it) plays. Returns path.
std::string WriteToneWav(const std::string& path, const std::vector<std::pair<double, double>>& tones);

class SoundServer {
public:
    enum class Kind { PipeWire, PulseAudio };
    static constexpr int Rate = 48000;

    explicit SoundServer(Kind kind);
    ~SoundServer();
    SoundServer(const SoundServer&) = delete;
    SoundServer& operator=(const SoundServer&) = delete;

    // Starts the server, its session bus and the null sink "listen", made the default output.
    // False, with the reason in error, when any of it cannot start.
    bool start(std::string& error);
    // What the server says of the streams playing to it ("pactl list sink-inputs").
    QString sinkInputs() const;
    // Restarts the server's pulse protocol part (pipewire-pulse, or the PulseAudio daemon), as an
    // update or a crash does: every client loses its connection. The null sink is made again.
    bool restartPulse();
    // The same in two steps, with a time without a server between them.
    void stopPulse();
    bool startPulse(QString* failedStep = nullptr);
    // Takes the null sink away, leaving none to move its streams to (the last device unplugged);
    // addSink() brings it back as the default output.
    bool removeSink();
    bool addSink(QString* failedStep = nullptr);
    // Points this process's sound clients (GStreamer's pulsesink) at the server.
    void useInThisProcess() const;
    QProcessEnvironment environment() const { return env_; }
    Kind kind() const { return kind_; }
    std::string name() const { return kind_ == Kind::PipeWire ? "PipeWire" : "PulseAudio"; }
    // Kind from $SONORELL_LISTEN_SERVER ("pipewire", the default, or "pulseaudio").
    static Kind kindFromEnvironment();

private:
    bool spawn(const QString& program, const QStringList& args);
    void stopServers();
    int pactl(const QStringList& args, QString* out = nullptr) const;
    void stop();

    Kind kind_;
    QString dir_;
    QProcessEnvironment env_;
    std::vector<std::unique_ptr<QProcess>> processes_;
    qint64 busPid_ = 0;
    QString sinkModule_;  // the null sink's module index, as pactl printed it
};

// The sink's monitor, mono 16-bit at SoundServer::Rate, from construction to stop().
class Recording {
public:
    explicit Recording(const SoundServer& server);
    ~Recording();
    bool started() const { return startTime_ > 0; }
    void stop();

    // Analysis of what was heard between two times of now(); reads what has been recorded so far.
    // The time of the first 5 ms with sound after t; a negative value when there is none.
    double firstSound(double after, double threshold = 0.01) const;
    // Root mean square level, 0..1.
    double level(double t0, double t1) const;
    // The frequency of a tone, from its zero crossings over the milliseconds that sound; 0 for silence.
    double pitch(double t0, double t1) const;
    // The longest run of silence, seconds, at a resolution of 1 ms.
    double longestSilence(double t0, double t1, double threshold = 0.01) const;

private:
    std::vector<float> samples(double t0, double t1) const;

    QString path_;
    std::unique_ptr<QProcess> parec_;
    double startTime_ = 0;
};

}  // namespace listening
