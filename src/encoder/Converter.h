#pragma once
// Media files converted to files of another format: decoded, encoded, their tags carried over
// and the track's ReplayGain added; written under a temporary name and renamed when whole.

#include "encoder/Ripper.h"

#include <QList>
#include <QPair>
#include <QStringList>

namespace encoder {

struct ConvertSource {
    QString path;                         // a file, or a part of one as the media device opens it
    QString name;                         // the new file's name without extension; empty: the file's own
    QString tagFile;                      // where its tags and picture are read; empty: path
    QList<QPair<QString, QString>> tags;  // laid over those read
};

// Each source becomes <folder>/<its name>.<ext>. Told the source's index and the share done;
// false cancels.
QList<TrackResult> ConvertFiles(const QList<ConvertSource>& sources, const QString& folder,
                                const platform::gst::EncodeSettings& settings, const RipProgress& progress = {});
// A source converted to file would be written over itself: refused.
bool WouldReplaceItself(const QString& source, const QString& file);
// The file each source becomes, in order.
QStringList ConvertedFiles(const QList<ConvertSource>& sources, const QString& folder,
                           const platform::gst::EncodeSettings& settings);

QList<TrackResult> ConvertFiles(const QStringList& files, const QString& folder, const platform::gst::EncodeSettings& settings,
                                const RipProgress& progress = {});

}  // namespace encoder
