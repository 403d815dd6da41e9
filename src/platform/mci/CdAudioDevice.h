#pragma once
// The "cdaudio" device: the disc in the CD drive (or a disc image standing in for it).

#include "platform/cdrom/Disc.h"
#include "platform/gst/DiscPlayer.h"
#include "platform/mci/Device.h"

#include <memory>
#include <optional>

namespace platform::mci {

class CdAudioDevice : public Device {
public:
    CdAudioDevice();
    ~CdAudioDevice() override;
    uint32_t open(const OpenParams& params) override;
    uint32_t execute(const std::string& verb, WordCursor& args, std::string& reply) override;

private:
    using Mode = gst::Engine::Mode;
    enum class Format { Tmsf, Milliseconds };

    uint32_t status(WordCursor& args, std::string& reply);
    uint32_t trackArgument(WordCursor& args, int& track) const;
    uint32_t set(WordCursor& args);
    uint32_t seek(WordCursor& args);
    uint32_t play(WordCursor& args);
    uint32_t pause();
    uint32_t stop();

    // Follows the drive (disc out, disc changed) and the stream (end reached).
    void sync();
    int32_t position();
    // A position word in the current time format, as an absolute frame; nullopt if invalid.
    std::optional<int32_t> parsePosition(const std::string& word) const;
    std::string formatPosition(int32_t frame) const;
    int trackAtFrame(int32_t frame) const;
    std::string formatLength(int32_t frames) const;
    std::string modeWord() const;

    std::unique_ptr<cdrom::Drive> drive_;
    gst::DiscPlayer disc_;
    cdrom::Toc toc_;  // the disc the position belongs to
    Format format_ = Format::Tmsf;
    bool endedBeforeData_ = false;  // played on up to a data track and stopped there
};

}  // namespace platform::mci
