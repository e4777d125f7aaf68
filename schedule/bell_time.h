#pragma once

#include <QString>
#include <QTime>
#include <optional>

namespace kalmo::schedule {

// A bell time "H:mm:ss" (blanks around each field allowed, so " 9:00:00" from a masked
// editor and "09:00:00" both read): hours 0-23, minutes and seconds 0-59, one or two
// digits each. Anything else, an empty text included, gives nothing.
std::optional<QTime> parseBellTime(const QString &text);

// Whole minutes between two times of the same day, in either order.
int wholeMinutesBetween(const QTime &a, const QTime &b);

} // namespace kalmo::schedule
