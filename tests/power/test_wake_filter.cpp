#include "power/wake_filter.h"

#include <QPointingDevice>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

using namespace kalmo::power;

namespace {

// A window with one button, as the main screen is under a sleeping kiosk's finger.
struct Screen {
    QWidget window;
    QPushButton *button = new QPushButton(QStringLiteral("Календарь событий"), &window);
    QSignalSpy clicks{button, &QPushButton::clicked};
    WakeFilter filter;
    QSignalSpy wakes{&filter, &WakeFilter::woken};

    Screen() {
        window.resize(300, 200);
        button->setGeometry(50, 50, 200, 100);
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            qWarning("window not exposed");
    }
};

} // namespace

class TestWakeFilter : public QObject {
    Q_OBJECT
private slots:
    void aWakingClickPressesNothing();
    void aWakingTouchPressesNothing();
    void aWakingKeyTypesNothing();
    void theSequenceEndsWithItsRelease();
};

void TestWakeFilter::aWakingClickPressesNothing() {
    Screen s;
    s.filter.setArmed(true);
    QTest::mouseClick(s.button, Qt::LeftButton);
    QCOMPARE(s.wakes.size(), 1);
    QCOMPARE(s.clicks.size(), 0);
    QVERIFY(!s.button->isDown());
    QVERIFY(!s.filter.armed());
    // Awake: the next click is the visitor's.
    QTest::mouseClick(s.button, Qt::LeftButton);
    QCOMPARE(s.clicks.size(), 1);
    QCOMPARE(s.wakes.size(), 1);
}

void TestWakeFilter::aWakingTouchPressesNothing() {
    Screen s;
    QPointingDevice *screen = QTest::createTouchDevice();
    s.filter.setArmed(true);
    const QPoint centre = s.button->geometry().center();
    QTest::touchEvent(&s.window, screen).press(0, centre, &s.window);
    QTest::touchEvent(&s.window, screen).move(0, centre + QPoint(5, 0), &s.window);
    QTest::touchEvent(&s.window, screen).release(0, centre + QPoint(5, 0), &s.window);
    QCOMPARE(s.wakes.size(), 1);
    QCOMPARE(s.clicks.size(), 0);
    QVERIFY(!s.button->isDown());
    // The next tap presses the button (made into a click by Qt, as the filter lets it be).
    QTest::touchEvent(&s.window, screen).press(0, centre, &s.window);
    QTest::touchEvent(&s.window, screen).release(0, centre, &s.window);
    QCOMPARE(s.clicks.size(), 1);
}

void TestWakeFilter::aWakingKeyTypesNothing() {
    Screen s;
    s.button->setFocus();
    s.filter.setArmed(true);
    QTest::keyClick(s.button, Qt::Key_Space);
    QCOMPARE(s.wakes.size(), 1);
    QCOMPARE(s.clicks.size(), 0);
    QTest::keyClick(s.button, Qt::Key_Space);
    QCOMPARE(s.clicks.size(), 1);
}

void TestWakeFilter::theSequenceEndsWithItsRelease() {
    Screen s;
    s.filter.setArmed(true);
    QTest::mousePress(s.button, Qt::LeftButton);
    QCOMPARE(s.wakes.size(), 1);
    // The kiosk is awake before the finger is up; the release still goes nowhere.
    s.filter.setArmed(false);
    QTest::mouseMove(s.button, QPoint(20, 20));
    QTest::mouseRelease(s.button, Qt::LeftButton);
    QCOMPARE(s.clicks.size(), 0);
    QVERIFY(!s.button->isDown());
    // Armed again while nothing is pressed, every input waits for the next waking press:
    // moving over the screen wakes nothing.
    s.filter.setArmed(true);
    QTest::mouseMove(s.button, QPoint(30, 30));
    QCOMPARE(s.wakes.size(), 1);
    QTest::mouseClick(s.button, Qt::LeftButton);
    QCOMPARE(s.wakes.size(), 2);
    QCOMPARE(s.clicks.size(), 0);
}

QTEST_MAIN(TestWakeFilter)
#include "test_wake_filter.moc"
