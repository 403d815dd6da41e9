#pragma once
// The desktop's media controls and media keys: what the player plays, and the transport
// buttons' actions, on the session bus.

#include "platform/Mpris.h"

#include <functional>
#include <memory>
#include <optional>

namespace player {
class Form1;
}  // namespace player

namespace shell {

class MediaControls : public platform::mpris::Player {
public:
    // Registers for the main window; without a session bus nothing is registered, silently.
    explicit MediaControls(player::Form1& main);
    ~MediaControls() override;
    bool registered() const { return service_ != nullptr; }

    platform::mpris::Status status() override;
    qint64 positionUs() override;
    void raise() override;
    void quit() override;
    void play() override;
    void pause() override;
    void playPause() override;
    void stop() override;
    void next() override;
    void previous() override;
    void seek(qint64 offsetUs) override;
    void setPosition(const QString& trackId, qint64 positionUs) override;
    void setVolume(double volume) override;
    void open(const QString& path) override;

private:
    platform::mpris::Metadata metadata() const;
    QString artOf(const QString& path) const;  // path empty: the disc
    QString fileOf(const QString& entry) const;
    void command(const std::function<void()>& run);

    player::Form1& main_;
    std::unique_ptr<platform::mpris::Service> service_;
    // The answer for the last key asked, worked out again only when the key changes: the tick
    // publishes every second, and a cover or a sheet need not be looked for each time.
    struct LastAnswer {
        QString key, value;
        template <class Find> const QString& of(const QString& asked, Find find)
        {
            if (asked != key) value = find(), key = asked;
            return value;
        }
    };
    mutable LastAnswer art_;   // of a file or disc image: its picture
    mutable LastAnswer file_;  // of an entry: the sound file it plays
    mutable std::optional<QString> discSource_;
};

}  // namespace shell
