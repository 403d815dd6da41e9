// Arbitrary bytes as a list file, as M3U, M3U8 and PLS playlists and as an album image's cue
// sheet: reading them must never fail badly, and every entry kept must name something to play.

#include "metadata/Mp3Tag_ListFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir dir;
    static const bool made = [] {
        QFile song(dir.path() + QStringLiteral("/a.mp3"));
        return song.open(QIODevice::WriteOnly) && song.write("ID3") == 3;
    }();
    (void)made;
    const QString song = dir.path() + QStringLiteral("/a.mp3");
    for (const char* kind : {"list", "m3u", "m3u8", "pls", "cue"}) {
        const QString path = dir.path() + QStringLiteral("/input.") + QLatin1String(kind);
        {
            QFile file(path);
            if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return 0;
            // A line may name the folder's own file, so the kept-entry path is reached too.
            const QLatin1String type(kind);
            if (type == QLatin1String("cue"))
                file.write("FILE \"a.mp3\" MP3\r\nTRACK 01 AUDIO\r\n");
            else
                file.write(((type == QLatin1String("pls") ? QStringLiteral("File1=") : QString()) + song + QStringLiteral("\r\n"))
                               .toUtf8());
            file.write(reinterpret_cast<const char*>(data), qint64(size));
        }
        for (const auto& entry : Mp3Tag_Functions::ReadListFile(path))
            if (!Mp3Tag_Functions::ListEntryExists(entry.path)) std::abort();
    }
    return 0;
}
