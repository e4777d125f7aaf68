#include "power/x11_saver_settings.h"

#include <QTest>

using namespace kalmo::power;

namespace {

const QByteArray kQuery = R"(Keyboard Control:
  auto repeat:  on    key click percent:  0    LED mask:  00000000
Pointer Control:
  acceleration:  2/1    threshold:  4
Screen Saver:
  prefer blanking:  no    allow exposures:  yes
  timeout:  600    cycle:  300
Colors:
  default colormap:  0x20    BlackPixel:  0x0    WhitePixel:  0xffffff
DPMS (Energy Star):
  Standby: 1200    Suspend: 1800    Off: 2400
  DPMS is Enabled
  Monitor is On
)";

} // namespace

class TestX11SaverSettings : public QObject {
    Q_OBJECT
private slots:
    void readsWhatTheServerHad();
    void asleepGivesItBackAndSwitchesOff();
};

void TestX11SaverSettings::readsWhatTheServerHad() {
    const auto s = parseXsetQuery(kQuery);
    QVERIFY(s);
    QCOMPARE(s->timeout, 600);
    QCOMPARE(s->cycle, 300);
    QVERIFY(!s->preferBlanking);
    QVERIFY(s->dpmsKnown);
    QVERIFY(s->dpmsEnabled);
    QCOMPARE(s->standby, 1200);
    QCOMPARE(s->off, 2400);

    // A server without DPMS still has its screen saver.
    QByteArray noDpms = kQuery.left(kQuery.indexOf("DPMS (Energy"));
    noDpms += "Server does not have the DPMS Extension\n";
    const auto n = parseXsetQuery(noDpms);
    QVERIFY(n);
    QVERIFY(!n->dpmsKnown);
    QVERIFY(!parseXsetQuery("xset:  unable to open display \"\"\n"));
}

void TestX11SaverSettings::asleepGivesItBackAndSwitchesOff() {
    const auto saved = parseXsetQuery(kQuery);
    const QList<QStringList> asleep = xsetWhileAsleep(saved);
    QCOMPARE(asleep, (QList<QStringList>{{"s", "600", "300"},
                                         {"s", "noblank"},
                                         {"dpms", "1200", "1800", "2400"},
                                         {"dpms", "force", "off"}}));
    // Nothing known: the display is switched off all the same.
    QCOMPARE(xsetWhileAsleep(std::nullopt), (QList<QStringList>{{"dpms", "force", "off"}}));
    // Awake, the display comes on and neither timeout runs.
    QVERIFY(xsetWhileAwake().contains(QStringList({"dpms", "force", "on"})));
    QVERIFY(xsetWhileAwake().contains(QStringList({"s", "off", "-dpms"})));
    QCOMPARE(xsetAtExit(*saved), QStringList({"s", "600", "300", "s", "noblank", "dpms", "1200",
                                              "1800", "2400", "+dpms"}));
}

QTEST_GUILESS_MAIN(TestX11SaverSettings)
#include "test_x11_saver_settings.moc"
