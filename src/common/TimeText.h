#pragma once
#include <QString>
#include <cstdint>

namespace common {

// "mm:ss" with at least two digits each; minutes never roll over into hours.
// A remaining time carries a leading "-". Negative inputs count as 0.
QString TimeText(int64_t totalSeconds, bool remaining = false);

// The same from milliseconds, whole seconds by integer division.
QString TimeTextMs(int64_t milliseconds, bool remaining = false);

}  // namespace common
