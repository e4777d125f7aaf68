#include "core/strict_int.h"

#include <limits>

namespace kalmo::core {

ConversionError::ConversionError(const QString &value)
    : std::runtime_error(
          QStringLiteral("'%1' is not a valid integer value").arg(value).toStdString()) {}

ConversionError::ConversionError(const QString &value, const QString &what)
    : std::runtime_error(QStringLiteral("'%1' is not a valid %2").arg(value, what).toStdString()) {}

std::optional<int> parseInt(const QString &text) {
    const QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    qsizetype i = 0;
    bool negative = false;
    if (t[i] == u'+' || t[i] == u'-') {
        negative = t[i] == u'-';
        ++i;
    }
    int base = 10;
    if (i < t.size() && t[i] == u'$') {
        base = 16;
        ++i;
    } else if (i + 1 < t.size() && t[i] == u'0' && (t[i + 1] == u'x' || t[i + 1] == u'X')) {
        base = 16;
        i += 2;
    }
    if (i >= t.size())
        return std::nullopt;
    qint64 value = 0;
    for (; i < t.size(); ++i) {
        const int digit = t[i].isDigit() && t[i].unicode() < 128 ? t[i].unicode() - '0'
                          : base == 16 && t[i].toLower() >= u'a' && t[i].toLower() <= u'f'
                              ? t[i].toLower().unicode() - 'a' + 10
                              : -1;
        if (digit < 0)
            return std::nullopt;
        value = value * base + digit;
        if (value > qint64(std::numeric_limits<int>::max()) + 1)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(value);
}

int toIntStrict(const QString &text) {
    if (auto v = parseInt(text))
        return *v;
    throw ConversionError(text);
}

} // namespace kalmo::core
