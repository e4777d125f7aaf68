#include "core/clock.h"
#include "ticker/main_screen_ticker.h"
#include "ticker/scrolling_text.h"
#include "ticker/ticker_text.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace kalmo;
using namespace kalmo::ticker;

namespace {

// Pixels of the band close to the given colour.
int pixelsNear(const QImage &image, const QColor &color) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (qAbs(c.red() - color.red()) + qAbs(c.green() - color.green()) +
                    qAbs(c.blue() - color.blue()) <
                40)
                ++count;
        }
    return count;
}

void writeFile(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

class TickerWidgetTest : public QObject {
    Q_OBJECT

    core::ManualClock m_clock;

private slots:

    void defaults() {
        QWidget parent;
        TScrollingText line(&parent, &m_clock);
        QCOMPARE(line.parentWidget(), &parent);
        QCOMPARE(line.font().pointSize(), 16);
        QCOMPARE(line.textColor(), QColor(Qt::white));
        QCOMPARE(line.frameShape(), QFrame::NoFrame);
        QVERIFY(!line.isActive());
        QCOMPARE(line.textTopPosition(), 0);
        QCOMPARE(line.step(), 1);
        QCOMPARE(line.droppedFrames(), 0);
        QCOMPARE(line.property("TextScrollDirection").value<TScrollDirection>(), sdRightToLeft);
        QCOMPARE(line.interval(), 0);
        QVERIFY(!line.findChild<QTimer *>()->isActive());
    }

    void playAndStopRaiseEventsOnce() {
        TScrollingText line(nullptr, &m_clock);
        line.resize(500, 40);
        QSignalSpy started(&line, &TScrollingText::OnStartPlay);
        QSignalSpy stopped(&line, &TScrollingText::OnStopPlay);
        line.setText(QStringLiteral("abc"));

        line.Play();
        QVERIFY(line.isActive());
        QVERIFY(line.findChild<QTimer *>()->isActive());
        QCOMPARE(line.scrollPosition(), 500);
        for (int i = 0; i < 10; ++i)
            line.frameStep();
        QCOMPARE(line.scrollPosition(), 490);

        line.Play(); // restarts from the right edge without a second start event
        QCOMPARE(line.scrollPosition(), 500);
        QCOMPARE(started.count(), 1);

        line.Stop();
        line.Stop();
        QVERIFY(!line.isActive());
        QVERIFY(!line.findChild<QTimer *>()->isActive());
        QCOMPARE(stopped.count(), 1);

        QVERIFY(line.setProperty("TextScrollDirection", QStringLiteral("sdLeftToRight")));
        line.Play(); // 3 characters at 16 pt start 48 px left of the band
        QCOMPARE(line.scrollPosition(), -48);
        QCOMPARE(started.count(), 2);
    }

    void settingTextKeepsThePosition() {
        TScrollingText line(nullptr, &m_clock);
        line.resize(500, 40);
        line.setText(QStringLiteral("first"));
        line.Play();
        for (int i = 0; i < 30; ++i)
            line.frameStep();
        line.setText(QStringLiteral("second"));
        QCOMPARE(line.scrollPosition(), 470);
        QCOMPARE(line.accessibleName(), QStringLiteral("second"));
    }

    void eachLineDropsItsOwnFrames() {
        TScrollingText a(nullptr, &m_clock);
        TScrollingText b(nullptr, &m_clock);
        for (TScrollingText *line : {&a, &b}) {
            line->resize(500, 40);
            line->setText(QStringLiteral("x"));
            line->setDroppedFrames(1);
            line->Play();
        }
        // Interleaved, each draws every second event of its own: neither takes the other's.
        QString seen;
        for (int i = 0; i < 4; ++i) {
            seen += a.frameStep() ? u'A' : u'-';
            seen += b.frameStep() ? u'B' : u'-';
        }
        QCOMPARE(seen, QStringLiteral("--AB--AB"));
        QCOMPARE(a.scrollPosition(), 498);
        QCOMPARE(b.scrollPosition(), 498);
        QCOMPARE(a.frameCounter(), 0);
    }

    void drawsTheTextWhereItIs() {
        TScrollingText line(nullptr, &m_clock);
        line.resize(400, 47);
        line.setBackgroundColor(Qt::black);
        line.setTextColor(Qt::yellow);
        QFont f = line.font();
        f.setPointSize(35);
        f.setBold(true);
        line.setFont(f);
        line.setText(QStringLiteral("ЖЖЖЖ"));
        line.setStep(100);
        line.Play();
        line.frameStep(); // presents the start position: nothing in view yet
        QCOMPARE(pixelsNear(line.grab().toImage(), Qt::yellow), 0);
        line.frameStep();
        line.frameStep(); // presents x = 200
        const QImage shown = line.grab().toImage();
        QVERIFY(pixelsNear(shown.copy(200, 0, 200, 47), Qt::yellow) > 100);
        QCOMPARE(pixelsNear(shown.copy(0, 0, 190, 47), Qt::yellow), 0);

        // A new colour is drawn at the same place.
        line.setTextColor(Qt::green);
        QVERIFY(pixelsNear(line.grab().toImage(), Qt::green) > 100);

        // A restart shows nothing until the first frame at the right edge: the new text
        // never flashes where the old one was.
        line.setText(QStringLiteral("ДДДД"));
        line.Play();
        QCOMPARE(pixelsNear(line.grab().toImage(), Qt::green), 0);
        line.setStep(1);
        for (int i = 0; i < 100; ++i)
            line.frameStep(); // presents x = 301
        QVERIFY(pixelsNear(line.grab().toImage().copy(301, 0, 99, 47), Qt::green) > 50);
    }

    void stepZeroShowsNothing() {
        TScrollingText line(nullptr, &m_clock);
        line.resize(400, 47);
        line.setBackgroundColor(Qt::black);
        line.setText(QStringLiteral("Объявление"));
        line.setStep(256);
        line.Play();
        for (int i = 0; i < 100; ++i)
            line.frameStep();
        QCOMPARE(line.scrollPosition(), 400);
        QCOMPARE(pixelsNear(line.grab().toImage(), Qt::black), 400 * 47);
    }

    void mainScreenSetUp_data() {
        QTest::addColumn<bool>("fileExists");
        QTest::addColumn<QString>("expectedText");
        QTest::newRow("file joined") << true << QStringLiteral("Первая строкавторая");
        QTest::newRow("missing file") << false << kMissingFileAtStart;
    }
    void mainScreenSetUp() {
        QFETCH(bool, fileExists);
        QFETCH(QString, expectedText);
        QTemporaryDir dir;
        const QString path = dir.filePath("text.txt");
        if (fileExists)
            writeFile(path, QStringLiteral("Первая строка\r\nвторая").toUtf8());

        QWidget window;
        TScrollingText line(&window, &m_clock);
        QSignalSpy started(&line, &TScrollingText::OnStartPlay);
        const QString given =
            setupMainScreenTicker(line, readTickerText(path), 257, QColor(10, 20, 30),
                                  QColor(200, 210, 220), QSize(1920, 1080));
        QCOMPARE(given, expectedText);
        QCOMPARE(line.text(), expectedText);
        const int height = emPixelHeight(35, line.logicalDpiY());
        QCOMPARE(line.geometry(), QRect(2, 1023, 1918, height));
        QCOMPARE(line.font().family(), QStringLiteral("Times New Roman"));
        QCOMPARE(line.font().pointSize(), 35);
        QVERIFY(line.font().bold());
        QCOMPARE(line.textTopPosition(), -8);
        QCOMPARE(line.step(), 1);
        QCOMPARE(line.backgroundColor(), QColor(10, 20, 30));
        QCOMPARE(line.textColor(), QColor(200, 210, 220));
        QVERIFY(line.isActive());
        QCOMPARE(started.count(), 1);
        QCOMPARE(line.scrollPosition(), 1918);
        QCOMPARE(line.estimatedWidth(), expectedText.size() * 35);
    }

    void fontHeightAt96Dpi() { QCOMPARE(emPixelHeight(35, 96), 47); }

    void rereadReloadsAndRestarts() {
        QTemporaryDir dir;
        const QString path = dir.filePath("text.txt");
        writeFile(path, "old");
        QWidget window;
        TScrollingText line(&window, &m_clock);
        setupMainScreenTicker(line, readTickerText(path), 5, Qt::black, Qt::white, QSize(800, 600));
        for (int i = 0; i < 20; ++i)
            line.frameStep();
        QSignalSpy started(&line, &TScrollingText::OnStartPlay);
        QSignalSpy stopped(&line, &TScrollingText::OnStopPlay);

        writeFile(path, "new\nlines");
        QCOMPARE(reloadTicker(line, readTickerText(path), 256, Qt::blue, Qt::yellow),
                 QStringLiteral("newlines"));
        QCOMPARE(stopped.count(), 1);
        QCOMPARE(started.count(), 1);
        QCOMPARE(line.scrollPosition(), 798);
        QCOMPARE(line.step(), 0);
        QCOMPARE(line.backgroundColor(), QColor(Qt::blue));
        QCOMPARE(line.textColor(), QColor(Qt::yellow));

        QFile::remove(path);
        QCOMPARE(reloadTicker(line, readTickerText(path), 1, Qt::blue, Qt::yellow),
                 kMissingFileAtReread);
        QCOMPARE(line.text(), kMissingFileAtReread);
        QVERIFY(line.isActive());
    }

    void timerEventsCatchUpOnLateTicks() {
        core::ManualClock clock;
        TScrollingText line(nullptr, &clock);
        line.resize(300, 40);
        line.setText(QStringLiteral("abc"));
        line.setStep(2);
        line.Play();
        auto *timer = line.findChild<QTimer *>();
        QVERIFY(timer->isSingleShot());
        QVERIFY(timer->interval() >= 16 && timer->interval() <= 17); // one display refresh

        clock.advanceMs(50); // three refreshes late
        QVERIFY(QMetaObject::invokeMethod(timer, "timeout"));
        QCOMPARE(line.scrollPosition(), 300 - 3 * 2);
        QVERIFY(timer->isActive());

        line.setInterval(100);
        clock.advanceMs(99);
        QVERIFY(QMetaObject::invokeMethod(timer, "timeout"));
        QCOMPARE(line.scrollPosition(), 294);
        clock.advanceMs(1);
        QVERIFY(QMetaObject::invokeMethod(timer, "timeout"));
        QCOMPARE(line.scrollPosition(), 292);
    }
};

QTEST_MAIN(TickerWidgetTest)
#include "test_ticker_widget.moc"
