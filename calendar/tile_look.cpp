#include "calendar/tile_look.h"

namespace kalmo::calendar {

namespace {
const QString kIni = QStringLiteral("ini");
}

const char *const TileLook::kColorKeys[7] = {"DownBorderColor",  "DownColor",  "DownTextColor",
                                             "HoverBorderColor", "HoverColor", "HoverTextColor",
                                             "TextColor"};

core::ColorCode &TileLook::color(int index) {
    core::ColorCode *colours[7] = {&downBorder, &down,      &downText, &hoverBorder,
                                   &hover,      &hoverText, &text};
    return *colours[index];
}

core::ColorCode TileLook::color(int index) const {
    return const_cast<TileLook *>(this)->color(index);
}

void TileLook::read(const CalendarFile &file) {
    fontSize = file.readInteger(kIni, QStringLiteral("fontsize"), fontSize);
    fontName = file.readString(kIni, QStringLiteral("fontname"), fontName);
    for (int i = 0; i < 7; ++i)
        color(i) = file.readColor(kIni, QLatin1String(kColorKeys[i]), color(i));
}

Marking Marking::editorDefaults() {
    Marking m;
    m.holiday = 0x0000FF; // clred
    m.event = 0xFF0000;   // clBlue
    return m;
}

void Marking::read(const CalendarFile &file) {
    saturday = file.readBool(kIni, QStringLiteral("Saturday"), saturday);
    sunday = file.readBool(kIni, QStringLiteral("Sunday"), sunday);
    dayOff = file.readColor(kIni, QStringLiteral("output"), dayOff);
    holiday = file.readColor(kIni, QStringLiteral("holiday"), holiday);
    event = file.readColor(kIni, QStringLiteral("event"), event);
}

} // namespace kalmo::calendar
