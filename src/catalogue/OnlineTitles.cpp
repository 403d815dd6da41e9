#include "catalogue/OnlineTitles.h"
#include "catalogue/Disk_Volume.h"
#include "platform/Settings.h"
#include "platform/cdrom/DiscId.h"

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
#include <cstdio>

namespace Disk_Volume {

namespace {

constexpr int TimeoutMs = 10000;
constexpr qint64 RequestSpacingMs = 1000;  // the service's rule for anonymous clients

void say(const QString& line) { std::fprintf(stderr, "sonorell: %s\n", qPrintable(line)); }

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
    return std::any_of(discs.begin(), discs.end(), [&](const QJsonValue& d) { return d[QStringLiteral("id")].toString() == discId; });
}

// The release's medium for this disc: the one with the disc's id, else one of its track count.
std::optional<QJsonObject> mediumOf(const QJsonObject& release, int tracks, const QString& discId)
{
    std::optional<QJsonObject> chosen;
    for (const QJsonValue& value : release[QStringLiteral("media")].toArray()) {
        const QJsonObject medium = value.toObject();
        if (medium[QStringLiteral("track-count")].toInt(-1) != tracks) continue;
        if (namesDisc(medium, discId)) return medium;
        if (!chosen) chosen = medium;
    }
    return chosen;
}

FoundTitles titlesOf(const QJsonObject& release, const QJsonObject& medium)
{
    FoundTitles found{creditText(release[QStringLiteral("artist-credit")].toArray()), release[QStringLiteral("title")].toString().trimmed(), {}};
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
    return QStringLiteral("SonorellPlayer/%1 ( a desktop CD and media player )").arg(QCoreApplication::applicationVersion().isEmpty()
                                                                                      ? QStringLiteral("1.0")
                                                                                      : QCoreApplication::applicationVersion());
}

} // namespace

std::optional<FoundTitles> ParseMusicBrainzReply(const QByteArray& json, int tracks, const QString& discId)
{
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) return std::nullopt;
    for (const QJsonValue& value : document.object()[QStringLiteral("releases")].toArray()) {
        const QJsonObject release = value.toObject();
        if (const auto medium = mediumOf(release, tracks, discId)) return titlesOf(release, *medium);
    }
    return std::nullopt;
}

QString MusicBrainzBaseUrl()
{
    const QByteArray base = qgetenv("SONORELL_MUSICBRAINZ_URL");
    return base.isEmpty() ? QStringLiteral("https://musicbrainz.org") : QString::fromUtf8(base);
}

bool OnlineTitlesWanted()
{
    return platform::GetSetting(QStringLiteral("Sonorell"), QStringLiteral("ONLINE_TITLES"), QStringLiteral("True"))
               .compare(QStringLiteral("False"), Qt::CaseInsensitive) != 0;
}

void SetOnlineTitlesWanted(bool on)
{
    platform::SaveSetting(QStringLiteral("Sonorell"), QStringLiteral("ONLINE_TITLES"), on ? QStringLiteral("True") : QStringLiteral("False"));
}

OnlineTitles::OnlineTitles(QObject* parent) : QObject(parent), network_(new QNetworkAccessManager(this)) { clock_.start(); }

void OnlineTitles::Lookup(int32_t serial)
{
    if (serial == 0 || asked_.contains(serial)) return;
    const platform::cdrom::Drive drive(platform::cdrom::defaultSource());
    const platform::cdrom::MusicBrainzDisc disc = platform::cdrom::MusicBrainzDiscOf(drive.toc());
    if (disc.id.empty()) return;
    asked_.insert(serial);
    // Each request takes the next free second, so lookups close together go out a second apart.
    const qint64 wait = std::max<qint64>(0, nextRequestMs_ - clock_.elapsed());
    nextRequestMs_ = clock_.elapsed() + wait + RequestSpacingMs;
    ++waiting_;
    const QString id = QString::fromStdString(disc.id), toc = QString::fromStdString(disc.toc);
    QTimer::singleShot(int(wait), this, [this, serial, tracks = disc.tracks, id, toc] { send(serial, tracks, id, toc); });
}

void OnlineTitles::send(int32_t serial, int tracks, const QString& discId, const QString& toc)
{
    QUrl url(MusicBrainzBaseUrl() + QStringLiteral("/ws/2/discid/") + discId);
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("toc"), toc);
    query.addQueryItem(QStringLiteral("inc"), QStringLiteral("artist-credits+recordings"));
    query.addQueryItem(QStringLiteral("fmt"), QStringLiteral("json"));
    url.setQuery(query);
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::UserAgentHeader, userAgent());
    request.setRawHeader("Accept", "application/json");
    request.setTransferTimeout(TimeoutMs);
    QNetworkReply* reply = network_->get(request);
    connect(reply, &QNetworkReply::finished, this, [=, this] { answered(reply, serial, tracks, discId); });
}

void OnlineTitles::answered(QNetworkReply* reply, int32_t serial, int tracks, const QString& discId)
{
    reply->deleteLater();
    --waiting_;
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (reply->error() != QNetworkReply::NoError) {
        const QString why = status == 404 ? QStringLiteral("the disc is not in the database")
                            : reply->error() == QNetworkReply::OperationCanceledError ? QStringLiteral("no answer within 10 seconds")
                                                                                      : reply->errorString();
        say(QStringLiteral("disc lookup failed: %1").arg(why));
        return;
    }
    const auto found = ParseMusicBrainzReply(reply->readAll(), tracks, discId);
    if (!found) {
        say(QStringLiteral("disc lookup failed: no release of %1 tracks in the answer").arg(tracks));
        return;
    }
    if (SerialOfDiscInDrive() != serial) {
        say(QStringLiteral("disc lookup answered after the disc was changed; nothing kept"));
        return;
    }
    if (WriteMissing(serial, tracks, *found)) emit TitlesWritten(serial);
}

} // namespace Disk_Volume
