#include "core/idle_clock.h"
#include "core/program_values.h"
#include "core/random.h"
#include "core/strict_int.h"
#include "core/text_codec.h"
#include "core/theme.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QProcess>
#include <QTest>

using namespace kalmo::core;

class TestCoreValues : public QObject {
    Q_OBJECT
private slots:
    void strictIntegers_data();
    void strictIntegers();
    void conversionErrorText();
    void decodesByBomThenUtf8ThenCodePage_data();
    void decodesByBomThenUtf8ThenCodePage();
    void strayBytesDecideByMajority_data();
    void strayBytesDecideByMajority();
    void codePageTableMatchesIconv();
    void idleTimeAcrossTheWrap();
    void idleClockSeesInputButNeverEatsIt();
    void randomStateSavesAndRestores();
    void fontStyleText_data();
    void fontStyleText();
    void themes();
};

void TestCoreValues::strictIntegers_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("value");
    QTest::newRow("plain") << "30" << true << 30;
    QTest::newRow("blanks") << " 5 " << true << 5;
    QTest::newRow("negative") << "-12" << true << -12;
    QTest::newRow("plus") << "+7" << true << 7;
    QTest::newRow("hex dollar") << "$1F" << true << 31;
    QTest::newRow("int min") << "-2147483648" << true << std::numeric_limits<int>::min();
    QTest::newRow("empty") << "" << false << 0;
    QTest::newRow("trailing letters") << "5x" << false << 0;
    QTest::newRow("word") << "true" << false << 0;
    QTest::newRow("fraction") << "1.5" << false << 0;
    QTest::newRow("overflow") << "2147483648" << false << 0;
    QTest::newRow("sign only") << "-" << false << 0;
    QTest::newRow("arabic-indic digits") << QStringLiteral("٣") << false << 0;
}

void TestCoreValues::strictIntegers() {
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(int, value);
    const auto parsed = parseInt(text);
    QCOMPARE(parsed.has_value(), valid);
    if (valid)
        QCOMPARE(*parsed, value);
}

void TestCoreValues::conversionErrorText() {
    try {
        toIntStrict("5x");
        QFAIL("no error");
    } catch (const ConversionError &e) {
        QCOMPARE(e.text(), QString("'5x' is not a valid integer value"));
    }
}

void TestCoreValues::decodesByBomThenUtf8ThenCodePage_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("encoding");
    const QString text = QStringLiteral("Привет, мир");
    QTest::newRow("utf8") << text.toUtf8() << int(TextEncoding::Utf8);
    QTest::newRow("utf8 bom") << QByteArray("\xEF\xBB\xBF") + text.toUtf8()
                              << int(TextEncoding::Utf8Bom);
    QTest::newRow("utf16le bom") << encodeText(text, TextEncoding::Utf16LE)
                                 << int(TextEncoding::Utf16LE);
    QTest::newRow("utf16be bom") << encodeText(text, TextEncoding::Utf16BE)
                                 << int(TextEncoding::Utf16BE);
    QTest::newRow("windows-1251") << toWindows1251(text) << int(TextEncoding::Windows1251);
}

void TestCoreValues::decodesByBomThenUtf8ThenCodePage() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, encoding);
    const DecodedText d = decodeText(bytes);
    QCOMPARE(int(d.encoding), encoding);
    QCOMPARE(d.text, QStringLiteral("Привет, мир"));
    QCOMPARE(encodeText(d.text, d.encoding), bytes);
    // Overlong and surrogate forms are not UTF-8.
    QVERIFY(!isValidUtf8("\xC0\xAF"));
    QVERIFY(!isValidUtf8("\xED\xA0\x80"));
    QVERIFY(!isValidUtf8("\xD0"));
}

void TestCoreValues::strayBytesDecideByMajority_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("encoding");
    QTest::addColumn<QString>("text");
    const QByteArray caption = QStringLiteral("Календарь").toUtf8();
    QTest::newRow("plain ASCII") << QByteArray("a=1\r\n") << int(TextEncoding::Utf8) << "a=1\r\n";
    QTest::newRow("UTF-8, one stray byte")
        << caption + "\xFF" << int(TextEncoding::Utf8) << QStringLiteral("Календарь\uFFFD");
    QTest::newRow("UTF-8, a cut sequence and a lone continuation")
        << caption + "\xD0 \x80" + caption << int(TextEncoding::Utf8)
        << QStringLiteral("Календарь\uFFFD \uFFFDКалендарь");
    // A capital followed by a quote mark happens to be a valid pair; the rest is not UTF-8.
    QTest::newRow("Windows-1251 with an accidental UTF-8 pair")
        << toWindows1251(QStringLiteral("«ВАШ САЙТ» и сайт")) << int(TextEncoding::Windows1251)
        << QStringLiteral("«ВАШ САЙТ» и сайт");
    QTest::newRow("as many stray bytes as sequences")
        << QByteArray("\xD0\x96\xFF") << int(TextEncoding::Windows1251) << QStringLiteral("Р–я");
}

