#pragma once
// Disc titles from the disc database, asked by the disc's MusicBrainz id with its TOC as the
// fallback. Asynchronous: the window never waits; what comes back goes into the catalogue only
// while the same disc is still in the drive.

#include "catalogue/FoundTitles.h"

#include <QObject>
#include <QSet>

namespace platform::musicbrainz {
class Client;
}  // namespace platform::musicbrainz

namespace Disk_Volume {

// The "Titles from the Internet" option, on unless turned off.
bool OnlineTitlesWanted();
void SetOnlineTitlesWanted(bool on);

class OnlineTitles : public QObject {
    Q_OBJECT
public:
    explicit OnlineTitles(QObject* parent = nullptr);

    // Asks about the disc in the drive, known by serial, once a run.
    void Lookup(int32_t serial);
    bool Waiting() const;

signals:
    // Found titles were written into serial's section.
    void TitlesWritten(int32_t serial);

private:
    platform::musicbrainz::Client* client_;
    QSet<int32_t> asked_;
};

}  // namespace Disk_Volume
