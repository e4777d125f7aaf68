#include "admin/access_window.h"
#include "admin/password_dlg.h"
#include "admin/settings_dialog.h"
#include "app/kiosk.h"
#include "app/main_layout.h"
#include "calendar/calendar_editor.h"
#include "calendar/calendar_window.h"
#include "schedule/schedule_window.h"
#include "video/video_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>

using namespace kalmo;

namespace {

struct Fixture {
    QTemporaryDir dir;
    core::RecordingMessages messages;
    core::ManualClock clock{QDateTime(QDate(2026, 12, 9), QTime(8, 5, 7))};
    std::unique_ptr<app::Kiosk> kiosk;

    explicit Fixture(QSize screen = QSize(1920, 1080)) {
        app::Kiosk::Options o;
        o.synchronousFiles = true;
        o.baseFolder = dir.path() + '/';
        o.screenSize = screen;
        o.messages = &messages;
        o.clock = &clock;
        o.randomSeed = 1;
        kiosk = std::make_unique<app::Kiosk>(o);
        kiosk->surface().show();
    }
    app::TForm1 &form1() { return kiosk->mainWindow(); }
    template <typename T = QWidget> T *child(const char *name) {
        return form1().findChild<T *>(QLatin1String(name));
    }
};

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void escapeClosesNoScreen_data();
    void escapeClosesNoScreen();
    void windowsAreCreatedWithTheirCaptions_data();
    void windowsAreCreatedWithTheirCaptions();
    void mainWindowIsBorderlessFullScreen();
    void pointerHiddenUnlessAskedFor();
    void altF4AsksForThePassword();
    void closeRequestIsTreatedLikeAltF4();
    void rightPasswordEndsTheProgram();
    void ctrlF3OpensTheAccessWindow();
    void keysTypedIntoAChildStayThere();
    void screensOpenAsOverlaysThatTakeTheKeys();
    void clockShowsTimeAndDate();
    void layoutMatchesTheWorkedExample_data();
    void layoutMatchesTheWorkedExample();
    void layoutRulesHoldAtOtherSizes_data();
    void layoutRulesHoldAtOtherSizes();
};

