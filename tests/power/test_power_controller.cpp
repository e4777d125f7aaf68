#include "core/clock.h"
#include "core/idle_clock.h"
#include "power/power_controller.h"

#include <QSignalSpy>
#include <QTest>

using namespace kalmo;
using namespace kalmo::power;

namespace {

// A controller on 7:30-18:30 on weekdays, with a clock that moves only when told.
struct Fixture {
    core::ManualClock clock{QDateTime(QDate(2026, 12, 7), QTime(12, 0)), 1000000};
    core::IdleClock idle{clock};
    PowerController power{clock, idle};
    QSignalSpy changes{&power, &PowerController::asleepChanged};
    bool settingsOpen = false;

    Fixture() {
        power.setSchedule(readDisplaySchedule("7:30", "18:30", "12345"));
        power.setWakeSeconds([] { return 20; });
        power.setKeepAwake([this] { return settingsOpen; });
    }
    void at(const QTime &time) {
        const QDateTime to(clock.now().date(), time);
        clock.advanceMs(clock.now().msecsTo(to));
        power.check();
    }
    void wait(int seconds) {
        clock.advanceMs(seconds * 1000);
        power.check();
    }
};

} // namespace

class TestPowerController : public QObject {
    Q_OBJECT
private slots:
    void sleepsAtOffAndWakesAtOn();
    void aTouchWakesForTheIdleTimeout();
    void aNoticeHoldsItAwake();
    void anOpenSettingsDialogKeepsItAwake();
    void checksAtTheNextEdge();
};

void TestPowerController::sleepsAtOffAndWakesAtOn() {
    Fixture f;
    f.power.check();
    QVERIFY(!f.power.asleep());
    QCOMPARE(f.changes.size(), 0);
    f.at(QTime(18, 30));
    QVERIFY(f.power.asleep());
    QCOMPARE(f.changes.size(), 1);
    QCOMPARE(f.changes.last().at(0).toBool(), true);
    f.at(QTime(23, 0));
    QCOMPARE(f.changes.size(), 1); // asleep once, not at every check
    f.clock.advanceMs(f.clock.now().msecsTo(QDateTime(QDate(2026, 12, 8), QTime(7, 30))));
    f.power.check();
    QVERIFY(!f.power.asleep());
    QCOMPARE(f.changes.size(), 2);
}

void TestPowerController::aTouchWakesForTheIdleTimeout() {
    Fixture f;
    f.at(QTime(19, 0));
    QVERIFY(f.power.asleep());
    f.wait(3600);
    f.power.wokenByInput();
    QVERIFY(!f.power.asleep());
    // The idle time counts from the waking touch, not from the last input before the night.
    QCOMPARE(f.idle.idleSeconds(), 0u);
    f.wait(19);
    QVERIFY(!f.power.asleep());
    // A visitor still at it keeps it awake.
    f.idle.touch();
    f.wait(19);
    QVERIFY(!f.power.asleep());
    f.wait(1);
    QVERIFY(f.power.asleep());
    // Asleep again, it stays so: the touch was spent.
    f.wait(3600);
    QVERIFY(f.power.asleep());
}

void TestPowerController::aNoticeHoldsItAwake() {
    Fixture f;
    f.at(QTime(19, 0));
    f.wait(3600);
    f.power.setHeldAwake(true);
    QVERIFY(!f.power.asleep());
    f.wait(3600);
    QVERIFY(!f.power.asleep());
    // The notice goes: the kiosk sleeps once nobody has touched it for the idle timeout.
    f.power.setHeldAwake(false);
    QVERIFY(f.power.asleep());

    // Held through the on-time and beyond, it simply stays on.
    f.power.setHeldAwake(true);
    f.clock.advanceMs(f.clock.now().msecsTo(QDateTime(QDate(2026, 12, 8), QTime(12, 0))));
    f.power.setHeldAwake(false);
    QVERIFY(!f.power.asleep());
}

void TestPowerController::anOpenSettingsDialogKeepsItAwake() {
    Fixture f;
    f.at(QTime(18, 0));
    f.settingsOpen = true;
    f.at(QTime(18, 30));
    QVERIFY(!f.power.asleep());
    f.wait(600);
    QVERIFY(!f.power.asleep());
    // Closed, it leaves the administrator the idle timeout from the last key.
    f.settingsOpen = false;
    f.idle.touch();
    f.wait(5);
    QVERIFY(!f.power.asleep());
    f.wait(15);
    QVERIFY(f.power.asleep());
}

void TestPowerController::checksAtTheNextEdge() {
    Fixture f;
    f.at(QTime(18, 29, 30));
    auto *timer = f.power.findChild<QTimer *>("PowerTimer");
    QVERIFY(timer);
    QVERIFY(timer->isActive());
    QCOMPARE(timer->interval(), 30000);
    // Asleep, the next check is at most a minute away.
    f.at(QTime(19, 0));
    QCOMPARE(timer->interval(), 60000);
    // Woken by a touch off-hours: every second, for the idle timeout.
    f.power.wokenByInput();
    QCOMPARE(timer->interval(), 1000);
}

QTEST_GUILESS_MAIN(TestPowerController)
#include "test_power_controller.moc"
