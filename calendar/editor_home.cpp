#include "calendar/editor_home.h"

namespace kalmo::calendar {

EditorHome windowHome() {
    EditorHome h;
    h.kind = EditorHome::Kind::Window;
    h.dateControl = QStringLiteral("DateEdit1");
    h.fileBox = QStringLiteral("Edit2");
    h.saveButton = QStringLiteral("SpeedButton4");
    h.fileButton = QStringLiteral("SpeedButton6");
    h.fontBox = QStringLiteral("ComboBox1");
    h.sizeBox = QStringLiteral("Edit1");
    h.lookSaveButton = QStringLiteral("Button3");
    h.fontLabel = QStringLiteral("Шрифт");
    h.calendarTitle = QStringLiteral("Выберите дату");
    h.addHint = QStringLiteral("Добавляет дату в конец списка");
    h.deleteHint = QStringLiteral("Удаляет выбранную дату");
    h.textColour = Qt::black;
    h.pictureWithoutKey = QStringLiteral(" ");
    h.addResetsPicture = true;
    h.dateFollowsToday = true;
    h.sizeOnLookButtonEntry = true;

    h.size = QSize(974, 483);
    h.date = QRect(8, 16, 166, 24);
    h.list = QRect(8, 56, 169, 329);
    h.text = QRect(288, 5, 330, 200);
    h.file = QRect(288, 211, 330, 21);
    h.tile = QRect(288, 238, 330, 200);
    h.buttonLeft = 192;
    h.buttonSize = QSize(82, 41);
    h.buttonTops = {56, 103, 150, 203, 253};
    h.lookLeft = 671;
    h.colourTops = {8, 33, 58, 83, 110, 136, 160};
    h.fontTop = 188;
    h.sizeTop = 216;
    h.markingLabel = QPoint(679, 243);
    h.markingTops = {262, 290, 318};
    h.saturday = QPoint(8, 400);
    h.sunday = QPoint(8, 423);
    h.lookSave = QRect(672, 370, 145, 38);
    return h;
}

EditorHome pageHome() {
    EditorHome h;
    h.kind = EditorHome::Kind::Page;
    h.dateControl = QStringLiteral("DateTimePicker1");
    h.fileBox = QStringLiteral("Edit134");
    h.pictureBox = QStringLiteral("Edit136");
    h.saveButton = QStringLiteral("SpeedButton3");
    h.fileButton = QStringLiteral("SpeedButton4");
    h.fontBox = QStringLiteral("ComboBox3");
    h.sizeBox = QStringLiteral("Edit135");
    h.lookSaveButton = QStringLiteral("SpeedButton7");
    h.fontLabel = QStringLiteral("Тип шрифта");
    h.dateHint = QStringLiteral("Выберите дату для события, \nпраздника или выходного дня.");
    h.addHint = QStringLiteral("Добавляет новое событие");
    h.deleteHint = QStringLiteral("Удаляет выбранное в списке событие");
    h.saveHint = QStringLiteral("Сохраняет изменения в текущем,\n выбранном событии.");
    h.fileHint = QStringLiteral(
        "Позволяет добавить файл с дополнительной \nинформацией к текущему событию.");
    h.pictureHint = QStringLiteral("Добавляет фоновую картинку\nк текущему событию.");
    h.textColour = Qt::white;
    h.pictureWithoutKey = QString();

    h.size = QSize(890, 490);
    h.date = QRect(3, 18, 121, 24);
    h.list = QRect(3, 45, 110, 407);
    h.text = QRect(240, 19, 330, 200);
    h.file = QRect(240, 225, 330, 21);
    h.picture = QRect(240, 252, 330, 21);
    h.tile = QRect(240, 274, 330, 200);
    h.buttonLeft = 130;
    h.buttonSize = QSize(89, 41);
    h.buttonTops = {64, 111, 158, 205, 252};
    h.lookLeft = 592;
    h.colourTops = {18, 43, 68, 93, 120, 146, 170};
    h.fontTop = 198;
    h.sizeTop = 225;
    h.markingLabel = QPoint(620, 252);
    h.markingTops = {271, 299, 327};
    h.saturday = QPoint(592, 355);
    h.sunday = QPoint(592, 378);
    h.lookSave = QRect(593, 428, 145, 46);
    return h;
}

} // namespace kalmo::calendar
