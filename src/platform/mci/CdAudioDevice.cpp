#include "platform/mci/CdAudioDevice.h"
#include "platform/mci/Errors.h"

#include <cstdio>

namespace platform::mci {

using cdrom::FramesPerSecond;

namespace {

std::string twoDigits(int value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02d", value);
    return text;
}

std::string msf(int32_t frames)
{
    if (frames < 0) frames = 0;
    const int32_t seconds = frames / FramesPerSecond;
    return twoDigits(seconds / 60) + ":" + twoDigits(seconds % 60) + ":" + twoDigits(frames % FramesPerSecond);
}

std::string milliseconds(int32_t frames) { return std::to_string(int64_t(frames) * 1000 / FramesPerSecond); }

bool sameDisc(const cdrom::Toc& a, const cdrom::Toc& b)
{
    return a.firstTrack == b.firstTrack && a.starts == b.starts && a.leadout == b.leadout;
}

// "t", "t:m", "t:m:s" or "t:m:s:f", each part a small non-negative number.
std::optional<std::vector<int>> colonParts(const std::string& word)
{
    std::vector<int> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t colon = word.find(':', start);
        const auto part = parseInteger(word.substr(start, colon == std::string::npos ? std::string::npos : colon - start));
        if (!part || *part < 0 || *part > 255) return std::nullopt;
        parts.push_back(static_cast<int>(*part));
        if (colon == std::string::npos) break;
        start = colon + 1;
    }
    if (parts.size() > 4) return std::nullopt;
    return parts;
}

}  // namespace

CdAudioDevice::CdAudioDevice() = default;
CdAudioDevice::~CdAudioDevice() { disc_.stop(); }

uint32_t CdAudioDevice::open(const OpenParams& params)
{
    if (!params.element.empty()) return NonapplicableFunction;
    const std::string source = cdrom::defaultSource();
    if (source.empty()) return DeviceNotInstalled;
    drive_ = std::make_unique<cdrom::Drive>(source);
    toc_ = drive_->toc();
    disc_.load(drive_->source(), toc_);
    return Ok;
}

void CdAudioDevice::sync()
{
    drive_->refresh();
    if (!drive_->present() || !sameDisc(toc_, drive_->toc())) {
        toc_ = drive_->present() ? drive_->toc() : cdrom::Toc{};
        disc_.load(drive_->source(), toc_);
        return;
    }
    const bool wasPlaying = disc_.lastMode() == Mode::Playing;
    if (wasPlaying && disc_.mode() == Mode::Stopped) {
        const int32_t frame = position();
        endedBeforeData_ = frame < toc_.leadout && !toc_.isAudio(toc_.trackAt(frame));
    }
}

int32_t CdAudioDevice::position() { return int32_t(disc_.position()); }

uint32_t CdAudioDevice::execute(const std::string& verb, WordCursor& args, std::string& reply)
{
    sync();
    if (verb == "status") return status(args, reply);
    if (verb == "set") return set(args);
    if (!args.atEnd() && verb != "seek" && verb != "play") return ExtraCharacters;
    if (verb == "seek") return seek(args);
    if (verb == "play") return play(args);
    if (verb == "resume") return disc_.lastMode() == Mode::Paused ? play(args) : Ok;
    if (verb == "pause") return pause();
    if (verb == "stop") return stop();
    return UnrecognizedCommand;
}

std::string CdAudioDevice::modeWord() const
{
    if (drive_->doorOpen()) return "open";
    if (!drive_->present()) return "not ready";
    switch (disc_.lastMode()) {
    case Mode::Playing: return "playing";
    case Mode::Paused: return "paused";
    default: return "stopped";
    }
}

std::string CdAudioDevice::formatPosition(int32_t frame) const
{
    if (format_ == Format::Milliseconds) return milliseconds(frame - toc_.discStart());
    const int track = trackAtFrame(frame);
    const int32_t offset = std::min(frame, toc_.trackEnd(track)) - toc_.trackStart(track);
    return twoDigits(track) + ":" + msf(offset);
}

std::string CdAudioDevice::formatLength(int32_t frames) const
{
    return format_ == Format::Milliseconds ? milliseconds(frames) : msf(frames);
}

uint32_t CdAudioDevice::status(WordCursor& args, std::string& reply)
{
    const auto item = args.next();
    if (!item) return MissingParameter;
    const std::string what = lower(*item);

    if (what == "mode") {
        reply = modeWord();
        return args.atEnd() ? Ok : ExtraCharacters;
    }
    if (what == "media" && args.take("present")) {
        reply = drive_->present() ? "true" : "false";
        return Ok;
    }
    if (what == "ready") {
        reply = drive_->present() ? "true" : "false";
        return Ok;
    }
    if (what == "time" && args.take("format")) {
        reply = format_ == Format::Tmsf ? "tmsf" : "milliseconds";
        return Ok;
    }
    if (!drive_->present()) return DeviceNotReady;

    if (what == "number" && args.take("of") && args.take("tracks")) {
        reply = std::to_string(toc_.count());
        return Ok;
    }
    if (what == "current" && args.take("track")) {
        reply = std::to_string(trackAtFrame(position()));
        return Ok;
    }
    if (what == "position" && args.atEnd()) {
        reply = formatPosition(position());
        return Ok;
    }
    if (what == "length" && args.atEnd()) {
        reply = formatLength(toc_.leadout - toc_.discStart());
        return Ok;
    }
    if (!args.take("track")) return what == "position" ? ExtraCharacters : UnrecognizedKeyword;
    int t = 0;
    if (const uint32_t error = trackArgument(args, t); error != Ok) return error;
    if (what == "position")  // where the track starts
        reply = formatPosition(toc_.trackStart(t));
    else if (what == "type")  // "audio", or "other" for a data track, as the table of contents says
        reply = toc_.isAudio(t) ? "audio" : "other";
    else if (what == "length")
        reply = formatLength(toc_.trackEnd(t) - toc_.trackStart(t));
    else
        return UnrecognizedKeyword;
    return args.atEnd() ? Ok : ExtraCharacters;
}

