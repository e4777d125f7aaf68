#include "tests/transitions/test_pictures.h"
#include "transitions/picshow.h"
#include "transitions/style_table.h"

#include <QtTest>
#include <atomic>

using namespace kalmo;
using namespace kalmo::transitions;

namespace {

QImage solid(QSize size, QRgb colour) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// A control stepped by hand: no timer runs (Delay is long and tests call tick()).
struct Stepped {
    TPicShow show;
    QStringList events;
    Stepped() {
        show.resize(100, 80);
        show.setThreaded(false);
        show.setDelay(60000);
        show.setStyle(5);
        QObject::connect(&show, &TCustomPicShow::onProgress,
                         [this] { events << QStringLiteral("progress %1").arg(show.progress()); });
        QObject::connect(&show, &TCustomPicShow::onComplete, [this] { events << "complete"; });
        QObject::connect(&show, &TCustomPicShow::onStop, [this] { events << "stop"; });
        show.setOnStart([this](TCustomPicShow *, const QImage &, QImage &) { events << "start"; });
    }
    int runToEnd() {
        int ticks = 1; // execute() takes the first step itself
        while (show.busy() && ticks < 1000) {
            show.tick();
            ++ticks;
        }
        return ticks;
    }
};

} // namespace

class TestPicShow : public QObject {
    Q_OBJECT
private slots:
    void defaults() {
        TPicShow show;
        QCOMPARE(show.style(), 51);
        QCOMPARE(show.step(), 4);
        QCOMPARE(show.delay(), 40);
        QCOMPARE(show.bgMode(), TCustomPicShow::bmTiled);
        QVERIFY(show.threaded());
        QVERIFY(show.overDraw());
        QVERIFY(!show.busy());
        QVERIFY(show.empty());
        QCOMPARE(show.size(), QSize(100, 100));
        QCOMPARE(show.styleName(), QStringLiteral("Appear and Contract to middle"));
    }

    void stepIsClamped_data() {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("expected");
        QTest::newRow("0 is 1") << 0 << 1;
        QTest::newRow("1") << 1 << 1;
        QTest::newRow("100 stays") << 100 << 100;
        QTest::newRow("150 is 99") << 150 << 99;
    }
    void stepIsClamped() {
        QFETCH(int, value);
        QFETCH(int, expected);
        TPicShow show;
        show.setStep(value);
        QCOMPARE(show.step(), expected);
    }

    void styleAndName() {
        TPicShow show;
        show.setStyle(177);
        QCOMPARE(show.style(), 51);
        show.setStyle(60);
        QCOMPARE(show.styleName(), QStringLiteral("Bars in from right"));
        show.setStyleName("cUsToM");
        QCOMPARE(show.style(), 0);
        show.setStyleName("Expand in from top");
        QCOMPARE(show.style(), 25);
        show.setStyleName("nothing like it");
        QCOMPARE(show.style(), 25);
        QStringList names{"existing"};
        TCustomPicShow::getStyleNames(names);
        QCOMPARE(names.size(), 177);
        QVERIFY(!names.contains("Custom"));
    }

    void stepsAndEventOrder_data() {
        QTest::addColumn<int>("step");
        QTest::addColumn<int>("ticks");
        QTest::newRow("main screen step 6") << 6 << 17;
        QTest::newRow("default step 4") << 4 << 25;
        QTest::newRow("step 100") << 100 << 1;
    }
    void stepsAndEventOrder() {
        QFETCH(int, step);
        QFETCH(int, ticks);
        Stepped s;
        s.show.setStep(step);
        s.show.setPicture(solid(QSize(100, 80), 0xFFFF0000));
        s.show.execute();
        QCOMPARE(s.runToEnd(), ticks);
        QCOMPARE(s.events.first(), QStringLiteral("start"));
        QCOMPARE(s.events.mid(s.events.size() - 3),
                 (QStringList{"progress 100", "complete", "stop"}));
        QCOMPARE(s.events.count(QStringLiteral("complete")), 1);
        QCOMPARE(s.show.frame(), solid(QSize(100, 80), 0xFFFF0000));
        QVERIFY(!s.show.busy());
    }

