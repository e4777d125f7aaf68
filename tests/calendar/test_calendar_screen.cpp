#include "../support/test_files.h"
#include "../web/fake_browser.h"
#include "calendar/calendar_window.h"
#include "calendar/day_tile.h"
#include "web/form_browser.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace kalmo;
using namespace kalmo::calendar;

namespace {

// A calendar on its own base folder with a hand-written dateini.ini.
struct Fixture {
    QTemporaryDir dir;
    QString base = dir.path() + u'/';
    core::ProgramValues values;
    core::ManualClock clock{QDateTime(QDate(2026, 3, 31), QTime(10, 0))};
    core::IdleClock idle{clock};
    std::unique_ptr<TFormCalendar> screen;

    explicit Fixture(const QByteArray &calendarFile) {
        values.baseFolder = base;
        values.mainSettingsPath = base + QStringLiteral("kalmora.ini");
        values.pageSeconds = 20;
        if (!calendarFile.isNull())
            testing::writeAll(base + QStringLiteral("dateini.ini"), calendarFile);
        screen = std::make_unique<TFormCalendar>(
            CalendarScreenServices{values, clock, idle, QSize(1920, 1080)});
    }
    QString cell(int row, int column) const { return screen->grid()->item(row, column)->text(); }
    // Row and column of a day of the shown month.
    QPoint find(int day) const {
        for (int r = 1; r < 7; ++r)
            for (int c = 0; c < 7; ++c)
                if (cell(r, c) == QString::number(day))
                    return {c, r};
        return {-1, -1};
    }
    // An opening, waited for until the calendar file's read (on a worker) has arrived.
    bool open(const std::function<void()> &how = {}) {
        QSignalSpy read(screen.get(), &TFormCalendar::snapshotRead);
        how ? how() : screen->runOpening();
        return (!read.isEmpty() || read.wait(10000)) && read.first().at(0).toBool();
    }
    void select(int day) {
        const QPoint at = find(day);
        screen->selectCell(at.y(), at.x());
    }
};

// March 2026 starts on a Sunday: the 1st is in column 6 of row 1.
const QByteArray kMarch = "[ini]\r\nSaturday=0\r\nSunday=1\r\noutput=clRed\r\nholiday=clBlue\r\n"
                          "event=clLime\r\n"
                          "[1.3.2026]\r\neventday=1\r\nevent=<p>Sunday event</p>\r\n"
                          "[4.3.2026]\r\neventday=7\r\nevent=<p>odd kind</p>\r\nfile=/doc.pdf\r\n"
                          "[10.3.2026]\r\neventday=3\r\nevent=\r\nfile=/old.pdf\r\n"
                          "[19.3.2026]\r\neventday=2\r\nevent=<b>Nineteen</b>\r\nimage= \r\n"
                          "[26.3.2026]\r\nevent=<p>no kind</p>\r\nfile=/b.pdf\r\n";

} // namespace

class TestCalendarScreen : public QObject {
    Q_OBJECT
private slots:
    void layoutFromScreenSize();
    void openingGoesToToday();
    void navigationWrapsTheYear();
    void paintingOrder();
    void markingColoursFromTheEditorRepaint();
    void selectionPlacesTheTileBesideTheCell_data();
    void selectionPlacesTheTileBesideTheCell();
    void selectionOfUnmarkedAndEmptyDays();
    void tileTimerKeepsItsCount();
    void idleCloseAtTwiceThePageTimeout();
    void documentWindowPausesTheIdleClose();
    void ctrlF3AsksForTheEditor();
    void hugeOrNoisyFileOpens();
    void unreadableFileKeepsTheDaysItRead();
};

void TestCalendarScreen::layoutFromScreenSize() {
    Fixture f(QByteArray{});
    TFormCalendar &s = *f.screen;
    QCOMPARE(s.geometry(), QRect(0, 0, 1920, 1080));
    QCOMPARE(s.previousButton()->geometry(), QRect(5, 5, 250, 80));
    QCOMPARE(s.title()->geometry(), QRect(255, 5, 1920 - 765, 80));
    QCOMPARE(s.nextButton()->geometry(), QRect(1920 - 510, 5, 250, 80));
    QCOMPARE(s.closeButton()->geometry(), QRect(1920 - 255, 5, 250, 80));
    QCOMPARE(s.grid()->geometry(), QRect(5, 90, 1910, 915));
    QCOMPARE(s.grid()->columnWidth(0), 1910 / 7 - 4 + 4);
    QCOMPARE(s.grid()->rowHeight(0), 915 / 7 - 4 + 4);
    QCOMPARE(s.todayLabel()->geometry(), QRect(5, 1010, 1910, 70));
    QCOMPARE(s.title()->font().pixelSize(), 60);
    QCOMPARE(s.grid()->font().pixelSize(), 27);
    QCOMPARE(s.tile()->size(), QSize(330, 200));
    QVERIFY(!s.tile()->isVisibleTo(&s));
    QCOMPARE(s.closeButton()->accessibleName(), QStringLiteral("Закрыть"));
}

