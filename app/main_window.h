#pragma once

#include "app/main_layout.h"
#include "app/photo_loader.h"
#include "app/settings_files.h"
#include "app/slideshow.h"
#include "app/window_set.h"
#include "core/clock.h"
#include "core/idle_clock.h"
#include "core/messages.h"
#include "core/program_values.h"
#include "core/random.h"
#include "core/swipe_detector.h"
#include "core/worker_read.h"
#include "web/browser.h"

#include <QSize>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <optional>

class QFrame;
class QLabel;
class QPushButton;
class QToolButton;

namespace kalmo::transitions {
class TPicShow;
}
namespace kalmo::ticker {
class TScrollingText;
}
namespace kalmo::weather {
class WeatherInformer;
}
namespace kalmo::web {
class SiteView;
}

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
    web::BrowserFactory browserFactory;
    bool synchronousFiles = false; // photo folder work on the calling thread (tests)
};

// The main kiosk screen: clock, weather, photos, running text and the large buttons.
class TForm1 : public QWidget {
    Q_OBJECT
public:
    explicit TForm1(MainWindowServices services, QWidget *parent = nullptr);
    ~TForm1() override;

    // The secondary windows, created after this one.
    void setWindows(const WindowSet &windows);

    // Ends the program: the only path that really closes the window.
    void closeProgram();

    // Timer handlers, public so that tests drive them with an injected clock.
    void onSlideshowTick(); // Timer1
    void onClockTick();     // Timer2
    void onWeatherTick();   // Timer4
    void onRereadTick();    // Timer9

    // Navigation.
    void onSwipe(SwipeDirection direction);
    void toggleFullPhoto();
    void openCalendar();
    void openSchedule();
    void openVideo();
    void openPhotoViewer();
    void afterPhotoViewer();
    void openAccessWindow(); // Ctrl+F3
    void openCloseDialog();  // Alt+F4 or a close request

    // Asleep, the screen stands still: the site view closes and the clock, the slideshow, the
    // weather refresh, the running text and any transition stop. Awake, they run again, and
    // a re-read that came meanwhile is applied then.
    void setAsleep(bool asleep);
    bool asleep() const { return m_asleep; }

    // Weather panel shown or hidden: the photo frame takes the freed width.
    void setWeatherShown(bool shown);

    // What the settings dialog's save and theme change apply to this screen.
    void applySavedFonts(); // button fonts, the site button's caption, the close button
    void applyTheme();      // the theme in force, to every window
    void rebuildPhotoList();
    // The running text file again (read on a worker), the line restarted with its text.
    void reloadRunningText();

    const MainLayout &layoutRules() const { return m_layout; }
    Slideshow &slideshow() { return m_slideshow; }
    PhotoLoader &photoLoader() { return m_loader; }
    transitions::TPicShow &picShow() { return *m_photo; }
    weather::WeatherInformer &weatherInformer() { return *m_weather; }
    ticker::TScrollingText &ticker() { return *m_ticker; }
    bool fullPhoto() const { return m_fullPhoto; }
    QTimer &slideshowTimer() { return m_slideshowTimer; }
    QTimer &clockTimer() { return m_clockTimer; }
    QTimer &weatherTimer() { return m_weatherTimer; }
    QTimer &rereadTimer() { return m_rereadTimer; }
    web::SiteView &siteView() { return *m_siteView; }

signals:
    // A re-read ended: `applied` when the values were read and applied, false when the
    // file was missing, unreadable or did not answer (the values in force stay).
    void rereadFinished(bool applied);
    // The running text file was read and the line restarted.
    void runningTextLoaded();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // What a photo being decoded is for, so that its result lands where it belongs.
    enum class PhotoPurpose { Automatic, Swipe, Viewer };

    // Start-up, in the order the constructor runs them.
    void setUpWindow();
    void createControls();
    void createClockPanels();
    void createMainButtons();
    void createPhotoArea();
    void createSiteView();
    void createTimers();
    void readSettings();
    void applyMainButtonCaptions();
    void startWeather();
    void startRunningText();
    void firstStartFiles();
    void connectInput();
    void startTimers();

