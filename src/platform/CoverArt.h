#pragma once
// The picture the desktop shows beside what plays.

#include <QByteArray>
#include <QString>

namespace platform {

// A file's picture: its embedded front cover (else its first picture), written once to the user's
// cache folder under a name taken from its bytes; else a cover.jpg, folder.jpg or front.jpg in its
// folder. Empty when there is none.
QString CoverArtFile(const QString& mediaPath);
// A cover.jpg, folder.jpg or front.jpg (any letter case, or .png) in the folder; empty for none.
QString FolderCoverArt(const QString& folder);

struct EmbeddedPicture {
    QByteArray bytes;  // as stored: a JPEG or PNG file; empty for none
    QString mimeType;
};
// A file's embedded front cover, else its first picture.
EmbeddedPicture ReadEmbeddedPicture(const QString& path);
// Sets the picture as the file's front cover, in a FLAC, Ogg (Opus, Vorbis) or MP3 file, in place
// of those it had; false when the file is none of them or cannot be saved.
bool WriteEmbeddedPicture(const QString& path, const EmbeddedPicture& picture);

}  // namespace platform
