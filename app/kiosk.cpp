#include "app/kiosk.h"

#include "admin/access_window.h"
#include "admin/password_dlg.h"
#include "admin/settings_dialog.h"
#include "app/timer_interval.h"
#include "app/widget_dialogs.h"
#include "app/widget_messages.h"
#include "calendar/calendar_editor.h"
#include "calendar/calendar_window.h"
#include "core/ini_file.h"
#include "core/theme.h"
#include "fleet/fleet_service.h"
#include "fleet/kiosk_name.h"
#include "photo/photo_window.h"
#include "schedule/schedule_window.h"
#include "video/video_window.h"
#include "web/form_browser.h"
#include "web/web_browser.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFont>
#include <QGuiApplication>
#include <QSysInfo>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace kalmo::app {

namespace {

#ifdef __GLIBC__
constexpr int kPictureMmapThreshold = 256 * 1024;
#endif

// What the settings dialog's save and theme change do to the main screen.
admin::MainScreenHooks mainScreenHooks(TForm1 &form, core::ProgramValues &values) {
    admin::MainScreenHooks hooks;
    hooks.setRereadInterval = [&form](qint64 ms) {
        applyTimerInterval(form.rereadTimer(), ms, "time/readsetting");
    };
    hooks.applyFontsAndSiteCaption = [&form] { form.applySavedFonts(); };
    hooks.reloadRunningText = [&form] { form.reloadRunningText(); };
    hooks.rebuildPhotoList = [&form] { form.rebuildPhotoList(); };
    hooks.applyTheme = [&form, &values](const QString &name) {
        values.theme = name;
        form.applyTheme();
    };
    return hooks;
}

} // namespace

