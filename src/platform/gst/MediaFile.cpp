#include "platform/gst/MediaFile.h"
#include "platform/gst/AudioOutput.h"
#include "platform/gst/Decoder.h"
#include "platform/gst/Gst.h"
#include "platform/gst/SoundFilePlayer.h"
#include "platform/gst/VideoPlayer.h"

namespace platform::gst {

std::unique_ptr<Engine> OpenMediaFile(const std::string& uri, uint64_t parentWindow)
{
    ensureInit();
    AudioOutput& output = AudioOutput::instance();
    if (auto running = output.takeRunOn(uri)) return std::make_unique<SoundFilePlayer>(std::move(running), true);
    output.dropOrphan();
    auto decoder = std::make_shared<Decoder>(uri);
    switch (decoder->preroll()) {
    case Decoder::Preroll::Ready: return std::make_unique<SoundFilePlayer>(std::move(decoder), false);
    case Decoder::Preroll::HasPicture: {
        if (decoder->isSection()) return nullptr;  // only sound is cut into parts
        decoder.reset();
        auto video = std::make_unique<VideoPlayer>();
        if (!video->open(uri, parentWindow)) return nullptr;
        return video;
    }
    default: return nullptr;
    }
}

std::string SectionUri(const std::string& fileUri, int64_t startFrame, int64_t endFrame)
{
    return fileUri + PartMark + std::to_string(startFrame) + "-" + (endFrame < 0 ? "" : std::to_string(endFrame));
}

}  // namespace platform::gst
