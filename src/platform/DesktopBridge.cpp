#include "platform/DesktopBridge.h"
#include "platform/AtomicFile.h"
#include "platform/Profile.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QStandardPaths>

#include <algorithm>
#include <utility>

namespace platform::desktop {

namespace {

const QString Defaults = QStringLiteral("Default Applications");
const QString DiscType = QStringLiteral("x-content/audio-cdda");

// The canonical names shared-mime-info gives these extensions.
const std::pair<const char*, const char*> TypeOfEntry[] = {
    {".mp3", "audio/mpeg"},
    {".mp2", "audio/mp2"},
    {".mid", "audio/midi"},
    {".wma", "audio/x-ms-wma"},
    {".wax", "audio/x-ms-asx"},
    {".wav", "audio/x-wav"},
    {".rmi", "audio/midi"},
    {".mov", "video/quicktime"},
    {".avi", "video/x-msvideo"},
    {".flac", "audio/flac"},
    {".ogg", "audio/ogg"},
    {".ogg", "audio/x-vorbis+ogg"},
    {".opus", "audio/x-opus+ogg"},
    {".m4a", "audio/mp4"},
    {".mkv", "video/x-matroska"},
    {".mp4", "video/mp4"},
    {"AudioCD", "x-content/audio-cdda"},
};

QString idFor(const QString& mimeType) { return mimeType == DiscType ? DiscEntryId : EntryId; }

QString entryFile(const QString& id) { return ApplicationsFolder() + QLatin1Char('/') + id; }

bool writeEntry(const QString& id, const QString& text)
{
    QDir().mkpath(ApplicationsFolder());
    QFile old(entryFile(id));
    if (old.open(QIODevice::ReadOnly) && old.readAll() == text.toUtf8()) return true;
    return WriteFileAtomically(entryFile(id), text.toUtf8());
}

// Only an entry exactly as we wrote it goes; one installed or edited by hand stays.
bool removeEntry(const QString& id, const QString& text)
{
    QFile file(entryFile(id));
    if (!file.open(QIODevice::ReadOnly) || file.readAll() != text.toUtf8()) return true;
    file.close();
    return file.remove();
}

// Puts ours first (or takes it out) in one key of mimeapps.list; untouched when nothing changes.
bool edit(const QString& section, const QString& mimeType, bool ours)
{
    // Only the defaults: GIO, KDE and xdg-mime all take an installed entry named there.
    const QString file = MimeAppsFile();
    const QString id = idFor(mimeType);
    const auto current = ReadProfileValue(section, mimeType, file);
    if (ours) {
        const QString wanted = WithOursFirst(current.value_or(QString()), id);
        if (current && *current == wanted) return true;
        QDir().mkpath(QFileInfo(file).absolutePath());
        return WriteProfileValue(section, mimeType, wanted, file, "\n");
    }
    if (!current) return true;
    const QString rest = WithoutOurs(*current, id);
    if (rest == *current) return true;
    if (rest.isEmpty()) return DeleteProfileKey(section, mimeType, file);
    return WriteProfileValue(section, mimeType, rest, file, "\n");
}

QString header(const QString& name, const QString& greekName)
{
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Version=1.4\n"
                          "Name=%1\n"
                          "Name[el]=%2\n"
                          "Icon=sonorell\n"
                          "Terminal=false\n")
        .arg(name, greekName);
}

}  // namespace

QString ApplicationsFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/applications");
}

QString MimeAppsFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/mimeapps.list");
}

QStringList MimeTypesOf(const QString& entry)
{
    QStringList types;
    for (const auto& [name, type] : TypeOfEntry)
        if (entry.compare(QLatin1String(name), Qt::CaseInsensitive) == 0) types << QLatin1String(type);
    return types;
}

QStringList FileMimeTypes()
{
    QStringList types;
    for (const auto& [name, type] : TypeOfEntry)
        if (QLatin1String(type) != DiscType && !types.contains(QLatin1String(type))) types << QLatin1String(type);
    return types;
}