    void reverseEndsOnTheOldPicture() {
        Stepped s;
        s.show.setColor(Qt::white);
        s.show.setReverse(true);
        s.show.setPicture(solid(QSize(100, 80), 0xFF0000FF));
        s.show.execute();
        QCOMPARE(s.show.progress(), 96);
        s.runToEnd();
        QCOMPARE(s.show.progress(), 0);
        QCOMPARE(s.show.frame(), solid(QSize(100, 80), 0xFFFFFFFF));
    }

    void firstTransitionStartsFromTheBackground() {
        Stepped s;
        s.show.setStep(50);
        s.show.setBgMode(TCustomPicShow::bmStretched);
        s.show.setBgPicture(solid(QSize(10, 10), 0xFF00FF00));
        s.show.setPicture(solid(QSize(100, 80), 0xFFFF0000));
        s.show.setStyle(5); // reveal from left: the right half is still the old picture
        s.show.execute();
        QCOMPARE(s.show.progress(), 50);
        QCOMPARE(s.show.frame().pixel(90, 40), 0xFF00FF00u);
        QCOMPARE(s.show.frame().pixel(10, 40), 0xFFFF0000u);
    }

    void overDrawStartsFromTheFrameOnScreen() {
        Stepped s;
        s.show.setColor(Qt::white);
        s.show.setStep(50);
        s.show.setPicture(solid(QSize(100, 80), 0xFFFF0000));
        s.show.execute();
        s.show.stop(); // halfway: left half red, right half the white ground
        QCOMPARE(s.events.mid(s.events.size() - 1), QStringList{"stop"});
        QVERIFY(!s.events.contains("complete"));
        const QImage halfway = s.show.frame();
        QCOMPARE(halfway.pixel(10, 10), 0xFFFF0000u);
        QCOMPARE(halfway.pixel(90, 10), 0xFFFFFFFFu);
        s.show.setManual(true);
        s.show.setPicture(solid(QSize(100, 80), 0xFF0000FF));
        s.show.execute();
        QCOMPARE(s.show.frame(), halfway);
        s.show.setProgress(50);
        QCOMPARE(s.show.frame().pixel(10, 10), 0xFF0000FFu);
        QCOMPARE(s.show.frame().pixel(90, 10), 0xFFFFFFFFu);
        s.show.setProgress(10);
        QCOMPARE(s.show.frame().pixel(30, 10), 0xFFFF0000u); // back to the old frame
        s.show.setStyle(6); // manual: the frame is rebuilt at once with the new style
        QCOMPARE(s.show.frame().pixel(95, 10), 0xFF0000FFu);
        s.show.setProgress(150);
        QCOMPARE(s.show.progress(), 100);
        s.show.stop();
        QVERIFY(!s.show.busy());
    }

