#include "app/main_window.h"

#include "admin/access_window.h"
#include "admin/password_dlg.h"
#include "app/nav_pictures.h"
#include "core/theme.h"
#include "schedule/schedule_files.h"

#include <QCloseEvent>
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
      m_values(services.values) {
    setObjectName(QStringLiteral("Form1"));
    // 1. Keys reach the window's own handler only when no child holds the focus; see
    //    keyPressEvent.
    // 2.
    setWindowTitle(QStringLiteral("Kalmo"));
    QFont tahoma(QStringLiteral("Tahoma"));
    tahoma.setPixelSize(11);
    setFont(tahoma);

    createControls();

    // 3., 4. Settings files into the program-wide values.
    m_s.settings.readPointerAtStart();
    m_s.settings.readMainAtStart();
    m_raspisanie1->setText(m_values.buttonCalendar);
    m_button22->setText(m_values.buttonPhoto);
    m_raspisanie3->setText(m_values.buttonSchedule);
    m_button21->setText(m_values.buttonVideo);

    // 5.
    applyTheme();
    m_timer9.setObjectName(QStringLiteral("Timer9"));
    m_timer9.start();

    // 7. Full screen, fixed part of the layout.
    setGeometry(0, 0, m_s.screenSize.width(), m_s.screenSize.height());
    // 8. Without a forecast yet the photo takes the weather panel's width.
    m_weatherShown = false;
    // 9.
    applyLayout();
    m_timer9.setInterval(m_values.rereadMs);
    // 10.
    applyCaptionsAndFonts(false);

    // 12. First start of the main settings file.
    if (m_s.settings.firstStartMain())
        applyTheme();

    // 15. First start of the schedule file.
    try {
        schedule::scheduleFirstStart(m_values.scheduleFilePath());
    } catch (const core::IniWriteError &e) {
        m_s.messages.show(e.text());
    }

    m_timer2.setObjectName(QStringLiteral("Timer2"));
    m_timer2.setInterval(1000);
    connect(&m_timer2, &QTimer::timeout, this, &TForm1::onClockTick);
    m_timer2.start();
    connect(&m_timer9, &QTimer::timeout, this, &TForm1::onRereadTick);
}

TForm1::~TForm1() = default;

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

    m_picShow1 = named(new QWidget(this), "PicShow1");

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
    if (l.weather)
        m_panel4->setGeometry(l.panel4);
    m_panel2->setGeometry(l.panel2);
    m_picShow1->setGeometry(l.picShow1);
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
}

void TForm1::onClockTick() {
    const QDateTime now = m_s.clock.now();
    m_panel1->setText(now.time().toString(QStringLiteral("H:mm:ss")));
    m_panel3->setText(now.date().toString(QStringLiteral("dd.MM.yyyy")));
}

void TForm1::onRereadTick() {
    if (m_s.settings.reread() == SettingsFiles::RereadResult::Missing) {
        m_timer9.setInterval(300000);
        return;
    }
    applyTheme();
    applyCaptionsAndFonts(true);
    m_timer9.setInterval(m_values.rereadMs);
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
