#include "media/Channel.h"
#include "platform/mci/Interpreter.h"

#include <cmath>
#include <cstdlib>
#include <vector>

namespace media {

namespace {

std::function<void(const std::string&)>& observer()
{
    static std::function<void(const std::string&)> o;
    return o;
}

// Sends one command with a NUL-filled reply buffer of replySize characters.
uint32_t send(const std::string& command, std::string& buffer, std::size_t replySize)
{
    if (observer()) observer()(command);
    buffer.assign(replySize, '\0');
    return platform::mci::SendString(command, replySize ? buffer.data() : nullptr, replySize);
}

std::string upToNul(const std::string& buffer) { return buffer.substr(0, buffer.find('\0')); }

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string SendAction(const std::string& command)
{
    std::string unused;
    const uint32_t rc = send(command, unused, 0);
    if (rc == 0) return "Success";
    std::string description(ErrorTextSize, '\0');
    platform::mci::GetErrorString(rc, description.data(), description.size());
    return description;
}

int32_t SendNumeric(const std::string& command, std::size_t replySize)
{
    std::string buffer;
    if (send(command, buffer, replySize) != 0) return -1;
    int32_t value = -1;
    return RoundToInt32(LeadingNumber(upToNul(buffer)), value) ? value : -1;
}

std::string SendMode(const std::string& command, std::size_t replySize)
{
    std::string buffer;
    if (send(command, buffer, replySize) != 0) return "ERROR";
    return upToNul(buffer);
}

void SendSilent(const std::string& command, std::size_t replySize)
{
    std::string buffer;
    send(command, buffer, replySize);
}

std::string SendRaw(const std::string& command, std::size_t replySize)
{
    std::string buffer;
    send(command, buffer, replySize);
    return buffer;
}

double LeadingNumber(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    const std::size_t start = i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    const std::size_t digitsStart = i;
    while (i < text.size() && isDigit(text[i])) ++i;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i])) ++i;
    }
    if (i == digitsStart || (i == digitsStart + 1 && text[digitsStart] == '.')) return 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
        if (j < text.size() && isDigit(text[j])) {
            while (j < text.size() && isDigit(text[j])) ++j;
            i = j;
        }
    }
    return std::strtod(std::string(text.substr(start, i - start)).c_str(), nullptr);
}

bool RoundToInt32(double value, int32_t& out)
{
    if (!std::isfinite(value)) return false;
    const double rounded = std::nearbyint(value);  // the default rounding mode: halves to even
    if (rounded < -2147483648.0 || rounded > 2147483647.0) return false;
    out = static_cast<int32_t>(rounded);
    return true;
}

std::string WithLeadingBlank(int64_t value) { return value < 0 ? std::to_string(value) : " " + std::to_string(value); }

void setCommandObserver(std::function<void(const std::string&)> o) { observer() = std::move(o); }

}  // namespace media