Kiosk::Kiosk(const Options &options) {
#ifdef __GLIBC__
    // Pictures (decoded photos, transition frames) are megabytes each and come and go with
    // every photo, on several threads. Above glibc's adaptive threshold they would be carved
    // from per-thread heaps that never shrink; mapped on their own they go back at once, so a
    // slideshow running for months keeps a flat footprint.
    mallopt(M_MMAP_THRESHOLD, kPictureMmapThreshold);
#endif
    m_values.baseFolder = options.baseFolder;
    m_values.programDataFolder = options.programDataFolder;
    // The dialogs' face is Tahoma, which Linux rarely has; fontconfig would pick the far wider
    // DejaVu Sans and the labels beside the controls would be cut off.
    QFont::insertSubstitution(QStringLiteral("Tahoma"), QStringLiteral("Liberation Sans"));
    if (!options.showCursor && qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        // Application-wide, so every window the kiosk opens later hides it too.
        QGuiApplication::setOverrideCursor(Qt::BlankCursor);
        m_cursorHidden = true;
    }
    m_surface = std::make_unique<Surface>(options.screenSize);
    QWidget *const surface = m_surface.get();
    if (options.messages) {
        m_messages = options.messages;
    } else {
        m_ownMessages = std::make_unique<WidgetMessages>(m_surface->overlays());
        m_messages = m_ownMessages.get();
    }
    if (options.clock) {
        m_clock = options.clock;
    } else {
        m_ownClock = std::make_unique<core::SystemClock>();
        m_clock = m_ownClock.get();
    }
    m_random.seed(options.randomSeed
                      ? options.randomSeed
                      : static_cast<std::uint64_t>(QDateTime::currentMSecsSinceEpoch()));
    m_idle = std::make_unique<core::IdleClock>(*m_clock);
    if (QCoreApplication *app = QCoreApplication::instance())
        app->installEventFilter(m_idle.get());
    m_settings = std::make_unique<SettingsFiles>(m_values, *m_messages);

    const web::BrowserFactory browsers =
        options.browserFactory ? options.browserFactory : web::createWebBrowser;
    m_form1 = std::make_unique<TForm1>(
        MainWindowServices{m_values, *m_settings, *m_messages, *m_clock, *m_idle, m_random,
                           options.screenSize, browsers, options.synchronousFiles});
    m_surface->setPage(m_form1.get());
    // Secondary windows stay hidden until a main-screen handler opens them.
    if (options.dialogs) {
        m_dialogs = options.dialogs;
    } else {
        m_ownDialogs = std::make_unique<WidgetDialogs>(m_surface->overlays());
        m_dialogs = m_ownDialogs.get();
    }
    m_form3 = std::make_unique<admin::TForm3>(m_values, *m_messages, *m_dialogs,
                                              mainScreenHooks(*m_form1, m_values), surface);
    m_form4 = std::make_unique<admin::TForm4>(m_values, *m_form3, surface);
    auto form6 = std::make_unique<video::TForm6>(video::VideoServices{m_values, *m_messages,
                                                                      *m_idle, options.screenSize,
                                                                      options.mediaPlayers},
                                                 surface);
    auto form5 = std::make_unique<photo::TForm5>(
        photo::PhotoViewerServices{m_values, *m_messages, *m_idle, options.screenSize}, surface);
    if (options.synchronousFiles) {
        form6->folderJobs().setSynchronous(true);
        form5->decoder().folderJobs().setSynchronous(true);
    }
    m_formBrowser = std::make_unique<web::TFormBrowser>(
        *m_idle, [this] { return m_values.pageSeconds; }, browsers, surface);
    m_formBrowser->setBaseFolder(m_values.baseFolder);
    auto formCalendar = std::make_unique<calendar::TFormCalendar>(
        calendar::CalendarScreenServices{m_values, *m_clock, *m_idle, options.screenSize}, surface);
    formCalendar->setDocumentWindow(m_formBrowser.get());
    // The editor window works where the calendar screen last looked for its file.
    auto formCalendarSetting = std::make_unique<calendar::TFormCalendarSetting>(
        calendar::CalendarEditorServices{m_values, *m_messages, *m_dialogs,
                                         [this] { return m_clock->now().date(); }},
        [screen = formCalendar.get()] { return screen->dataFolder(); }, surface);
    formCalendarSetting->editor().setDocumentWindow(m_formBrowser.get());
    m_form3->calendarEditor().setDocumentWindow(m_formBrowser.get());
    auto myRaspisanie = std::make_unique<schedule::TMyRaspisanie>(
        schedule::ScheduleServices{
            m_values, *m_clock, *m_idle, browsers, options.screenSize,
            [this](const QDate &day) { return m_power && m_power->isDayOff(day); }},
        surface);
    m_passwordDlg = std::make_unique<admin::TPasswordDlg>(m_values, *m_messages, surface);

    // Each a child overlay of the surface; the small dialogs stand in its middle.
    using Placement = OverlayStack::Placement;
    OverlayStack &overlays = m_surface->overlays();
    overlays.add(m_form3.get(), OverlayStack::Layer::Screen, Placement::Centred);
    overlays.add(m_form4.get(), OverlayStack::Layer::Screen, Placement::Centred);
    overlays.add(form6.get());
    overlays.add(form5.get());
    overlays.add(m_formBrowser.get());
    overlays.add(formCalendar.get());
    overlays.add(formCalendarSetting.get(), OverlayStack::Layer::Screen, Placement::Centred);
    overlays.add(myRaspisanie.get());
    overlays.add(m_passwordDlg.get(), OverlayStack::Layer::Screen, Placement::Centred);

    m_windows.form3 = m_form3.get();
    m_windows.form4 = m_form4.get();
    m_windows.form6 = form6.get();
    m_windows.form5 = form5.get();
    m_windows.formBrowser = m_formBrowser.get();
    m_windows.formCalendar = formCalendar.get();
    m_windows.formCalendarSetting = formCalendarSetting.get();
    m_windows.myRaspisanie = myRaspisanie.get();
    m_windows.passwordDlg = m_passwordDlg.get();
    m_form6 = std::move(form6);
    m_form5 = std::move(form5);
    m_formCalendar = std::move(formCalendar);
    m_formCalendarSetting = std::move(formCalendarSetting);
    m_myRaspisanie = std::move(myRaspisanie);

    m_form1->setWindows(m_windows);
    QObject::connect(m_windows.formCalendar, &calendar::TFormCalendar::editorRequested,
                     m_windows.formCalendarSetting, &QDialog::open);
    // Both homes of the calendar editor repaint the calendar's marked days at once.
    for (calendar::CalendarEditorPanel *editor :
         {&m_windows.formCalendarSetting->editor(), &m_form3->calendarEditor()})
        QObject::connect(editor, &calendar::CalendarEditorPanel::markingColoursChanged,
                         m_windows.formCalendar, &calendar::TFormCalendar::setMarkingColours);
    QObject::connect(m_passwordDlg.get(), &admin::TPasswordDlg::closeProgramRequested,
                     m_form1.get(), &TForm1::closeProgram);

    m_power = std::make_unique<KioskPower>(
        KioskPower::Parts{*m_form1, m_windows, m_values, *m_clock, *m_idle, m_surface->overlays(),
                          options.desktopPower});
    QObject::connect(m_form1.get(), &TForm1::rereadFinished, m_power.get(), [this](bool applied) {
        if (applied)
            m_power->reload();
    });
    startFleet(options);
}

