#pragma once
// A sound file decoded by GStreamer's own decoders, apart from the player: 16-bit little-endian
// stereo at 44.1 kHz, as bytes.

#include <QProcess>
#include <QString>

#include <string>

namespace testsupport {

inline std::string decodedSound(const QString& file)
{
    QProcess gst;
    gst.start("gst-launch-1.0", {"-q", "filesrc", "location=" + file, "!", "decodebin", "!", "audioconvert", "!", "audioresample",
                                 "!", "audio/x-raw,format=S16LE,channels=2,rate=44100", "!", "fdsink", "fd=1"});
    gst.waitForFinished(30000);
    return gst.readAllStandardOutput().toStdString();
}

}  // namespace testsupport