void TestCoreValues::strayBytesDecideByMajority() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, encoding);
    QFETCH(QString, text);
    QCOMPARE(int(detectEncoding(bytes)), encoding);
    QCOMPARE(decodeText(bytes).text, text);
}

void TestCoreValues::codePageTableMatchesIconv() {
    QByteArray all;
    for (int b = 1; b < 256; ++b)
        if (b != 0x98)
            all += char(b);
    QProcess iconv;
    iconv.start("iconv", {"-f", "WINDOWS-1251", "-t", "UTF-8"});
    QVERIFY(iconv.waitForStarted());
    iconv.write(all);
    iconv.closeWriteChannel();
    QVERIFY(iconv.waitForFinished());
    const QString expected = QString::fromUtf8(iconv.readAllStandardOutput());
    QCOMPARE(fromWindows1251(all), expected);
    QCOMPARE(toWindows1251(expected), all);
    QCOMPARE(fromWindows1251("\x98"), QString(QChar(0xFFFD))); // unassigned in the code page
    QCOMPARE(toWindows1251(QStringLiteral("€😀")), QByteArray("\x88?"));
}

void TestCoreValues::idleTimeAcrossTheWrap() {
    ManualClock clock(QDateTime(QDate(2026, 1, 1), QTime(8, 0)), 0xFFFFF000u);
    IdleClock idle(clock);
    QCOMPARE(idle.idleSeconds(), 0u);
    clock.advanceMs(0x2000); // the tick wraps past zero
    QCOMPARE(clock.tickMs(), 0x1000u);
    QCOMPARE(idle.idleSeconds(), 8u);
    QCOMPARE(idle.idleSecondsAt(0xFFFFF000u + 19999u), 19u);
}

void TestCoreValues::idleClockSeesInputButNeverEatsIt() {
    ManualClock clock;
    IdleClock idle(clock);
    clock.advanceMs(30000);
    QObject target;
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(1, 1), QPointF(1, 1), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QVERIFY(!idle.eventFilter(&target, &press));
    QCOMPARE(idle.idleSeconds(), 0u);
    clock.advanceMs(5000);
    QEvent paint(QEvent::Paint);
    idle.eventFilter(&target, &paint);
    QCOMPARE(idle.idleSeconds(), 5u);
}

void TestCoreValues::randomStateSavesAndRestores() {
    Random r(42);
    r.below(10);
    const auto before = r.state();
    QList<int> first, second;
    {
        RandomStateGuard g(r, 1234);
        for (int i = 0; i < 50; ++i)
            first << r.below(100);
    }
    QCOMPARE(r.state(), before);
    {
        RandomStateGuard g(r, 1234);
        for (int i = 0; i < 50; ++i)
            second << r.below(100);
    }
    QCOMPARE(first, second);
    for (int i = 0; i < 1000; ++i) {
        const int v = r.below(3);
        QVERIFY(v >= 0 && v < 3);
    }
    QCOMPARE(r.below(0), 0);
}

void TestCoreValues::fontStyleText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("italic");
    QTest::addColumn<bool>("underline");
    QTest::newRow("empty set") << "[]" << false << false << false;
    QTest::newRow("missing") << "" << false << false << false;
    QTest::newRow("no brackets") << "fsItalic" << false << true << false;
    QTest::newRow("two") << "[fsBold,fsUnderline]" << true << false << true;
}

void TestCoreValues::fontStyleText() {
    QFETCH(QString, text);
    QFETCH(bool, bold);
    QFETCH(bool, italic);
    QFETCH(bool, underline);
    const FontStyles s = FontStyles::parse(text);
    QCOMPARE(s.bold, bold);
    QCOMPARE(s.italic, italic);
    QCOMPARE(s.underline, underline);
    QCOMPARE(FontStyles::parse(s.toText()).bold, bold);
}

void TestCoreValues::themes() {
    const QColor platform = Themes::windowColour();
    const QStringList names = Themes::names();
    QCOMPARE(names.size(), 30);
    QCOMPARE(names.first(), QString("Windows"));
    QVERIFY(names.contains("TabletDark") && names.contains("Light"));
    QCOMPARE(Themes::apply("TabletDark"), QString());
    const QColor dark = Themes::windowColour();
    QVERIFY(dark.lightness() < 64);
    QVERIFY(Themes::textColour().lightness() > 192);
    // An unknown name is reported and changes nothing.
    QCOMPARE(Themes::apply("No Such Theme"), QString("Style 'No Such Theme' not found."));
    QCOMPARE(Themes::windowColour(), dark);
    QCOMPARE(Themes::apply("Light"), QString());
    QVERIFY(Themes::windowColour().lightness() > 192);
    // "Windows" is the platform's own look again.
    QCOMPARE(Themes::apply("TabletDark"), QString());
    QCOMPARE(Themes::apply("Windows"), QString());
    QCOMPARE(Themes::windowColour(), platform);
}

QTEST_MAIN(TestCoreValues)
#include "test_core_values.moc"
