#include "platform/mci/Interpreter.h"
#include "platform/mci/CdAudioDevice.h"
#include "platform/mci/Errors.h"
#include "platform/mci/MediaDevice.h"

#include <cstring>

namespace platform::mci {

namespace {

// Flags any command may carry; there is no callback window, so "notify" changes nothing,
// and every command completes before it returns, so "wait" changes nothing either.
bool isCompletionFlag(const std::string& word) { return iequals(word, "wait") || iequals(word, "notify"); }

std::vector<std::string> withoutCompletionFlags(std::vector<std::string> words)
{
    std::erase_if(words, isCompletionFlag);
    return words;
}

bool isKnownVerb(const std::string& verb)
{
    for (const char* known : {"open", "close", "play", "pause", "resume", "stop", "seek", "set", "status", "where", "cue"})
        if (verb == known) return true;
    return false;
}

}  // namespace

Interpreter::Interpreter()
{
    registerType("cdaudio", [] { return std::make_unique<CdAudioDevice>(); });
    for (const char* type : {"mpegvideo", "waveaudio", "sequencer", "avivideo"})
        registerType(type, [] { return std::make_unique<MediaDevice>(); });
}

Interpreter::~Interpreter() { closeAll(); }

void Interpreter::registerType(const std::string& type, Factory factory) { factories_[lower(type)] = std::move(factory); }

void Interpreter::closeAll() { devices_.clear(); }

bool Interpreter::isOpen(std::string_view alias) const { return devices_.count(lower(alias)) > 0; }

uint32_t Interpreter::send(std::string_view command, std::string& reply)
{
    reply.clear();
    std::vector<std::string> words;
    if (const uint32_t rc = splitWords(command, words)) return rc;
    if (words.empty()) return MissingCommandString;

    const std::string verb = lower(words[0]);
    if (!isKnownVerb(verb)) return UnrecognizedCommand;
    if (verb == "open") {
        WordCursor rest({words.begin() + 1, words.end()});
        return open(rest);
    }
    if (words.size() < 2) return InvalidDeviceName;
    const std::string alias = lower(words[1]);
    WordCursor args(withoutCompletionFlags({words.begin() + 2, words.end()}));

    if (alias == "all") {
        if (verb != "close") return CannotUseAll;
        return args.atEnd() ? (closeAll(), Ok) : ExtraCharacters;
    }
    if (verb == "close") return args.atEnd() ? close(alias) : ExtraCharacters;

    const auto device = devices_.find(alias);
    if (device == devices_.end()) return InvalidDeviceName;
    return device->second->execute(verb, args, reply);
}

uint32_t Interpreter::open(WordCursor& words)
{
    const auto name = words.next();
    if (!name) return MissingParameter;
    // "open  type mpegvideo ...": the element was empty, so "type" comes first.
    if (iequals(*name, "type")) return FilenameRequired;

    OpenParams params;
    std::string alias;
    while (!words.atEnd()) {
        const std::string word = lower(*words.next());
        if (word == "wait" || word == "notify") continue;
        if (word == "shareable") {
            params.shareable = true;
            continue;
        }
        if (word == "type" || word == "alias" || word == "parent" || word == "style") {
            const auto value = words.next();
            if (!value) return MissingParameter;
            if (word == "type")
                params.type = lower(*value);
            else if (word == "alias")
                alias = *value;
            else {
                const auto number = parseInteger(*value);
                if (!number || *number < 0) return BadInteger;
                if (word == "parent")
                    params.parentWindow = static_cast<uint64_t>(*number);
                else
                    params.style = *number;
            }
            continue;
        }
        return UnrecognizedKeyword;
    }

    if (params.type.empty()) {
        if (name->empty()) return FilenameRequired;
        // "open cdaudio ...": the name is the device type itself.
        if (!factories_.count(lower(*name))) return DeviceTypeRequired;
        params.type = lower(*name);
    } else {
        params.element = *name;
    }
    const auto factory = factories_.find(params.type);
    if (factory == factories_.end()) return CannotLoadDriver;

    if (alias.empty()) alias = *name;
    const std::string key = lower(alias);
    if (key == "all") return CannotUseAll;
    if (devices_.count(key)) return DuplicateAlias;

    auto device = factory->second();
    if (const uint32_t rc = device->open(params)) return rc;
    devices_.emplace(key, std::move(device));
    return Ok;
}

uint32_t Interpreter::close(const std::string& alias) { return devices_.erase(alias) ? Ok : InvalidDeviceName; }

Interpreter& interpreter()
{
    static Interpreter instance;
    return instance;
}

static void copyCut(const std::string& text, char* buffer, std::size_t size)
{
    if (!buffer || size == 0) return;
    const std::size_t n = std::min(text.size(), size - 1);
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
}

uint32_t SendString(std::string_view command, char* reply, std::size_t replySize)
{
    std::string text;
    const uint32_t rc = interpreter().send(command, text);
    if (rc == Ok)
        copyCut(text, reply, replySize);
    else if (reply && replySize)
        reply[0] = '\0';
    return rc;
}

bool GetErrorString(uint32_t code, char* buffer, std::size_t size)
{
    const std::string text = describe(code);
    copyCut(text, buffer, size);
    return !text.empty();
}

}  // namespace platform::mci
