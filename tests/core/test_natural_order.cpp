#include "core/natural_order.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace kalmo::core;

class TestNaturalOrder : public QObject {
    Q_OBJECT
private slots:
    void ordersLikeAPerson_data();
    void ordersLikeAPerson();
    void listsOnlyExactExtensions();
};

void TestNaturalOrder::ordersLikeAPerson_data() {
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("numbers by value") << QStringList{"photo10.jpg", "photo2.jpg", "photo1.jpg"}
                                      << QStringList{"photo1.jpg", "photo2.jpg", "photo10.jpg"};
    QTest::newRow("letters without case")
        << QStringList{"b.jpg", "A.jpg", "c.jpg"} << QStringList{"A.jpg", "b.jpg", "c.jpg"};
    QTest::newRow("leading zeros after the plain number")
        << QStringList{"p007", "p7", "p06"} << QStringList{"p06", "p7", "p007"};
    QTest::newRow("prefix first") << QStringList{"ab1", "ab"} << QStringList{"ab", "ab1"};
    QTest::newRow("cyrillic") << QStringList{"Зима", "вечер", "Вечер2"}
                              << QStringList{"вечер", "Вечер2", "Зима"};
    QTest::newRow("numbers longer than 64 bits")
        << QStringList{"x123456789012345678901234567890", "x99"}
        << QStringList{"x99", "x123456789012345678901234567890"};
}

void TestNaturalOrder::ordersLikeAPerson() {
    QFETCH(QStringList, names);
    QFETCH(QStringList, expected);
    sortNatural(names);
    QCOMPARE(names, expected);
}

void TestNaturalOrder::listsOnlyExactExtensions() {
    QTemporaryDir dir;
    for (const char *name : {"a10.jpg", "a9.jpg", "b.JPG", "c.Jpg", "d.jpe", "e.png", "f.jpg.txt"})
        QVERIFY(QFile(dir.filePath(name)).open(QIODevice::WriteOnly));
    QDir(dir.path()).mkdir("g.jpg");
    QCOMPARE(listFilesNatural(dir.path(), {".jpg", ".JPG"}),
             (QStringList{"a9.jpg", "a10.jpg", "b.JPG"}));
    QVERIFY(listFilesNatural(dir.filePath("missing"), {".jpg"}).isEmpty());
}

QTEST_GUILESS_MAIN(TestNaturalOrder)
#include "test_natural_order.moc"
