#include "platform/mci/MediaDevice.h"
#include "platform/ShortPath.h"
#include "platform/gst/MediaFile.h"
#include "platform/mci/Errors.h"
#include "platform/mci/Sections.h"

#include <algorithm>
#include <cmath>

#include <sys/stat.h>

namespace platform::mci {

using Mode = gst::Engine::Mode;

namespace {

enum class Use { Open, Cue };

// What the device plays for an element: the file's URI, or a section URI for a path that stands
// for a part of a file. Ok and the URI, or why not.
uint32_t playableUri(const std::string& element, Use use, std::string& uri)
{
    const std::string path = LocalPathOf(element);
    if (path.empty()) return FileNotFound;
    struct stat st { };
    if (::stat(path.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode) || (use == Use::Cue && !S_ISREG(st.st_mode))) return FileNotFound;
        if (use == Use::Open && st.st_size == 0) return InvalidFile;
        uri = ShortPathName(path);
        return uri.empty() ? FileNotFound : Ok;
    }
    uri = MediaUriOf(path);
    return uri.empty() ? FileNotFound : Ok;
}

}  // namespace

uint32_t MediaDevice::open(const OpenParams& params)
{
    if (params.element.empty()) return FilenameRequired;
    std::string uri;
    if (const uint32_t rc = playableUri(params.element, Use::Open, uri)) return rc;
    player_ = gst::OpenMediaFile(uri, params.parentWindow);
    return player_ ? Ok : CannotPlayFile;
}

uint32_t MediaDevice::execute(const std::string& verb, WordCursor& args, std::string& reply)
{
    if (verb == "status") return status(args, reply);
    if (verb == "set") return set(args);
    if (verb == "play") return play(args);
    if (verb == "where") return where(args, reply);
    if (verb == "seek") return seek(args);
    if (verb == "cue") return cue(args);
    if (!args.atEnd()) return ExtraCharacters;
    if (verb == "pause") {
        player_->pause();
        return Ok;
    }
    if (verb == "resume") {
        player_->resume();
        return Ok;
    }
    if (verb == "stop") {
        player_->stop();
        return Ok;
    }
    return UnrecognizedCommand;
}

uint32_t MediaDevice::status(WordCursor& args, std::string& reply)
{
    const auto item = args.next();
    if (!item) return MissingParameter;
    if (!args.atEnd() && !iequals(*item, "time")) return ExtraCharacters;
    const std::string what = lower(*item);
    if (what == "mode") {
        switch (player_->mode()) {
        case Mode::Playing: reply = "playing"; break;
        case Mode::Paused: reply = "paused"; break;
        default: reply = "stopped"; break;
        }
        return Ok;
    }
    if (what == "position") {
        reply = std::to_string(player_->position());
        return Ok;
    }
    if (what == "length") {
        reply = std::to_string(player_->length());
        return Ok;
    }
    if (what == "ready") {
        reply = "true";
        return Ok;
    }
    if (what == "volume") {
        reply = std::to_string(std::lround(std::max(0.0, player_->volume()) * 1000));
        return Ok;
    }
    if (what == "time" && args.take("format") && args.atEnd()) {
        reply = timeFormat_;
        return Ok;
    }
    return UnrecognizedKeyword;
}

uint32_t MediaDevice::set(WordCursor& args)
{
    if (!args.take("time")) return UnrecognizedKeyword;
    if (!args.take("format")) return MissingParameter;
    const auto name = args.next();
    if (!name) return MissingParameter;
    const std::string format = lower(*name);
    if (format == "ms")
        timeFormat_ = "milliseconds";
    else if (format == "frames" || format == "milliseconds")
        timeFormat_ = format;
    else
        return BadTimeFormat;
    return args.atEnd() ? Ok : ExtraCharacters;
}

uint32_t MediaDevice::play(WordCursor& args)
{
    std::optional<int64_t> from, to;
    const uint32_t rc = readFromTo(
        args,
        [this](const std::string& word, int64_t& value) -> uint32_t {
            const auto ms = parseInteger(word);
            if (!ms) return BadInteger;
            if (*ms < 0 || *ms > player_->length()) return OutOfRange;
            value = *ms;
            return Ok;
        },
        from, to);
    if (rc) return rc;
    if (from && to && *to < *from) return OutOfRange;
    return player_->play(from, to) ? Ok : Internal;
}

uint32_t MediaDevice::seek(WordCursor& args)
{
    if (!args.take("to")) return MissingParameter;
    const auto word = args.next();
    if (!word || !args.atEnd()) return word ? ExtraCharacters : MissingParameter;
    int64_t target = 0;
    if (iequals(*word, "start"))
        target = 0;
    else if (iequals(*word, "end"))
        target = player_->length();
    else if (const auto value = parseInteger(*word))
        target = *value;
    else
        return BadInteger;
    if (target < 0 || target > player_->length()) return OutOfRange;
    return player_->seek(target) ? Ok : Internal;
}

// "cue ALIAS next FILE": the file to follow this one without a gap; "cue ALIAS next": none.
uint32_t MediaDevice::cue(WordCursor& args)
{
    if (!args.take("next")) return MissingParameter;
    const auto element = args.next();
    if (!args.atEnd()) return ExtraCharacters;
    if (!element) {
        player_->cueNext({});
        return Ok;
    }
    std::string uri;
    if (const uint32_t rc = playableUri(*element, Use::Cue, uri)) return rc;
    player_->cueNext(uri);
    return Ok;
}

uint32_t MediaDevice::where(WordCursor& args, std::string& reply)
{
    if (!args.take("destination") && !args.take("source")) return MissingParameter;
    if (!args.atEnd()) return ExtraCharacters;
    int width = 0, height = 0;
    if (!player_->videoSize(width, height)) return NoWindow;
    reply = "0 0 " + std::to_string(width) + " " + std::to_string(height);
    return Ok;
}

}  // namespace platform::mci
