#include "transitions/blit.h"
#include "transitions/region_styles.h"
#include "transitions/style_info.h"

#include <QTest>

using namespace kalmo::transitions;
using kalmo::core::Random;

namespace {

constexpr QRgb Old = 0xff000000;
constexpr QRgb New = 0xffffffff;

bool isRegionStyle(int s) {
    return isStyleOf(s, StyleFamily::Region);
}

struct Run {
    int style;
    int w;
    int h;
    int p;
    std::uint64_t seed = 1;
};

// One frame of a transition from a black picture to a white one, with X and Y taken from the
// progress as the player does.
QImage frame(const Run &run, Random &random) {
    int x = 0;
    int y = 0;
    if (run.w >= run.h) {
        x = MulDiv(run.w, run.p, 100);
        y = MulDiv(x, run.h, run.w);
    } else {
        y = MulDiv(run.h, run.p, 100);
        x = MulDiv(y, run.w, run.h);
    }
    QImage display(run.w, run.h, QImage::Format_RGB32);
    display.fill(Old);
    QImage pic(run.w, run.h, QImage::Format_RGB32);
    pic.fill(New);
    EffectFrame f{display, pic, run.w, run.h, x, y, run.p, run.seed, random};
    regionEffect(run.style)(f);
    return display;
}

QImage frame(const Run &run) {
    Random random(11);
    return frame(run, random);
}

bool isNew(const QImage &img, int x, int y) {
    return img.pixel(x, y) == New;
}

bool unchanged(const QImage &img) {
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, y) != Old)
                return false;
    return true;
}

} // namespace

class TestRegionStyles : public QObject {
    Q_OBJECT
private slots:
    void everyRegionStyleHasAProcedure();
    void style60AtQuarterProgress();
    void style64SlidesBothSetsInOnePhase();
    void shapesOfEachFamily_data();
    void shapesOfEachFamily();
    void degenerateExtentsLeaveTheFrame_data();
    void degenerateExtentsLeaveTheFrame();
    void randomSquaresRepeatWithinATransition();
    void turningDirectionIsFixedPerTransition();
    void diagonalCrosses();
    void diamondInToCentre();
    void badInputNeverWritesOutside();
};

void TestRegionStyles::everyRegionStyleHasAProcedure() {
    for (int s = -1; s <= 200; ++s)
        QVERIFY2((regionEffect(s) != nullptr) == isRegionStyle(s), qPrintable(QString::number(s)));
}

void TestRegionStyles::style60AtQuarterProgress() {
    // X = 100, bars 7 rows thick growing from the right to x = 200.
    const QImage img = frame({60, 400, 300, 25});
    for (int y = 0; y < 300; ++y) {
        const bool bar = (y / 7) % 2 == 0;
        for (int x : {0, 199, 200, 399})
            QVERIFY2(isNew(img, x, y) == (bar && x >= 200),
                     qPrintable(QString("(%1, %2)").arg(x).arg(y)));
    }
}

void TestRegionStyles::style64SlidesBothSetsInOnePhase() {
    // Even bars come from the right, odd bars from the left, to X; even at P = 99 no bar is
    // complete, because the front never passes the width.
    for (int p : {50, 99}) {
        const QImage img = frame({64, 400, 300, p});
        const int x = MulDiv(400, p, 100);
        for (int y : {0, 6, 14, 20}) { // even bars: [W - X, W)
            QVERIFY(isNew(img, 400 - x, y) && isNew(img, 399, y));
            QVERIFY(!isNew(img, 399 - x, y) && !isNew(img, 0, y));
        }
        for (int y : {7, 13, 21, 27}) { // odd bars: [0, X)
            QVERIFY(isNew(img, 0, y) && isNew(img, x - 1, y));
            QVERIFY(!isNew(img, x, y) && !isNew(img, 399, y));
        }
    }
}

