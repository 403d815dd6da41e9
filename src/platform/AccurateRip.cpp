#include "platform/AccurateRip.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

#include <cstdlib>

namespace platform::accuraterip {

namespace {

constexpr int TimeoutMs = 10000;
constexpr qint64 MaxBytes = 1 << 20;

uint32_t digitSum(uint32_t n)
{
    uint32_t sum = 0;
    for (; n > 0; n /= 10) sum += n % 10;
    return sum;
}

uint32_t le32(const QByteArray& bytes, qsizetype at)
{
    const auto* p = reinterpret_cast<const uint8_t*>(bytes.constData() + at);
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

}  // namespace

DiscIds DiscIdsOf(const cdrom::Toc& toc)
{
    DiscIds ids;
    ids.tracks = toc.count();
    uint32_t digits = 0;
    for (int i = 0; i < toc.count(); ++i) {
        const uint32_t start = uint32_t(toc.starts[size_t(i)] - toc.discStart());
        ids.id1 += start;
        ids.id2 += std::max<uint32_t>(start, 1) * uint32_t(i + 1);
        digits += digitSum((uint32_t(toc.starts[size_t(i)]) + 150) / 75);
    }
    const uint32_t leadout = uint32_t(toc.leadout - toc.discStart());
    ids.id1 += leadout;
    ids.id2 += leadout * uint32_t(toc.count() + 1);
    const uint32_t seconds = (uint32_t(toc.leadout) + 150) / 75 - (uint32_t(toc.discStart()) + 150) / 75;
    ids.cddb = (digits % 255) << 24 | seconds << 8 | uint32_t(toc.count());
    return ids;
}

QString UrlOf(const DiscIds& ids)
{
    const char* base = std::getenv("SONORELL_ACCURATERIP_URL");
    const QString root = base && *base ? QString::fromUtf8(base) : QStringLiteral("http://www.accuraterip.com");
    const auto hex = [](uint32_t value, int width) { return QStringLiteral("%1").arg(value, width, 16, QLatin1Char('0')); };
    return root + QStringLiteral("/accuraterip/%1/%2/%3/dBAR-%4-%5-%6-%7.bin")
                      .arg(hex(ids.id1 & 0xF, 1), hex(ids.id1 >> 4 & 0xF, 1), hex(ids.id1 >> 8 & 0xF, 1))
                      .arg(ids.tracks, 3, 10, QLatin1Char('0'))
                      .arg(hex(ids.id1, 8), hex(ids.id2, 8), hex(ids.cddb, 8));
}

std::optional<Pressings> ParseAnswer(const QByteArray& bytes, const DiscIds& ids)
{
    Pressings pressings;
    constexpr qsizetype Header = 13, PerTrack = 9;
    for (qsizetype at = 0; at < bytes.size();) {
        if (bytes.size() - at < Header) return std::nullopt;
        const int tracks = uint8_t(bytes[at]);
        if (tracks == 0 || bytes.size() - at < Header + tracks * PerTrack) return std::nullopt;
        const bool ours = tracks == ids.tracks && le32(bytes, at + 1) == ids.id1 && le32(bytes, at + 5) == ids.id2;
        std::vector<Entry> entries;
        for (int t = 0; t < tracks; ++t) {
            const qsizetype entry = at + Header + t * PerTrack;
            entries.push_back({uint8_t(bytes[entry]), le32(bytes, entry + 1)});
        }
        if (ours) pressings.push_back(std::move(entries));
        at += Header + tracks * PerTrack;
    }
    return pressings;
}

Lookup Fetch(const DiscIds& ids)
{
    Lookup lookup;
    if (!QCoreApplication::instance()) {
        lookup.failure = QStringLiteral("no event loop to wait in");
        return lookup;
    }
    QNetworkAccessManager network;
    QNetworkRequest request{QUrl(UrlOf(ids))};
    QNetworkReply* reply = network.get(request);
    QEventLoop loop;
    QTimer::singleShot(TimeoutMs, reply, &QNetworkReply::abort);
    QObject::connect(reply, &QNetworkReply::downloadProgress, reply, [reply](qint64 received, qint64) {
        if (received > MaxBytes) reply->abort();
    });
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    loop.exec();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status == 404) {
        lookup.pressings = Pressings{};
    } else if (reply->error() != QNetworkReply::NoError) {
        lookup.failure = reply->errorString();
    } else {
        lookup.pressings = ParseAnswer(reply->readAll(), ids);
        if (!lookup.pressings) lookup.failure = QStringLiteral("the database's answer could not be read");
    }
    reply->deleteLater();
    return lookup;
}

QString Verdict(const Lookup& lookup, int index, uint32_t v1, uint32_t v2)
{
    if (!lookup.pressings) return QStringLiteral("not checked");
    if (lookup.pressings->empty()) return QStringLiteral("not in the database");
    int confidence = 0;
    for (const auto& pressing : *lookup.pressings)
        if (index >= 0 && size_t(index) < pressing.size() &&
            (pressing[size_t(index)].checksum == v1 || pressing[size_t(index)].checksum == v2))
            confidence += pressing[size_t(index)].confidence;
    return confidence > 0 ? QStringLiteral("accurate (confidence %1)").arg(confidence) : QStringLiteral("not accurate");
}

}  // namespace platform::accuraterip
