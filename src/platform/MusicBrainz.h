#pragma once
// The MusicBrainz web service's disc lookup: one asynchronous request a disc, at most one a
// second, answered with the release that fits the disc.

#include <QMap>
#include <QObject>
#include <QElapsedTimer>
#include <QString>

#include <functional>
#include <optional>

class QNetworkAccessManager;

namespace platform::musicbrainz {

struct Release {
    QString artist, album;
    QMap<int, QString> tracks;  // by position on the medium, from 1
};

// The release with a medium that names discId (whatever its track count), else the first whose
// medium has the disc's track count; nothing for an answer that has none or is not JSON.
std::optional<Release> ParseDiscReply(const QByteArray& json, int tracks, const QString& discId);

// $SONORELL_MUSICBRAINZ_URL, else https://musicbrainz.org.
QString BaseUrl();

class Client : public QObject {
    Q_OBJECT
public:
    explicit Client(QObject* parent = nullptr);
    // GET {base}/ws/2/discid/{id}?toc=…; done gets the release, or nothing and why. The whole
    // answer must come within 10 s and stay under 4 MiB. stillWanted, asked when the request's
    // turn comes, can call it off.
    using Answer = std::function<void(std::optional<Release> release, const QString& failure)>;
    void AskDisc(const QString& discId, const QString& toc, int tracks, Answer done, std::function<bool()> stillWanted = {});
    bool Waiting() const { return waiting_ > 0; }

private:
    void send(const QString& discId, const QString& toc, int tracks, const Answer& done);

    QNetworkAccessManager* network_;
    QElapsedTimer clock_;
    qint64 nextRequestMs_ = 0;  // on clock_: when the next request may go out
    int waiting_ = 0;
};

}  // namespace platform::musicbrainz
