#pragma once
// The picture the desktop shows beside what plays.

#include <QString>

namespace platform {

// A file's picture: its embedded front cover (else its first picture), written once to the user's
// cache folder under a name taken from its bytes; else a cover.jpg, folder.jpg or front.jpg in its
// folder. Empty when there is none.
QString CoverArtFile(const QString& mediaPath);
// A cover.jpg, folder.jpg or front.jpg (any letter case, or .png) in the folder; empty for none.
QString FolderCoverArt(const QString& folder);

}  // namespace platform
