#pragma once

#include "core/clock.h"
#include "core/idle_clock.h"
#include "core/ini_file.h"
#include "core/program_values.h"
#include "core/worker_read.h"
#include "schedule/flow_panel.h"
#include "schedule/schedule_files.h"
#include "schedule/unavailable_page.h"
#include "web/browser.h"

#include <QDialog>
#include <QList>
#include <QSize>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>

class QLabel;
class QPushButton;

namespace kalmo::schedule {

// What the schedule screen is handed by the application.
struct ScheduleServices {
    core::ProgramValues &values;
    const core::Clock &clock;
    core::IdleClock &idle;
    web::BrowserFactory browserFactory;
    QSize screenSize; // the screen the kiosk fills; empty means the primary screen
    // Days without lessons (days off, holidays, weekend days); none when empty.
    std::function<bool(const QDate &)> isDayOff = {};
};

// What an opening of the schedule screen reads: the schedule file and the main settings
// file (for the bell table) as snapshots. Touches only the files, so it runs on a worker
// (the folder may be a share that hangs). A file that could not be read is null, and its
// problem says why.
struct ScheduleScreenData {
    std::shared_ptr<const core::IniFile> schedule;
    std::shared_ptr<const core::IniFile> settings;
    QString scheduleProblem;
    QString settingsProblem;
};
ScheduleScreenData readScheduleScreenData(const QString &schedulePath, const QString &settingsPath);

// The class schedule screen: departments and their groups as buttons, a group's schedule
// document in the embedded browser, the bell list and the countdown to the next bell.
// Created once at program start; each showing builds its buttons from the files and each
// closing frees them.
class TMyRaspisanie : public QDialog {
    Q_OBJECT
public:
    // The most the screen shows; the rest is left out and logged.
    static constexpr int kMaxDepartments = 39;
    static constexpr int kMaxGroups = 40;
    static constexpr int kMaxLessons = 20;

    enum class View { Departments, Groups, Document };

    explicit TMyRaspisanie(ScheduleServices services, QWidget *parent = nullptr);
    ~TMyRaspisanie() override;

    // The bell list and the countdown line; the main screen shows or hides them before opening.
    QWidget *bellList() const { return m_flowPanel2; }
    QLabel *countdown() const { return m_label1; }

    // Timer handlers, public so that tests drive them with an injected clock.
    void onClockTick();     // Timer1, from program start
    void onCountdownTick(); // Timer2, from program start
    void onIdleTick();      // Timer3, while shown

    // What the buttons do.
    void showDepartment(int n); // a department button
    void backToDepartments();   // "Назад"
    void openGroup(int k);      // a group button of the current department
    void previousGroup();       // Button27
    void nextGroup();           // Button28
    void closeDocument();       // "ЗАКРЫТЬ"

    View view() const { return m_view; }
    int currentDepartment() const { return m_department; }
    int currentGroup() const { return m_group; }
    const QList<Group> &groupTable() const { return m_groups; }
    const BellTable &bellTable() const { return m_bells; }

    QLabel *datePanel() const { return m_panel1; }
    QLabel *timePanel() const { return m_panel2; }
    QLabel *groupTitle() const { return m_panel4; }
    QPushButton *mainMenuButton() const { return m_mainMenu; }
    QPushButton *closeButton() const { return m_closeDoc; }
    QPushButton *backButton() const { return m_back; }
    QPushButton *previousButton() const { return m_previous; }
    QPushButton *nextButton() const { return m_next; }
    FlowPanel *departmentPanel() const { return m_flowPanel1; }
    // Group panel of department n (1-based), while the screen is open.
    FlowPanel *groupPanel(int n) const { return m_groupPanels.value(n - 1); }
    web::Browser *browser() const { return m_browser.browser(); }
    QTimer *clockTimer() { return &m_timer1; }
    QTimer *countdownTimer() { return &m_timer2; }
    QTimer *idleTimer() { return &m_timer3; }

    // The check of the document asked for (on a worker) has not answered yet.
    bool documentPending() const { return m_documentCheck.busy(); }
    // Shown in place of the department buttons while the screen has no schedule at all.
    QLabel *unavailableLine() const { return m_unavailableLine; }

signals:
    // The read an opening started has ended; `applied` when both files were read and the
    // screen built from them, false when one could not be read (the screen keeps what it
    // read last).
    void filesRead(bool applied);

protected:
    void showEvent(QShowEvent *event) override;
    void done(int result) override;

private:
    void placeControls();
    void applyMainFont();
    void runOpeningSteps();
    void takeFiles(const ScheduleScreenData &data);
    void logProblem(const QString &problem);
    void buildDepartments();
    void buildBellList();
    void runClosingSteps();
    void freeDynamicControls();
    void showGroup(int k);
    void loadDocument(const QString &value);
    void checkDocument();
    void showUnavailable();
    void setCaption(QLabel *label, const QString &text);
    QPushButton *makeButton(const QString &caption, const QString &name, QWidget *parent);

    ScheduleServices m_s;
    QSize m_screen;
    QFont m_mainFont;

    QLabel *m_panel1;        // date
    QLabel *m_panel2;        // time
    FlowPanel *m_flowPanel2; // bell list
    QLabel *m_label1;        // countdown line
    QPushButton *m_mainMenu; // SpeedButton1 "Главное меню"
    QPushButton *m_closeDoc; // Button26 "ЗАКРЫТЬ"
    QPushButton *m_back;     // SpeedButton2 "Назад"
    FlowPanel *m_flowPanel1; // department buttons
    QLabel *m_panel4;        // group title bar
    QPushButton *m_previous; // Button27
    QPushButton *m_next;     // Button28

    QTimer m_timer1;
    QTimer m_timer2;
    QTimer m_timer3;

    QLabel *m_unavailableLine;

    // The files as last read; kept after a closing, so an opening while the share hangs
    // shows what the screen knew.
    std::shared_ptr<const core::IniFile> m_snapshot;
    std::shared_ptr<const core::IniFile> m_settingsSnapshot;
    core::WorkerRead<ScheduleScreenData> m_read;
    QString m_problem; // the last read problem logged
    QList<FlowPanel *> m_groupPanels;
    BellTable m_bells; // kept between showings: the countdown runs on
    View m_view = View::Departments;
    int m_department = 0;
    int m_group = 0;
    QList<Group> m_groups;

    web::BrowserSlot m_browser;
    UnavailablePage m_unavailable;
    bool m_awaitingDocument = false; // the document asked for has not finished loading
    QString m_documentWanted;        // the document of the group shown
    core::WorkerRead<bool> m_documentCheck;
};

} // namespace kalmo::schedule
