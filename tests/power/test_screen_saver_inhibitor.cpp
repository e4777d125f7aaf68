#include "power/screen_saver_inhibitor.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

using namespace kalmo::power;

namespace {

// The desktop's side: grants cookies and keeps the ones not given back.
class FakeScreenSaver : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")
public:
    QList<uint> active;
    QStringList callers;
    uint next = 41;

public slots:
    uint Inhibit(const QString &application, const QString &reason) {
        callers << application + ": " + reason;
        active << ++next;
        return next;
    }
    void UnInhibit(uint cookie) { active.removeAll(cookie); }
};

// A session bus of the test's own.
class PrivateBus {
public:
    PrivateBus() {
        m_daemon.start("dbus-daemon", {"--session", "--nofork", "--print-address"});
        if (m_daemon.waitForStarted(10000) && m_daemon.waitForReadyRead(10000))
            address = QString::fromUtf8(m_daemon.readLine()).trimmed();
    }
    ~PrivateBus() {
        for (const QString &name : m_names)
            QDBusConnection::disconnectFromBus(name);
        m_daemon.kill();
        m_daemon.waitForFinished(5000);
    }
    QDBusConnection connect(const QString &name) {
        m_names << name;
        return QDBusConnection::connectToBus(address, name);
    }
    QString address;

private:
    QProcess m_daemon;
    QStringList m_names;
};

} // namespace

class TestScreenSaverInhibitor : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void takenWhileAwakeAndGivenBackAsleep();
    void sleepBeforeTheAnswerGivesItBack();
    void aSessionWithoutTheServiceIsLoggedOnce();

private:
    std::unique_ptr<PrivateBus> m_bus;
};

void TestScreenSaverInhibitor::initTestCase() {
    m_bus = std::make_unique<PrivateBus>();
    QVERIFY2(!m_bus->address.isEmpty(), "dbus-daemon did not start (package dbus)");
}

void TestScreenSaverInhibitor::takenWhileAwakeAndGivenBackAsleep() {
    QDBusConnection desktop = m_bus->connect("desktop1");
    FakeScreenSaver saver;
    QVERIFY(desktop.registerObject("/org/freedesktop/ScreenSaver", &saver,
                                   QDBusConnection::ExportAllSlots));
    QVERIFY(desktop.registerService("org.freedesktop.ScreenSaver"));

    ScreenSaverInhibitor inhibitor(m_bus->connect("kiosk1"));
    QSignalSpy held(&inhibitor, &ScreenSaverInhibitor::heldChanged);
    inhibitor.setInhibited(true);
    QTRY_VERIFY(inhibitor.held());
    QCOMPARE(saver.active, QList<uint>{42});
    QCOMPARE(saver.callers.size(), 1);
    QVERIFY(saver.callers[0].startsWith("kalmo: "));
    // Asked again while held: no second inhibition (the count below stays 1).
    inhibitor.setInhibited(true);

    inhibitor.setInhibited(false);
    QVERIFY(!inhibitor.held());
    QTRY_VERIFY(saver.active.isEmpty());
    QCOMPARE(saver.callers.size(), 1);

    inhibitor.setInhibited(true);
    QTRY_COMPARE(saver.active, QList<uint>{43});
    QCOMPARE(held.size(), 3);
    desktop.unregisterService("org.freedesktop.ScreenSaver");
    desktop.unregisterObject("/org/freedesktop/ScreenSaver");
}

void TestScreenSaverInhibitor::sleepBeforeTheAnswerGivesItBack() {
    QDBusConnection desktop = m_bus->connect("desktop2");
    FakeScreenSaver saver;
    QVERIFY(desktop.registerObject("/org/freedesktop/ScreenSaver", &saver,
                                   QDBusConnection::ExportAllSlots));
    QVERIFY(desktop.registerService("org.freedesktop.ScreenSaver"));

    ScreenSaverInhibitor inhibitor(m_bus->connect("kiosk2"));
    QSignalSpy held(&inhibitor, &ScreenSaverInhibitor::heldChanged);
    inhibitor.setInhibited(true);
    inhibitor.setInhibited(false); // the service has not answered yet
    QTRY_COMPARE(held.size(), 2);
    QTRY_VERIFY(saver.active.isEmpty());
    QCOMPARE(saver.callers.size(), 1);
    QVERIFY(!inhibitor.held());
    desktop.unregisterService("org.freedesktop.ScreenSaver");
    desktop.unregisterObject("/org/freedesktop/ScreenSaver");
}

void TestScreenSaverInhibitor::aSessionWithoutTheServiceIsLoggedOnce() {
    int lines = 0;
    static int *counter = nullptr;
    counter = &lines;
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &m) {
            // Information, not an error.
            if (m.contains("offers no screen saver inhibition"))
                *counter += type == QtInfoMsg ? 1 : 100;
        });
    {
        ScreenSaverInhibitor inhibitor(m_bus->connect("kiosk3"));
        for (int night = 0; night < 3; ++night) {
            inhibitor.setInhibited(true);
            QTRY_COMPARE(lines, 1);
            inhibitor.setInhibited(false);
        }
        QTest::qWait(50);
        QVERIFY(!inhibitor.held());
        // No bus at all: the same, once.
        ScreenSaverInhibitor noBus(QDBusConnection("none"));
        noBus.setInhibited(true);
        noBus.setInhibited(true);
    }
    qInstallMessageHandler(previous);
    QCOMPARE(lines, 2);
}

QTEST_GUILESS_MAIN(TestScreenSaverInhibitor)
#include "test_screen_saver_inhibitor.moc"
