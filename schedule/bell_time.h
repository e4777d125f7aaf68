#pragma once

#include <QString>
#include <QTime>
#include <QValidator>
#include <optional>

namespace kalmo::schedule {

// A bell time "H:mm:ss" (blanks around each field allowed, so " 9:00:00" from a masked
// editor and "09:00:00" both read): hours 0-23, minutes and seconds 0-59, one or two
// digits each. Anything else, an empty text included, gives nothing.
std::optional<QTime> parseBellTime(const QString &text);

// Whole minutes between two times of the same day, in either order.
int wholeMinutesBetween(const QTime &a, const QTime &b);

// What a bell time editor lets through while typing: up to three fields of at most two
// digits joined by ':', blanks around a field allowed (so an old " 9:00:00" stays editable).
// A third digit typed at the end of a full field starts the next field ("083000" gives
// "08:30:00"). A text that reads as a time is Acceptable, anything on the way there
// Intermediate. The range of each field is checked by the save, which names the row.
class BellTimeValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString &input, int &pos) const override;
};

} // namespace kalmo::schedule
