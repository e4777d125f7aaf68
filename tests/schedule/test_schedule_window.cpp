#include "core/clock.h"
#include "core/idle_clock.h"
#include "core/program_values.h"
#include "schedule/schedule_files.h"
#include "schedule/schedule_window.h"
#include "tests/support/test_files.h"
#include "tests/web/fake_browser.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace kalmo;
using namespace kalmo::schedule;
using kalmo::testing::writeAll;

namespace {

// A schedule screen on a fresh data folder, with a clock that moves only when told.
struct Screen {
    QTemporaryDir dir;
    core::ProgramValues values;
    core::ManualClock clock{QDateTime(QDate(2026, 12, 9), QTime(8, 40, 20)), 100000};
    core::IdleClock idle{clock};
    std::unique_ptr<TMyRaspisanie> window;

    Screen() {
        values.baseFolder = dir.path() + '/';
        values.mainSettingsPath = values.baseFolder + "kalmora.ini";
        values.pageSeconds = 20;
    }
    void create() {
        window = std::make_unique<TMyRaspisanie>(
            ScheduleServices{values, clock, idle, fakeFactory(), QSize(1920, 1080)});
    }
    // An opening, waited for until its files' read (on a worker) has arrived. True when
    // both files were read.
    bool open() {
        if (!window)
            create();
        QSignalSpy read(window.get(), &TMyRaspisanie::filesRead);
        window->open();
        return (!read.isEmpty() || read.wait(10000)) && read.first().at(0).toBool();
    }
    QPushButton *button(const QString &name, QWidget *in = nullptr) const {
        return (in ? in : window.get())->findChild<QPushButton *>(name);
    }
    FakeBrowser *browser() const { return qobject_cast<FakeBrowser *>(window->browser()); }
    // Waits until the document's check (on a worker) has answered.
    void settle() const {
        QVERIFY(QTest::qWaitFor([this] { return !window->documentPending(); }, 10000));
        QCoreApplication::processEvents();
    }
    QString lastLoad() const {
        settle();
        return browser() ? browser()->calls.value(browser()->calls.size() - 1) : QString();
    }
    QStringList captions(QWidget *panel) const {
        QStringList out;
        for (auto *b : panel->findChildren<QPushButton *>(Qt::FindDirectChildrenOnly))
            out << b->accessibleName();
        return out;
    }
    // The default files of a first start.
    void firstStartFiles() {
        scheduleFirstStart(values.scheduleFilePath());
        core::IniFile settings(values.mainSettingsPath);
        writeDefaultBellTable(settings);
    }
};

} // namespace

class TestScheduleWindow : public QObject {
    Q_OBJECT
private slots:
    void fixedControlsFollowTheScreen();
    void firstStartFileShowsOneDepartmentOfEightGroups();
    void departmentsFromTheFile_data();
    void departmentsFromTheFile();
    void tooManyDepartmentsShowTheFirstOnes();
    void viewsAndButtonsInEachState();
    void neighboursWrapAround();
    void documentsThatCannotBeShownGiveThePlainPage();
    void viewFlagHidesBellListAlsoAfterClose();
    void countdownRunsFromProgramStart();
    void bellListInTwoColumns();
    void idleCloseFromTheDocumentView();
    void clockShowsDateAndTwoDigitHours();
    void unreadableFilesKeepWhatWasRead();
    void fontInForceAtEachOpening();
};

