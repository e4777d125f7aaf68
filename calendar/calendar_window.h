#pragma once

#include "calendar/calendar_file.h"
#include "calendar/month_layout.h"
#include "calendar/tile_look.h"
#include "core/clock.h"
#include "core/idle_clock.h"
#include "core/program_values.h"
#include "core/worker_read.h"

#include <QDate>
#include <QDialog>
#include <QHash>
#include <QPointer>
#include <QSet>
#include <QSize>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>

class QLabel;
class QPushButton;
class QTableWidget;

namespace kalmo::web {
class TFormBrowser;
}

namespace kalmo::calendar {

class DayTile;

// What the calendar screen is handed by the application.
struct CalendarScreenServices {
    core::ProgramValues &values;
    const core::Clock &clock;
    core::IdleClock &idle;
    QSize screenSize;
};

// What an opening of the screen reads: the calendar file's snapshot and the folder it lies
// in. Touches only the files, so it runs on a worker (the folder may be a share that hangs).
struct CalendarScreenData {
    QString dataFolder;
    std::shared_ptr<const CalendarFile> file; // null when it could not be read
    QString problem;                          // why not
};
CalendarScreenData readCalendarScreenData(const core::ProgramValues &values);

// The fill a grid cell gets over the grid's own drawing, or none. `kind` is the marked day's
// `eventday` when the cell's date is marked.
std::optional<core::ColorCode> cellFill(const QString &text, int row, int column,
                                        const Marking &marking, std::optional<int> kind);

// The event calendar: a full-screen month grid with marked days filled in their colours and
// the day tile beside a touched marked day.
class TFormCalendar : public QDialog {
    Q_OBJECT
public:
    explicit TFormCalendar(CalendarScreenServices services, QWidget *parent = nullptr);
    ~TFormCalendar() override;

    // Steps of the screen, public so tests drive them directly.
    void runOpening();
    void goToToday();
    void showNextMonth();     // SpeedButton1
    void showPreviousMonth(); // SpeedButton2
    void selectCell(int row, int column);
    void pressTile();
    void onTileTimer(); // Timer1
    void onIdleTick();  // Timer2
    void closeScreen(); // "Закрыть"

    // The window that shows a day's attached file; while it is up, this screen's idle close
    // waits.
    void setDocumentWindow(web::TFormBrowser *window);
    // The document window holds off the idle close while it is shown.
    void pauseIdle();
    void resumeIdle();
    // The editor's marking colour boxes paint the grid at once.
    void setMarkingColours(core::ColorCode dayOff, core::ColorCode holiday, core::ColorCode event);

    const QDate &shownDate() const { return m_shown; }
    const Marking &marking() const { return m_marking; }
    const QString &attachmentPath() const { return m_attachment; }
    QString dataFolder() const { return m_dataFolder; }
    std::optional<core::ColorCode> fillAt(int row, int column) const;

    QTableWidget *grid() const { return m_grid; }
    DayTile *tile() const { return m_tile; }
    QLabel *title() const { return m_title; }
    QLabel *todayLabel() const { return m_today; }
    QPushButton *nextButton() const { return m_next; }
    QPushButton *previousButton() const { return m_previous; }
    QPushButton *closeButton() const { return m_close; }
    QTimer &tileTimer() { return m_timer1; }
    QTimer &idleTimer() { return m_timer2; }

signals:
    // Ctrl+F3: the calendar editor window.
    void editorRequested();
    // The read an opening started has ended; `applied` when its snapshot is in use, false
    // when the file could not be read (the screen keeps the last one it read).
    void snapshotRead(bool applied);
    // The picture of the tile shown has been read (or found missing).
    void tilePictureRead();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createControls();
    // Shows the month of `month` with its navigation captions (one blank in the title).
    void showMonth(const QDate &month);
    void fillGrid();
    void takeSnapshot(const CalendarScreenData &data);
    void logProblem(const QString &problem);
    void hideTile();
    QString cellKey(int row, int column) const;

    CalendarScreenServices m_s;
    QDate m_shown;
    QString m_dataFolder;
    // The last snapshot read; kept after a closing, so an opening while the share hangs
    // shows the days it knew.
    std::shared_ptr<const CalendarFile> m_snapshot;
    core::WorkerRead<CalendarScreenData> m_read;
    core::WorkerRead<QImage> m_pictureRead;
    QString m_tileKey;       // the day whose tile shows
    QString m_problem;       // the last read problem logged
    QSet<QString> m_marked;  // section names, lower case
    QHash<int, int> m_kinds; // day of the shown month -> `eventday`
    Marking m_marking;
    QString m_attachment;
    QPointer<web::TFormBrowser> m_documents;
    bool m_filling = false;

    QPushButton *m_previous = nullptr; // SpeedButton2
    QLabel *m_title = nullptr;         // StaticText1
    QPushButton *m_next = nullptr;     // SpeedButton1
    QPushButton *m_close = nullptr;    // SpeedButton3
    QTableWidget *m_grid = nullptr;    // StringGrid1
    QLabel *m_today = nullptr;         // StaticText2
    DayTile *m_tile = nullptr;         // AdvMetroTile1
    QTimer m_timer1;
    QTimer m_timer2;
    int m_lineWidth = 4;
};

} // namespace kalmo::calendar
