#pragma once
// The desktop's media controls (MPRIS) on the session bus. The player side answers through
// Player; this side owns the bus, the two interfaces and their change signals.

#include <QString>
#include <QStringList>

#include <memory>

namespace platform::mpris {

inline const QString ServiceName = QStringLiteral("org.mpris.MediaPlayer2.sonorell");

struct Metadata {
    QString trackId;  // an object path naming the entry
    QString title;
    QString artist;  // empty: left out
    QString album;
    int trackNumber = 0;
    qint64 lengthUs = 0;  // 0: left out
    QString url;
    QString artUrl;  // empty: left out

    bool operator==(const Metadata&) const = default;
};

struct Status {
    QString playback = QStringLiteral("Stopped");  // "Playing", "Paused" or "Stopped"
    Metadata metadata;
    double volume = 0;
    bool canGoNext = false;
    bool canGoPrevious = false;
    bool canPlay = false;
    bool canPause = false;
    bool canSeek = false;

    bool operator==(const Status&) const = default;
};

class Player {
public:
    virtual ~Player() = default;
    virtual Status status() = 0;
    virtual qint64 positionUs() = 0;
    virtual void raise() = 0;
    virtual void quit() = 0;
    virtual void play() = 0;
    virtual void pause() = 0;
    virtual void playPause() = 0;
    virtual void stop() = 0;
    virtual void next() = 0;
    virtual void previous() = 0;
    virtual void seek(qint64 offsetUs) = 0;
    virtual void setPosition(const QString& trackId, qint64 positionUs) = 0;
    virtual void setVolume(double volume) = 0;
    // A local file, folder or playlist the desktop asks to play.
    virtual void open(const QString& path) = 0;
};

class Service {
public:
    // On the session bus under ServiceName; null when there is no bus or the name is taken.
    static std::unique_ptr<Service> Start(Player& player);
    virtual ~Service() = default;

    // Signals the properties that differ from the ones last signalled.
    virtual void Publish() = 0;
    // The position jumped (a seek): tells the desktop where it is now.
    virtual void Seeked(qint64 positionUs) = 0;
};

}  // namespace platform::mpris
