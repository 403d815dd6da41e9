// Field assignment templates of Mp3Tag_Functions.h.
#pragma once

#include "platform/CodePage.h"

#include <cstring>

namespace Mp3Tag_Functions {

template <std::size_t N> void SetFieldBytes(char (&field)[N], const std::string& bytes)
{
    std::memset(field, ' ', N);
    std::memcpy(field, bytes.data(), bytes.size() < N ? bytes.size() : N);
}

template <std::size_t N> void SetField(char (&field)[N], const QString& text)
{
    SetFieldBytes(field, platform::ToGreekCodePage(text));
}

template <std::size_t N> QString FieldText(const char (&field)[N])
{
    const void* nul = std::memchr(field, 0, N);
    return platform::FromGreekCodePage(std::string_view(field, nul ? std::size_t(static_cast<const char*>(nul) - field) : N));
}

}  // namespace Mp3Tag_Functions
