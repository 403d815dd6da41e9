#pragma once
// Writing sound as a file of a chosen format with GStreamer: FLAC (lossless), Opus or MP3. Raw
// CD sound pushed by a reader (PcmEncoder), or a media file decoded (EncodeMediaFile). Either
// measures the track's loudness on the way (ReplayGain 2). Runs on the caller's thread; several at once are
// independent pipelines.

#include "platform/Loudness.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

typedef struct _GstElement GstElement;
typedef struct _GstMessage GstMessage;

namespace platform::gst {

enum class EncodeFormat { Flac, Opus, Mp3 };

// Quality per format, -1 for its default: FLAC compression 0..8 (5), Opus kbit/s 16..256 (160),
// MP3 VBR quality 0 (best) .. 9 (2).
struct EncodeSettings {
    EncodeFormat format = EncodeFormat::Flac;
    int quality = -1;
};

struct EncodeResult {
    bool ok = false;
    std::string error;                              // why not, when not ok
    double gainDb = 0;                              // ReplayGain of the track
    double peak = 0;                                // its highest sample, 0..1
    uint64_t samples = 0;                           // stereo samples written (at the source's rate)
    std::shared_ptr<const LoudnessMeter> loudness;  // what was measured, for the album's gain
};

// The raw sound of a CD: 16-bit little-endian stereo at 44.1 kHz.
constexpr const char* CdSoundCaps = "audio/x-raw,format=S16LE,rate=44100,channels=2,layout=interleaved";

// Raw sound of the format rawCaps gives, pushed in order, written to path.
class PcmEncoder {
public:
    PcmEncoder(const EncodeSettings& settings, const std::string& path, const std::string& rawCaps = CdSoundCaps);
    ~PcmEncoder();
    PcmEncoder(const PcmEncoder&) = delete;
    PcmEncoder& operator=(const PcmEncoder&) = delete;

    // False once writing has failed (the disk full, the folder gone).
    bool push(const void* bytes, size_t count);
    // Ends the stream and waits until the file is written.
    EncodeResult finish();

private:
    GstElement* pipeline_ = nullptr;
    GstElement* source_ = nullptr;
    int rate_ = 44100, frameBytes_ = 4;
    EncodeResult result_;
};

// A media file (a file:// URI, or a part of one as the media device names it) decoded and
// written to path in the format. progress is told the
// share done, 0..1, and stops the work by answering false (the result then says "cancelled").
EncodeResult EncodeMediaFile(const std::string& uri, const EncodeSettings& settings, const std::string& path,
                             const std::function<bool(double)>& progress = {});

// The extension of the format's files, with its dot.
const char* ExtensionOf(EncodeFormat format);

}  // namespace platform::gst
