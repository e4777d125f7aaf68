#include "fleet/notice_fit.h"

#include <QApplication>
#include <QFontMetrics>
#include <QTest>

using namespace kalmo::fleet;

namespace {

QFont face() {
    return QFont("Liberation Sans");
}

QFont sized(QFont font, int px, bool bold = false) {
    font.setPixelSize(px);
    font.setBold(bold);
    return font;
}

QString words(int count) {
    QStringList list;
    for (int i = 0; i < count; ++i)
        list << QStringLiteral("слово%1").arg(i);
    return list.join(' ');
}

} // namespace

class TestNoticeFit : public QObject {
    Q_OBJECT
private slots:
    void largestFittingIsTheLargest_data();
    void largestFittingIsTheLargest();
    void layouts_data();
    void layouts();
    void longerTextIsSmaller();
};

void TestNoticeFit::largestFittingIsTheLargest_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QSize>("box");
    QTest::newRow("one word") << "Эвакуация" << QSize(1000, 600);
    QTest::newRow("a sentence, wrapped")
        << "Главный вход закрыт, идите к крыльцу" << QSize(600, 600);
    QTest::newRow("many lines") << words(200) << QSize(1800, 500);
    QTest::newRow("narrow and tall") << "Срочно" << QSize(120, 900);
}

void TestNoticeFit::largestFittingIsTheLargest() {
    QFETCH(QString, text);
    QFETCH(QSize, box);
    const int px = largestFittingPx(text, face(), box, box.height());
    QVERIFY(px > kNoticeMinPx);
    QVERIFY(fitsIn(text, sized(face(), px), box));
    QVERIFY(!fitsIn(text, sized(face(), px + 1), box));
}

void TestNoticeFit::layouts_data() {
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QRect>("area");
    QTest::newRow("full hd") << "Эвакуация"
                             << "Выходите через главный вход. Не бегите."
                             << QRect(96, 54, 1728, 972);
    QTest::newRow("long text") << "Отмена занятий" << words(400) << QRect(40, 40, 1200, 720);
    QTest::newRow("portrait") << "Вход закрыт"
                              << "Идите к крыльцу №2" << QRect(0, 0, 1080, 1920);
    QTest::newRow("title alone") << "Тревога"
                                 << "" << QRect(0, 0, 1280, 800);
    QTest::newRow("word wider than any size")
        << QString(300, QChar(u'Ж')) << "x" << QRect(0, 0, 400, 300);
}

void TestNoticeFit::layouts() {
    QFETCH(QString, title);
    QFETCH(QString, text);
    QFETCH(QRect, area);
    const NoticeLayout l = fitNotice(title, text, area, face());
    QVERIFY(l.titlePx >= kNoticeMinPx);
    QVERIFY(area.contains(l.titleRect));
    const QFont titleFont = sized(face(), l.titlePx, true);
    if (title.size() < 100) { // the last row cannot fit at all and is cut off at the floor
        QVERIFY(fitsIn(title, titleFont, l.titleRect.size()));
        // As large as its share allows.
        const int share = text.isEmpty() ? area.height() : int(area.height() * kNoticeTitleShare);
        QVERIFY(!fitsIn(title, sized(face(), l.titlePx + 1, true), QSize(area.width(), share)));
    }
    if (text.isEmpty()) {
        QCOMPARE(l.textPx, 0);
        QVERIFY(qAbs(l.titleRect.center().y() - area.center().y()) <= 1);
        return;
    }
    QVERIFY(l.textPx >= kNoticeMinPx);
    QVERIFY(l.textPx <= l.titlePx);
    QVERIFY(l.textRect.top() >= l.titleRect.bottom());
    QVERIFY(area.contains(l.textRect));
    QVERIFY(fitsIn(text, sized(face(), l.textPx), l.textRect.size()));
    // Either as large as the title or as large as the space below it allows.
    const QSize below(area.width(), area.height() - l.titleRect.height() - l.titlePx / 2);
    QVERIFY(l.textPx == l.titlePx || !fitsIn(text, sized(face(), l.textPx + 1), below));
}

void TestNoticeFit::longerTextIsSmaller() {
    const QRect area(0, 0, 1600, 400); // the height limits the title
    const NoticeLayout shortText = fitNotice("Внимание", words(10), area, face());
    const NoticeLayout longText = fitNotice("Внимание", words(300), area, face());
    QVERIFY(longText.textPx < shortText.textPx);
    QCOMPARE(longText.titlePx, shortText.titlePx);
    QVERIFY(fitNotice("Внимание", "", area, face()).titlePx > shortText.titlePx);
}

QTEST_MAIN(TestNoticeFit)
#include "test_notice_fit.moc"