void TestRegionStyles::shapesOfEachFamily_data() {
    QTest::addColumn<int>("style");
    QTest::addColumn<int>("p");
    QTest::addColumn<QPoint>("inside");
    QTest::addColumn<QPoint>("outside");
    // All on 400 x 300, where X = 4P and Y = 3P.
    QTest::newRow("58 curve from the left") << 58 << 25 << QPoint(150, 150) << QPoint(250, 150);
    QTest::newRow("84 ellipse out") << 84 << 50 << QPoint(200, 150) << QPoint(0, 0);
    QTest::newRow("85 ellipse in") << 85 << 50 << QPoint(0, 0) << QPoint(200, 150);
    QTest::newRow("86 bars rows") << 86 << 25 << QPoint(300, 3) << QPoint(100, 3);
    QTest::newRow("86 bars columns") << 86 << 25 << QPoint(3, 200) << QPoint(3, 100);
    QTest::newRow("99 where both sets meet") << 99 << 50 << QPoint(0, 0) << QPoint(7, 7);
    QTest::newRow("65 shred from the right") << 65 << 50 << QPoint(399, 100) << QPoint(10, 100);
    QTest::newRow("76 shred from the bottom") << 76 << 50 << QPoint(100, 299) << QPoint(100, 5);
    QTest::newRow("124 speckle from the right") << 124 << 50 << QPoint(300, 100) << QPoint(10, 100);
    QTest::newRow("127 speckle from the top") << 127 << 50 << QPoint(100, 50) << QPoint(100, 290);
    QTest::newRow("110 triangle") << 110 << 25 << QPoint(10, 10) << QPoint(300, 200);
    QTest::newRow("167 diamond ring") << 167 << 50 << QPoint(20, 150) << QPoint(200, 150);
    QTest::newRow("118 triangle grid") << 118 << 50 << QPoint(41, 10) << QPoint(1, 60);
    QTest::newRow("143 square grid") << 143 << 50 << QPoint(31, 31) << QPoint(0, 0);
    QTest::newRow("153 circle grid") << 153 << 50 << QPoint(31, 31) << QPoint(0, 0);
    QTest::newRow("164 diamond grid") << 164 << 50 << QPoint(31, 31) << QPoint(0, 0);
    QTest::newRow("162 zigzag") << 162 << 50 << QPoint(200, 150) << QPoint(200, 0);
    QTest::newRow("137 blinds") << 137 << 50 << QPoint(11, 100) << QPoint(0, 100);
    QTest::newRow("139 uneven blinds") << 139 << 50 << QPoint(50, 10) << QPoint(150, 10);
    QTest::newRow("146 stripes") << 146 << 50 << QPoint(150, 30) << QPoint(150, 50);
    QTest::newRow("146 slats") << 146 << 50 << QPoint(50, 50) << QPoint(150, 50);
    QTest::newRow("144 sweep clockwise") << 144 << 25 << QPoint(300, 50) << QPoint(100, 50);
    QTest::newRow("145 sweep anticlockwise") << 145 << 25 << QPoint(100, 50) << QPoint(300, 50);
    QTest::newRow("151 star") << 151 << 50 << QPoint(200, 150) << QPoint(0, 0);
}

void TestRegionStyles::shapesOfEachFamily() {
    QFETCH(int, style);
    QFETCH(int, p);
    QFETCH(QPoint, inside);
    QFETCH(QPoint, outside);
    const QImage img = frame({style, 400, 300, p});
    QVERIFY(isNew(img, inside.x(), inside.y()));
    QVERIFY(!isNew(img, outside.x(), outside.y()));
}

void TestRegionStyles::degenerateExtentsLeaveTheFrame_data() {
    QTest::addColumn<int>("style");
    QTest::addColumn<int>("w");
    QTest::addColumn<int>("h");
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    for (int s : {139, 140})
        QTest::addRow("%d with X = 0", s) << s << 50 << 40 << 0 << 30;
    for (int s : {141, 142})
        QTest::addRow("%d with Y = 0", s) << s << 50 << 40 << 40 << 0;
    for (int s : {146, 147})
        QTest::addRow("%d under 20 rows", s) << s << 100 << 19 << 50 << 9;
    for (int s : {148, 149})
        QTest::addRow("%d under 20 columns", s) << s << 19 << 100 << 9 << 50;
}

void TestRegionStyles::degenerateExtentsLeaveTheFrame() {
    QFETCH(int, style);
    QFETCH(int, w);
    QFETCH(int, h);
    QFETCH(int, x);
    QFETCH(int, y);
    QImage display(w, h, QImage::Format_RGB32);
    display.fill(Old);
    QImage pic(w, h, QImage::Format_RGB32);
    pic.fill(New);
    Random random;
    EffectFrame f{display, pic, w, h, x, y, 50, 1, random};
    regionEffect(style)(f);
    QVERIFY(unchanged(display));
}