void Kiosk::startFleet(const Options &options) {
    // The pointer file lies beside the program, never on the share; the name is not written
    // there, so a kiosk copied from another keeps its own host name.
    const QString configured =
        core::IniFile(m_settings->pointerPath(), core::IniFile::Mode::Snapshot)
            .readString(QStringLiteral("kiosk"), QStringLiteral("name"));
    const QString host =
        options.hostName.isEmpty() ? QSysInfo::machineHostName() : options.hostName;
    fleet::FleetServices services{fleet::kioskName(configured, host),
                                  options.version.isEmpty() ? QCoreApplication::applicationVersion()
                                                            : options.version,
                                  *m_clock,
                                  [this] { return m_values.dataFolder(); },
                                  [this] { return shownScreen(*m_form1, m_windows); },
                                  [this] { return photoOnScreen(*m_form1); },
                                  options.lastProblem,
                                  QRect(QPoint(0, 0), options.screenSize),
                                  fleet::defaultScreenSource(m_surface.get())};
    m_fleet = std::make_unique<fleet::FleetService>(std::move(services));
    // Above every screen and message box; its input guard keeps the keys from them too.
    m_surface->overlays().add(&m_fleet->overlay(), OverlayStack::Layer::Top);
    QObject::connect(m_fleet.get(), &fleet::FleetService::noticeShown, m_form1.get(),
                     [this] { m_noticeHold.hold(*m_form1, m_windows); });
    QObject::connect(m_fleet.get(), &fleet::FleetService::noticeGone, m_form1.get(),
                     [this] { m_noticeHold.release(*m_form1, m_windows); });
    // The notice wakes a sleeping kiosk for as long as it stands.
    QObject::connect(m_fleet.get(), &fleet::FleetService::noticeShown, m_power.get(),
                     [this] { m_power->setHeldAwake(true); });
    QObject::connect(m_fleet.get(), &fleet::FleetService::noticeGone, m_power.get(),
                     [this] { m_power->setHeldAwake(false); });
    // A sleeping kiosk reports itself off, so the fleet page does not count it as lost.
    m_fleet->setAsleep(m_power->asleep());
    QObject::connect(m_power.get(), &KioskPower::asleepChanged, m_fleet.get(),
                     &fleet::FleetService::setAsleep);
    m_fleet->start();
}

// Members go in reverse order of creation: the secondary windows before the main window.
Kiosk::~Kiosk() {
    if (m_cursorHidden)
        QGuiApplication::restoreOverrideCursor();
}

} // namespace kalmo::app
