#include "common/TimeText.h"

namespace common {

QString TimeText(int64_t totalSeconds, bool remaining)
{
    if (totalSeconds < 0) totalSeconds = 0;
    const int64_t minutes = totalSeconds / 60;
    const int64_t seconds = totalSeconds % 60;
    QString text = QStringLiteral("%1:%2").arg(minutes, 2, 10, QLatin1Char('0')).arg(seconds, 2, 10, QLatin1Char('0'));
    return remaining ? QStringLiteral("-") + text : text;
}

QString TimeTextMs(int64_t milliseconds, bool remaining) { return TimeText(milliseconds / 1000, remaining); }

}  // namespace common
