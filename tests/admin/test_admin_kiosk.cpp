#include "admin/access_window.h"
#include "admin/general_page.h"
#include "admin/password_dlg.h"
#include "admin/settings_dialog.h"
#include "app/kiosk.h"
#include "calendar/calendar_editor_panel.h"
#include "calendar/calendar_window.h"
#include "calendar/colour_box.h"
#include "calendar/day_tile.h"
#include "core/ini_file.h"
#include "schedule/bell_editor.h"
#include "schedule/countdown.h"
#include "schedule/schedule_window.h"
#include "schedule/sections_editor.h"
#include "tests/web/fake_browser.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

using namespace kalmo;

namespace {

// The whole program over a fresh base folder, as at a first start.
struct Fixture {
    QTemporaryDir dir;
    core::RecordingMessages messages;
    core::ScriptedDialogs dialogs;
    core::ManualClock clock{QDateTime(QDate(2026, 12, 9), QTime(8, 5, 7))};
    std::unique_ptr<app::Kiosk> kiosk;

    Fixture() {
        app::Kiosk::Options o;
        o.synchronousFiles = true;
        o.baseFolder = dir.path() + '/';
        o.screenSize = QSize(1280, 800);
        o.messages = &messages;
        o.dialogs = &dialogs;
        o.clock = &clock;
        o.randomSeed = 1;
        o.browserFactory = fakeFactory();
        kiosk = std::make_unique<app::Kiosk>(o);
        kiosk->surface().show();
    }
    admin::TForm3 &settings() { return *kiosk->windows().form3; }
    admin::TForm4 &access() { return *kiosk->windows().form4; }
    admin::GeneralPage &page() { return settings().generalPage(); }
    QPushButton *mainButton(const char *name) {
        return kiosk->mainWindow().findChild<QPushButton *>(QLatin1String(name));
    }
    // Ctrl+F3 and a password typed as a person would.
    void enter(const QString &password) {
        QTest::keyClick(&kiosk->mainWindow(), Qt::Key_F3, Qt::ControlModifier);
        QVERIFY(access().isVisible());
        access().entry()->clear();
        QTest::keyClicks(access().entry(), password);
        for (QPushButton *b : access().findChildren<QPushButton *>())
            if (b->text() == "OK")
                b->click();
    }
};

} // namespace

class TestAdminKiosk : public QObject {
    Q_OBJECT
private slots:
    void savedSiteCaptionShowsAtOnce();
    void newPasswordHoldsForBothWindows();
    void unknownThemeIsReported();
    void editsInTheSettingsReachTheScreens();
};

void TestAdminKiosk::savedSiteCaptionShowsAtOnce() {
    Fixture f;
    f.enter("3049");
    QVERIFY(!f.access().isVisible());
    QVERIFY(f.settings().isVisible());
    QLineEdit *caption = f.page().caption(admin::GeneralPage::Site);
    caption->clear();
    QTest::keyClicks(caption, "School site");
    f.page().fontSize()->setText("15");
    f.page().saveButton()->click();
    QCOMPARE(f.messages.texts(), QStringList());
    QCOMPARE(f.mainButton("SpeedButton10")->text(), QString("School site  "));
    // The site name on the date panel is the program's own, not the button's caption.
    QCOMPARE(f.kiosk->mainWindow().findChild<QLabel *>("Label1")->text(),
             QStringLiteral("kalmo-school.ru"));
    QPushButton *close = f.mainButton("Button26");
    QCOMPARE(close->text(), QStringLiteral("ЗАКРЫТЬ  "));
    QCOMPARE(close->font().pointSize(), 15);
    QCOMPARE(f.mainButton("Raspisanie1")->font().pointSize(), 18); // the button size
    QCOMPARE(f.kiosk->mainWindow().rereadTimer().interval(), 30 * 60000);
    f.settings().reject();
    QVERIFY(!f.settings().isVisible());
}

void TestAdminKiosk::newPasswordHoldsForBothWindows() {
    Fixture f;
    f.enter("3049");
    f.page().currentPassword()->setText("3049");
    f.page().newPassword()->setText("7777");
    f.page().saveButton()->click();
    QCOMPARE(core::IniFile(f.dir.filePath("filesetting.ini")).readString("passwd", "passwd"),
             QString("7777"));
    f.settings().reject();

    f.enter("3049");
    QCOMPARE(f.access().message()->text(), QStringLiteral("Неверный пароль"));
    QVERIFY(!f.settings().isVisible());
    f.enter("7777");
    QVERIFY(f.settings().isVisible());
    f.settings().reject();

    admin::TPasswordDlg &closing = *f.kiosk->windows().passwordDlg;
    QSignalSpy ends(&closing, &admin::TPasswordDlg::closeProgramRequested);
    closing.openDialog();
    closing.entry()->setText("7777");
    closing.findChild<QPushButton *>("OKBtn")->click();
    QCOMPARE(ends.count(), 1);
}

