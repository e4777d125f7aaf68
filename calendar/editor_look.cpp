#include "calendar/editor_look.h"

namespace kalmo::calendar {

namespace {

const QString kIni = QStringLiteral("ini");

constexpr LookRow kTileColours[] = {
    {"ColorBox1", "Цвет рамки при нажатии", "DownBorderColor"},
    {"ColorBox2", "Цвет фона при нажатии", "DownColor"},
    {"ColorBox3", "Цвет текста при нажатии", "DownTextColor"},
    {"ColorBox4", "Цвет рамки", "HoverBorderColor"},
    {"ColorBox5", "Цвет фона изображения", "HoverColor"},
    {"ColorBox6", "Цвет текста при наведении", "HoverTextColor"},
    {"ColorBox7", "Цвет текста", "TextColor"},
};

constexpr LookRow kMarkingColours[] = {
    {"ColorBox8", "Выходной", "output"},
    {"ColorBox9", "Праздник", "holiday"},
    {"ColorBox10", "Событие", "event"},
};

constexpr LookRow kWeekend[] = {
    {"CheckBox12", "Суббота выходной день", "Saturday"},
    {"CheckBox22", "Воскресенье выходной день", "Sunday"},
};

} // namespace

std::span<const LookRow> tileColourRows() {
    return kTileColours;
}

std::span<const LookRow> markingColourRows() {
    return kMarkingColours;
}

std::span<const LookRow> weekendRows() {
    return kWeekend;
}

EditorLook readEditorLook(const CalendarFile &file) {
    EditorLook look;
    look.tile.read(file);
    look.marking = Marking::editorDefaults();
    look.marking.read(file);
    return look;
}

void saveLook(CalendarFile &file, const LookSave &look) {
    file.writeString(kIni, QStringLiteral("fontsize"), look.sizeText);
    file.writeString(kIni, QStringLiteral("fontname"), look.fontName);
    for (std::size_t i = 0; i < look.tile.size(); ++i)
        file.writeColor(kIni, QString::fromUtf8(kTileColours[i].key), look.tile[i]);
    for (std::size_t i = 0; i < look.marking.size(); ++i)
        file.writeColor(kIni, QString::fromUtf8(kMarkingColours[i].key), look.marking[i]);
}

} // namespace kalmo::calendar
