#include "platform/CodePage.h"

#include <iconv.h>

#include <array>
#include <unordered_map>

namespace platform {

namespace {

constexpr char16_t KeptByteBase = 0xF700;  // private use: U+F7xx stands for undefined byte xx

struct Table {
    std::array<char16_t, 256> toUnicode{};
    std::unordered_map<char16_t, unsigned char> fromUnicode;

    Table()
    {
        iconv_t cd = iconv_open("UTF-16LE", "WINDOWS-1253");
        for (int b = 0; b < 256; ++b) {
            char in = char(b);
            char16_t out = 0;
            char* inPtr = &in;
            char* outPtr = reinterpret_cast<char*>(&out);
            size_t inLeft = 1, outLeft = sizeof out;
            const bool ok = cd != iconv_t(-1) && iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != size_t(-1) && outLeft == 0;
            toUnicode[b] = ok ? out : char16_t(KeptByteBase + b);
            if (b < 128 && !ok) toUnicode[b] = char16_t(b);
            fromUnicode.emplace(toUnicode[b], static_cast<unsigned char>(b));
            if (cd != iconv_t(-1)) iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
        if (cd != iconv_t(-1)) iconv_close(cd);
    }
};

const Table& table()
{
    static const Table t;
    return t;
}

}  // namespace

QString FromGreekCodePage(std::string_view bytes)
{
    QString text;
    text.reserve(qsizetype(bytes.size()));
    for (const char c : bytes) text.append(QChar(table().toUnicode[static_cast<unsigned char>(c)]));
    return text;
}

std::string ToGreekCodePage(const QString& text)
{
    std::string bytes;
    bytes.reserve(size_t(text.size()));
    for (const QChar c : text) {
        const auto found = table().fromUnicode.find(c.unicode());
        bytes += found != table().fromUnicode.end() ? char(found->second) : '?';
    }
    return bytes;
}

}  // namespace platform
