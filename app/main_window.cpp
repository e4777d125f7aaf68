#include "app/main_window.h"

#include "admin/access_window.h"
#include "admin/password_dlg.h"
#include "app/nav_pictures.h"
#include "app/photo_list.h"
#include "calendar/calendar_window.h"
#include "core/theme.h"
#include "photo/photo_window.h"
#include "schedule/schedule_files.h"
#include "schedule/schedule_window.h"
#include "ticker/main_screen_ticker.h"
#include "ticker/scrolling_text.h"
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

QFont timesFont(int pixelSize, bool bold = false) {
    QFont f(QStringLiteral("Times New Roman"));
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    return f;
}

template <typename T> T *named(T *widget, const char *name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

} // namespace

TForm1::TForm1(MainWindowServices services, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_s(services),
      m_values(services.values), m_slideshow(services.random) {
    setObjectName(QStringLiteral("Form1"));
    // 1. Keys reach the window's own handler only when no child holds the focus; see
    //    keyPressEvent.
    // 2.
    setWindowTitle(QStringLiteral("Kalmo"));
    QFont tahoma(QStringLiteral("Tahoma"));
    tahoma.setPixelSize(11);
    setFont(tahoma);

    createControls();
    createTimers();

    // 3., 4. Settings files into the program-wide values.
    m_s.settings.readPointerAtStart();
    m_s.settings.readMainAtStart();
    m_raspisanie1->setText(m_values.buttonCalendar);
    m_button22->setText(m_values.buttonPhoto);
    m_raspisanie3->setText(m_values.buttonSchedule);
    m_button21->setText(m_values.buttonVideo);

    // 5.
    applyTheme();
    m_timer9.start();
    // 6.
    m_slideshow.reset();
    // 7. Full screen, fixed part of the layout.
    setGeometry(0, 0, m_s.screenSize.width(), m_s.screenSize.height());
    // 8. Until a forecast has arrived the photo takes the weather panel's width; the fetch
    //    runs in the background and widens or narrows the photo when it ends.
    m_weatherShown = false;
    // 9.
    applyLayout();
    m_weather = new weather::WeatherInformer(m_panel4, m_s.clock, this);
    connect(m_weather, &weather::WeatherInformer::weatherShown, this, &TForm1::setWeatherShown);
    onWeatherTick();
    m_timer9.setInterval(m_values.rereadMs);
    // 10.
    applyCaptionsAndFonts(false);
    // 11.
    ticker::setupMainScreenTicker(*m_ticker, m_values.scrollingTextFile, m_values.scrollingStep,
                                  core::Themes::windowColour(), core::Themes::textColour(),
                                  m_s.screenSize);
    // 12. First start of the main settings file.
    if (m_s.settings.firstStartMain())
        applyTheme();
    // 13.
    rebuildPhotoList();
    // 15. First start of the schedule file.
    try {
        schedule::scheduleFirstStart(m_values.scheduleFilePath());
    } catch (const core::IniWriteError &e) {
        m_s.messages.show(e.text());
    }

    connect(&m_loader, &PhotoLoader::loaded, this, &TForm1::onPhotoLoaded);
    m_swipes = new SwipeDetector(this);
    connect(m_swipes, &SwipeDetector::swiped, this, &TForm1::onSwipe);
    m_picShow->installEventFilter(this);

    m_timer1.start();
    m_timer2.start();
    m_timer4.start();
}

TForm1::~TForm1() = default;

void TForm1::setWindows(const WindowSet &windows) {
    m_windows = windows;
    // The slideshow resumes when the video player closes; the photo viewer's close moves the
    // main screen on to the next photo.
    if (m_windows.form6)
        connect(m_windows.form6, &QDialog::finished, this, [this] { m_timer1.start(); });
    if (m_windows.form5)
        connect(m_windows.form5, &QDialog::finished, this, &TForm1::afterPhotoViewer);
}

void TForm1::createTimers() {
    const struct {
        QTimer &timer;
        const char *name;
        int interval;
        void (TForm1::*handler)();
    } timers[] = {
        {m_timer1, "Timer1", 1000, &TForm1::onSlideshowTick},
        {m_timer2, "Timer2", 1000, &TForm1::onClockTick},
        {m_timer4, "Timer4", 3600000, &TForm1::onWeatherTick},
        {m_timer9, "Timer9", 1800000, &TForm1::onRereadTick},
    };
    for (const auto &t : timers) {
        t.timer.setObjectName(QLatin1String(t.name));
        t.timer.setInterval(t.interval);
        connect(&t.timer, &QTimer::timeout, this, t.handler);
    }
}

void TForm1::createControls() {
    m_panel3 = named(new QLabel(this), "Panel3");
    m_panel3->setFont(timesFont(60));
    m_panel3->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    m_panel3->setFrameShape(QFrame::Panel);
    m_panel3->setFrameShadow(QFrame::Raised);
    m_label1 = named(new QLabel(QStringLiteral("kalmo-school.ru"), m_panel3), "Label1");
    m_label1->setFont(timesFont(19));
    m_label1->move(108, 2);
    m_label1->adjustSize();

    m_panel1 = named(new QLabel(this), "Panel1");
    m_panel1->setFont(timesFont(75));
    m_panel1->setAlignment(Qt::AlignCenter);
    m_panel1->setFrameShape(QFrame::Panel);
    m_panel1->setFrameShadow(QFrame::Raised);

    auto flatButton = [this](const char *name) {
        auto *b = named(new QPushButton(this), name);
        b->setFlat(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setAutoFillBackground(true);
        return b;
    };
    m_speedButton10 = flatButton("SpeedButton10");
    m_button21 = flatButton("Button21");
    m_button22 = flatButton("Button22");
    m_raspisanie1 = flatButton("Raspisanie1");
    m_raspisanie3 = flatButton("Raspisanie3");

    m_panel4 = named(new QFrame(this), "Panel4");
    m_panel2 = named(new QFrame(this), "Panel2");
    m_panel2->setFrameShape(QFrame::Box);
    m_panel2->setLineWidth(1);

    m_picShow = named(new transitions::TPicShow(this), "PicShow1");
    m_picShow->setBgMode(transitions::TPicShow::bmStretched);
    m_picShow->setCenter(true);
    m_picShow->setProportional(true);
    m_picShow->setStretch(true);
    m_picShow->setFrameColor(QColor(Qt::lightGray));
    m_picShow->setStep(6);
    m_picShow->setStyle(60);
    m_picShow->setAlign(transitions::TPicShow::alCustom);
    m_picShow->setAutoSize(true);
    m_picShow->setAccessibleName(QStringLiteral("Фото"));

    m_label2 = named(new QLabel(QStringLiteral("Фото"), this), "Label2");
    m_label2->setFont(timesFont(19));
    m_staticText2 = named(new QLabel(this), "StaticText2");
    m_staticText2->setFont(timesFont(24));
    m_staticText2->hide();

    m_button26 = named(new QPushButton(QStringLiteral("ЗАКРЫТЬ  "), this), "Button26");
    m_button26->hide();

    auto navButton = [this](const char *name, const QPixmap &picture, const QString &accessible) {
        auto *b = named(new QToolButton(this), name);
        b->setAutoRaise(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setIcon(picture);
        b->setIconSize(picture.size());
        b->setAccessibleName(accessible);
        b->resize(80, 80);
        b->hide();
        return b;
    };
    m_speedButton1 = navButton("SpeedButton1", backPicture(), QStringLiteral("Назад"));
    m_speedButton2 = navButton("SpeedButton2", homePicture(), QStringLiteral("Домой"));
    m_speedButton3 = navButton("SpeedButton3", forwardPicture(), QStringLiteral("Вперед"));

    m_ticker = named(new ticker::TScrollingText(this, &m_s.clock), "ScrollingText");

    web::SiteViewWidgets site;
    site.host = this;
    site.closeButton = m_button26;
    site.backButton = m_speedButton1;
    site.homeButton = m_speedButton2;
    site.forwardButton = m_speedButton3;
    site.mainControls = {m_speedButton10, m_raspisanie1, m_raspisanie3, m_panel3,
                         m_panel1,        m_button21,    m_button22};
    site.slideshowTimer = &m_timer1;
    web::SiteViewSettings siteSettings{[this] { return m_values.site; },
                                       [this] { return m_values.pageSeconds; }};
    m_siteView = new web::SiteView(site, m_s.idle, siteSettings,
                                   m_s.browserFactory ? m_s.browserFactory : web::createWebBrowser);
    m_siteView->idleTimer()->setObjectName(QStringLiteral("Timer8"));
    connect(m_speedButton10, &QPushButton::clicked, m_siteView, &web::SiteView::open);
    connect(m_button26, &QPushButton::clicked, m_siteView, &web::SiteView::close);
    connect(m_speedButton1, &QToolButton::clicked, m_siteView, &web::SiteView::back);
    connect(m_speedButton2, &QToolButton::clicked, m_siteView, &web::SiteView::home);
    connect(m_speedButton3, &QToolButton::clicked, m_siteView, &web::SiteView::forward);

    connect(m_raspisanie1, &QPushButton::clicked, this, &TForm1::openCalendar);
    connect(m_raspisanie3, &QPushButton::clicked, this, &TForm1::openSchedule);
    connect(m_button21, &QPushButton::clicked, this, &TForm1::openVideo);
    connect(m_button22, &QPushButton::clicked, this, &TForm1::openPhotoViewer);
}

void TForm1::applyLayout() {
    MainLayoutInput in;
    in.width = width();
    in.height = height();
    in.weather = m_weatherShown;
    m_layout = computeMainLayout(in);
    const MainLayout &l = m_layout;
    m_panel3->setGeometry(l.panel3);
    m_panel1->setGeometry(l.panel1);
    m_speedButton10->setGeometry(l.speedButton10);
    m_button21->setGeometry(l.button21);
    m_button22->setGeometry(l.button22);
    m_raspisanie1->setGeometry(l.raspisanie1);
    m_raspisanie3->setGeometry(l.raspisanie3);
    m_panel4->setVisible(l.weather);
    // The panel keeps its place while hidden, so the forecast rows are sized from it.
    m_panel4->setGeometry(computeMainLayout({in.width, in.height, true}).panel4);
    m_panel2->setGeometry(l.panel2);
    if (!m_fullPhoto)
        m_picShow->setGeometry(l.picShow1);
    m_label2->move(l.label2);
    m_label2->adjustSize();
    m_button26->setGeometry(l.button26);
    m_staticText2->move(l.staticText2);
    m_speedButton1->move(l.speedButton1);
    m_speedButton2->move(l.speedButton2);
    m_speedButton3->move(l.speedButton3);
}

QFont TForm1::buttonFont(int pointSize) const {
    QFont f(m_values.fontName);
    f.setPointSize(std::max(1, pointSize));
    core::FontStyles::parse(m_values.fontStyleText).applyTo(f);
    return f;
}

void TForm1::applyCaptionsAndFonts(bool reread) {
    m_speedButton10->setText(m_values.buttonSite + QStringLiteral("  "));
    m_speedButton10->setFont(buttonFont(m_values.siteFontSize));
    const QFont mainFont = buttonFont(reread ? m_values.siteFontSize : m_values.fontSize);
    for (QPushButton *b : {m_raspisanie1, m_raspisanie3, m_button21, m_button22})
        b->setFont(mainFont);
    if (!reread)
        m_button26->setFont(mainFont);
    for (QPushButton *b : {m_speedButton10, m_raspisanie1, m_raspisanie3, m_button21, m_button22})
        b->setAccessibleName(b->text().trimmed());
}

void TForm1::applyTheme() {
    const QString error = core::Themes::apply(m_values.theme);
    if (!error.isEmpty())
        m_s.messages.show(error);
    m_picShow->setColor(core::Themes::windowColour());
}

void TForm1::onClockTick() {
    const QDateTime now = m_s.clock.now();
    m_panel1->setText(now.time().toString(QStringLiteral("H:mm:ss")));
    m_panel3->setText(now.date().toString(QStringLiteral("dd.MM.yyyy")));
}

void TForm1::onRereadTick() {
    // 1.
    if (m_s.settings.reread() == SettingsFiles::RereadResult::Missing) {
        m_timer9.setInterval(300000);
        return;
    }
    // 2.
    m_timer1.stop();
    // 3. A cleared flag leaves the panel as it is until the hourly refresh.
    if (m_values.weather)
        onWeatherTick();
    // 4.
    applyTheme();
    // 5.
    m_slideshow.setCurrentIndex(-1);
    // 6.
    applyCaptionsAndFonts(true);
    // 7.
    ticker::reloadTicker(*m_ticker, m_values.scrollingTextFile, m_values.scrollingStep,
                         core::Themes::windowColour(), core::Themes::textColour());
    // 8.
    rebuildPhotoList();
    // 9.
    m_timer1.start();
    // 10.
    m_timer9.setInterval(m_values.rereadMs);
}

void TForm1::rebuildPhotoList() {
    m_slideshow.rebuild(m_values.photoFolder);
}

void TForm1::onSlideshowTick() {
    // The frame's rules are applied again before every automatic change.
    if (!m_fullPhoto)
        m_picShow->setGeometry(m_layout.picShow1);
    const Slideshow::Action action =
        m_slideshow.automaticChange(folderExists(m_values.photoFolder));
    switch (action.kind) {
    case Slideshow::Action::Rebuild:
        rebuildPhotoList();
        break;
    case Slideshow::Action::Caption:
        setCaption(action.caption, false);
        break;
    case Slideshow::Action::Show:
        showPhoto(action, PhotoPurpose::Automatic);
        break;
    case Slideshow::Action::None:
        break;
    }
}

void TForm1::showPhoto(const Slideshow::Action &action, PhotoPurpose purpose) {
    m_pending = action;
    m_pendingPurpose = purpose;
    // Full-photo mode may be entered while decoding, so decode for the larger of the two.
    m_loader.request(action.path, size());
}

void TForm1::onPhotoLoaded(const QString &path, const QImage &image) {
    if (path != m_pending.path)
        return;
    if (image.isNull()) {
        // Unreadable or invalid: the list is rebuilt, caption and interval stay.
        rebuildPhotoList();
        return;
    }
    if (m_pendingPurpose == PhotoPurpose::Automatic)
        setFullPhoto(false);
    m_picShow->setStyle(m_pending.style);
    m_picShow->setPicture(image);
    if (m_pendingPurpose == PhotoPurpose::Automatic)
        m_timer1.setInterval(m_values.slideshowMs);
    m_picShow->execute();
    setCaption(m_pending.caption, m_pendingPurpose == PhotoPurpose::Swipe);
}

void TForm1::setCaption(const QString &text, bool alsoFullPhotoName) {
    m_label2->setText(text);
    m_label2->adjustSize();
    m_label2->setAccessibleName(text);
    if (alsoFullPhotoName) {
        m_staticText2->setText(text);
        m_staticText2->adjustSize();
    }
}

void TForm1::onSwipe(SwipeDirection direction) {
    // Swipes belong to the main screen itself, not to the site view or a secondary window.
    if (m_button26->isVisible() || QApplication::activeModalWidget())
        return;
    m_timer1.stop();
    static constexpr Slideshow::Swipe gestures[] = {Slideshow::Swipe::Left, Slideshow::Swipe::Right,
                                                    Slideshow::Swipe::Up, Slideshow::Swipe::Down};
    const Slideshow::Action action =
        m_slideshow.swipe(gestures[int(direction)], folderExists(m_values.photoFolder));
    if (action.kind == Slideshow::Action::Show)
        showPhoto(action, PhotoPurpose::Swipe);
    else
        setCaption(action.caption, m_slideshow.photos().size() > 0);
    m_timer1.start();
}

void TForm1::toggleFullPhoto() {
    setFullPhoto(!m_fullPhoto);
}

void TForm1::setFullPhoto(bool on) {
    if (on == m_fullPhoto)
        return;
    m_fullPhoto = on;
    m_picShow->setColor(core::Themes::windowColour());
    m_picShow->setAutoSize(true);
    m_picShow->setCenter(true);
    if (on) {
        m_ticker->hide();
        m_ticker->lower();
        m_picShow->setGeometry(rect());
        m_picShow->raise();
        m_speedButton10->hide();
        m_button22->hide();
        m_label2->hide();
        m_staticText2->setText(m_label2->text());
        m_staticText2->adjustSize();
        m_staticText2->show();
        m_staticText2->raise();
    } else {
        placePhotoInFrame();
        m_speedButton10->show();
        m_button22->show();
        m_staticText2->hide();
        m_label2->show();
        m_ticker->raise();
        m_ticker->show();
    }
}

void TForm1::placePhotoInFrame() {
    m_picShow->setGeometry(m_layout.picShow1);
}

void TForm1::onWeatherTick() {
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

void TForm1::openVideo() {
    if (!folderExists(m_values.videoFolder)) {
        m_s.messages.show(QStringLiteral("Доступных видеоматериалов нет!"));
        return;
    }
    m_timer1.stop();
    if (m_windows.form6)
        m_windows.form6->open();
}

void TForm1::openPhotoViewer() {
    if (!folderExists(m_values.photoFolder)) {
        m_s.messages.show(QStringLiteral("Доступных фото нет!!!"));
        return;
    }
    if (m_windows.form5)
        m_windows.form5->open();
}

void TForm1::afterPhotoViewer() {
    m_timer1.stop();
    const Slideshow::Action action = m_slideshow.afterViewer(folderExists(m_values.photoFolder));
    if (action.kind == Slideshow::Action::Show)
        showPhoto(action, PhotoPurpose::Viewer);
    else if (action.kind == Slideshow::Action::Caption)
        setCaption(action.caption, false);
    m_timer1.start();
}

bool TForm1::eventFilter(QObject *watched, QEvent *event) {
    if (watched == m_picShow && event->type() == QEvent::MouseButtonDblClick)
        toggleFullPhoto();
    return QWidget::eventFilter(watched, event);
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
}

void TForm1::keyPressEvent(QKeyEvent *event) {
    // Keys typed into a focused child are the child's business.
    if (QWidget *focus = focusWidget(); focus && focus != this) {
        QWidget::keyPressEvent(event);
        return;
    }
    const auto mods =
        event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier);
    if (event->key() == Qt::Key_F3 && mods == Qt::ControlModifier) {
        openAccessWindow();
        return;
    }
    if (event->key() == Qt::Key_F4 && mods == Qt::AltModifier) {
        openCloseDialog();
        return;
    }
    QWidget::keyPressEvent(event);
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