void TestAdminKiosk::unknownThemeIsReported() {
    Fixture f;
    f.enter("3049");
    f.page().themeList()->setEditText("Nonesuch");
    f.page().applyTheme();
    QCOMPARE(core::IniFile(f.dir.filePath("kalmora.ini")).readString("style", "styletest"),
             QString("Nonesuch"));
    QCOMPARE(f.messages.texts(), QStringList{"Style 'Nonesuch' not found."});
}

// The administrator's round trip: the settings dialog's calendar, schedule and bell pages
// edited and saved, then what a visitor sees on the calendar and schedule screens.
void TestAdminKiosk::editsInTheSettingsReachTheScreens() {
    Fixture f;
    f.enter("3049");
    admin::TForm3 &settings = *f.kiosk->windows().form3;
    QVERIFY(settings.isVisible());

    // Calendar page: an event on 9 December 2026 with its text, and a new event colour.
    settings.pages()->setCurrentWidget(settings.calendarPage());
    calendar::CalendarEditorPanel &days = settings.calendarEditor();
    QVERIFY(days.isOpen());
    QCOMPARE(days.dateControl()->date(), QDate(2017, 2, 3));
    QCOMPARE(days.dateList()->count(), 4); // the seeded holidays
    days.dateControl()->setDate(QDate(2026, 12, 9));
    QTest::mouseClick(days.addButton(), Qt::LeftButton);
    QVERIFY(days.addMenu()->isVisible());
    days.addMenu()->actions().at(1)->trigger(); // "Событие"
    days.addMenu()->hide();
    QListWidget *list = days.dateList();
    QCOMPARE(list->item(4)->text(), QString("9.12.2026"));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(4)).center());
    QCOMPARE(days.textBox()->toPlainText(), QStringLiteral("Здесь должен быть Ваш текст"));
    // QTest types Latin-1 only: the Cyrillic text goes in as a paste would.
    days.textBox()->selectAll();
    days.textBox()->insertPlainText(QStringLiteral("Педсовет"));
    QTest::mouseClick(days.saveButton(), Qt::LeftButton);
    calendar::ColourBox *eventColour = days.colourBox(10);
    const core::ColorCode olive = *core::colorFromText("clOlive");
    eventColour->setCurrentIndex(eventColour->indexOf(olive));
    // The calendar screen paints with it at once.
    QCOMPARE(f.kiosk->windows().formCalendar->marking().event, olive);

    // Schedule page: the first department gets a name.
    schedule::SectionsEditor &sections = settings.sectionsEditor();
    QLineEdit *name = sections.page(0).name;
    name->setText(QStringLiteral("Отделение ИТ"));
    QTest::mouseClick(sections.page(0).save, Qt::LeftButton);

    // Bell page: the first lesson starts at 8:30.
    schedule::BellEditor &bells = settings.bellEditor();
    bells.selectRow(1);
    bells.startEditor()->selectAll();
    QTest::keyClicks(bells.startEditor(), "083000");
    QTest::mouseClick(bells.saveButton(), Qt::LeftButton);

    QCOMPARE(f.messages.texts(), QStringList());
    settings.reject();
    QVERIFY(!settings.isVisible());
    QVERIFY(!days.isOpen());

    // The calendar screen: the day is marked in the new colour and shows its text.
    calendar::TFormCalendar &calendarScreen = *f.kiosk->windows().formCalendar;
    QSignalSpy calendarRead(&calendarScreen, &calendar::TFormCalendar::snapshotRead);
    QTest::mouseClick(f.kiosk->mainWindow().findChild<QPushButton *>("Raspisanie1"),
                      Qt::LeftButton);
    QVERIFY(calendarScreen.isVisible());
    QVERIFY(calendarRead.wait());
    // December 2026 begins on a Tuesday: the 9th is a Wednesday in the second week.
    QCOMPARE(calendarScreen.grid()->item(2, 2)->text(), QString("9"));
    QCOMPARE(calendarScreen.fillAt(2, 2), std::optional<core::ColorCode>(olive));
    calendarScreen.selectCell(2, 2);
    QVERIFY(calendarScreen.tile()->isVisible());
    QCOMPARE(calendarScreen.tile()->plainText(), QStringLiteral("Педсовет"));
    calendarScreen.closeScreen();

    // The schedule screen: the department's button and the countdown to 8:30.
    schedule::TMyRaspisanie &scheduleScreen = *f.kiosk->windows().myRaspisanie;
    QSignalSpy scheduleRead(&scheduleScreen, &schedule::TMyRaspisanie::filesRead);
    QTest::mouseClick(f.kiosk->mainWindow().findChild<QPushButton *>("Raspisanie3"),
                      Qt::LeftButton);
    QVERIFY(scheduleScreen.isVisible());
    QVERIFY(scheduleRead.wait());
    QCOMPARE(scheduleScreen.findChild<QPushButton *>("NewPage1")->text(),
             QStringLiteral("Отделение ИТ"));
    QCOMPARE(scheduleScreen.countdown()->text(),
             QStringLiteral("1 занятие начнется через 24 минут 53 секунд."));
    QTest::mouseClick(scheduleScreen.mainMenuButton(), Qt::LeftButton);
    QVERIFY(!scheduleScreen.isVisible());
}

QTEST_MAIN(TestAdminKiosk)
#include "test_admin_kiosk.moc"