    // What a before-new-frame handler draws is the frame the effect starts from: styles that
    // move or mix the old picture move and mix the drawing too.
    void effectsStartFromTheFrameTheHandlerDrew_data() {
        QTest::addColumn<int>("style");
        QTest::addColumn<int>("progress");
        QTest::newRow("fade") << 119 << 30;
        QTest::newRow("push right") << 129 << 30;
        QTest::newRow("push and squeeze right") << 131 << 30;
        QTest::newRow("push down") << 133 << 30;
        QTest::newRow("pixelate old") << 168 << 20;
        QTest::newRow("pixelate blend") << 168 << 45;
        QTest::newRow("slide out from right") << 173 << 30;
        QTest::newRow("slide out from top") << 176 << 30;
    }
    void effectsStartFromTheFrameTheHandlerDrew() {
        QFETCH(int, style);
        QFETCH(int, progress);
        const QSize size(100, 80);
        QImage newPic(size, QImage::Format_RGB32);
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x)
                newPic.setPixel(x, y, qRgb(x * 2, y * 3, 200));
        const QImage drawn = solid(size, 0xFF30C060);
        Stepped s;
        s.show.setStyle(style);
        s.show.setManual(true);
        s.show.setOnBeforeNewFrame([&](TCustomPicShow *, const QImage &, QImage &screen) {
            screen.fill(drawn.pixel(0, 0));
        });
        s.show.setPicture(newPic);
        s.show.execute();
        s.show.setProgress(progress);
        QImage expected;
        core::Random random;
        drawStyle(expected, drawn, newPic, style, progress, 1, random);
        QCOMPARE(s.show.frame(), expected);
        s.show.stop();
    }

    void transparentAreasShowTheColour() {
        Stepped s;
        s.show.setColor(QColor(1, 2, 3));
        s.show.setBgPicture(solid(QSize(4, 4), 0xFF00FF00));
        s.show.setStep(100);
        QImage picture(QSize(100, 80), QImage::Format_ARGB32);
        picture.fill(Qt::transparent);
        s.show.setPicture(picture);
        s.show.execute();
        QCOMPARE(s.show.frame().pixel(50, 40), qRgb(1, 2, 3));
    }

    void delayKeptWithinTheTimerLimits_data() {
        QTest::addColumn<int>("minPeriod");
        QTest::addColumn<int>("maxPeriod");
        QTest::addColumn<int>("delay");
        QTest::addColumn<int>("expected");
        QTest::newRow("lowered to the maximum") << 1 << 30 << 40 << 30;
        QTest::newRow("raised to the minimum") << 20 << 1000 << 10 << 20;
        QTest::newRow("within") << 1 << 1000 << 40 << 40;
        // A failed query gives (0, 0): Delay stays and the timer still runs.
        QTest::newRow("limits unknown") << 0 << 0 << 40 << 40;
    }
    void delayKeptWithinTheTimerLimits() {
        QFETCH(int, minPeriod);
        QFETCH(int, maxPeriod);
        QFETCH(int, delay);
        QFETCH(int, expected);
        TPicShow show;
        show.setTimerLimits(minPeriod, maxPeriod);
        show.setDelay(delay);
        show.setManual(true);
        show.setPicture(solid(QSize(10, 10), 0xFF000000));
        show.execute();
        show.setManual(false); // starts the threaded timer
        QCOMPARE(show.delay(), expected);
        show.stop();
        QCOMPARE(show.delay(), expected);
    }

    void threadedTransitionReportsOnTheGuiThread() {
        TPicShow show;
        show.resize(64, 48);
        show.setDelay(1);
        show.setStep(25);
        show.setStyle(119);
        QList<bool> onGui;
        QStringList order;
        connect(&show, &TCustomPicShow::onProgress, this, [&] {
            onGui << (QThread::currentThread() == thread());
            order << "progress";
        });
        connect(&show, &TCustomPicShow::onComplete, this, [&] { order << "complete"; });
        connect(&show, &TCustomPicShow::onStop, this, [&] { order << "stop"; });
        QSignalSpy stopped(&show, &TCustomPicShow::onStop);
        show.setPicture(solid(QSize(64, 48), 0xFF123456));
        show.execute();
        QVERIFY(stopped.wait(5000));
        QCOMPARE(order,
                 (QStringList{"progress", "progress", "progress", "progress", "complete", "stop"}));
        QVERIFY(!onGui.contains(false));
        QCOMPARE(show.frame(), solid(QSize(64, 48), 0xFF123456));
    }

    // The worker thread never calls into the control: every handler runs on the GUI thread,
    // and once destruction has begun no handler runs and no frame arrives, whatever was
    // under way (run under ThreadSanitizer too).
    void destroyingWhileRunningIsSafe() {
        for (int i = 0; i < 5; ++i) {
            auto show = std::make_unique<TPicShow>();
            show->resize(320, 240);
            show->setDelay(1);
            show->setStep(1);
            std::atomic<int> frames{0}, late{0}, offGui{0};
            std::atomic<bool> destroying{false};
            const QThread *gui = QThread::currentThread();
            show->setOnAfterNewFrame([&](TCustomPicShow *, const QImage &, QImage &) {
                ++frames;
                if (destroying)
                    ++late;
                if (QThread::currentThread() != gui)
                    ++offGui;
            });
            int progressReports = 0;
            connect(show.get(), &TCustomPicShow::onProgress, this, [&] { ++progressReports; });
            show->setPicture(solid(QSize(320, 240), 0xFF00FF00));
            show->execute();
            QTRY_VERIFY_WITH_TIMEOUT(frames >= 2, 20000);
            QVERIFY(show->busy());
            destroying = true;
            show.reset();
            const int reportsAtDestruction = progressReports;
            QCoreApplication::processEvents(); // whatever the dead control's worker had posted
            QCoreApplication::sendPostedEvents();
            QCOMPARE(late.load(), 0);
            QCOMPARE(offGui.load(), 0);
            QCOMPARE(progressReports, reportsAtDestruction);
        }
    }

    // Threaded frames are built on the worker and handed over whole: each frame shown is
    // the style's frame at the progress reported with it, and the transition ends on the
    // new picture with onStart first and onComplete, onStop last.
    void threadedFramesMatchTheirProgress() {
        TPicShow show;
        show.resize(160, 120);
        show.setDelay(1);
        show.setStep(7);
        show.setStyle(119);
        show.setOverDraw(false);
        show.setColor(Qt::black);
        const QImage newPic = kalmo::testing::noisy(QSize(160, 120), 5);
        const QImage oldPic = solid(QSize(160, 120), 0xFF000000);
        QStringList order;
        QList<int> wrong;
        bool startedOnGui = false;
        show.setOnStart([&](TCustomPicShow *, const QImage &, QImage &) {
            order << "start";
            startedOnGui = QThread::currentThread() == thread();
        });
        connect(&show, &TCustomPicShow::onProgress, this, [&] {
            if (order.isEmpty() || order.last() != "progress")
                order << "progress";
            // Steps handed over together all show the newest of their frames.
            const QImage shown = show.frame();
            bool found = false;
            for (int q = show.progress(); q <= 100 && !found; q = q == 98 ? 100 : q + 7) {
                core::Random random;
                QImage expected;
                drawStyle(expected, oldPic, newPic, 119, q, 1, random);
                found = shown == expected;
            }
            if (!found)
                wrong << show.progress();
        });
        connect(&show, &TCustomPicShow::onComplete, this, [&] { order << "complete"; });
        connect(&show, &TCustomPicShow::onStop, this, [&] { order << "stop"; });
        QSignalSpy stopped(&show, &TCustomPicShow::onStop);
        show.setPicture(newPic);
        show.execute();
        QVERIFY(show.busy());
        QVERIFY(stopped.wait(20000));
        QVERIFY(startedOnGui);
        QCOMPARE(order, (QStringList{"start", "progress", "complete", "stop"}));
        QCOMPARE(wrong, QList<int>());
        QCOMPARE(show.frame(), newPic);
        QCOMPARE(show.progress(), 100);
    }

    // Stopping or switching to manual while the worker runs keeps the newest frame it made
    // together with its progress; nothing of the worker arrives afterwards.
    void pausingTheWorkerKeepsFrameAndProgress_data() {
        QTest::addColumn<bool>("byStop");
        QTest::newRow("stop") << true;
        QTest::newRow("manual") << false;
    }
    void pausingTheWorkerKeepsFrameAndProgress() {
        QFETCH(bool, byStop);
        TPicShow show;
        show.resize(160, 120);
        show.setDelay(1);
        show.setStep(1);
        show.setStyle(5);
        show.setOverDraw(false);
        show.setColor(Qt::black);
        const QImage newPic = kalmo::testing::noisy(QSize(160, 120), 9);
        int reports = 0, completes = 0;
        connect(&show, &TCustomPicShow::onProgress, this, [&] { ++reports; });
        connect(&show, &TCustomPicShow::onComplete, this, [&] { ++completes; });
        show.setPicture(newPic);
        show.execute();
        QTRY_VERIFY_WITH_TIMEOUT(reports >= 3, 20000);
        if (byStop)
            show.stop();
        else
            show.setManual(true);
        const int progress = show.progress();
        QVERIFY(progress > 0 && progress < 100);
        core::Random random;
        QImage expected;
        drawStyle(expected, solid(QSize(160, 120), 0xFF000000), newPic, 5, progress, 1, random);
        QCOMPARE(show.frame(), expected);
        QCOMPARE(show.busy(), !byStop);
        const int reportsAtPause = reports;
        QCoreApplication::sendPostedEvents(); // hand-overs the worker posted before it ended
        QCOMPARE(reports, reportsAtPause);
        QCOMPARE(show.progress(), progress);
        QCOMPARE(completes, 0);
        if (!byStop) {
            show.setManual(false); // steps on from where it was held
            QTRY_VERIFY_WITH_TIMEOUT(!show.busy(), 20000);
            QCOMPARE(completes, 1);
            QCOMPARE(show.frame(), newPic);
        }
    }

    void largePicturesAreFittedFirst() {
        Stepped s;
        s.show.resize(200, 100);
        s.show.setProportional(true);
        s.show.setCenter(true);
        s.show.setManual(true);
        s.show.setPicture(solid(QSize(6000, 4000), 0xFF0000FF));
        s.show.execute();
        QCOMPARE(s.show.picRect(), QRect(0, 0, 150, 100));
        QCOMPARE(s.show.displayRect(), QRect(25, 0, 150, 100));
        s.show.stop();
    }

    void displayGeometry_data() {
        QTest::addColumn<bool>("proportional");
        QTest::addColumn<bool>("stretch");
        QTest::addColumn<bool>("center");
        QTest::addColumn<int>("frame");
        QTest::addColumn<QRect>("expected");
        // Picture 100x50 in a 300x200 control.
        QTest::newRow("natural") << false << false << false << 0 << QRect(0, 0, 100, 50);
        QTest::newRow("centred") << false << false << true << 0 << QRect(100, 75, 100, 50);
        QTest::newRow("stretched") << false << true << false << 0 << QRect(0, 0, 300, 200);
        QTest::newRow("proportional small stays")
            << true << false << true << 0 << QRect(100, 75, 100, 50);
        QTest::newRow("proportional stretched")
            << true << true << true << 0 << QRect(0, 25, 300, 150);
        QTest::newRow("frame") << true << true << true << 10 << QRect(10, 30, 280, 140);
    }
    void displayGeometry() {
        QFETCH(bool, proportional);
        QFETCH(bool, stretch);
        QFETCH(bool, center);
        QFETCH(int, frame);
        QFETCH(QRect, expected);
        Stepped s;
        s.show.resize(300, 200);
        s.show.setProportional(proportional);
        s.show.setStretch(stretch);
        s.show.setCenter(center);
        s.show.setFrameWidth(frame);
        s.show.setStep(100);
        s.show.setPicture(solid(QSize(100, 50), 0xFF000000));
        s.show.execute();
        QCOMPARE(s.show.displayRect(), expected);
    }

    void resizeDuringATransitionRerendersTheBackground() {
        Stepped s;
        s.show.resize(100, 80);
        s.show.show();
        s.show.setManual(true);
        s.show.setBgMode(TCustomPicShow::bmStretched);
        QImage bg(2, 1, QImage::Format_RGB32);
        bg.setPixel(0, 0, 0xFFFF0000);
        bg.setPixel(1, 0, 0xFF0000FF);
        s.show.setBgPicture(bg);
        s.show.setPicture(solid(QSize(100, 80), 0xFF00FF00));
        s.show.execute();
        QCOMPARE(s.show.frame().pixel(10, 10), 0xFFFF0000u);
        QCOMPARE(s.show.frame().pixel(90, 10), 0xFF0000FFu);
        s.show.setProgress(1);
        // Wider: the picture keeps its place at the left, where the background is all red.
        s.show.resize(300, 80);
        QCOMPARE(s.show.displayRect(), QRect(0, 0, 100, 80));
        QCOMPARE(s.show.frame().pixel(90, 10), 0xFFFF0000u);
        s.show.stop();
    }

    void exactTimingScalesTheStep_data() {
        QTest::addColumn<int>("delay");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("second");
        // The first step comes at once, with no time passed; the second 100 ms later.
        QTest::newRow("scaled by the time passed") << 40 << 0 << 10; // 2.5 ticks' worth
        QTest::newRow("no period: plain steps") << 0 << 4 << 8;
    }
    void exactTimingScalesTheStep() {
        QFETCH(int, delay);
        QFETCH(int, first);
        QFETCH(int, second);
        core::ManualClock clock;
        Stepped s;
        s.show.setClock(&clock);
        s.show.setExactTiming(true);
        s.show.setDelay(delay);
        s.show.setStep(4);
        s.show.setManual(true);
        s.show.setPicture(solid(QSize(10, 10), 0xFF000000));
        s.show.execute();
        s.show.setManual(false);
        QCOMPARE(s.show.progress(), first);
        clock.advanceMs(100);
        s.show.tick();
        QCOMPARE(s.show.progress(), second);
        s.show.stop();
    }

    void clearShowsTheBackgroundOnly() {
        Stepped s;
        s.show.setStep(100);
        s.show.setPicture(solid(QSize(100, 80), 0xFF000000));
        s.show.execute();
        QVERIFY(!s.show.frame().isNull());
        s.show.clear();
        QVERIFY(s.show.frame().isNull());
        QCOMPARE(s.show.displayRect(), QRect());
    }

    void paintsFrameBorderAndBackground() {
        Stepped s;
        s.show.resize(60, 40);
        s.show.setColor(QColor(9, 9, 9));
        s.show.setFrameWidth(2);
        s.show.setFrameColor(QColor(200, 0, 0));
        s.show.setCenter(true);
        s.show.setStep(100);
        s.show.setPicture(solid(QSize(20, 10), 0xFF00FF00));
        s.show.execute();
        const QImage shot = s.show.grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shot.pixel(30, 20), 0xFF00FF00u);
        QCOMPARE(shot.pixel(19, 20), qRgb(200, 0, 0)); // the band just left of the picture
        QCOMPARE(shot.pixel(2, 2), qRgb(9, 9, 9));
    }

    void executeWithoutPictureDoesNothing() {
        Stepped s;
        s.show.execute();
        QVERIFY(!s.show.busy());
        QVERIFY(s.events.isEmpty());
    }

    void autoSizeFollowsAlign() {
        TPicShow show;
        show.setFrameWidth(3);
        show.setAlign(TCustomPicShow::alCustom);
        show.setAutoSize(true);
        show.setPicture(solid(QSize(50, 40), 0xFF000000));
        QCOMPARE(show.size(), QSize(100, 100));
        show.setAlign(TCustomPicShow::alNone);
        show.setPicture(solid(QSize(50, 40), 0xFF000000));
        QCOMPARE(show.size(), QSize(56, 46));
        show.setAlign(TCustomPicShow::alTop);
        show.setPicture(solid(QSize(70, 20), 0xFF000000));
        QCOMPARE(show.size(), QSize(56, 26));
    }
};

QTEST_MAIN(TestPicShow)
#include "tst_picshow.moc"
