#pragma once

#include "app/main_layout.h"
#include "app/photo_loader.h"
#include "app/settings_files.h"
#include "app/slideshow.h"
#include "app/swipe_detector.h"
#include "app/window_set.h"
#include "core/clock.h"
#include "core/idle_clock.h"
#include "core/messages.h"
#include "core/program_values.h"
#include "core/random.h"
#include "web/browser.h"

#include <QSize>
#include <QTimer>
#include <QWidget>
#include <functional>

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

    // Weather panel shown or hidden: the photo frame takes the freed width.
    void setWeatherShown(bool shown);

    const MainLayout &layoutRules() const { return m_layout; }
    Slideshow &slideshow() { return m_slideshow; }
    PhotoLoader &photoLoader() { return m_loader; }
    transitions::TPicShow &picShow() { return *m_picShow; }
    weather::WeatherInformer &weatherInformer() { return *m_weather; }
    ticker::TScrollingText &ticker() { return *m_ticker; }
    bool fullPhoto() const { return m_fullPhoto; }
    QTimer &slideshowTimer() { return m_timer1; }
    QTimer &clockTimer() { return m_timer2; }
    web::SiteView &siteView() { return *m_siteView; }
    QTimer &rereadTimer() { return m_timer9; }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // What a photo being decoded is for, so that its result lands where it belongs.
    enum class PhotoPurpose { Automatic, Swipe, Viewer };

    void createControls();
    void createTimers();
    void applyLayout();
    void applyCaptionsAndFonts(bool reread);
    void applyTheme();
    QFont buttonFont(int pointSize) const;
    void showPhoto(const Slideshow::Action &action, PhotoPurpose purpose);
    void onPhotoLoaded(const QString &path, const QImage &image);
    void setFullPhoto(bool on);
    void placePhotoInFrame();
    void setCaption(const QString &text, bool alsoFullPhotoName);
    void rebuildPhotoList();

    MainWindowServices m_s;
    core::ProgramValues &m_values;
    WindowSet m_windows;
    MainLayout m_layout;
    Slideshow m_slideshow;
    PhotoLoader m_loader;
    bool m_weatherShown = false;
    bool m_fullPhoto = false;
    bool m_closing = false;
    PhotoPurpose m_pendingPurpose = PhotoPurpose::Automatic;
    Slideshow::Action m_pending;

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
    transitions::TPicShow *m_picShow = nullptr; // PicShow1
    QLabel *m_label2 = nullptr;
    QLabel *m_staticText2 = nullptr;
    QPushButton *m_button26 = nullptr;
    QToolButton *m_speedButton1 = nullptr;
    QToolButton *m_speedButton2 = nullptr;
    QToolButton *m_speedButton3 = nullptr;
    ticker::TScrollingText *m_ticker = nullptr;
    SwipeDetector *m_swipes = nullptr;
    weather::WeatherInformer *m_weather = nullptr;
    web::SiteView *m_siteView = nullptr; // owns Timer8, the site view's idle close

    QTimer m_timer1; // slideshow
    QTimer m_timer2; // clock
    QTimer m_timer4; // weather
    QTimer m_timer9; // settings re-read
};

} // namespace kalmo::app