void TestScheduleWindow::fixedControlsFollowTheScreen() {
    Screen s;
    s.create();
    TMyRaspisanie &w = *s.window;
    QCOMPARE(w.geometry(), QRect(0, 0, 1920, 1080));
    QCOMPARE(w.datePanel()->geometry(), QRect(6, 3, 304, 80));
    QCOMPARE(w.timePanel()->geometry(), QRect(6, 86, 304, 80));
    QCOMPARE(w.mainMenuButton()->geometry(), QRect(1694, 3, 216, 166));
    QCOMPARE(w.closeButton()->geometry(), w.mainMenuButton()->geometry());
    QCOMPARE(w.backButton()->geometry(), w.mainMenuButton()->geometry());
    QCOMPARE(w.bellList()->geometry(), QRect(315, 3, 1374, 154));
    QCOMPARE(w.countdown()->geometry(), QRect(315, 157, 1374, 29));
    QCOMPARE(w.departmentPanel()->geometry(), QRect(6, 196, 1904, 879));
    QCOMPARE(w.groupTitle()->geometry(), QRect(6, 3, 1679, 166));
    QCOMPARE(w.previousButton()->geometry(), QRect(4, 4, 524, 158));
    QCOMPARE(w.nextButton()->geometry(), QRect(1151, 4, 524, 158));
    QCOMPARE(w.mainMenuButton()->objectName(), QStringLiteral("SpeedButton1"));
    QCOMPARE(w.mainMenuButton()->accessibleName(), QStringLiteral("Главное меню"));
    QCOMPARE(w.closeButton()->accessibleName(), QStringLiteral("ЗАКРЫТЬ"));
    QCOMPARE(w.backButton()->accessibleName(), QStringLiteral("Назад"));
}

void TestScheduleWindow::firstStartFileShowsOneDepartmentOfEightGroups() {
    Screen s;
    s.firstStartFiles();
    QVERIFY(s.open());
    QCOMPARE(s.captions(s.window->departmentPanel()), QStringList{"Раздел1"});
    QPushButton *department = s.button("NewPage1");
    QVERIFY(department);
    QCOMPARE(department->size(), QSize(1904 / 4 - 12, 879 / 5 - 10));

    QTest::mouseClick(department, Qt::LeftButton);
    FlowPanel *groups = s.window->groupPanel(1);
    QVERIFY(groups->isVisible());
    QStringList expected;
    for (int k = 1; k <= 8; ++k)
        expected << QStringLiteral("Группа%1").arg(k);
    QCOMPARE(s.captions(groups), expected);
    QCOMPARE(s.button("MyButton8", groups)->text(), QStringLiteral("Группа8"));
    // Four a row: the fifth group starts the second row.
    QCOMPARE(s.button("MyButton5", groups)->pos(), QPoint(20, 20 + 879 / 5 - 10));
}

void TestScheduleWindow::departmentsFromTheFile_data() {
    QTest::addColumn<QByteArray>("file"); // empty: no schedule file
    QTest::addColumn<QStringList>("departments");
    QTest::addColumn<QStringList>("groupsOfTheFirst");

    QTest::newRow("missing file") << QByteArray() << QStringList{""} << QStringList{""};
    QTest::newRow("countrazdel 0")
        << QByteArray(
               "[ini]\ncountrazdel=0\n[1]\nrazdel=A\ncountgroup=1\nGroup1=a\n[2]\nrazdel=B\n")
        << QStringList{"A"} << QStringList{"a"};
    QTest::newRow("Countgroup 3 without Group2")
        << QByteArray("[ini]\ncountrazdel=2\n[1]\nRazdel=A\nCountgroup=3\ngroup1=a1\ngroup3=a3\n"
                      "[2]\nRazdel=B&C\n")
        << QStringList{"A", "B&C"} << QStringList{"a1", "", "a3"};
}

void TestScheduleWindow::departmentsFromTheFile() {
    QFETCH(QByteArray, file);
    QFETCH(QStringList, departments);
    QFETCH(QStringList, groupsOfTheFirst);
    Screen s;
    if (!file.isEmpty())
        writeAll(s.values.scheduleFilePath(), file);
    QVERIFY(s.open());
    QCOMPARE(s.captions(s.window->departmentPanel()), departments);
    QCOMPARE(s.captions(s.window->groupPanel(1)), groupsOfTheFirst);
}

void TestScheduleWindow::tooManyDepartmentsShowTheFirstOnes() {
    Screen s;
    QByteArray file = "[ini]\ncountrazdel=45\n[1]\ncountgroup=50\n";
    writeAll(s.values.scheduleFilePath(), file);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("45 departments"));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("50 groups"));
    QVERIFY(s.open());
    QCOMPARE(s.window->departmentPanel()->count(), TMyRaspisanie::kMaxDepartments);
    QCOMPARE(s.window->groupPanel(1)->count(), TMyRaspisanie::kMaxGroups);
    // Still usable: the last group opens, its neighbours stay among the shown ones.
    s.window->showDepartment(1);
    s.window->openGroup(40);
    QCOMPARE(s.window->groupTable().size(), 40);
}

