#pragma once
// The caller side of the command channel: how a command is sent and how its result is read.
// Each wrapper routine follows exactly one of these conventions.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace media {

constexpr std::size_t CdReplySize = 30;
constexpr std::size_t MediaReplySize = 128;
constexpr std::size_t ErrorTextSize = 128;

// 1. Action with status text: "Success", or the whole 128-character description buffer
//    (the description followed by NULs).
std::string SendAction(const std::string& command);
// 2. Numeric status: the reply's leading number rounded half to even, -1 when refused.
int32_t SendNumeric(const std::string& command, std::size_t replySize = MediaReplySize);
// 3. Mode status: the reply up to its first NUL, "ERROR" when refused.
std::string SendMode(const std::string& command, std::size_t replySize = MediaReplySize);
// 4. Silent action: the result is not looked at.
void SendSilent(const std::string& command, std::size_t replySize = 0);
// 5. Raw query: the whole reply buffer, NULs included, whatever the result.
std::string SendRaw(const std::string& command, std::size_t replySize = CdReplySize);

// The leading numeric part of a text: leading blanks skipped, reading stops at the first
// character that cannot belong to a number (or a NUL); no number reads as 0.
double LeadingNumber(std::string_view text);
// Halves to the even neighbour; false when the value does not fit 32 bits.
bool RoundToInt32(double value, int32_t& out);

// A decimal number as a signed number is printed: one leading blank when not negative.
std::string WithLeadingBlank(int64_t value);

// Tests watch the exact command texts sent; null removes the observer.
void setCommandObserver(std::function<void(const std::string&)> observer);

}  // namespace media
