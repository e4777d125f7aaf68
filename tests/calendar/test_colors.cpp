#include "core/colors.h"

#include <QTest>

using namespace kalmo::core;

class TestColors : public QObject {
    Q_OBJECT
private slots:
    void readsNamesAndNumbers_data();
    void readsNamesAndNumbers();
    void writesNameOrDollarForm_data();
    void writesNameOrDollarForm();
    void everyNameRoundTrips();
    void systemColoursFollowThePalette();
};

void TestColors::readsNamesAndNumbers_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("code");
    QTest::newRow("seeded lower-case aqua") << "claqua" << 0xFFFF00;
    QTest::newRow("aqua as named") << "clAqua" << 0xFFFF00;
    QTest::newRow("upper case") << "CLRED" << 0x0000FF;
    QTest::newRow("blanks around") << "  clNavy " << 0x800000;
    QTest::newRow("dollar red") << "$000000FF" << 0x0000FF;
    QTest::newRow("dollar lower hex") << "$00ff0000" << 0xFF0000;
    QTest::newRow("decimal") << "255" << 0x0000FF;
    QTest::newRow("negative decimal") << "-16777211" << int(0xFF000005);
    QTest::newRow("system colour in hex") << "$FF00000F" << int(0xFF00000F);
    QTest::newRow("system name") << "clBtnFace" << int(0xFF00000F);
    QTest::newRow("none") << "clnone" << 0x1FFFFFFF;
    QTest::newRow("default") << "clDefault" << 0x20000000;
}

void TestColors::readsNamesAndNumbers() {
    QFETCH(QString, text);
    QFETCH(int, code);
    const auto read = colorFromText(text);
    QVERIFY(read.has_value());
    QCOMPARE(*read, code);
}

void TestColors::writesNameOrDollarForm_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("text");
    QTest::newRow("named") << 0x0000FF << "clRed";
    QTest::newRow("extended name") << 0xF0CAA6 << "clSkyBlue";
    QTest::newRow("picked colour") << 0x123456 << "$00123456";
    QTest::newRow("unnamed system number") << int(0xFF000019) << "$FF000019";
    QTest::newRow("tooltip text") << int(0xFF000017) << "clInfoText";
}

void TestColors::writesNameOrDollarForm() {
    QFETCH(int, code);
    QFETCH(QString, text);
    QCOMPARE(colorToText(code), text);
    QCOMPARE(colorFromText(text).value_or(-1), code);
}

void TestColors::everyNameRoundTrips() {
    QCOMPARE(namedColors().size(), size_t(52));
    for (const NamedColor &n : namedColors()) {
        QCOMPARE(colorFromText(QString::fromLatin1(n.name).toLower()).value_or(-1), n.code);
        QCOMPARE(colorToText(n.code), QString::fromLatin1(n.name));
    }
    for (const char *bad : {"", "clAquamarine", "red", "$", "$1G", "12abc"})
        QVERIFY2(!colorFromText(QString::fromLatin1(bad)), bad);
}

void TestColors::systemColoursFollowThePalette() {
    QPalette p;
    p.setColor(QPalette::Button, QColor(1, 2, 3));
    p.setColor(QPalette::Highlight, QColor(4, 5, 6));
    QCOMPARE(toQColor(*colorFromText(QStringLiteral("clBtnFace")), p), QColor(1, 2, 3));
    QCOMPARE(toQColor(*colorFromText(QStringLiteral("clHighlight")), p), QColor(4, 5, 6));
    // Without a role: a fixed desktop colour, the same whatever the palette.
    QCOMPARE(toQColor(*colorFromText(QStringLiteral("clActiveCaption")), p), QColor(0x99B4D1));
    QCOMPARE(toQColor(0x0000FF, p), QColor(255, 0, 0));
    QCOMPARE(toQColor(kColorNone, p).alpha(), 0);
    QVERIFY(!toQColor(kColorDefault, p).isValid());
    QCOMPARE(fromQColor(QColor(0x12, 0x34, 0x56)), 0x563412);
}

QTEST_MAIN(TestColors)
#include "test_colors.moc"