QStringList PlaylistMimeTypes()
{
    return {QStringLiteral("audio/x-mpegurl"), QStringLiteral("audio/x-scpls"), QStringLiteral("application/x-cue")};
}

QString ExecArgument(const QString& argument)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    QString text = argument;
    text.replace(QLatin1Char('%'), QStringLiteral("%%"));
    bool needsQuotes = text.isEmpty();
    for (QChar c : text) needsQuotes = needsQuotes || reserved.contains(c);
    if (!needsQuotes) return text;
    QString quoted;
    for (QChar c : text) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        quoted += c;
    }
    // The value itself is a desktop-entry string, where a backslash is written twice.
    quoted.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString DesktopEntry(const QString& programPath)
{
    const QString program = ExecArgument(programPath);
    return header(QStringLiteral("Sonorell Player"), QStringLiteral("Sonorell Player")) +
           QStringLiteral("GenericName=Media Player\n"
                          "GenericName[el]=Πρόγραμμα αναπαραγωγής πολυμέσων\n"
                          "Comment=Play audio CDs and media files\n"
                          "Comment[el]=Αναπαραγωγή CD ήχου και αρχείων πολυμέσων\n"
                          "Keywords=CD;MP3;Music;Player;\n"
                          "Categories=AudioVideo;Audio;Player;\n"
                          "Exec=%1 %F\n"
                          "MimeType=%2;\n"
                          "Actions=play;\n"
                          "\n"
                          "[Desktop Action play]\n"
                          "Name=Play Audio CD\n"
                          "Name[el]=Αναπαραγωγή CD ήχου\n"
                          "Exec=%1 /play\n")
               .arg(program, (FileMimeTypes() + PlaylistMimeTypes()).join(QLatin1Char(';')));
}

QString DiscEntry(const QString& programPath)
{
    return header(QStringLiteral("Sonorell Player (Audio CD)"), QStringLiteral("Sonorell Player (CD ήχου)")) +
           QStringLiteral("NoDisplay=true\n"
                          "Exec=%1 /play\n"
                          "MimeType=%2;\n")
               .arg(ExecArgument(programPath), DiscType);
}

QString WithOursFirst(const QString& list, const QString& id)
{
    QStringList items = list.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    items.removeAll(id);
    items.prepend(id);
    const bool closed = list.isEmpty() || list.endsWith(QLatin1Char(';'));
    return items.join(QLatin1Char(';')) + (closed ? QStringLiteral(";") : QString());
}

QString WithoutOurs(const QString& list, const QString& id)
{
    QStringList items = list.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    if (!items.contains(id)) return list;
    items.removeAll(id);
    if (items.isEmpty()) return QString();
    return items.join(QLatin1Char(';')) + (list.endsWith(QLatin1Char(';')) ? QStringLiteral(";") : QString());
}

bool Reflect(const std::vector<Association>& entries, const QString& programPath)
{
    QSet<QString> wanted;
    QStringList all;
    for (const Association& a : entries)
        for (const QString& type : MimeTypesOf(a.entry)) {
            if (a.handled) wanted.insert(type);
            if (!all.contains(type)) all << type;
        }
    const bool files = std::any_of(wanted.begin(), wanted.end(), [](const QString& t) { return t != DiscType; });
    const bool disc = wanted.contains(DiscType);
    bool ok = true;
    // Entries come before the defaults that name them and go after.
    if (files) ok = writeEntry(EntryId, DesktopEntry(programPath)) && ok;
    if (disc) ok = writeEntry(DiscEntryId, DiscEntry(programPath)) && ok;
    for (const QString& type : all) {
        ok = edit(Defaults, type, wanted.contains(type)) && ok;
    }
    if (!files) ok = removeEntry(EntryId, DesktopEntry(programPath)) && ok;
    if (!disc) ok = removeEntry(DiscEntryId, DiscEntry(programPath)) && ok;
    return ok;
}

}  // namespace platform::desktop
