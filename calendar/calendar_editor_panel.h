#pragma once

#include "calendar/calendar_file.h"
#include "calendar/editor_days.h"
#include "calendar/editor_home.h"
#include "core/colors.h"
#include "core/dialogs.h"
#include "core/messages.h"
#include "core/program_values.h"

#include <QDate>
#include <QPointer>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLineEdit;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QPushButton;

namespace kalmo::web {
class TFormBrowser;
}

namespace kalmo::calendar {

class ColourBox;
class DayTile;

struct CalendarEditorServices {
    core::ProgramValues &values;
    core::Messages &messages;
    core::Dialogs &dialogs;
    // Today's date for a home whose date control follows today.
    std::function<QDate()> today;
};

// The calendar editor: marks days of the calendar file as events, holidays or days off with a
// text, a picture and an attached document, deletes days, and sets the tile's look, the
// marking colours and the weekend flags. Every change reaches the file at once. The same
// editor serves both homes; `EditorHome` says what differs.
class CalendarEditorPanel : public QWidget {
    Q_OBJECT
public:
    // Why a writing action does nothing while the home has no file open (the settings dialog's
    // loading stopped before it reached the calendar page).
    static inline const QString kNotOpen =
        QStringLiteral("Календарь не загружен: при открытии настроек произошла ошибка. "
                       "Исправьте её, сохраните основные настройки и откройте настройки снова.");

    CalendarEditorPanel(CalendarEditorServices services, EditorHome home,
                        QWidget *parent = nullptr);
    ~CalendarEditorPanel() override;

    // Opening: takes the file at `path` and fills the list and the look controls. The text,
    // picture, file box and preview keep what they held.
    void open(const QString &path);
    // Lets go of the file. The pending day stays pending.
    void release();
    bool isOpen() const { return m_file != nullptr; }

    // The window that shows a day's attached document when the preview is pressed.
    void setDocumentWindow(web::TFormBrowser *window);

    // The administrator's actions, public so tests drive them directly.
    void selectDay(int row); // a click or keyboard move in the date list
    // A choice in the add button's menu. A date already listed is not added again: it takes
    // the kind and is selected.
    void addDay(DayKind kind);
    void saveDay();            // the day-saving button
    void deleteDay();          // the delete button
    void choosePicture();      // "Картинка"
    void chooseFile();         // the file button
    void pressPreview();       // the preview tile
    bool applySizeToPreview(); // the size box's value to the preview; false on a bad number
    void saveLookSettings();   // the look-saving button

    const EditorHome &home() const { return m_home; }
    const CalendarFile *file() const { return m_file.get(); }
    const DayBook &days() const { return m_days; }
    QString picturePath() const;

    QDateEdit *dateControl() const { return m_date; }
    QListWidget *dateList() const { return m_list; }
    QPlainTextEdit *textBox() const { return m_text; }
    QLineEdit *fileBox() const { return m_fileBox; }
    QLineEdit *pictureBox() const { return m_pictureBox; } // the page only
    DayTile *preview() const { return m_tile; }
    QPushButton *addButton() const { return m_add; }
    QMenu *addMenu() const { return m_addMenu; }
    QPushButton *deleteButton() const { return m_delete; }
    QPushButton *saveButton() const { return m_save; }
    QPushButton *fileButton() const { return m_fileButton; }
    QPushButton *pictureButton() const { return m_pictureButton; }
    ColourBox *colourBox(int n) const; // ColorBox1..10
    QComboBox *fontBox() const { return m_font; }
    QLineEdit *sizeBox() const { return m_size; }
    QCheckBox *saturdayBox() const { return m_saturday; }
    QCheckBox *sundayBox() const { return m_sunday; }
    QPushButton *lookSaveButton() const { return m_lookSave; }

signals:
    // A marking colour box changed: the calendar screen paints with these until it reopens.
    void markingColoursChanged(core::ColorCode dayOff, core::ColorCode holiday,
                               core::ColorCode event);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createControls();
    void connectControls();
    void setPicturePath(const QString &path);
    DayContent content() const;
    QString selectedKey() const;
    // Runs one writing action; a refused write is reported and ends it, and so is the lack of
    // an open file. False when it did not run through.
    bool write(const std::function<void()> &action);
    void onMarkingColour(int index);
    void onWeekendBox(int index, bool checked);

    CalendarEditorServices m_s;
    const EditorHome m_home;
    std::unique_ptr<CalendarFile> m_file;
    DayBook m_days;
    std::array<core::ColorCode, 3> m_markingStored{}; // what the file holds
    QString m_picture; // the window's picture path; the page's is its picture box
    QPointer<web::TFormBrowser> m_documents;
    bool m_filling = false; // the program, not the administrator, is setting controls

    QDateEdit *m_date = nullptr;
    QListWidget *m_list = nullptr;
    QPlainTextEdit *m_text = nullptr;
    QLineEdit *m_fileBox = nullptr;
    QLineEdit *m_pictureBox = nullptr;
    DayTile *m_tile = nullptr;
    QPushButton *m_add = nullptr;
    QMenu *m_addMenu = nullptr;
    QPushButton *m_delete = nullptr;
    QPushButton *m_save = nullptr;
    QPushButton *m_fileButton = nullptr;
    QPushButton *m_pictureButton = nullptr;
    std::array<ColourBox *, 10> m_colours{};
    QComboBox *m_font = nullptr;
    QLineEdit *m_size = nullptr;
    QCheckBox *m_saturday = nullptr;
    QCheckBox *m_sunday = nullptr;
    QPushButton *m_lookSave = nullptr;
};

} // namespace kalmo::calendar