void TestCalendarScreen::openingGoesToToday() {
    Fixture f(kMarch);
    TFormCalendar &s = *f.screen;
    QVERIFY(f.open());
    s.showPreviousMonth(); // leave it on February
    QCOMPARE(s.title()->text(), QStringLiteral("Февраль 2026 года."));
    s.hide();
    QVERIFY(f.open());
    QCOMPARE(s.shownDate(), QDate(2026, 3, 31));
    QCOMPARE(s.title()->text(), QStringLiteral("Март    2026 года."));
    QCOMPARE(s.todayLabel()->text(), QStringLiteral("Сегодня: 31.03.2026 года."));
    QCOMPARE(s.nextButton()->text(), QStringLiteral("Апрель"));
    QCOMPARE(s.previousButton()->text(), QStringLiteral("Февраль"));
    QCOMPARE(s.grid()->currentItem()->text(), QStringLiteral("31"));
    QCOMPARE(s.grid()->currentRow(), 6);
    QCOMPARE(s.grid()->currentColumn(), 1);
    QVERIFY(!s.tile()->isVisibleTo(&s));
    QCOMPARE(f.cell(0, 0), QStringLiteral("Пн"));
    QCOMPARE(s.grid()->item(1, 6)->text(), QStringLiteral("1"));
    QCOMPARE(s.nextButton()->accessibleName(), QStringLiteral("Апрель"));
}

void TestCalendarScreen::navigationWrapsTheYear() {
    Fixture f(QByteArray{});
    f.clock.setNow(QDateTime(QDate(2027, 1, 15), QTime(9, 0)));
    TFormCalendar &s = *f.screen;
    QVERIFY(f.open());
    QCOMPARE(s.title()->text(), QStringLiteral("Январь    2027 года."));
    const QPoint selected(s.grid()->currentColumn(), s.grid()->currentRow());
    s.showPreviousMonth();
    QCOMPARE(s.title()->text(), QStringLiteral("Декабрь 2026 года."));
    QCOMPARE(s.shownDate(), QDate(2026, 12, 1));
    QCOMPARE(s.nextButton()->text(), QStringLiteral("Январь"));
    QCOMPARE(s.previousButton()->text(), QStringLiteral("Ноябрь"));
    QCOMPARE(QPoint(s.grid()->currentColumn(), s.grid()->currentRow()), selected);
    s.showNextMonth();
    s.showNextMonth();
    QCOMPARE(s.title()->text(), QStringLiteral("Февраль 2027 года."));
    QCOMPARE(s.previousButton()->text(), QStringLiteral("Январь"));
}

void TestCalendarScreen::paintingOrder() {
    Fixture f(kMarch);
    TFormCalendar &s = *f.screen;
    QVERIFY(f.open([&] { s.show(); }));
    QVERIFY(QTest::qWaitForWindowExposed(&s));
    // Select the marked Sunday the 1st so that its fill must cover the highlight.
    s.grid()->setCurrentCell(1, 6);
    const QImage shot = s.grid()->grab().toImage();
    const int pitchX = s.grid()->columnWidth(0), pitchY = s.grid()->rowHeight(0);
    auto colourAt = [&](int row, int column) {
        // Away from the centred number.
        return shot.pixelColor(column * pitchX + 6, row * pitchY + 6);
    };
    const QPoint day1 = f.find(1), day4 = f.find(4), day8 = f.find(8), day19 = f.find(19),
                 day26 = f.find(26), day2 = f.find(2), day7 = f.find(7);
    QCOMPARE(colourAt(day1.y(), day1.x()), QColor(Qt::green));   // marked Sunday: its event
    QCOMPARE(colourAt(day8.y(), day8.x()), QColor(Qt::red));     // Sunday: day off
    QCOMPARE(colourAt(day4.y(), day4.x()), QColor(Qt::black));   // kind 7
    QCOMPARE(colourAt(day19.y(), day19.x()), QColor(Qt::red));   // day off
    QCOMPARE(colourAt(day26.y(), day26.x()), QColor(Qt::green)); // no kind: event
    QCOMPARE(colourAt(1, 0), colourAt(day2.y(), day2.x()));      // empty cell, plain day alike
    QVERIFY(colourAt(day7.y(), day7.x()) != QColor(Qt::red));    // Saturday flag off
    QVERIFY(colourAt(6, 6) != QColor(Qt::red));                  // empty last-row Sunday
    QCOMPARE(s.fillAt(6, 6), std::nullopt);
    // A seeded file's holidays are in 2017 only.
    s.hide();
}