void TestScheduleWindow::viewsAndButtonsInEachState() {
    Screen s;
    s.firstStartFiles();
    QVERIFY(s.open());
    TMyRaspisanie &w = *s.window;
    QCOMPARE(w.view(), TMyRaspisanie::View::Departments);
    QVERIFY(w.mainMenuButton()->isVisible());
    QVERIFY(!w.backButton()->isVisible());
    QVERIFY(!w.closeButton()->isVisible());

    QTest::mouseClick(s.button("NewPage1"), Qt::LeftButton);
    QCOMPARE(w.view(), TMyRaspisanie::View::Groups);
    QVERIFY(w.backButton()->isVisible());

    QTest::mouseClick(s.button("MyButton3", w.groupPanel(1)), Qt::LeftButton);
    QCOMPARE(w.view(), TMyRaspisanie::View::Document);
    QVERIFY(s.browser());
    QCOMPARE(s.browser()->objectName(), QStringLiteral("Chromium1"));
    QCOMPARE(s.browser()->spec.kind, web::BrowserKind::Document);
    QCOMPARE(s.browser()->spec.geometry, QRect(0, 174, 1920, 1080 - 174));
    QCOMPARE(s.browser()->spec.background, QColor(Qt::black));
    QCOMPARE(w.groupTitle()->text(), QStringLiteral("Группа3"));
    QVERIFY(w.groupTitle()->isVisible());
    QVERIFY(w.closeButton()->isVisible());
    const QList<QWidget *> hiddenInDocument{w.mainMenuButton(), w.backButton(), w.departmentPanel(),
                                            w.bellList(),       w.countdown(),  w.datePanel(),
                                            w.timePanel()};
    for (QWidget *hidden : hiddenInDocument)
        QVERIFY2(!hidden->isVisible(), qPrintable(hidden->objectName()));

    QTest::mouseClick(w.closeButton(), Qt::LeftButton);
    QCOMPARE(w.view(), TMyRaspisanie::View::Groups);
    QVERIFY(!w.browser());
    QVERIFY(!w.groupTitle()->isVisible());
    QVERIFY(w.backButton()->isVisible());
    QVERIFY(w.datePanel()->isVisible());

    QTest::mouseClick(w.backButton(), Qt::LeftButton);
    QCOMPARE(w.view(), TMyRaspisanie::View::Departments);
    QVERIFY(!w.groupPanel(1)->isVisible());
    QVERIFY(!w.backButton()->isVisible());

    QSignalSpy finished(&w, &QDialog::finished);
    QTest::mouseClick(w.mainMenuButton(), Qt::LeftButton);
    QCOMPARE(finished.size(), 1);
    QVERIFY(!w.isVisible());
    QVERIFY(w.findChildren<QPushButton *>(QRegularExpression("^(NewPage|MyButton)")).isEmpty());
}

void TestScheduleWindow::neighboursWrapAround() {
    Screen s;
    const QString pdf = s.dir.filePath("g1.pdf");
    writeAll(pdf, "%PDF-1.4\n");
    writeAll(s.values.scheduleFilePath(),
             "[ini]\ncountrazdel=2\n[1]\ncountgroup=8\nGroup1=Группа1\nDir1=" + pdf.toUtf8() +
                 "\nGroup7=Группа7\nGroup8=Группа8\n[2]\ncountgroup=2\nGroup1=X\nGroup2=Y\n"
                 "[3]\n");
    QVERIFY(s.open());
    TMyRaspisanie &w = *s.window;
    w.showDepartment(1);
    w.openGroup(8);
    QCOMPARE(w.nextButton()->text(), QStringLiteral("Группа1"));
    QCOMPARE(w.previousButton()->text(), QStringLiteral("Группа7"));
    QTest::mouseClick(w.nextButton(), Qt::LeftButton);
    QCOMPARE(w.currentGroup(), 1);
    QCOMPARE(w.groupTitle()->text(), QStringLiteral("Группа1"));
    QCOMPARE(s.lastLoad(), "load " + pdf);
    QCOMPARE(w.previousButton()->text(), QStringLiteral("Группа8"));
    QTest::mouseClick(w.previousButton(), Qt::LeftButton);
    QCOMPARE(w.currentGroup(), 8);

    // Two groups: both buttons name the other one.
    w.closeDocument();
    w.backToDepartments();
    w.showDepartment(2);
    w.openGroup(1);
    QCOMPARE(w.nextButton()->text(), QStringLiteral("Y"));
    QCOMPARE(w.previousButton()->text(), QStringLiteral("Y"));
    w.nextGroup();
    QCOMPARE(w.groupTitle()->text(), QStringLiteral("Y"));
}

