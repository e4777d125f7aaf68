#pragma once

#include "app/kiosk_power.h"
#include "app/main_window.h"
#include "app/settings_files.h"
#include "app/shown_screen.h"
#include "app/surface.h"
#include "app/window_set.h"
#include "core/clock.h"
#include "core/dialogs.h"
#include "core/idle_clock.h"
#include "core/messages.h"
#include "core/program_values.h"
#include "core/random.h"
#include "video/media_player.h"

#include <QSize>
#include <functional>
#include <memory>

namespace kalmo::admin {
class TForm3;
class TForm4;
class TPasswordDlg;
} // namespace kalmo::admin

namespace kalmo::web {
class TFormBrowser;
}

namespace kalmo::fleet {
class FleetService;
}

namespace kalmo::app {

// The whole program: the program-wide values and the ten windows, created once in order, in
// one surface: the main screen is its page, the others its overlays.
class Kiosk {
public:
    struct Options {
        QString baseFolder;                     // ends with '/'
        QString programDataFolder;              // the shipped pictures; ends with '/'
        QSize screenSize;                       // the screen to fill
        core::Messages *messages = nullptr;     // defaults to on-screen boxes
        core::Dialogs *dialogs = nullptr;       // defaults to on-screen file dialogs
        const core::Clock *clock = nullptr;     // defaults to the system clock
        std::uint64_t randomSeed = 0;           // defaults to a seed from the clock
        web::BrowserFactory browserFactory;     // defaults to the embedded Chromium
        video::MediaPlayerFactory mediaPlayers; // defaults to libvlc
        // The mouse pointer on the kiosk's windows: hidden unless the kiosk is driven by a
        // mouse (--show-cursor).
        bool showCursor = false;
        // The photo and video folders' listings and checks, and the main screen's decodes,
        // on the calling thread (tests: each step is one call). The viewer's decodes stay
        // on its pool.
        bool synchronousFiles = false;
        QString version; // reported to the fleet; defaults to the application's version
        // The program's last warning or error, for the fleet's heartbeat.
        std::function<QString()> lastProblem;
        // The kiosk's name when none is set in the pointer file: the host name by default.
        QString hostName;
        // The display's power and the desktop's screen saver follow the kiosk's sleep (the
        // program sets it; tests leave the desktop alone).
        bool desktopPower = false;
    };

    explicit Kiosk(const Options &options);
    ~Kiosk();

    // The one top-level window; showing it shows the kiosk.
    Surface &surface() { return *m_surface; }
    TForm1 &mainWindow() { return *m_form1; }
    const WindowSet &windows() const { return m_windows; }
    core::ProgramValues &values() { return m_values; }
    fleet::FleetService &fleet() { return *m_fleet; }
    // Sleeping and waking; the urgent notice holds it awake through setHeldAwake().
    KioskPower &power() { return *m_power; }

private:
    void startFleet(const Options &options);

    core::ProgramValues m_values;
    bool m_cursorHidden = false;
    // Before everything shown in it, so it goes last.
    std::unique_ptr<Surface> m_surface;
    std::unique_ptr<core::Messages> m_ownMessages;
    core::Messages *m_messages;
    std::unique_ptr<core::Dialogs> m_ownDialogs;
    core::Dialogs *m_dialogs;
    std::unique_ptr<core::Clock> m_ownClock;
    const core::Clock *m_clock;
    core::Random m_random;
    std::unique_ptr<core::IdleClock> m_idle;
    std::unique_ptr<SettingsFiles> m_settings;

    // Created in this order, destroyed in reverse.
    std::unique_ptr<TForm1> m_form1;
    std::unique_ptr<admin::TForm3> m_form3;
    std::unique_ptr<admin::TForm4> m_form4;
    std::unique_ptr<QDialog> m_form6;
    std::unique_ptr<QDialog> m_form5;
    std::unique_ptr<web::TFormBrowser> m_formBrowser;
    std::unique_ptr<QDialog> m_formCalendar;
    std::unique_ptr<QDialog> m_formCalendarSetting;
    std::unique_ptr<QDialog> m_myRaspisanie;
    std::unique_ptr<admin::TPasswordDlg> m_passwordDlg;
    WindowSet m_windows;
    NoticeHold m_noticeHold;
    std::unique_ptr<fleet::FleetService> m_fleet;
    std::unique_ptr<KioskPower> m_power;
};

} // namespace kalmo::app