void TestMainWindow::escapeClosesNoScreen_data() {
    QTest::addColumn<QString>("screen");
    for (const char *name :
         {"Form3", "Form6", "FormCalendar", "FormCalendarSetting", "MyRaspisanie"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TestMainWindow::escapeClosesNoScreen() {
    QFETCH(QString, screen);
    Fixture f;
    const app::WindowSet &w = f.kiosk->windows();
    const QHash<QString, QDialog *> screens = {{"Form3", w.form3},
                                               {"Form6", w.form6},
                                               {"FormCalendar", w.formCalendar},
                                               {"FormCalendarSetting", w.formCalendarSetting},
                                               {"MyRaspisanie", w.myRaspisanie}};
    QDialog *dialog = screens.value(screen);
    QVERIFY(dialog);
    if (dialog == w.form3)
        w.form3->openDialog();
    else
        dialog->open();
    QVERIFY(dialog->isVisible());
    // Pressed on the window and on whatever control holds the focus inside it.
    QTest::keyClick(dialog, Qt::Key_Escape);
    if (QWidget *focus = dialog->focusWidget())
        QTest::keyClick(focus, Qt::Key_Escape);
    QVERIFY(dialog->isVisible());
    dialog->reject();
    QVERIFY(!dialog->isVisible());
}

void TestMainWindow::windowsAreCreatedWithTheirCaptions_data() {
    QTest::addColumn<QString>("objectName");
    QTest::addColumn<QString>("caption");
    QTest::newRow("settings") << "Form3" << QStringLiteral("Настройки");
    QTest::newRow("access") << "Form4" << QStringLiteral("Доступ к настройкам");
    QTest::newRow("video") << "Form6"
                           << "Video";
    QTest::newRow("photo") << "Form5"
                           << "Photo";
    QTest::newRow("document") << "FormBrowser"
                              << "FormBrowser";
    QTest::newRow("calendar") << "FormCalendar"
                              << "MyCalendar";
    QTest::newRow("calendar editor") << "FormCalendarSetting"
                                     << "FormCalendarSetting";
    QTest::newRow("schedule") << "MyRaspisanie"
                              << "MyRaspisanie";
    QTest::newRow("close program") << "PasswordDlg" << QStringLiteral("Пароль");
}

void TestMainWindow::windowsAreCreatedWithTheirCaptions() {
    QFETCH(QString, objectName);
    QFETCH(QString, caption);
    Fixture f;
    // Overlays of the one window, not windows of their own.
    auto *w = f.kiosk->surface().findChild<QWidget *>(objectName, Qt::FindDirectChildrenOnly);
    QVERIFY(w);
    QCOMPARE(w->windowTitle(), caption);
    QVERIFY(!w->isWindow());
    QVERIFY(!w->isVisible());
}

void TestMainWindow::mainWindowIsBorderlessFullScreen() {
    Fixture f;
    // The kiosk's one window; the main screen is its page and fills it.
    QWidget &window = f.kiosk->surface();
    QVERIFY(window.isWindow());
    QCOMPARE(window.windowTitle(), QString("Kalmo"));
    QVERIFY(window.windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(window.geometry(), QRect(0, 0, 1920, 1080));
    QCOMPARE(f.form1().window(), &window);
    QCOMPARE(f.form1().windowTitle(), QString("Kalmo"));
    QCOMPARE(f.form1().geometry(), QRect(0, 0, 1920, 1080));
    // The first run shows the start defaults.
    QCOMPARE(f.child<QPushButton>("SpeedButton10")->text(), QStringLiteral("САЙТ  "));
    QCOMPARE(f.child<QPushButton>("Button21")->text(), QStringLiteral("Видеоматериалы"));
    QVERIFY(f.messages.entries.isEmpty());
}

void TestMainWindow::pointerHiddenUnlessAskedFor() {
    {
        Fixture f;
        QVERIFY(QGuiApplication::overrideCursor());
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::BlankCursor);
    }
    QVERIFY(!QGuiApplication::overrideCursor()); // given back with the kiosk

    QTemporaryDir dir;
    core::RecordingMessages messages;
    app::Kiosk::Options o;
    o.synchronousFiles = true;
    o.baseFolder = dir.path() + '/';
    o.screenSize = QSize(800, 600);
    o.messages = &messages;
    o.showCursor = true;
    app::Kiosk kiosk(o);
    QVERIFY(!QGuiApplication::overrideCursor());
}

void TestMainWindow::altF4AsksForThePassword() {
    Fixture f;
    auto *dlg = f.kiosk->windows().passwordDlg;
    QTest::keyClick(&f.form1(), Qt::Key_F4, Qt::AltModifier);
    QVERIFY(dlg->isVisible());
    QCOMPARE(dlg->entry()->text(), QString("******"));
    QCOMPARE(dlg->entry()->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr,
                                              dlg->entry()),
             int('*'));
    // Enter with the entry unchanged: wrong password, box, dialog gone, kiosk running.
    QTest::keyClick(dlg->entry(), Qt::Key_Return);
    QVERIFY(!dlg->isVisible());
    QCOMPARE(f.messages.entries.size(), 1);
    QCOMPARE(f.messages.entries[0].text, QStringLiteral("Неверный пароль"));
    QCOMPARE(f.messages.entries[0].title, QStringLiteral("Ошибка"));
    QVERIFY(f.form1().isVisible());
    // Cancel leaves the kiosk running too, and the entry is reset on every opening.
    QTest::keyClick(&f.form1(), Qt::Key_F4, Qt::AltModifier);
    dlg->entry()->setText("x");
    QTest::keyClick(dlg->entry(), Qt::Key_Escape);
    QVERIFY(!dlg->isVisible());
    QVERIFY(f.form1().isVisible());
    f.form1().openCloseDialog();
    QCOMPARE(dlg->entry()->text(), QString("******"));
}

void TestMainWindow::closeRequestIsTreatedLikeAltF4() {
    Fixture f;
    QVERIFY(!f.form1().close());
    QVERIFY(f.form1().isVisible());
    QVERIFY(f.kiosk->windows().passwordDlg->isVisible());
}

void TestMainWindow::rightPasswordEndsTheProgram() {
    Fixture f;
    auto *dlg = f.kiosk->windows().passwordDlg;
    f.form1().openCloseDialog();
    dlg->entry()->setText("3049");
    QTest::keyClick(dlg->entry(), Qt::Key_Return);
    QVERIFY(!f.form1().isVisible());
    QVERIFY(f.messages.entries.isEmpty());
}

void TestMainWindow::ctrlF3OpensTheAccessWindow() {
    Fixture f;
    auto *access = f.kiosk->windows().form4;
    QTest::keyClick(&f.form1(), Qt::Key_F3, Qt::ControlModifier);
    QVERIFY(access->isVisible());
    QCOMPARE(access->message()->text(), QString());
    // Escape and Enter answer for no button.
    QTest::keyClick(access->entry(), Qt::Key_Escape);
    QVERIFY(access->isVisible());
    access->entry()->setText("nope");
    QTest::keyClick(access->entry(), Qt::Key_Return);
    QCOMPARE(access->message()->text(), QString());
    access->checkPassword();
    access->checkPassword();
    QCOMPARE(access->message()->text(), QStringLiteral("Неверный пароль"));
    QVERIFY(access->isVisible());
    access->entry()->setText("3049");
    access->checkPassword();
    QVERIFY(!access->isVisible());
    QVERIFY(f.kiosk->windows().form3->isVisible());
    QCOMPARE(access->entry()->text(), QString("******"));
    f.kiosk->windows().form3->reject();
    f.form1().openAccessWindow();
    QCOMPARE(access->message()->text(), QString());
}

void TestMainWindow::screensOpenAsOverlaysThatTakeTheKeys() {
    Fixture f;
    app::Surface &window = f.kiosk->surface();
    auto *calendar = f.kiosk->windows().formCalendar;
    auto *editor = f.kiosk->windows().formCalendarSetting;
    // Keys go where the window's focus is, as a keyboard's would.
    auto press = [&window](Qt::Key key, Qt::KeyboardModifiers mods) {
        QTest::keyClick(window.focusWidget() ? window.focusWidget() : &window, key, mods);
    };
    f.child<QPushButton>("Raspisanie1")->click();
    QCOMPARE(window.overlays().top(), calendar);
    QCOMPARE(calendar->geometry(), QRect(0, 0, 1920, 1080));
    QVERIFY(calendar->isAncestorOf(window.childAt(960, 540)));

    // Ctrl+F3 is the calendar's (its editor), not the main screen's (the access window).
    press(Qt::Key_F3, Qt::ControlModifier);
    QCOMPARE(window.overlays().top(), editor);
    QCOMPARE(editor->geometry().center(), window.rect().center());
    QVERIFY(!f.kiosk->windows().form4->isVisible());
    // Alt+F4 closes what is in front, as a window manager did; the kiosk runs on.
    press(Qt::Key_F4, Qt::AltModifier);
    QVERIFY(!editor->isVisible());
    QCOMPARE(window.overlays().top(), calendar);
    QVERIFY(!f.kiosk->windows().passwordDlg->isVisible());

    calendar->closeScreen();
    QCOMPARE(window.overlays().top(), nullptr);
    QCOMPARE(window.focusWidget(), &f.form1());
    press(Qt::Key_F3, Qt::ControlModifier);
    QCOMPARE(window.overlays().top(), f.kiosk->windows().form4);
}

void TestMainWindow::keysTypedIntoAChildStayThere() {
    Fixture f;
    auto *edit = new QLineEdit(&f.form1());
    edit->show();
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_F3, Qt::ControlModifier);
    QVERIFY(!f.kiosk->windows().form4->isVisible());
}

void TestMainWindow::clockShowsTimeAndDate() {
    Fixture f;
    f.form1().onClockTick();
    QCOMPARE(f.child<QLabel>("Panel1")->text(), QString("8:05:07"));
    QCOMPARE(f.child<QLabel>("Panel3")->text(), QString("09.12.2026"));
}

void TestMainWindow::layoutMatchesTheWorkedExample_data() {
    QTest::addColumn<bool>("weather");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QRect>("rect");
    auto row = [](bool weather, const char *name, QRect r) {
        QTest::addRow("%s %s", weather ? "weather" : "no weather", name) << weather << name << r;
    };
    row(true, "Panel3", {6, 3, 304, 80});
    row(true, "Panel1", {6, 86, 304, 80});
    row(true, "SpeedButton10", {310, 3, 533, 163});
    row(true, "Button21", {846, 3, 533, 80});
    row(true, "Button22", {1382, 3, 533, 80});
    row(true, "Raspisanie1", {846, 86, 533, 80});
    row(true, "Raspisanie3", {1382, 86, 533, 80});
    row(true, "Panel4", {6, 169, 304, 830});
    row(true, "Panel2", {310, 169, 1606, 830});
    row(true, "PicShow1", {320, 179, 1586, 810});
    row(true, "Button26", {1485, 3, 425, 96});
    row(false, "Panel2", {6, 169, 1910, 830});
    row(false, "PicShow1", {16, 179, 1890, 810});
}

void TestMainWindow::layoutMatchesTheWorkedExample() {
    QFETCH(bool, weather);
    QFETCH(QString, control);
    QFETCH(QRect, rect);
    app::MainLayoutInput in;
    in.width = 1920;
    in.height = 1080;
    in.weather = weather;
    const app::MainLayout l = app::computeMainLayout(in);
    const QMap<QString, QRect> rects{{"Panel3", l.panel3},
                                     {"Panel1", l.panel1},
                                     {"SpeedButton10", l.speedButton10},
                                     {"Button21", l.button21},
                                     {"Button22", l.button22},
                                     {"Raspisanie1", l.raspisanie1},
                                     {"Raspisanie3", l.raspisanie3},
                                     {"Panel4", l.panel4},
                                     {"Panel2", l.panel2},
                                     {"PicShow1", l.picShow1},
                                     {"Button26", l.button26}};
    QCOMPARE(rects.value(control), rect);
    if (weather) {
        QCOMPARE(l.label2, QPoint(360, 1004));
        QCOMPARE(l.speedButton1, QPoint(40, 13));
        QCOMPARE(l.speedButton2, QPoint(160, 13));
        QCOMPARE(l.speedButton3, QPoint(280, 13));
    }
}

void TestMainWindow::layoutRulesHoldAtOtherSizes_data() {
    QTest::addColumn<QSize>("screen");
    for (QSize s : {QSize(1280, 1024), QSize(1366, 768), QSize(3840, 2160), QSize(1080, 1920),
                    QSize(1921, 1080)})
        QTest::addRow("%dx%d", s.width(), s.height()) << s;
}

void TestMainWindow::layoutRulesHoldAtOtherSizes() {
    QFETCH(QSize, screen);
    const int W = screen.width();
    for (bool weather : {true, false}) {
        app::MainLayoutInput in;
        in.width = W;
        in.height = screen.height();
        in.weather = weather;
        const app::MainLayout l = app::computeMainLayout(in);
        const int rightEdge = W - 3 - ((W - 310) % 3);
        QCOMPARE(l.button22.x() + l.button22.width(), rightEdge);
        QCOMPARE(l.raspisanie3.x() + l.raspisanie3.width(), rightEdge);
        QCOMPARE(l.panel2.x() + l.panel2.width(), W - 4);
        QCOMPARE(l.panel2.x(), weather ? 310 : 6);
    }
    // The window itself follows the screen.
    Fixture f(screen);
    QCOMPARE(f.form1().geometry(), QRect(QPoint(0, 0), screen));
    QCOMPARE(f.child("Button22")->geometry(), f.form1().layoutRules().button22);
    const QRect ticker = f.child("ScrollingText")->geometry();
    QCOMPARE(ticker.topLeft(), QPoint(2, screen.height() - 57));
    QCOMPARE(ticker.width(), W - 2);
}

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