void TestScheduleWindow::documentsThatCannotBeShownGiveThePlainPage() {
    Screen s;
    const QString html = s.dir.filePath("g2.html");
    writeAll(html, "<html><body>ok</body></html>");
    // Group 1: the first-start "Нет файла"; group 2: a page; no countgroup key at all
    // in department 2, whose only button still opens.
    writeAll(s.values.scheduleFilePath(),
             "[ini]\ncountrazdel=2\n[1]\ncountgroup=2\nGroup1=A\nDir1=Нет файла\nGroup2=B\nDir2=" +
                 html.toUtf8() + "\n[2]\nGroup1=Solo\n");
    QVERIFY(s.open());
    TMyRaspisanie &w = *s.window;
    w.showDepartment(1);
    w.openGroup(1);
    QVERIFY(s.lastLoad().endsWith("raspisanie-net.html"));
    const QString placeholder = s.lastLoad().mid(5);
    QVERIFY(QFile::exists(placeholder));

    w.nextGroup();
    QCOMPARE(s.lastLoad(), "load " + html);
    emit s.browser()->loadFinished(true);
    QCOMPARE(s.lastLoad(), "load " + html);
    // A page that fails later (a refused link) keeps the document.
    emit s.browser()->loadFinished(false);
    QCOMPARE(s.lastLoad(), "load " + html);

    // Group A stepped past before its check answered is not loaded.
    w.previousGroup();
    w.nextGroup();
    QCOMPARE(s.lastLoad(), "load " + html);
    emit s.browser()->loadFinished(false); // the document itself did not load
    QCOMPARE(s.lastLoad(), "load " + placeholder);
    emit s.browser()->loadFinished(false); // the placeholder does not loop
    QCOMPARE(s.browser()->calls.size(), 4);

    w.closeDocument();
    w.backToDepartments();
    w.showDepartment(2);
    w.openGroup(1);
    QCOMPARE(w.groupTitle()->text(), QStringLiteral("Solo"));
    QCOMPARE(w.nextButton()->text(), QStringLiteral("Solo"));
    QCOMPARE(s.lastLoad(), "load " + placeholder);
}

void TestScheduleWindow::viewFlagHidesBellListAlsoAfterClose() {
    Screen s;
    s.firstStartFiles();
    s.values.scheduleView = false;
    QVERIFY(s.open());
    TMyRaspisanie &w = *s.window;
    QVERIFY(!w.bellList()->isVisible());
    QVERIFY(!w.countdown()->isVisible());
    w.showDepartment(1);
    w.openGroup(1);
    w.closeDocument();
    QVERIFY(!w.bellList()->isVisible());
    QVERIFY(!w.countdown()->isVisible());
    w.close();

    s.values.scheduleView = true;
    QVERIFY(s.open());
    QVERIFY(w.bellList()->isVisible());
    QVERIFY(w.countdown()->isVisible());
    w.showDepartment(1);
    w.openGroup(1);
    w.closeDocument();
    QVERIFY(w.bellList()->isVisible());
    QVERIFY(w.countdown()->isVisible());
}

