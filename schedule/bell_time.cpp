#include "schedule/bell_time.h"

#include <QStringList>
#include <cstdlib>

namespace kalmo::schedule {

namespace {

std::optional<int> field(const QString &text, int max) {
    const QString t = text.trimmed();
    if (t.isEmpty() || t.size() > 2)
        return std::nullopt;
    int value = 0;
    for (const QChar c : t) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
        value = value * 10 + (c.unicode() - '0');
    }
    if (value > max)
        return std::nullopt;
    return value;
}

} // namespace

std::optional<QTime> parseBellTime(const QString &text) {
    const QStringList parts = text.split(QLatin1Char(':'));
    if (parts.size() != 3)
        return std::nullopt;
    const auto h = field(parts[0], 23);
    const auto m = field(parts[1], 59);
    const auto s = field(parts[2], 59);
    if (!h || !m || !s)
        return std::nullopt;
    return QTime(*h, *m, *s);
}

QValidator::State BellTimeValidator::validate(QString &input, int &pos) const {
    QStringList fields = input.split(QLatin1Char(':'));
    // Digits typed on past a full field start the next one, as a mask would place the colon.
    if (fields.size() < 3 && pos == input.size() && fields.last().trimmed().size() == 3 &&
        input.back().isDigit()) {
        input.insert(input.size() - 1, QLatin1Char(':'));
        ++pos;
        fields = input.split(QLatin1Char(':'));
    }
    if (fields.size() > 3)
        return Invalid;
    for (const QString &f : fields) {
        const QString digits = f.trimmed();
        if (digits.size() > 2)
            return Invalid;
        for (const QChar c : digits)
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return Invalid;
    }
    return parseBellTime(input) ? Acceptable : Intermediate;
}

int wholeMinutesBetween(const QTime &a, const QTime &b) {
    return std::abs(a.msecsSinceStartOfDay() - b.msecsSinceStartOfDay()) / 60000;
}

} // namespace kalmo::schedule
