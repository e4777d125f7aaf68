#pragma once

#include <QString>
#include <optional>
#include <stdexcept>

namespace kalmo::core {

// The error a strict integer conversion raises; its text is
// "'<value>' is not a valid integer value".
class ConversionError : public std::runtime_error {
public:
    explicit ConversionError(const QString &value);
    // "'<value>' is not a valid <what>", for values that are not numbers ("time").
    ConversionError(const QString &value, const QString &what);
    QString text() const { return QString::fromUtf8(what()); }
};

// Whole decimal (or $-prefixed hex) 32-bit integer, optional sign, surrounding blanks
// allowed; nothing else. nullopt when the text is not such a number.
std::optional<int> parseInt(const QString &text);

// As parseInt, but raises ConversionError.
int toIntStrict(const QString &text);

} // namespace kalmo::core
