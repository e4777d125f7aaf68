#pragma once

#include "app/main_layout.h"
#include "app/settings_files.h"
#include "app/window_set.h"
#include "core/clock.h"
#include "core/idle_clock.h"
#include "core/messages.h"
#include "core/program_values.h"
#include "core/random.h"

#include <QSize>
#include <QTimer>
#include <QWidget>

class QFrame;
class QLabel;
class QPushButton;
class QToolButton;

namespace kalmo::app {

// What the main window is handed by the application.
struct MainWindowServices {
    core::ProgramValues &values;
    SettingsFiles &settings;
    core::Messages &messages;
    const core::Clock &clock;
    core::IdleClock &idle;
    core::Random &random;
    QSize screenSize; // the screen the kiosk fills
};

// The main kiosk screen: clock, weather, photos, running text and the large buttons.
class TForm1 : public QWidget {
    Q_OBJECT
public:
    explicit TForm1(MainWindowServices services, QWidget *parent = nullptr);
    ~TForm1() override;

    void setWindows(const WindowSet &windows) { m_windows = windows; }

    // Ends the program: the only path that really closes the window.
    void closeProgram();

    // Timer handlers, public so that tests drive them with an injected clock.
    void onClockTick();  // Timer2
    void onRereadTick(); // Timer9

    // Key combinations of the main screen.
    void openAccessWindow(); // Ctrl+F3
    void openCloseDialog();  // Alt+F4 or a close request

    const MainLayout &layoutRules() const { return m_layout; }
    QTimer &rereadTimer() { return m_timer9; }
    QTimer &clockTimer() { return m_timer2; }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void createControls();
    void applyLayout();
    void applyCaptionsAndFonts(bool reread);
    void applyTheme();
    QFont buttonFont(int pointSize) const;

    MainWindowServices m_s;
    core::ProgramValues &m_values;
    WindowSet m_windows;
    MainLayout m_layout;
    bool m_weatherShown = false;
    bool m_closing = false;

    QLabel *m_panel3 = nullptr; // date
    QLabel *m_label1 = nullptr; // site caption on the date panel
    QLabel *m_panel1 = nullptr; // time
    QPushButton *m_speedButton10 = nullptr;
    QPushButton *m_button21 = nullptr;
    QPushButton *m_button22 = nullptr;
    QPushButton *m_raspisanie1 = nullptr;
    QPushButton *m_raspisanie3 = nullptr;
    QFrame *m_panel4 = nullptr;
    QFrame *m_panel2 = nullptr;
    QWidget *m_picShow1 = nullptr;
    QLabel *m_label2 = nullptr;
    QLabel *m_staticText2 = nullptr;
    QPushButton *m_button26 = nullptr;
    QToolButton *m_speedButton1 = nullptr;
    QToolButton *m_speedButton2 = nullptr;
    QToolButton *m_speedButton3 = nullptr;

    QTimer m_timer2; // clock
    QTimer m_timer9; // settings re-read
};

} // namespace kalmo::app
