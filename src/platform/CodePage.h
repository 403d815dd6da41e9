#pragma once
// The Greek code page (windows-1253) of ID3v1 text fields. Bytes that the code page leaves
// undefined are kept as private-use characters, so they come back as the same bytes.

#include <QString>
#include <string>
#include <string_view>

namespace platform {

QString FromGreekCodePage(std::string_view bytes);
// Characters the code page cannot hold become "?".
std::string ToGreekCodePage(const QString& text);

}  // namespace platform
