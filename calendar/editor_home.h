#pragma once

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <array>

namespace kalmo::calendar {

// Where the calendar editor lives and what differs between its two homes: the standalone
// window opened from the calendar screen and the calendar page of the settings dialog. The
// behaviour is the same; names, captions, hints, places and a few values are not.
struct EditorHome {
    enum class Kind { Window, Page };
    Kind kind = Kind::Window;

    // Object names.
    QString dateControl;    // DateEdit1 / DateTimePicker1
    QString fileBox;        // Edit2 / Edit134
    QString pictureBox;     // empty: the picture path is held, not shown
    QString saveButton;     // the day-saving button
    QString fileButton;     // "Файл доп. информации"
    QString fontBox;        // ComboBox1 / ComboBox3
    QString sizeBox;        // Edit1 / Edit135
    QString lookSaveButton; // Button3 / SpeedButton7

    QString fontLabel;     // "Шрифт" / "Тип шрифта"
    QString calendarTitle; // of the date control's drop-down calendar
    QString dateHint, addHint, deleteHint, saveHint, fileHint, pictureHint;
    QColor textColour; // of the text box, on the button-face colour

    // The picture path of a selected day that has no `image` key.
    QString pictureWithoutKey;
    // Add gives the editor the program's event picture (the window) or leaves the path alone.
    bool addResetsPicture = false;
    // The window's date control shows today at every opening; the page's is never set.
    bool dateFollowsToday = false;
    // The size box's value reaches the preview also when the look-saving button is entered.
    bool sizeOnLookButtonEntry = false;

    // Layout, in pixels.
    QSize size;
    QRect date, list, text, file, picture, tile;
    int buttonLeft = 0;
    QSize buttonSize;
    std::array<int, 5> buttonTops{}; // add, delete, save, file, picture
    int lookLeft = 0;
    int lookWidth = 145;
    std::array<int, 7> colourTops{};
    int fontTop = 0;
    int sizeTop = 0;
    QPoint markingLabel;
    std::array<int, 3> markingTops{};
    QPoint saturday, sunday;
    QRect lookSave;
};

EditorHome windowHome();
EditorHome pageHome();

// The date the page's date control starts each run with.
inline constexpr int kPageStartYear = 2017, kPageStartMonth = 2, kPageStartDay = 3;

} // namespace kalmo::calendar
