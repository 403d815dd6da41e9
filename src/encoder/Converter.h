#pragma once
// Media files converted to files of another format: decoded, encoded, their tags carried over
// and the track's ReplayGain added; written under a temporary name and renamed when whole.

#include "encoder/Ripper.h"

#include <QStringList>

namespace encoder {

// Each file becomes <folder>/<its name>.<ext>. Told the file's index and the share done; false cancels.
QList<TrackResult> ConvertFiles(const QStringList& files, const QString& folder, const platform::gst::EncodeSettings& settings,
                                const RipProgress& progress = {});

}  // namespace encoder
