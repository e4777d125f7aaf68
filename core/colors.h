#pragma once

#include <QColor>
#include <QPalette>
#include <QString>
#include <optional>
#include <span>

namespace kalmo::core {

// A colour as the settings files store it: 0x00BBGGRR for a plain colour, 0xFF0000nn for the
// desktop's system colour number nn, and two special values.
using ColorCode = qint32;

inline constexpr ColorCode kColorNone = 0x1FFFFFFF;    // no colour (clNone)
inline constexpr ColorCode kColorDefault = 0x20000000; // the control's own colour (clDefault)

struct NamedColor {
    const char *name;
    ColorCode code;
};

// Every colour with a name: the plain colours, then the system colours, then clNone and
// clDefault. This is also the order the colour boxes list them in.
std::span<const NamedColor> namedColors();

// A name (any letter case) or a whole number in decimal or "$" hexadecimal form.
std::optional<ColorCode> colorFromText(const QString &text);
// The name when the colour has one, else "$" and eight hexadecimal digits.
QString colorToText(ColorCode code);

// The colour to draw with. System colours follow `palette` where it has a matching role and
// use fixed desktop colours otherwise; clNone is transparent, clDefault is invalid (the caller
// draws with its own colour).
QColor toQColor(ColorCode code, const QPalette &palette);
QColor toQColor(ColorCode code); // with the application's palette
ColorCode fromQColor(const QColor &colour);

} // namespace kalmo::core
