#include "ticker/ticker_text.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace kalmo::ticker;

class TickerTextTest : public QObject {
    Q_OBJECT

private slots:
    void readsAndJoins_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("expected");
        QTest::newRow("Windows-1251, lines run together")
            << "cp1251.txt" << QStringLiteral("Внимание!Занятия отменены");
        QTest::newRow("UTF-16 LE with BOM")
            << "utf16le_bom.txt" << QStringLiteral("Расписаниеизменено. ");
        QTest::newRow("UTF-16 BE with BOM") << "utf16be_bom.txt" << QStringLiteral("Ёлкав 10:00");
        QTest::newRow("UTF-8 with BOM, final line break dropped")
            << "utf8_bom.txt" << QStringLiteral("Добро пожаловать");
        QTest::newRow("UTF-8 without BOM, LF, CRLF and lone CR")
            << "utf8_lines.txt" << QStringLiteral("Первая строка втораятретьячетвёртая");
        QTest::newRow("empty file gives an empty line") << "empty.txt" << QString();
    }
    void readsAndJoins() {
        QFETCH(QString, file);
        QFETCH(QString, expected);
        const auto text = readTickerText(QStringLiteral(KALMO_TEST_DATA "/ticker/") + file);
        QVERIFY(text.has_value());
        QCOMPARE(*text, expected);
    }

    void missingOrUnreadableGivesNothing() {
        QTemporaryDir dir;
        QString error;
        QVERIFY(!readTickerText(dir.filePath("absent.txt"), &error).has_value());
        QVERIFY(!error.isEmpty());
        QVERIFY(!readTickerText(dir.path()).has_value()); // a folder is not a text file
        QVERIFY(!readTickerText(QString()).has_value());
    }
};

QTEST_GUILESS_MAIN(TickerTextTest)
#include "test_ticker_text.moc"
