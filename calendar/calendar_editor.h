#pragma once

#include "calendar/calendar_editor_panel.h"

#include <QDialog>
#include <functional>

namespace kalmo::calendar {

// The calendar editor's own window, opened modally from the calendar screen with Ctrl+F3.
// Each showing opens the calendar file in the folder the calendar screen uses; closing lets
// go of it.
class TFormCalendarSetting : public QDialog {
    Q_OBJECT
public:
    // `dataFolder` gives the folder of dateini.ini (ending in '/') at each opening.
    TFormCalendarSetting(CalendarEditorServices services, std::function<QString()> dataFolder,
                         QWidget *parent = nullptr);

    CalendarEditorPanel &editor() const { return *m_editor; }

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    std::function<QString()> m_dataFolder;
    CalendarEditorPanel *m_editor;
};

} // namespace kalmo::calendar
