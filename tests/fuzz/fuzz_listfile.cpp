// Arbitrary bytes as a list file, as M3U, M3U8 and PLS playlists and as an album image's cue
// sheet: reading them must never fail badly, and every entry kept must name something to play.

#include "metadata/Mp3Tag_ListFiles.h"
#include "support/Files.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir dir;
    const QString song = dir.path() + QStringLiteral("/a.mp3");
    static const bool made = testsupport::writeBytes(song, "ID3");
    (void)made;
    for (const char* kind : {"list", "m3u", "m3u8", "pls", "cue"}) {
        const QString path = dir.path() + QStringLiteral("/input.") + QLatin1String(kind);
        // A line may name the folder's own file, so the kept-entry path is reached too.
        const QLatin1String type(kind);
        const QByteArray first =
            type == QLatin1String("cue")
                ? QByteArray("FILE \"a.mp3\" MP3\r\nTRACK 01 AUDIO\r\n")
                : ((type == QLatin1String("pls") ? QStringLiteral("File1=") : QString()) + song + "\r\n").toUtf8();
        if (!testsupport::writeBytes(path, first + QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)))) return 0;
        for (const auto& entry : Mp3Tag_Functions::ReadListFile(path))
            if (!Mp3Tag_Functions::ListEntryExists(entry.path)) std::abort();
    }
    return 0;
}
