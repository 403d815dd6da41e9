#include "platform/MusicBrainz.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>
#include <QUrlQuery>

#include <algorithm>

namespace platform::musicbrainz {

namespace {

constexpr int TimeoutMs = 10000;                   // for the whole answer, not between two bytes
constexpr qint64 LargestAnswer = 4 * 1024 * 1024;  // a disc's releases are kilobytes
constexpr qint64 RequestSpacingMs = 1000;          // the service's rule for anonymous clients

QString creditText(const QJsonArray& credits)
{
    QString text;
    for (const QJsonValue& credit : credits)
        text += credit[QStringLiteral("name")].toString() + credit[QStringLiteral("joinphrase")].toString();
    return text.trimmed();
}

bool namesDisc(const QJsonObject& medium, const QString& discId)
{
    const QJsonArray discs = medium[QStringLiteral("discs")].toArray();
    return std::any_of(discs.begin(), discs.end(),
                       [&](const QJsonValue& d) { return d[QStringLiteral("id")].toString() == discId; });
}

// The release's medium that names the disc's id, whatever its track count says; else, when
// byTrackCount, the first of the disc's track count.
std::optional<QJsonObject> mediumOf(const QJsonObject& release, int tracks, const QString& discId, bool byTrackCount)
{
    for (const QJsonValue& value : release[QStringLiteral("media")].toArray()) {
        const QJsonObject medium = value.toObject();
        if (byTrackCount ? medium[QStringLiteral("track-count")].toInt(-1) == tracks : namesDisc(medium, discId)) return medium;
    }
    return std::nullopt;
}

Release releaseOf(const QJsonObject& release, const QJsonObject& medium)
{
    Release found{creditText(release[QStringLiteral("artist-credit")].toArray()),
                  release[QStringLiteral("title")].toString().trimmed(),
                  {}};
    int next = 1;
    for (const QJsonValue& value : medium[QStringLiteral("tracks")].toArray()) {
        const int position = value[QStringLiteral("position")].toInt(next);
        QString title = value[QStringLiteral("title")].toString();
        if (title.isEmpty()) title = value[QStringLiteral("recording")][QStringLiteral("title")].toString();
        if (!title.trimmed().isEmpty()) found.tracks.insert(position, title.trimmed());
        next = position + 1;
    }
    return found;
}

QString userAgent()
{
    return QStringLiteral("SonorellPlayer/%1 ( a desktop CD and media player )").arg(QStringLiteral(SONORELL_VERSION));
}

QString failureOf(QNetworkReply* reply)
{
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status == 404) return QStringLiteral("the disc is not in the database");
    if (reply->property("tooLarge").toBool()) return QStringLiteral("the answer is too large");
    if (reply->error() == QNetworkReply::OperationCanceledError) return QStringLiteral("no answer within 10 seconds");
    return reply->errorString();
}

}  // namespace

std::optional<Release> ParseDiscReply(const QByteArray& json, int tracks, const QString& discId)
{
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) return std::nullopt;
    const QJsonArray releases = document.object()[QStringLiteral("releases")].toArray();
    for (const bool byTrackCount : {false, true})
        for (const QJsonValue& value : releases) {
            const QJsonObject release = value.toObject();
            if (const auto medium = mediumOf(release, tracks, discId, byTrackCount)) return releaseOf(release, *medium);
        }
    return std::nullopt;
}

QString BaseUrl()
{
    const QByteArray base = qgetenv("SONORELL_MUSICBRAINZ_URL");
    return base.isEmpty() ? QStringLiteral("https://musicbrainz.org") : QString::fromUtf8(base);
}

Client::Client(QObject* parent) : QObject(parent), network_(new QNetworkAccessManager(this)) { clock_.start(); }

void Client::AskDisc(const QString& discId, const QString& toc, int tracks, Answer done, std::function<bool()> stillWanted)
{
    // Each request takes the next free second, so lookups close together go out a second apart.
    const qint64 wait = std::max<qint64>(0, nextRequestMs_ - clock_.elapsed());
    nextRequestMs_ = clock_.elapsed() + wait + RequestSpacingMs;
    ++waiting_;
    QTimer::singleShot(int(wait), this, [=, this] {
        if (!stillWanted || stillWanted()) return send(discId, toc, tracks, done);
        --waiting_;
        done(std::nullopt, QStringLiteral("not asked: no longer wanted"));
    });
}

void Client::send(const QString& discId, const QString& toc, int tracks, const Answer& done)
{
    QUrl url(BaseUrl() + QStringLiteral("/ws/2/discid/") + discId);
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("toc"), toc);
    query.addQueryItem(QStringLiteral("inc"), QStringLiteral("artist-credits+recordings"));
    query.addQueryItem(QStringLiteral("fmt"), QStringLiteral("json"));
    url.setQuery(query);
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::UserAgentHeader, userAgent());
    request.setRawHeader("Accept", "application/json");
    QNetworkReply* reply = network_->get(request);
    QTimer::singleShot(TimeoutMs, reply, &QNetworkReply::abort);
    connect(reply, &QNetworkReply::downloadProgress, reply, [reply](qint64 received, qint64) {
        if (received <= LargestAnswer) return;
        reply->setProperty("tooLarge", true);
        reply->abort();
    });
    connect(reply, &QNetworkReply::finished, this, [=, this] {
        reply->deleteLater();
        --waiting_;
        if (reply->bytesAvailable() > LargestAnswer) reply->setProperty("tooLarge", true);
        if (reply->error() != QNetworkReply::NoError || reply->property("tooLarge").toBool())
            return done(std::nullopt, failureOf(reply));
        const auto release = ParseDiscReply(reply->readAll(), tracks, discId);
        done(release, release ? QString() : QStringLiteral("no release of %1 tracks in the answer").arg(tracks));
    });
}

}  // namespace platform::musicbrainz