    void finishReread(const SettingsFiles::RereadFiles &files);
    void lateStart(const SettingsFiles::StartFiles &files);
    void runFirstStart(bool waitAMoment);
    void finishFirstStart(const SettingsFiles::FirstStarts &result);
    void applyLayout();
    // The screen's side of a re-read; `announce`: rereadFinished follows.
    void applyReread(bool announce);
    void holdTickerWhileAsleep();
    void applyCaptionsAndFonts(bool reread);
    QFont buttonFont(int pointSize) const;
    void showPhoto(const Slideshow::Action &action, PhotoPurpose purpose);
    void onPhotoLoaded(const QString &path, const QImage &image, PhotoLoader::Outcome outcome);
    void recheckPhotoFolder();
    void setFullPhoto(bool on);
    void placePhotoInFrame();
    void setCaption(const QString &text, bool alsoFullPhotoName);
    QString photoFolder() const;
    void siteViewOpened();
    void siteViewClosed();
    void setMainControlsVisible(bool visible);
    void setSiteControlsVisible(bool visible);

    MainWindowServices m_s;
    core::ProgramValues &m_values;
    WindowSet m_windows;
    MainLayout m_layout;
    Slideshow m_slideshow;
    PhotoLoader m_loader;
    quint64 m_listingGeneration = 0;
    bool m_listingInFlight = false;
    QString m_listingFolder;
    bool m_photoFolderAvailable = true; // as the last listing or check found it
    bool m_openingScreen = false;       // the viewer's or player's folder check is on its way
    bool m_weatherShown = false;
    bool m_fullPhoto = false;
    bool m_closing = false;
    bool m_painted = false;
    bool m_asleep = false;
    bool m_rereadWhileAsleep = false; // applied at waking
    bool m_tickerWasRunning = false;
    std::uint32_t m_weatherTick = 0; // when the weather was last fetched
    PhotoPurpose m_pendingPurpose = PhotoPurpose::Automatic;
    Slideshow::Action m_pending;

    // Members by role; the object names are the layout's.
    QLabel *m_dateLabel = nullptr;              // Panel3
    QLabel *m_siteCaption = nullptr;            // Label1, on the date panel
    QLabel *m_timeLabel = nullptr;              // Panel1
    QPushButton *m_siteButton = nullptr;        // SpeedButton10
    QPushButton *m_videoButton = nullptr;       // Button21
    QPushButton *m_photoButton = nullptr;       // Button22
    QPushButton *m_calendarButton = nullptr;    // Raspisanie1
    QPushButton *m_scheduleButton = nullptr;    // Raspisanie3
    QFrame *m_weatherPanel = nullptr;           // Panel4
    QFrame *m_photoFrame = nullptr;             // Panel2
    transitions::TPicShow *m_photo = nullptr;   // PicShow1
    QLabel *m_photoCaption = nullptr;           // Label2
    QLabel *m_fullPhotoCaption = nullptr;       // StaticText2
    QPushButton *m_siteCloseButton = nullptr;   // Button26
    QToolButton *m_siteBackButton = nullptr;    // SpeedButton1
    QToolButton *m_siteHomeButton = nullptr;    // SpeedButton2
    QToolButton *m_siteForwardButton = nullptr; // SpeedButton3
    ticker::TScrollingText *m_ticker = nullptr;
    core::SwipeDetector *m_swipes = nullptr;
    weather::WeatherInformer *m_weather = nullptr;
    web::SiteView *m_siteView = nullptr; // owns Timer8, the site view's idle close

    QTimer m_slideshowTimer; // Timer1
    QTimer m_clockTimer;     // Timer2
    QTimer m_weatherTimer;   // Timer4
    QTimer m_rereadTimer;    // Timer9

    core::WorkerRead<SettingsFiles::StartFiles> m_startRead;
    core::WorkerRead<SettingsFiles::FirstStarts> m_firstStartWrite;
    bool m_startPending = false; // the start's values have not come yet
    core::WorkerRead<SettingsFiles::RereadFiles> m_rereadRead;
    core::WorkerRead<std::optional<QString>> m_tickerRead;
};

} // namespace kalmo::app