// The track number that follows "track" in a command, one the disc has.
uint32_t CdAudioDevice::trackArgument(WordCursor& args, int& track) const
{
    const auto word = args.next();
    if (!word) return MissingParameter;
    const auto number = parseInteger(*word);
    if (!number) return BadInteger;
    if (!toc_.hasTrack(static_cast<int>(*number))) return OutOfRange;
    track = static_cast<int>(*number);
    return Ok;
}

uint32_t CdAudioDevice::set(WordCursor& args)
{
    if (args.take("time")) {
        if (!args.take("format")) return MissingParameter;
        const auto name = args.next();
        if (!name) return MissingParameter;
        const std::string format = lower(*name);
        if (format == "tmsf")
            format_ = Format::Tmsf;
        else if (format == "milliseconds" || format == "ms")
            format_ = Format::Milliseconds;
        else
            return BadTimeFormat;
        return args.atEnd() ? Ok : ExtraCharacters;
    }
    if (args.take("door")) {
        if (args.take("open")) {
            disc_.stop();
            drive_->openDoor();
            toc_ = cdrom::Toc{};
            disc_.load(drive_->source(), toc_);
        } else if (args.take("closed")) {
            drive_->closeDoor();
            sync();
        } else {
            return MissingParameter;
        }
        return args.atEnd() ? Ok : ExtraCharacters;
    }
    return UnrecognizedKeyword;
}

std::optional<int32_t> CdAudioDevice::parsePosition(const std::string& word) const
{
    if (iequals(word, "start")) return toc_.discStart();
    if (iequals(word, "end")) return toc_.leadout;
    if (format_ == Format::Milliseconds) {
        const auto ms = parseInteger(word);
        if (!ms || *ms < 0) return std::nullopt;
        // The nearest frame: a position reported here (cut to the millisecond) seeks to its own
        // frame, not to the one before it, which may be the end of the track before.
        const int64_t frame = toc_.discStart() + (*ms * FramesPerSecond + 500) / 1000;
        if (frame > toc_.leadout) return std::nullopt;
        return static_cast<int32_t>(frame);
    }
    const auto parts = colonParts(word);
    if (!parts || !toc_.hasTrack((*parts)[0])) return std::nullopt;
    const int track = (*parts)[0];
    const int minutes = parts->size() > 1 ? (*parts)[1] : 0;
    const int seconds = parts->size() > 2 ? (*parts)[2] : 0;
    const int frames = parts->size() > 3 ? (*parts)[3] : 0;
    if (seconds > 59 || frames >= FramesPerSecond) return std::nullopt;
    const int32_t frame = toc_.trackStart(track) + (minutes * 60 + seconds) * FramesPerSecond + frames;
    if (frame > toc_.trackEnd(track)) return std::nullopt;
    return frame;
}

uint32_t CdAudioDevice::seek(WordCursor& args)
{
    if (!drive_->present()) return DeviceNotReady;
    if (!args.take("to")) return args.atEnd() ? MissingParameter : UnrecognizedKeyword;
    const auto word = args.next();
    if (!word) return MissingParameter;
    if (!args.atEnd()) return ExtraCharacters;
    const auto frame = parsePosition(*word);
    if (!frame) return parseInteger(*word) || word->find(':') != std::string::npos ? OutOfRange : BadInteger;
    disc_.seek(*frame);
    endedBeforeData_ = false;
    return Ok;
}

uint32_t CdAudioDevice::play(WordCursor& args)
{
    if (!drive_->present()) return DeviceNotReady;
    std::optional<int64_t> from, to;
    const uint32_t rc = readFromTo(
        args,
        [this](const std::string& word, int64_t& value) -> uint32_t {
            const auto frame = parsePosition(word);
            if (!frame) return OutOfRange;
            value = *frame;
            return Ok;
        },
        from, to);
    if (rc) return rc;
    if (!from && !to && disc_.lastMode() == Mode::Playing) return Ok;
    if (!from && !to && disc_.lastMode() == Mode::Paused) {
        disc_.resume();
        return Ok;
    }
    const int32_t asked = static_cast<int32_t>(from.value_or(position()));
    const int32_t until = static_cast<int32_t>(to.value_or(toc_.leadout));
    if (until < asked) return OutOfRange;
    // A data track is never played as sound: playing on stops where the audio ends.
    const auto [start, end] = toc_.audibleSpan(asked, until);
    endedBeforeData_ = false;
    if (start >= end) {
        disc_.seek(asked);
        return Ok;
    }
    return disc_.play(start, end) ? Ok : Hardware;
}

// The track of a position; stopped where a data track begins, it is the end of the audio before.
int CdAudioDevice::trackAtFrame(int32_t frame) const
{
    if (endedBeforeData_ && disc_.lastMode() == Mode::Stopped && frame == disc_.restingPosition() && frame > toc_.discStart())
        return toc_.trackAt(frame - 1);
    return toc_.trackAt(frame);
}

uint32_t CdAudioDevice::pause()
{
    if (!drive_->present()) return DeviceNotReady;
    disc_.pause();
    return Ok;
}

uint32_t CdAudioDevice::stop()
{
    if (!drive_->present()) return DeviceNotReady;
    disc_.stop();
    return Ok;
}

}  // namespace platform::mci
