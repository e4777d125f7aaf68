#pragma once

#include "calendar/calendar_file.h"
#include "calendar/tile_look.h"

#include <QString>
#include <array>
#include <span>

namespace kalmo::calendar {

// One look control of the calendar editor: its object name, the label beside it and the key
// of section `ini` it stands for.
struct LookRow {
    const char *control;
    const char *label;
    const char *key;
};

// ColorBox1..7: the tile's colours, in TileLook's order. They change the preview at once and
// reach the file on the look save.
std::span<const LookRow> tileColourRows();
// ColorBox8..10 (`output`, `holiday`, `event`): written at once, and on the look save.
std::span<const LookRow> markingColourRows();
// CheckBox12, CheckBox22 (`Saturday`, `Sunday`): written at once.
std::span<const LookRow> weekendRows();

// What the look controls show at opening: the file's section `ini` over the editors'
// defaults.
struct EditorLook {
    TileLook tile;
    Marking marking;
};
EditorLook readEditorLook(const CalendarFile &file);

// The look save: `fontsize` as typed, `fontname`, the seven tile colours and the three marking
// colours, in this order. Raises core::IniWriteError and stops at the refused write.
struct LookSave {
    QString sizeText;
    QString fontName;
    std::array<core::ColorCode, 7> tile{};
    std::array<core::ColorCode, 3> marking{}; // output, holiday, event
};
void saveLook(CalendarFile &file, const LookSave &look);

} // namespace kalmo::calendar
