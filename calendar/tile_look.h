#pragma once

#include "calendar/calendar_file.h"
#include "core/colors.h"

#include <QString>

namespace kalmo::calendar {

// The day tile's look, section `ini` of the calendar file.
struct TileLook {
    int fontSize = 14; // points
    QString fontName = QStringLiteral("Times New Roman");
    core::ColorCode downBorder = 0x800000;  // clNavy
    core::ColorCode down = 0xFFFF00;        // clAqua
    core::ColorCode downText = 0x000080;    // clMaroon
    core::ColorCode hoverBorder = 0x000000; // clBlack
    core::ColorCode hover = 0xFFFF00;       // clAqua
    core::ColorCode hoverText = 0x000000;   // clBlack
    core::ColorCode text = 0x000000;        // clBlack

    // The seven colours in the order of their keys.
    static const char *const kColorKeys[7];
    core::ColorCode &color(int index);
    core::ColorCode color(int index) const;

    // Missing keys and bad values keep this object's values.
    void read(const CalendarFile &file);
};

// How the grid marks days: the weekend flags and the three fills.
struct Marking {
    bool saturday = false;
    bool sunday = true;
    core::ColorCode dayOff = 0x0000FF;  // `output`
    core::ColorCode holiday = 0xFF0000; // the screen's default: clBlue
    core::ColorCode event = 0x008000;   // the screen's default: clGreen

    // The editors' defaults differ from the screen's.
    static Marking editorDefaults();
    void read(const CalendarFile &file);
};

} // namespace kalmo::calendar
