#include "platform/mci/Words.h"
#include "platform/mci/Errors.h"

#include <cctype>
#include <charconv>

namespace platform::mci {

static bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

uint32_t splitWords(std::string_view command, std::vector<std::string>& words)
{
    words.clear();
    std::size_t i = 0;
    while (i < command.size()) {
        if (isBlank(command[i]) || command[i] == '\0') {
            ++i;
            continue;
        }
        std::string word;
        if (command[i] == '"') {
            const std::size_t close = command.find('"', i + 1);
            if (close == std::string_view::npos) return NoClosingQuote;
            word.assign(command.substr(i + 1, close - i - 1));
            i = close + 1;
        } else {
            while (i < command.size() && !isBlank(command[i]) && command[i] != '\0') word += command[i++];
        }
        words.push_back(std::move(word));
    }
    return Ok;
}

bool iequals(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
    return true;
}

std::string lower(std::string_view text)
{
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::optional<int64_t> parseInteger(std::string_view text)
{
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    if (text.empty()) return std::nullopt;
    int64_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    return value;
}

bool WordCursor::take(std::string_view keyword)
{
    if (atEnd() || !iequals(peek(), keyword)) return false;
    ++pos_;
    return true;
}

std::optional<std::string> WordCursor::next()
{
    if (atEnd()) return std::nullopt;
    return words_[pos_++];
}

uint32_t readFromTo(WordCursor& args, const std::function<uint32_t(const std::string&, int64_t&)>& readValue,
                    std::optional<int64_t>& from, std::optional<int64_t>& to)
{
    while (!args.atEnd()) {
        const bool isFrom = args.take("from");
        if (!isFrom && !args.take("to")) return UnrecognizedKeyword;
        const auto word = args.next();
        if (!word) return MissingParameter;
        int64_t value = 0;
        if (const uint32_t rc = readValue(*word, value)) return rc;
        (isFrom ? from : to) = value;
    }
    return Ok;
}

}  // namespace platform::mci