void TestScheduleWindow::countdownRunsFromProgramStart() {
    Screen s;
    s.firstStartFiles();
    s.create();
    TMyRaspisanie &w = *s.window;
    QVERIFY(w.countdownTimer()->isActive());
    QCOMPARE(w.countdownTimer()->interval(), 1000);
    QVERIFY(w.clockTimer()->isActive());
    QVERIFY(!w.idleTimer()->isActive());
    // No bell table before the first showing: the line stays empty.
    w.onCountdownTick();
    QCOMPARE(w.countdown()->text(), QString());

    QVERIFY(s.open());
    QCOMPARE(w.countdown()->text(), QStringLiteral("1 занятие начнется через 19 минут 40 секунд."));
    QCOMPARE(w.countdown()->accessibleName(), w.countdown()->text());
    w.close();
    // Closed, the countdown goes on with the table of the last showing.
    s.clock.setNow(QDateTime(QDate(2026, 12, 9), QTime(9, 15, 30)));
    w.onCountdownTick();
    QCOMPARE(w.countdown()->text(),
             QStringLiteral("1 занятие закончится через 0 час 29 минут 30 секунд."));
    s.clock.setNow(QDateTime(QDate(2026, 12, 10), QTime(7, 0)));
    w.onCountdownTick();
    QCOMPARE(w.countdown()->text(),
             QStringLiteral("1 занятие закончится через 0 час 29 минут 30 секунд."));

    // An empty table (Count 0) neither fails nor changes the line.
    writeAll(s.values.mainSettingsPath, "[Raspisanie]\nCount=0\n");
    QVERIFY(s.open());
    w.onCountdownTick();
    QCOMPARE(w.bellList()->findChildren<QLabel *>().size(), 0);
    QCOMPARE(w.countdown()->text(),
             QStringLiteral("1 занятие закончится через 0 час 29 минут 30 секунд."));
}

void TestScheduleWindow::bellListInTwoColumns() {
    Screen s;
    // Lesson 2 has an end that is not a time: one warning per opening, shown as stored.
    writeAll(s.values.mainSettingsPath,
             "[Raspisanie]\nCount=3\n[RaspisanieStart]\n1=9:00:00\n2=10:00:00\n3=11:00:00\n"
             "[RaspisanieStop]\n1=9:45:00\n2=обед\n3=11:45:00\n");
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("end 2 \"обед\""));
    QVERIFY(s.open());
    FlowPanel *list = static_cast<FlowPanel *>(s.window->bellList());
    QCOMPARE(list->count(), 3);
    auto *first = qobject_cast<QLabel *>(list->widgetAt(0));
    auto *second = qobject_cast<QLabel *>(list->widgetAt(1));
    auto *third = qobject_cast<QLabel *>(list->widgetAt(2));
    QCOMPARE(first->text(), QStringLiteral("1) 9:00:00 - 9:45:00, перерыв 15 минут."));
    QCOMPARE(second->accessibleName(), QStringLiteral("2) 10:00:00 - обед."));
    QCOMPARE(third->text(), QStringLiteral("3) 11:00:00 - 11:45:00. Окончание занятий."));
    QCOMPARE(first->geometry(), QRect(0, 0, 1374 / 2 - 3, 30));
    QCOMPARE(second->pos(), QPoint(1374 / 2 - 3, 0));
    QCOMPARE(third->pos(), QPoint(0, 30));
    QCOMPARE(first->font().pointSize(), 14);
    s.window->close();
    QCOMPARE(list->count(), 0);
}

void TestScheduleWindow::idleCloseFromTheDocumentView() {
    Screen s;
    s.firstStartFiles();
    QVERIFY(s.open());
    TMyRaspisanie &w = *s.window;
    QVERIFY(w.idleTimer()->isActive());
    w.showDepartment(1);
    w.openGroup(2);
    QPointer<web::Browser> browser = w.browser();
    QVERIFY(browser);

    s.idle.touch();
    s.clock.advanceMs(19999);
    w.onIdleTick();
    QVERIFY(w.isVisible()); // an open document does not pause the idle close, but 19 s < 20
    s.clock.advanceMs(1);
    w.onIdleTick();
    QVERIFY(!w.isVisible());
    QVERIFY(!w.idleTimer()->isActive());
    QVERIFY(!w.browser());
    QVERIFY(!web::findBrowser(&w, "Chromium1"));
    QVERIFY(!w.groupTitle()->isVisible());
    QTRY_VERIFY(!browser); // freed once control is back in the event loop

    s.idle.touch();
    QVERIFY(s.open());
    QCOMPARE(w.view(), TMyRaspisanie::View::Departments);
    QVERIFY(!w.backButton()->isVisible());
    QVERIFY(w.mainMenuButton()->isVisible());
    QVERIFY(!w.groupPanel(1)->isVisible());
}