void TestCalendarScreen::markingColoursFromTheEditorRepaint() {
    Fixture f(kMarch);
    TFormCalendar &s = *f.screen;
    QVERIFY(f.open());
    const QPoint day1 = f.find(1);
    QCOMPARE(s.fillAt(day1.y(), day1.x()), std::optional<core::ColorCode>(0x00FF00));
    s.setMarkingColours(0x0000FF, 0xFF0000, 0x123456);
    QCOMPARE(s.fillAt(day1.y(), day1.x()), std::optional<core::ColorCode>(0x123456));
}

void TestCalendarScreen::selectionPlacesTheTileBesideTheCell_data() {
    QTest::addColumn<int>("day");
    QTest::newRow("Wednesday 4th, row 2: right, below") << 4;
    QTest::newRow("Sunday 1st, row 1: left, below") << 1;
    QTest::newRow("Thursday 19th, row 4: left, above") << 19;
    QTest::newRow("Thursday 26th, row 5: left, above") << 26;
}

void TestCalendarScreen::selectionPlacesTheTileBesideTheCell() {
    QFETCH(int, day);
    Fixture f(kMarch);
    TFormCalendar &s = *f.screen;
    QVERIFY(f.open());
    f.select(day);
    const QPoint at = f.find(day);
    const QSize cell(s.grid()->columnWidth(0) - 4, s.grid()->rowHeight(0) - 4);
    QVERIFY(s.tile()->isVisibleTo(&s));
    QCOMPARE(s.tile()->pos(),
             tilePosition(at.x(), at.y(), QPoint(5, 90), cell, 4, QSize(330, 200)));
    const QRect cellRect(5 + at.x() * (cell.width() + 4), 90 + at.y() * (cell.height() + 4),
                         cell.width(), cell.height());
    QVERIFY(!s.tile()->geometry().intersects(cellRect));
    QVERIFY(s.tileTimer().isActive());
}

void TestCalendarScreen::selectionOfUnmarkedAndEmptyDays() {
    Fixture f(kMarch);
    TFormCalendar &s = *f.screen;
    QVERIFY(f.open());
    f.select(4);
    QCOMPARE(s.tile()->plainText(), QStringLiteral("odd kind"));
    QCOMPARE(s.tile()->accessibleName(), QStringLiteral("odd kind"));
    QCOMPARE(s.attachmentPath(), QStringLiteral("/doc.pdf"));
    QVERIFY(!s.tile()->hasPicture()); // no event.png anywhere

    // Empty text: no tile, the attachment and the timer stay.
    f.select(10);
    QVERIFY(!s.tile()->isVisibleTo(&s));
    QCOMPARE(s.attachmentPath(), QStringLiteral("/doc.pdf"));
    QVERIFY(s.tileTimer().isActive());

    // Unmarked: attachment cleared, timer stopped.
    f.select(5);
    QVERIFY(!s.tile()->isVisibleTo(&s));
    QVERIFY(s.attachmentPath().isEmpty());
    QVERIFY(!s.tileTimer().isActive());

    // An empty cell of the grid is unmarked too.
    f.select(19);
    s.selectCell(6, 6);
    QVERIFY(!s.tile()->isVisibleTo(&s));
}

void TestCalendarScreen::tileTimerKeepsItsCount() {
    Fixture f(kMarch);
    TFormCalendar &s = *f.screen;
    QVERIFY(f.open());
    s.tileTimer().setInterval(600); // the same rule, in less time
    f.select(4);
    QTRY_VERIFY_WITH_TIMEOUT(s.tileTimer().remainingTime() <= 300, 5000);
    f.select(19); // half-way: the tile moves, the count goes on
    const QPoint at = f.find(19);
    QVERIFY(s.tile()->isVisibleTo(&s));
    QCOMPARE(s.tile()->plainText(), QStringLiteral("Nineteen"));
    QCOMPARE(s.tile()->y() + 200, 90 + at.y() * s.grid()->rowHeight(0));
    QVERIFY(s.tileTimer().remainingTime() <= 300);
    QTRY_VERIFY_WITH_TIMEOUT(!s.tile()->isVisibleTo(&s), 5000);
    QVERIFY(!s.tileTimer().isActive());

    // Navigation and today hide it at once.
    f.select(4);
    s.showNextMonth();
    QVERIFY(!s.tile()->isVisibleTo(&s));
    QVERIFY(!s.tileTimer().isActive());
}

