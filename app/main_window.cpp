#include "app/main_window.h"

#include "admin/access_window.h"
#include "admin/password_dlg.h"
#include "app/photo_list.h"
#include "app/timer_interval.h"
#include "calendar/calendar_window.h"
#include "core/button_pictures.h"
#include "core/log.h"
#include "core/theme.h"
#include "media/folder_listing.h"
#include "photo/photo_window.h"
#include "schedule/schedule_files.h"
#include "schedule/schedule_window.h"
#include "ticker/main_screen_ticker.h"
#include "ticker/scrolling_text.h"
#include "ticker/ticker_text.h"
#include "transitions/picshow.h"
#include "video/video_window.h"
#include "weather/weather_informer.h"
#include "web/site_view.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

namespace kalmo::app {

namespace {

// The timers' intervals from the layout; the slideshow and the re-read take theirs from the
// settings once read.
constexpr int kSlideshowFirstTickMs = 1000;
constexpr int kClockTickMs = 1000;
constexpr int kWeatherRefreshMs = 60 * 60 * 1000;
constexpr int kRereadLayoutMs = 30 * 60 * 1000;
constexpr int kMissingSettingsRetryMs = 5 * 60 * 1000;
// How long the first paint waits for the settings folder at start.
constexpr std::chrono::milliseconds kStartWait{3000};

QFont timesFont(int pixelSize, bool bold = false) {
    QFont f(QStringLiteral("Times New Roman"));
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    return f;
}

// A program picture an administrator may replace (base folder, then the program's data
// folder), or the one drawn here when neither has it.
QPixmap programPicture(const core::ProgramValues &values, const char *name, const QPixmap &drawn) {
    const QPixmap own(values.asset(QLatin1String(name)));
    return own.isNull() ? drawn : own;
}

template <typename T> T *named(T *widget, const char *name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

} // namespace

TForm1::TForm1(MainWindowServices services, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_s(services),
      m_values(services.values), m_slideshow(services.random) {
    m_loader.setSynchronous(services.synchronousFiles);
    setUpWindow();
    createControls();
    createTimers();
    readSettings();
    applyTheme();
    m_slideshow.reset();
    // Until a forecast has arrived the photo takes the weather panel's width; the fetch runs
    // in the background and narrows the photo when it shows.
    m_weatherShown = false;
    applyLayout();
    startWeather();
    applyTimerInterval(m_rereadTimer, m_values.rereadMs, "time/readsetting");
    applyCaptionsAndFonts(false);
    startRunningText();
    firstStartFiles();
    connectInput();
    startTimers();
}

TForm1::~TForm1() = default;

void TForm1::setWindows(const WindowSet &windows) {
    m_windows = windows;
    // The slideshow resumes when the video player closes; the photo viewer's close moves the
    // main screen on to the next photo.
    if (m_windows.form6)
        connect(m_windows.form6, &QDialog::finished, this,
                [this] { enableTimer(m_slideshowTimer); });
    if (m_windows.form5) {
        connect(m_windows.form5, &QDialog::finished, this, &TForm1::afterPhotoViewer);
        // The viewer's list is built anew: the slideshow goes back before its first photo.
        connect(m_windows.form5, &photo::TForm5::photoListRebuilt, this,
                [this] { m_slideshow.setCurrentIndex(-1); });
    }
}

// ---- start-up ----------------------------------------------------------------------------

void TForm1::setUpWindow() {
    setObjectName(QStringLiteral("Form1"));
    // Keys reach the window's own handler only when no child holds the focus: keyPressEvent.
    setWindowTitle(QStringLiteral("Kalmo"));
    QFont tahoma(QStringLiteral("Tahoma"));
    tahoma.setPixelSize(11);
    setFont(tahoma);
    setGeometry(0, 0, m_s.screenSize.width(), m_s.screenSize.height());
}

void TForm1::createControls() {
    createClockPanels();
    createMainButtons();
    createPhotoArea();
    createSiteView();
    m_ticker = named(new ticker::TScrollingText(this, &m_s.clock), "ScrollingText");
}

void TForm1::createClockPanels() {
    m_dateLabel = named(new QLabel(this), "Panel3");
    m_dateLabel->setFont(timesFont(60));
    m_dateLabel->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    m_dateLabel->setFrameShape(QFrame::Panel);
    m_dateLabel->setFrameShadow(QFrame::Raised);
    m_siteCaption = named(new QLabel(QStringLiteral("kalmo-school.ru"), m_dateLabel), "Label1");
    m_siteCaption->setFont(timesFont(19));
    m_siteCaption->move(108, 2);
    m_siteCaption->adjustSize();

    m_timeLabel = named(new QLabel(this), "Panel1");
    m_timeLabel->setFont(timesFont(75));
    m_timeLabel->setAlignment(Qt::AlignCenter);
    m_timeLabel->setFrameShape(QFrame::Panel);
    m_timeLabel->setFrameShadow(QFrame::Raised);
}

void TForm1::createMainButtons() {
    auto flatButton = [this](const char *name) {
        auto *b = named(new QPushButton(this), name);
        b->setFlat(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setAutoFillBackground(true);
        return b;
    };
    m_siteButton = flatButton("SpeedButton10");
    m_videoButton = flatButton("Button21");
    m_photoButton = flatButton("Button22");
    m_calendarButton = flatButton("Raspisanie1");
    m_scheduleButton = flatButton("Raspisanie3");

    connect(m_calendarButton, &QPushButton::clicked, this, &TForm1::openCalendar);
    connect(m_scheduleButton, &QPushButton::clicked, this, &TForm1::openSchedule);
    connect(m_videoButton, &QPushButton::clicked, this, &TForm1::openVideo);
    connect(m_photoButton, &QPushButton::clicked, this, &TForm1::openPhotoViewer);
}

void TForm1::createPhotoArea() {
    m_weatherPanel = named(new QFrame(this), "Panel4");
    m_photoFrame = named(new QFrame(this), "Panel2");
    m_photoFrame->setFrameShape(QFrame::Box);
    m_photoFrame->setLineWidth(1);

    m_photo = named(new transitions::TPicShow(this), "PicShow1");
    m_photo->setBgMode(transitions::TPicShow::bmStretched);
    m_photo->setCenter(true);
    m_photo->setProportional(true);
    m_photo->setStretch(true);
    m_photo->setFrameColor(QColor(Qt::lightGray));
    m_photo->setStep(6);
    m_photo->setStyle(60);
    m_photo->setAlign(transitions::TPicShow::alCustom);
    m_photo->setAutoSize(true);
    m_photo->setAccessibleName(QStringLiteral("Фото"));

    m_photoCaption = named(new QLabel(QStringLiteral("Фото"), this), "Label2");
    m_photoCaption->setFont(timesFont(19));
    m_fullPhotoCaption = named(new QLabel(this), "StaticText2");
    m_fullPhotoCaption->setFont(timesFont(24));
    m_fullPhotoCaption->hide();
}

void TForm1::createSiteView() {
    m_siteCloseButton = named(new QPushButton(QStringLiteral("ЗАКРЫТЬ  "), this), "Button26");
    m_siteCloseButton->hide();

    // Picture-only buttons go by their object names for screen readers.
    auto navButton = [this](const char *name, const QPixmap &picture) {
        auto *b = named(new QToolButton(this), name);
        b->setAutoRaise(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setIcon(picture);
        b->setIconSize(picture.size());
        b->setAccessibleName(QLatin1String(name));
        b->resize(80, 80);
        b->hide();
        return b;
    };
    m_siteBackButton = navButton(
        "SpeedButton1", programPicture(m_values, "buttons/back.png", core::chevronPicture(true)));
    m_siteHomeButton = navButton(
        "SpeedButton2", programPicture(m_values, "buttons/home.png", core::housePicture()));
    m_siteForwardButton = navButton("SpeedButton3", programPicture(m_values, "buttons/forward.png",
                                                                   core::chevronPicture(false)));

    web::SiteViewSettings siteSettings{[this] { return m_values.site; },
                                       [this] { return m_values.pageSeconds; }};
    m_siteView = new web::SiteView(this, m_s.idle, siteSettings,
                                   m_s.browserFactory ? m_s.browserFactory : web::createWebBrowser);
    connect(m_siteView, &web::SiteView::opened, this, &TForm1::siteViewOpened);
    connect(m_siteView, &web::SiteView::closed, this, &TForm1::siteViewClosed);
    connect(m_siteButton, &QPushButton::clicked, m_siteView, &web::SiteView::open);
    connect(m_siteCloseButton, &QPushButton::clicked, m_siteView, &web::SiteView::close);
    connect(m_siteBackButton, &QToolButton::clicked, m_siteView, &web::SiteView::back);
    connect(m_siteHomeButton, &QToolButton::clicked, m_siteView, &web::SiteView::home);
    connect(m_siteForwardButton, &QToolButton::clicked, m_siteView, &web::SiteView::forward);
}

void TForm1::createTimers() {
    const struct {
        QTimer &timer;
        const char *name;
        int interval;
        void (TForm1::*handler)();
    } timers[] = {
        {m_slideshowTimer, "Timer1", kSlideshowFirstTickMs, &TForm1::onSlideshowTick},
        {m_clockTimer, "Timer2", kClockTickMs, &TForm1::onClockTick},
        {m_weatherTimer, "Timer4", kWeatherRefreshMs, &TForm1::onWeatherTick},
        {m_rereadTimer, "Timer9", kRereadLayoutMs, &TForm1::onRereadTick},
    };
    for (const auto &t : timers) {
        t.timer.setObjectName(QLatin1String(t.name));
        t.timer.setInterval(t.interval);
        connect(&t.timer, &QTimer::timeout, this, t.handler);
    }
}

// The pointer file and the main settings file into the program-wide values; the four
// captions the start reads are shown at once. Read on a worker: the settings folder may be a
// share that hangs. The first paint waits for them a moment; a share that does not answer in
// that time leaves the screen to start with the defaults and take the file's values when
// they come.
void TForm1::readSettings() {
    const std::optional<SettingsFiles::StartFiles> files = m_startRead.startAndWait(
        [pointer = m_s.settings.pointerPath(), fallback = m_s.settings.defaultMainPath()] {
            return SettingsFiles::readStartFiles(pointer, fallback);
        },
        kStartWait, [this](const SettingsFiles::StartFiles &late) { lateStart(late); });
    if (files) {
        m_s.settings.applyStartFiles(*files);
    } else {
        m_startPending = true;
        qCWarning(kalmo::lcSettings)
            << "no answer from the settings files at start; the screen starts with the "
               "defaults and takes the files' values when they come";
    }
    applyMainButtonCaptions();
}

// The start's values arrived after the screen had started: applied as the start would have.
void TForm1::lateStart(const SettingsFiles::StartFiles &files) {
    m_startPending = false;
    m_s.settings.applyStartFiles(files);
    qCInfo(kalmo::lcSettings) << "settings files read at last:" << m_values.mainSettingsPath;
    applyMainButtonCaptions();
    applyTheme();
    applyTimerInterval(m_rereadTimer, m_values.rereadMs, "time/readsetting");
    applyCaptionsAndFonts(false);
    startRunningText();
    runFirstStart(false);
    rebuildPhotoList();
}

void TForm1::applyMainButtonCaptions() {
    m_calendarButton->setText(m_values.buttonCalendar);
    m_photoButton->setText(m_values.buttonPhoto);
    m_scheduleButton->setText(m_values.buttonSchedule);
    m_videoButton->setText(m_values.buttonVideo);
}

void TForm1::startWeather() {
    m_weather = new weather::WeatherInformer(m_weatherPanel, m_s.clock, this);
    m_weather->setPictureLookup(
        [this](const QString &relative) { return m_values.asset(relative); });
    connect(m_weather, &weather::WeatherInformer::weatherShown, this, &TForm1::setWeatherShown);
    onWeatherTick();
}

void TForm1::startRunningText() {
    // The line runs empty until its file has been read on a worker.
    const auto setUp = [this, step = m_values.scrollingStep](const std::optional<QString> &text) {
        ticker::setupMainScreenTicker(*m_ticker, text, step, core::Themes::windowColour(),
                                      core::Themes::textColour(), m_s.screenSize);
    };
    setUp(QString());
    m_tickerRead.start([path = m_values.resolve(
                            m_values.scrollingTextFile)] { return ticker::readTickerText(path); },
                       [this, setUp](const std::optional<QString> &text) {
                           setUp(text);
                           holdTickerWhileAsleep();
                           emit runningTextLoaded();
                       },
                       [this] {
                           qCWarning(kalmo::lcTicker).noquote()
                               << "no answer from the running text file"
                               << m_values.scrollingTextFile;
                       });
}

// First start of the main settings file (then the theme again: the file now names one) and
// of the calendar and schedule files, and the photo list. Without the start's values yet, the
// first start waits for them.
void TForm1::firstStartFiles() {
    if (!m_startPending)
        runFirstStart(true);
    rebuildPhotoList();
}

void TForm1::runFirstStart(bool waitAMoment) {
    auto job = [values = m_values] { return SettingsFiles::writeFirstStarts(values); };
    auto done = [this](const SettingsFiles::FirstStarts &result) { finishFirstStart(result); };
    if (!waitAMoment) {
        m_firstStartWrite.start(job, done);
        return;
    }
    if (const auto result = m_firstStartWrite.startAndWait(job, kStartWait, done))
        finishFirstStart(*result);
}

void TForm1::finishFirstStart(const SettingsFiles::FirstStarts &result) {
    for (const QString &text : result.problems)
        m_s.settings.report(text);
    if (result.wroteMain)
        applyTheme();
}

void TForm1::connectInput() {
    connect(&m_loader, &PhotoLoader::loaded, this, &TForm1::onPhotoLoaded);
    // Only input on this screen itself: the overlays above it are not part of it.
    m_swipes = new core::SwipeDetector(this, [this](QObject *watched) {
        auto *w = qobject_cast<QWidget *>(watched);
        return w && w->isVisible() && (w == this || isAncestorOf(w));
    });
    connect(m_swipes, &core::SwipeDetector::swiped, this, &TForm1::onSwipe);
    m_photo->installEventFilter(this);
}

void TForm1::startTimers() {
    enableTimer(m_rereadTimer);
    enableTimer(m_slideshowTimer);
    enableTimer(m_clockTimer);
    enableTimer(m_weatherTimer);
}

// ---- layout, captions, theme -------------------------------------------------------------

void TForm1::applyLayout() {
    MainLayoutInput in;
    in.width = width();
    in.height = height();
    in.weather = m_weatherShown;
    m_layout = computeMainLayout(in);
    const MainLayout &l = m_layout;
    m_dateLabel->setGeometry(l.panel3);
    m_timeLabel->setGeometry(l.panel1);
    m_siteButton->setGeometry(l.speedButton10);
    m_videoButton->setGeometry(l.button21);
    m_photoButton->setGeometry(l.button22);
    m_calendarButton->setGeometry(l.raspisanie1);
    m_scheduleButton->setGeometry(l.raspisanie3);
    m_weatherPanel->setVisible(l.weather);
    // The panel keeps its place while hidden, so the forecast rows are sized from it.
    m_weatherPanel->setGeometry(computeMainLayout({in.width, in.height, true}).panel4);
    m_photoFrame->setGeometry(l.panel2);
    if (!m_fullPhoto)
        m_photo->setGeometry(l.picShow1);
    m_photoCaption->move(l.label2);
    m_photoCaption->adjustSize();
    m_siteCloseButton->setGeometry(l.button26);
    m_fullPhotoCaption->move(l.staticText2);
    m_siteBackButton->move(l.speedButton1);
    m_siteHomeButton->move(l.speedButton2);
    m_siteForwardButton->move(l.speedButton3);
    // The site's browser covers the window below the close button.
    const int browserTop = l.button26.y() + l.button26.height() + 10;
    m_siteView->setBrowserArea(QRect(0, browserTop, in.width, in.height - browserTop));
}

QFont TForm1::buttonFont(int pointSize) const {
    QFont f(m_values.fontName);
    f.setPointSize(std::max(1, pointSize));
    core::FontStyles::parse(m_values.fontStyleText).applyTo(f);
    return f;
}

void TForm1::applyCaptionsAndFonts(bool reread) {
    m_siteButton->setText(m_values.buttonSite + QStringLiteral("  "));
    m_siteButton->setFont(buttonFont(m_values.siteFontSize));
    const QFont mainFont = buttonFont(reread ? m_values.siteFontSize : m_values.fontSize);
    for (QPushButton *b : {m_calendarButton, m_scheduleButton, m_videoButton, m_photoButton})
        b->setFont(mainFont);
    if (!reread)
        m_siteCloseButton->setFont(mainFont);
    for (QPushButton *b :
         {m_siteButton, m_calendarButton, m_scheduleButton, m_videoButton, m_photoButton})
        b->setAccessibleName(b->text().trimmed());
}

void TForm1::applySavedFonts() {
    applyCaptionsAndFonts(true);
    m_siteCloseButton->setText(QStringLiteral("ЗАКРЫТЬ  "));
    m_siteCloseButton->setFont(buttonFont(m_values.fontSize));
}

void TForm1::applyTheme() {
    const QString error = core::Themes::apply(m_values.theme);
    if (!error.isEmpty())
        m_s.messages.show(error);
    m_photo->setColor(core::Themes::windowColour());
}

// ---- timers ------------------------------------------------------------------------------

void TForm1::onClockTick() {
    if (m_asleep) {
        m_clockTimer.stop();
        return;
    }
    const QDateTime now = m_s.clock.now();
    m_timeLabel->setText(now.time().toString(QStringLiteral("H:mm:ss")));
    m_dateLabel->setText(now.date().toString(QStringLiteral("dd.MM.yyyy")));
}

void TForm1::onRereadTick() {
    // The files are read on a worker: the settings folder may be a share that hangs.
    const bool started = m_rereadRead.start(
        [pointer = m_s.settings.pointerPath(), fallback = m_s.settings.defaultMainPath(),
         inForce = m_values.mainSettingsPath] {
            return SettingsFiles::readRereadFiles(pointer, fallback, inForce);
        },
        [this](const SettingsFiles::RereadFiles &files) { finishReread(files); },
        [this] {
            m_s.settings.rereadTimedOut();
            m_rereadTimer.setInterval(kMissingSettingsRetryMs);
            emit rereadFinished(false);
        });
    if (!started) {
        // The last re-read still waits for the share: try again later.
        m_s.settings.rereadTimedOut();
        m_rereadTimer.setInterval(kMissingSettingsRetryMs);
        emit rereadFinished(false);
    }
}

void TForm1::finishReread(const SettingsFiles::RereadFiles &files) {
    if (m_s.settings.applyReread(files) != SettingsFiles::RereadResult::Done) {
        // Missing or unreadable: the values in force stay, and the next try is in 5 minutes.
        m_rereadTimer.setInterval(kMissingSettingsRetryMs);
        emit rereadFinished(false);
        return;
    }
    if (m_asleep) {
        // Nothing moves while asleep: the screen takes the values when it wakes.
        m_rereadWhileAsleep = true;
        applyTimerInterval(m_rereadTimer, m_values.rereadMs, "time/readsetting");
        emit rereadFinished(true);
        return;
    }
    applyReread(true);
}

void TForm1::applyReread(bool announce) {
    m_slideshowTimer.stop();
    // A cleared flag leaves the panel as it is until the hourly refresh.
    if (m_values.weather)
        onWeatherTick();
    applyTheme();
    m_slideshow.setCurrentIndex(-1);
    applyCaptionsAndFonts(true);
    reloadRunningText();
    rebuildPhotoList();
    enableTimer(m_slideshowTimer);
    applyTimerInterval(m_rereadTimer, m_values.rereadMs, "time/readsetting");
    if (announce)
        emit rereadFinished(true);
}

void TForm1::reloadRunningText() {
    const int step = m_values.scrollingStep;
    const bool started = m_tickerRead.start(
        [path = m_values.resolve(m_values.scrollingTextFile)] {
            return ticker::readTickerText(path);
        },
        [this, step](const std::optional<QString> &text) {
            ticker::reloadTicker(*m_ticker, text, step, core::Themes::windowColour(),
                                 core::Themes::textColour());
            holdTickerWhileAsleep();
            emit runningTextLoaded();
        },
        [this, step] {
            // The line keeps its text; only the look follows the settings.
            ticker::restyleTicker(*m_ticker, step, core::Themes::windowColour(),
                                  core::Themes::textColour());
            qCWarning(kalmo::lcTicker).noquote()
                << "no answer from the running text file" << m_values.scrollingTextFile
                << "; the line keeps its text";
        });
    if (!started)
        ticker::restyleTicker(*m_ticker, step, core::Themes::windowColour(),
                              core::Themes::textColour());
}

QString TForm1::photoFolder() const {
    return media::folderPath(m_values.photoFolder, m_values.baseFolder);
}

void TForm1::rebuildPhotoList() {
    // The list in force stays until the listing answers; a folder that gives no answer in
    // time leaves it as it is.
    const QString folder = photoFolder();
    // A slow share answers the listing already asked for; the same one asked again at every
    // tick would supersede each answer before it came.
    if (m_listingInFlight && folder == m_listingFolder)
        return;
    const quint64 generation = ++m_listingGeneration;
    m_listingInFlight = true;
    m_listingFolder = folder;
    m_loader.list(folder, [this, folder, generation](std::optional<media::FolderListing> listing) {
        if (generation != m_listingGeneration)
            return;
        m_listingInFlight = false;
        if (!listing) {
            qCWarning(kalmo::lcPhoto) << "Photo folder gave no answer in time:" << folder;
            return;
        }
        m_photoFolderAvailable = listing->available;
        m_slideshow.setPhotos(listing->paths, folder);
    });
}

void TForm1::recheckPhotoFolder() {
    const QString folder = photoFolder();
    m_loader.checkFolder(folder, [this, folder](std::optional<bool> exists) {
        if (exists && folder == photoFolder())
            m_photoFolderAvailable = *exists;
    });
}

void TForm1::onSlideshowTick() {
    // Paths that start the timer (a screen closing at sleep, start reads that arrive late)
    // do not know the kiosk sleeps: the first tick puts it out again.
    if (m_asleep) {
        m_slideshowTimer.stop();
        return;
    }
    // The frame's rules are applied again before every automatic change.
    if (!m_fullPhoto)
        m_photo->setGeometry(m_layout.picShow1);
    // The folder as the last listing or check found it: the GUI thread never asks the file
    // system itself. A folder found missing is asked again at each tick.
    const Slideshow::Action action = m_slideshow.automaticChange(m_photoFolderAvailable);
    switch (action.kind) {
    case Slideshow::Action::Rebuild:
        rebuildPhotoList();
        break;
    case Slideshow::Action::Caption:
        setCaption(action.caption, false);
        recheckPhotoFolder();
        break;
    case Slideshow::Action::Show:
        // Full-photo mode is left before the photo is decoded, whether or not it decodes.
        setFullPhoto(false);
        showPhoto(action, PhotoPurpose::Automatic);
        break;
    case Slideshow::Action::None:
        break;
    }
}

void TForm1::onWeatherTick() {
    if (m_asleep) {
        m_weatherTimer.stop();
        return;
    }
    m_weatherTick = m_s.clock.tickMs();
    // The informer replaces the panel's rows and reports whether the panel is shown.
    m_weather->setInformerBase(m_values.informerBase);
    m_weather->setCityCode(m_values.cityCode);
    m_weather->setEnabled(m_values.weather);
    m_weather->refresh();
}

void TForm1::setWeatherShown(bool shown) {
    if (shown == m_weatherShown)
        return;
    m_weatherShown = shown;
    applyLayout();
}

// A text read that arrives while asleep does not start the line; waking does.
void TForm1::holdTickerWhileAsleep() {
    if (!m_asleep)
        return;
    m_tickerWasRunning = m_ticker->isActive();
    m_ticker->Stop();
}

void TForm1::setAsleep(bool asleep) {
    if (asleep == m_asleep)
        return;
    m_asleep = asleep;
    if (asleep) {
        if (m_siteView->isOpen())
            m_siteView->close();
        for (QTimer *t : {&m_slideshowTimer, &m_clockTimer, &m_weatherTimer})
            t->stop();
        m_tickerWasRunning = m_ticker->isActive();
        m_ticker->Stop();
        if (m_photo->busy())
            m_photo->stop();
        return;
    }
    onClockTick();
    enableTimer(m_clockTimer);
    // A forecast older than the refresh interval is fetched at once.
    if (m_s.clock.tickMs() - m_weatherTick >= std::uint32_t(kWeatherRefreshMs))
        onWeatherTick();
    enableTimer(m_weatherTimer);
    if (m_rereadWhileAsleep) {
        m_rereadWhileAsleep = false;
        applyReread(false); // also plays the running text and starts the slideshow
        return;
    }
    if (m_tickerWasRunning)
        m_ticker->Play();
    enableTimer(m_slideshowTimer);
}

// ---- photos ------------------------------------------------------------------------------

void TForm1::showPhoto(const Slideshow::Action &action, PhotoPurpose purpose) {
    m_pending = action;
    m_pendingPurpose = purpose;
    // Decoded at the size it is shown at, so the photo control has nothing left to scale.
    const QSize shown = m_fullPhoto ? size() : m_layout.picShow1.size();
    m_loader.request(action.path, photoFolder(), shown);
}

void TForm1::onPhotoLoaded(const QString &path, const QImage &image, PhotoLoader::Outcome outcome) {
    // A photo decoded for a change that sleep overtook is not shown.
    if (path != m_pending.path || m_asleep)
        return;
    switch (outcome) {
    case PhotoLoader::Outcome::Decoded:
        break;
    case PhotoLoader::Outcome::Failed:
        // Unreadable, gone or still being written: the list is rebuilt, caption and interval
        // stay; a photo still being copied in is listed again and shown at a later change.
        rebuildPhotoList();
        return;
    case PhotoLoader::Outcome::FolderMissing:
        // Said as the choice would have said it, had the screen known.
        m_photoFolderAvailable = false;
        m_slideshow.setLastShown(m_pending.lastShownBefore);
        setCaption(m_pending.folderMissingCaption,
                   m_pendingPurpose == PhotoPurpose::Swipe && !m_slideshow.photos().isEmpty());
        return;
    case PhotoLoader::Outcome::NoAnswer:
        return; // the share hangs: the screen keeps what it shows
    }
    m_photo->setStyle(m_pending.style);
    m_photo->setPicture(image);
    if (m_pendingPurpose == PhotoPurpose::Automatic)
        applyTimerInterval(m_slideshowTimer, m_values.slideshowMs, "time/image");
    m_photo->execute();
    m_slideshow.setShownPath(path);
    setCaption(m_pending.caption, m_pendingPurpose == PhotoPurpose::Swipe);
}

void TForm1::setCaption(const QString &text, bool alsoFullPhotoName) {
    m_photoCaption->setText(text);
    m_photoCaption->adjustSize();
    m_photoCaption->setAccessibleName(text);
    if (alsoFullPhotoName) {
        m_fullPhotoCaption->setText(text);
        m_fullPhotoCaption->adjustSize();
    }
}

void TForm1::onSwipe(SwipeDirection direction) {
    // Swipes belong to the main screen itself, not to the site view.
    if (m_siteView->isOpen())
        return;
    m_slideshowTimer.stop();
    const Slideshow::Action action = m_slideshow.swipe(direction, m_photoFolderAvailable);
    if (action.kind == Slideshow::Action::Show) {
        showPhoto(action, PhotoPurpose::Swipe);
    } else {
        setCaption(action.caption, m_slideshow.photos().size() > 0);
        recheckPhotoFolder();
    }
    enableTimer(m_slideshowTimer);
}

void TForm1::toggleFullPhoto() {
    setFullPhoto(!m_fullPhoto);
}

void TForm1::setFullPhoto(bool on) {
    if (on == m_fullPhoto)
        return;
    m_fullPhoto = on;
    m_photo->setColor(core::Themes::windowColour());
    m_photo->setAutoSize(true);
    m_photo->setCenter(true);
    if (on) {
        m_ticker->hide();
        m_ticker->lower();
        m_photo->setGeometry(rect());
        m_photo->raise();
        m_siteButton->hide();
        m_photoButton->hide();
        m_photoCaption->hide();
        m_fullPhotoCaption->setText(m_photoCaption->text());
        m_fullPhotoCaption->adjustSize();
        m_fullPhotoCaption->show();
        m_fullPhotoCaption->raise();
    } else {
        placePhotoInFrame();
        m_siteButton->show();
        m_photoButton->show();
        m_fullPhotoCaption->hide();
        m_photoCaption->show();
        m_ticker->raise();
        m_ticker->show();
    }
}

void TForm1::placePhotoInFrame() {
    m_photo->setGeometry(m_layout.picShow1);
}

// ---- site view ---------------------------------------------------------------------------

void TForm1::siteViewOpened() {
    m_slideshowTimer.stop();
    setMainControlsVisible(false);
    setSiteControlsVisible(true);
}

// Also after an idle close with no site view open: then it only restarts the slideshow.
void TForm1::siteViewClosed() {
    setSiteControlsVisible(false);
    setMainControlsVisible(true);
    enableTimer(m_slideshowTimer);
    // The keys (Ctrl+F3, Alt+F4) come back here, unless a screen or dialog above has them.
    QWidget *focus = window()->focusWidget();
    if (isVisible() && (!focus || focus == window() || focus == this || isAncestorOf(focus)))
        setFocus(Qt::OtherFocusReason);
}

void TForm1::setMainControlsVisible(bool visible) {
    for (QWidget *w :
         std::initializer_list<QWidget *>{m_siteButton, m_calendarButton, m_scheduleButton,
                                          m_dateLabel, m_timeLabel, m_videoButton, m_photoButton})
        w->setVisible(visible);
}

void TForm1::setSiteControlsVisible(bool visible) {
    for (QWidget *w : std::initializer_list<QWidget *>{m_siteCloseButton, m_siteBackButton,
                                                       m_siteHomeButton, m_siteForwardButton})
        w->setVisible(visible);
}

// ---- other screens -----------------------------------------------------------------------

void TForm1::openCalendar() {
    if (m_windows.formCalendar)
        m_windows.formCalendar->open();
}

void TForm1::openSchedule() {
    if (!m_windows.myRaspisanie)
        return;
    m_windows.myRaspisanie->bellList()->setVisible(m_values.scheduleView);
    m_windows.myRaspisanie->countdown()->setVisible(m_values.scheduleView);
    m_windows.myRaspisanie->open();
}

// A screen opens once the folder check answers; a folder that is missing or gives no answer
// in time is reported as missing. Taps meanwhile open nothing more.
void TForm1::openVideo() {
    if (m_openingScreen)
        return;
    m_openingScreen = true;
    m_loader.checkFolder(media::folderPath(m_values.videoFolder, m_values.baseFolder),
                         [this](std::optional<bool> exists) {
                             m_openingScreen = false;
                             if (!exists || !*exists) {
                                 m_s.messages.show(
                                     QStringLiteral("Доступных видеоматериалов нет!"));
                                 return;
                             }
                             m_slideshowTimer.stop();
                             if (m_windows.form6)
                                 m_windows.form6->open();
                         });
}

void TForm1::openPhotoViewer() {
    if (m_openingScreen)
        return;
    m_openingScreen = true;
    m_loader.checkFolder(photoFolder(), [this](std::optional<bool> exists) {
        m_openingScreen = false;
        if (!exists || !*exists) {
            m_s.messages.show(QStringLiteral("Доступных фото нет!!!"));
            return;
        }
        if (m_windows.form5)
            m_windows.form5->open();
    });
}

void TForm1::afterPhotoViewer() {
    m_slideshowTimer.stop();
    const Slideshow::Action action = m_slideshow.afterViewer(m_photoFolderAvailable);
    if (action.kind == Slideshow::Action::Show)
        showPhoto(action, PhotoPurpose::Viewer);
    else if (action.kind == Slideshow::Action::Caption)
        setCaption(action.caption, false);
    enableTimer(m_slideshowTimer);
}

void TForm1::openAccessWindow() {
    if (m_windows.form4)
        m_windows.form4->openWindow();
}

void TForm1::openCloseDialog() {
    if (m_windows.passwordDlg && !m_windows.passwordDlg->isVisible())
        m_windows.passwordDlg->openDialog();
}

void TForm1::closeProgram() {
    m_closing = true;
    close();
    // The window this screen is the page of goes with it.
    if (window() != this)
        window()->close();
}

// ---- input -------------------------------------------------------------------------------

bool TForm1::eventFilter(QObject *watched, QEvent *event) {
    if (watched == m_photo && event->type() == QEvent::MouseButtonDblClick)
        toggleFullPhoto();
    return QWidget::eventFilter(watched, event);
}

void TForm1::keyPressEvent(QKeyEvent *event) {
    const auto mods =
        event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier);
    // A close request, also when a child (the site's page) had the focus and let it pass.
    if (event->key() == Qt::Key_F4 && mods == Qt::AltModifier) {
        openCloseDialog();
        return;
    }
    // Keys typed into a focused child are the child's business.
    if (QWidget *focus = focusWidget(); focus && focus != this) {
        QWidget::keyPressEvent(event);
        return;
    }
    if (event->key() == Qt::Key_F3 && mods == Qt::ControlModifier) {
        openAccessWindow();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TForm1::paintEvent(QPaintEvent *event) {
    QWidget::paintEvent(event);
    if (m_painted)
        return;
    m_painted = true;
    // Logged once the first frame is out: how long the start took is measured to here.
    QTimer::singleShot(0, this, [] { qCInfo(kalmo::lcApp) << "main screen painted"; });
}

void TForm1::closeEvent(QCloseEvent *event) {
    if (m_closing) {
        event->accept();
        return;
    }
    // Alt+F4 through the window manager, or any other close request: ask for the password.
    event->ignore();
    openCloseDialog();
}

} // namespace kalmo::app
