#pragma once
// Disc titles from the MusicBrainz web service, asked by the disc's MusicBrainz id with its TOC
// as the fallback. Asynchronous: the window never waits; what comes back goes into the
// catalogue only while the same disc is still in the drive.

#include "catalogue/FoundTitles.h"

#include <QElapsedTimer>
#include <QObject>
#include <QSet>

#include <optional>

class QNetworkAccessManager;
class QNetworkReply;

namespace Disk_Volume {

// The release whose medium has the disc's track count (the medium that names discId first),
// the first such the service lists; nothing for an answer that has none or is not JSON.
std::optional<FoundTitles> ParseMusicBrainzReply(const QByteArray& json, int tracks, const QString& discId);

// $SONORELL_MUSICBRAINZ_URL, else https://musicbrainz.org.
QString MusicBrainzBaseUrl();

// The "Titles from the Internet" option, on unless turned off.
bool OnlineTitlesWanted();
void SetOnlineTitlesWanted(bool on);

class OnlineTitles : public QObject {
    Q_OBJECT
public:
    explicit OnlineTitles(QObject* parent = nullptr);

    // Asks about the disc in the drive, known by serial, once a run; at most one request a second.
    void Lookup(int32_t serial);
    bool Waiting() const { return waiting_ > 0; }

signals:
    // Found titles were written into serial's section.
    void TitlesWritten(int32_t serial);

private:
    void send(int32_t serial, int tracks, const QString& discId, const QString& toc);
    void answered(QNetworkReply* reply, int32_t serial, int tracks, const QString& discId);

    QNetworkAccessManager* network_;
    QSet<int32_t> asked_;
    QElapsedTimer clock_;
    qint64 nextRequestMs_ = 0;  // on clock_: when the next request may go out
    int waiting_ = 0;
};

} // namespace Disk_Volume
