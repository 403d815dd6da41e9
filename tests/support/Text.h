#pragma once
// Paths made by the fixtures (std::string) where the player takes a QString.

#include <QString>

#include <string>

namespace testsupport {

inline QString q(const std::string& s) { return QString::fromStdString(s); }

}  // namespace testsupport