void TestScheduleWindow::clockShowsDateAndTwoDigitHours() {
    Screen s;
    s.create();
    s.clock.setNow(QDateTime(QDate(2026, 3, 7), QTime(8, 5, 9)));
    s.window->onClockTick();
    QCOMPARE(s.window->datePanel()->text(), QStringLiteral("07.03.2026"));
    QCOMPARE(s.window->timePanel()->text(), QStringLiteral("08:05:09"));
    QCOMPARE(s.window->timePanel()->accessibleName(), QStringLiteral("08:05:09"));
}

void TestScheduleWindow::unreadableFilesKeepWhatWasRead() {
    Screen s;
    // Never read: the screen says so instead of showing buttons without captions.
    QVERIFY(QDir().mkpath(s.values.scheduleFilePath())); // a folder where the file should be
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("cannot read the schedule files"));
    QVERIFY(!s.open());
    QVERIFY(s.window->unavailableLine()->isVisible());
    QCOMPARE(s.window->departmentPanel()->count(), 0);
    QVERIFY(s.window->bellTable().count() == 8); // the settings file is missing: the defaults
    s.window->close();

    QVERIFY(QDir().rmdir(s.values.scheduleFilePath()));
    writeAll(s.values.scheduleFilePath(), "[ini]\ncountrazdel=1\n[1]\nrazdel=A\ncountgroup=1\n");
    writeAll(s.values.mainSettingsPath, "[Raspisanie]\nCount=2\n");
    QVERIFY(s.open());
    QVERIFY(!s.window->unavailableLine()->isVisible());
    QCOMPARE(s.captions(s.window->departmentPanel()), QStringList{"A"});
    s.window->close();

    // Both files damaged (over the size limit): the buttons and bells read last stay.
    for (const QString &path : {s.values.scheduleFilePath(), s.values.mainSettingsPath}) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.resize(core::kMaxIniFileBytes + 1));
    }
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("cannot read the schedule files"));
    QVERIFY(!s.open());
    QCOMPARE(s.captions(s.window->departmentPanel()), QStringList{"A"});
    QCOMPARE(s.window->bellTable().count(), 2);
    QVERIFY(!s.window->unavailableLine()->isVisible());
}

void TestScheduleWindow::fontInForceAtEachOpening() {
    Screen s;
    s.firstStartFiles();
    s.values.fontName = "DejaVu Sans";
    s.values.fontSize = 12;
    s.create();
    // A font saved in the settings after the screen was made.
    s.values.fontName = "Liberation Serif";
    s.values.fontSize = 20;
    s.values.fontStyleText = "[fsBold]";
    QVERIFY(s.open());
    QPushButton *group = s.button("MyButton1", s.window->groupPanel(1));
    for (QWidget *w : std::initializer_list<QWidget *>{
             s.window->mainMenuButton(), s.window->closeButton(), s.window->backButton(),
             s.window->nextButton(), s.window->countdown(), s.button("NewPage1"), group}) {
        QCOMPARE(w->font().family(), QStringLiteral("Liberation Serif"));
        QCOMPARE(w->font().pointSize(), 20);
        QVERIFY(w->font().bold());
    }
    QCOMPARE(s.window->groupTitle()->font().pointSize(), 28);
    const auto *bell = s.window->bellList()->findChild<QLabel *>("BellPanel1");
    QCOMPARE(bell->font().family(), QStringLiteral("Liberation Serif"));
    QCOMPARE(bell->font().pointSize(), 14);
}

QTEST_MAIN(TestScheduleWindow)
#include "test_schedule_window.moc"
