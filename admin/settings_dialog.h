#pragma once

#include "admin/dialog_files.h"
#include "admin/general_page.h"
#include "admin/main_screen_hooks.h"
#include "core/dialogs.h"
#include "core/messages.h"
#include "core/program_values.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class QTabWidget;

namespace kalmo::calendar {
class CalendarEditorPanel;
}

namespace kalmo::schedule {
class BellEditor;
class SectionsEditor;
} // namespace kalmo::schedule

namespace kalmo::admin {

// The administrator's settings dialog: the general page and the calendar, schedule and bell
// pages, over the four settings files fixed at each showing.
class TForm3 : public QDialog {
    Q_OBJECT
public:
    TForm3(core::ProgramValues &values, core::Messages &messages, core::Dialogs &dialogs,
           MainScreenHooks hooks, QWidget *parent = nullptr);
    ~TForm3() override;

    // Loads every page from the files and shows the dialog modally.
    void openDialog();
    // Closing, however it is asked for: unsaved general settings are dropped, the pages let
    // go of their files, and the main screen is in front again.
    void reject() override;

    QTabWidget *pages() const { return m_pages; }
    GeneralPage &generalPage() const { return *m_general; }
    QWidget *calendarPage() const { return m_calendarPage; }
    calendar::CalendarEditorPanel &calendarEditor() const { return *m_calendarEditor; }
    QWidget *schedulePage() const { return m_schedulePage; }
    QWidget *bellPage() const { return m_bellPage; }
    schedule::BellEditor &bellEditor() const { return *m_bellEditor; }
    schedule::SectionsEditor &sectionsEditor() const { return *m_sectionsEditor; }
    QCheckBox *scheduleViewBox() const { return m_scheduleView; }
    const DialogFiles &files() const { return m_general->files(); }

private:
    // A page filled from its file at each showing and emptied at each closing.
    struct PageHooks {
        std::function<void(const DialogFiles &)> load;
        std::function<void()> close;
    };

    void load();
    void createPages();

    core::ProgramValues &m_values;
    core::Messages &m_messages;
    core::Dialogs &m_dialogs;
    QTabWidget *m_pages;
    GeneralPage *m_general;
    QWidget *m_calendarPage = nullptr;
    calendar::CalendarEditorPanel *m_calendarEditor = nullptr;
    QWidget *m_schedulePage = nullptr;
    QWidget *m_bellPage = nullptr;
    schedule::BellEditor *m_bellEditor = nullptr;
    schedule::SectionsEditor *m_sectionsEditor = nullptr;
    QCheckBox *m_scheduleView = nullptr;
    PageHooks m_calendarHooks, m_scheduleHooks, m_bellHooks;
};

} // namespace kalmo::admin
