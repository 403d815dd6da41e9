#pragma once
// Splitting and reading the words of a command text.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::mci {

// Splits a command into words: blanks separate words, runs of blanks and trailing blanks
// count as one separator, a double-quoted word may hold blanks. Returns 0 or an error code.
uint32_t splitWords(std::string_view command, std::vector<std::string>& words);

bool iequals(std::string_view a, std::string_view b);
std::string lower(std::string_view text);

// A whole decimal number with an optional sign and nothing else; nullopt otherwise.
std::optional<int64_t> parseInteger(std::string_view text);

// The words after the device alias, read front to back.
class WordCursor {
public:
    explicit WordCursor(std::vector<std::string> words) : words_(std::move(words)) { }
    bool atEnd() const { return pos_ >= words_.size(); }
    const std::string& peek() const { return words_[pos_]; }
    // True and advances when the next word equals keyword (any letter case).
    bool take(std::string_view keyword);
    // The next word, advancing; nullopt at the end.
    std::optional<std::string> next();
    std::size_t remaining() const { return atEnd() ? 0 : words_.size() - pos_; }

private:
    std::vector<std::string> words_;
    std::size_t pos_ = 0;
};

// "from X" and "to Y", in any order, each value read by readValue, which returns 0 or the
// error code of a value it refuses. Returns 0 or the first error.
uint32_t readFromTo(WordCursor& args, const std::function<uint32_t(const std::string&, int64_t&)>& readValue,
                    std::optional<int64_t>& from, std::optional<int64_t>& to);

}  // namespace platform::mci
