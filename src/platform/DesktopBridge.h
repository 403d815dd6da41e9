#pragma once
// Makes the program's own file associations real on a freedesktop desktop: our desktop entries
// in $XDG_DATA_HOME/applications and our defaults in $XDG_CONFIG_HOME/mimeapps.list. The class
// store stays the record of what is associated; this only mirrors it.

#include <QString>
#include <QStringList>

#include <vector>

namespace platform::desktop {

inline const QString EntryId = QStringLiteral("sonorell.desktop");
inline const QString DiscEntryId = QStringLiteral("sonorell-cd.desktop");  // the audio-disc handler, "/play"

QString ApplicationsFolder();  // $XDG_DATA_HOME/applications
QString MimeAppsFile();        // $XDG_CONFIG_HOME/mimeapps.list

// The media types of an associations entry (".mp3", …, "AudioCD"); empty for an unknown one.
QStringList MimeTypesOf(const QString& entry);
// Every media type the program opens as a file.
QStringList FileMimeTypes();
// The playlists it opens as lists (M3U, PLS, an album image's cue sheet).
QStringList PlaylistMimeTypes();

// One argument of an Exec line: quoted (and escaped) when it holds a reserved character.
QString ExecArgument(const QString& argument);
// The program's desktop entry: opens a file (%f), with a "play" action for "/play".
QString DesktopEntry(const QString& programPath);
// The hidden entry the desktop starts when an audio disc comes in.
QString DiscEntry(const QString& programPath);

struct Association {
    QString entry;  // ".mp3", …, "AudioCD"
    bool handled = false;
};

// Every media type of a handled entry gets our entry first in its defaults; every type of an
// entry no longer handled loses ours and keeps the rest. Lines of other programs stay as they
// were. False when a file could not be written.
bool Reflect(const std::vector<Association>& entries, const QString& programPath);

// The defaults list of a media type with ours put first / taken out (the text of one value).
QString WithOursFirst(const QString& list, const QString& id);
QString WithoutOurs(const QString& list, const QString& id);

}  // namespace platform::desktop