void TestCalendarScreen::idleCloseAtTwiceThePageTimeout() {
    Fixture f(kMarch);
    TFormCalendar &s = *f.screen;
    QSignalSpy finished(&s, &QDialog::finished);
    QVERIFY(f.open([&] { s.open(); }));
    QVERIFY(s.idleTimer().isActive());
    f.idle.touch();
    f.clock.advanceMs(39999);
    s.onIdleTick();
    QVERIFY(s.isVisible());
    f.clock.advanceMs(1);
    s.onIdleTick();
    QVERIFY(!s.isVisible());
    QVERIFY(!s.idleTimer().isActive());
    QCOMPARE(finished.count(), 1);
}

void TestCalendarScreen::documentWindowPausesTheIdleClose() {
    Fixture f(kMarch);
    TFormCalendar &s = *f.screen;
    web::TFormBrowser documents(
        f.idle, [&] { return f.values.pageSeconds; }, fakeFactory());
    s.setDocumentWindow(&documents);
    QVERIFY(f.open([&] { s.open(); }));
    f.select(4);
    s.pressTile();
    QVERIFY(documents.isVisible());
    QCOMPARE(documents.attachmentPath(), QStringLiteral("/doc.pdf"));
    QVERIFY(!s.idleTimer().isActive());
    documents.close();
    QVERIFY(s.idleTimer().isActive());
    QVERIFY(s.isVisible());

    // An empty attachment opens nothing.
    f.select(5);
    s.pressTile();
    QVERIFY(!documents.isVisible());

    // The document window opened while the calendar is closed leaves it without a timer.
    s.closeScreen();
    documents.openDocument(QStringLiteral("/x.pdf"));
    documents.close();
    QVERIFY(!s.idleTimer().isActive());
}

void TestCalendarScreen::ctrlF3AsksForTheEditor() {
    Fixture f(kMarch);
    TFormCalendar &s = *f.screen;
    QSignalSpy editor(&s, &TFormCalendar::editorRequested);
    QVERIFY(f.open([&] { s.open(); }));
    QTest::keyClick(s.grid(), Qt::Key_F3, Qt::ControlModifier);
    QCOMPARE(editor.count(), 1);
    QTest::keyClick(s.grid(), Qt::Key_Escape);
    QVERIFY(s.isVisible());
    QTest::keyClick(s.grid(), Qt::Key_F3);
    QCOMPARE(editor.count(), 1);
}

void TestCalendarScreen::hugeOrNoisyFileOpens() {
    QByteArray noise(2 * 1024 * 1024, '\0');
    quint32 x = 12345;
    for (char &c : noise) {
        x = x * 1103515245u + 12345u;
        c = char(x >> 24);
    }
    noise.append("\n[3.3.2026]\neventday=3\nevent=<p>after noise</p>\n");
    Fixture f(noise);
    TFormCalendar &s = *f.screen;
    QVERIFY(f.open());
    const QPoint day3 = f.find(3);
    QCOMPARE(s.fillAt(day3.y(), day3.x()), std::optional<core::ColorCode>(s.marking().holiday));
    f.select(3);
    QCOMPARE(s.tile()->plainText(), QStringLiteral("after noise"));
}

void TestCalendarScreen::unreadableFileKeepsTheDaysItRead() {
    Fixture f(kMarch);
    TFormCalendar &s = *f.screen;
    QVERIFY(f.open([&] { s.open(); }));
    s.closeScreen();
    // A file that is there but cannot be read is not a calendar without days.
    QFile file(f.base + "dateini.ini");
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.resize(core::kMaxIniFileBytes + 1));
    file.close();
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("cannot read the calendar file"));
    QVERIFY(!f.open([&] { s.open(); }));
    const QPoint day1 = f.find(1);
    QCOMPARE(s.fillAt(day1.y(), day1.x()), std::optional<core::ColorCode>(0x00FF00));
    f.select(4);
    QCOMPARE(s.tile()->plainText(), QStringLiteral("odd kind"));
    s.closeScreen();

    // Readable again: the next opening shows what the file holds now.
    testing::writeAll(f.base + "dateini.ini", "[ini]\nSunday=0\n");
    QVERIFY(f.open([&] { s.open(); }));
    QCOMPARE(s.fillAt(day1.y(), day1.x()), std::nullopt);
}

QTEST_MAIN(TestCalendarScreen)
#include "test_calendar_screen.moc"