void TestRegionStyles::randomSquaresRepeatWithinATransition() {
    Random random(1);
    const QImage first = frame({128, 200, 150, 50, 77}, random);
    const auto stateAfter = random.state();
    QCOMPARE(stateAfter, std::uint64_t(1)); // the control's generator is given back untouched
    random.next32();
    QCOMPARE(frame({128, 200, 150, 50, 77}, random), first);
    QVERIFY(!unchanged(first));

    // Squares only accumulate as progress grows.
    const QImage later = frame({128, 200, 150, 70, 77}, random);
    for (int y = 0; y < 150; ++y)
        for (int x = 0; x < 200; ++x)
            if (isNew(first, x, y))
                QVERIFY(isNew(later, x, y));
    QVERIFY(later != first);

    // Another transition, another pattern.
    QVERIFY(frame({128, 200, 150, 50, 78}, random) != first);
}

void TestRegionStyles::turningDirectionIsFixedPerTransition() {
    for (int style : {150, 151, 152}) {
        const QImage even = frame({style, 200, 100, 20, 2});
        QCOMPARE(frame({style, 200, 100, 20, 4}), even);
        QVERIFY(frame({style, 200, 100, 20, 3}) != even);
    }
}

void TestRegionStyles::diagonalCrosses() {
    // 161 at P = 1: four big triangles of old picture meet along the diagonals, with thin
    // slivers of new picture between them and in the corners.
    const QImage out = frame({161, 400, 300, 1});
    QVERIFY(isNew(out, 100, 75));  // on the diagonal
    QVERIFY(isNew(out, 0, 0));     // corner
    QVERIFY(!isNew(out, 100, 60)); // top triangle
    QVERIFY(!isNew(out, 50, 150)); // left triangle
    QVERIFY(!isNew(out, 300, 150));
    QVERIFY(!isNew(out, 200, 250));
    qint64 fresh = 0;
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 400; ++x)
            fresh += isNew(out, x, y);
    QVERIFY(fresh > 0 && fresh < 400 * 300 / 20);

    // 160 at P = 10: four small triangles of new picture at the edge midpoints.
    const QImage in = frame({160, 400, 300, 10});
    for (const QPoint p : {QPoint(2, 150), QPoint(397, 150), QPoint(200, 2), QPoint(200, 297)})
        QVERIFY(isNew(in, p.x(), p.y()));
    for (const QPoint p : {QPoint(200, 150), QPoint(0, 0), QPoint(30, 150)})
        QVERIFY(!isNew(in, p.x(), p.y()));
}

void TestRegionStyles::diamondInToCentre() {
    // At P = 1 the diamond still passes close to the corners: only they show new picture.
    const QImage img = frame({166, 400, 300, 1});
    for (const QPoint p : {QPoint(0, 0), QPoint(399, 0), QPoint(0, 299), QPoint(399, 299)})
        QVERIFY(isNew(img, p.x(), p.y()));
    for (const QPoint p : {QPoint(200, 150), QPoint(10, 10), QPoint(200, 0), QPoint(0, 150)})
        QVERIFY(!isNew(img, p.x(), p.y()));
    // It shrinks towards the centre.
    const QImage later = frame({166, 400, 300, 60});
    QVERIFY(isNew(later, 200, 0) && isNew(later, 0, 150) && !isNew(later, 200, 150));
}

void TestRegionStyles::badInputNeverWritesOutside() {
    // Tiny and lopsided pictures, first and last progress, and a caller claiming a larger
    // picture than the bitmaps: nothing may crash or touch pixels of another image.
    const QSize sizes[] = {{1, 1}, {19, 7}, {7, 19}, {3, 200}, {200, 3}};
    for (int style = 1; style <= 176; ++style) {
        if (!regionEffect(style))
            continue;
        for (const QSize size : sizes) {
            for (int p : {1, 99}) {
                const QImage img = frame({style, size.width(), size.height(), p});
                for (int y = 0; y < img.height(); ++y)
                    for (int x = 0; x < img.width(); ++x)
                        QVERIFY(img.pixel(x, y) == Old || img.pixel(x, y) == New);
            }
        }
        QImage display(10, 10, QImage::Format_RGB32);
        display.fill(Old);
        QImage pic(8, 12, QImage::Format_RGB32);
        pic.fill(New);
        Random random;
        EffectFrame f{display, pic, 40, 40, 20, 20, 50, 1, random};
        regionEffect(style)(f);
        QCOMPARE(display.size(), QSize(10, 10));
        for (int y = 0; y < 10; ++y)
            QCOMPARE(display.pixel(9, y), Old); // beyond the new picture's width
    }
}

QTEST_APPLESS_MAIN(TestRegionStyles)
#include "tst_region_styles.moc"
