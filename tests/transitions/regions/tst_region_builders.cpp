#include "transitions/regions/bar_region.h"
#include "transitions/regions/complex_region.h"
#include "transitions/regions/polygon_region.h"
#include "transitions/regions/scan_convert.h"
#include "transitions/regions/shred_region.h"
#include "transitions/regions/span_region.h"
#include "transitions/regions/speckle_region.h"

#include <QTest>
#include <algorithm>
#include <cmath>
#include <numbers>

using namespace kalmo::transitions::regions;
using kalmo::core::Random;

namespace {

// The region as text, one line per row, '#' inside: easy to compare and to read on failure.
QString picture(const SpanRegion &r) {
    QString out;
    for (int y = 0; y < r.height(); ++y) {
        for (int x = 0; x < r.width(); ++x)
            out += r.contains(x, y) ? QLatin1Char('#') : QLatin1Char('.');
        out += QLatin1Char('\n');
    }
    return out;
}

SpanRegion rectRegion(int w, int h, int l, int t, int r, int b) {
    SpanBuilder builder(w, h);
    builder.addRect(l, t, r, b);
    return builder.build();
}

} // namespace

class TestRegionBuilders : public QObject {
    Q_OBJECT
private slots:
    void builderMergesAndClips();
    void booleanOperations();
    void polygonFillsByWindingWithRightAndBottomOutside();
    void roundRectAndEllipse();
    void complexRegionCollectsRectangles();
    void rotatePointsTurnsClockwise();
    void fanStopsOneStepShortOfItsEnd();
    void barRegionPhases_data();
    void barRegionPhases();
    void shredLengthsFollowTheGenerator();
    void speckleFrontIsSolid();
    void speckChanceFallsWithDistance();
};

void TestRegionBuilders::builderMergesAndClips() {
    SpanBuilder b(10, 4);
    b.addRect(-5, -5, 3, 2); // clipped at the top-left
    b.addRect(2, 1, 5, 3);   // overlaps the first on row 1
    b.addRect(5, 1, 7, 2);   // touches the second: one span
    b.addRect(8, 3, 20, 9);  // clipped at the bottom-right
    b.addRect(6, 0, 4, 4);   // inverted: nothing
    b.addSpan(0, 9, 9);      // empty
    QCOMPARE(picture(b.build()), QString("###.......\n"
                                         "#######...\n"
                                         "..###.....\n"
                                         "........##\n"));
    const SpanRegion r = b.build();
    QCOMPARE(r.row(1).size(), std::size_t(1));
    QCOMPARE(r.area(), qint64(3 + 7 + 3 + 2));
}

void TestRegionBuilders::booleanOperations() {
    const SpanRegion a = rectRegion(6, 1, 0, 0, 4, 1);
    const SpanRegion b = rectRegion(6, 1, 2, 0, 6, 1);
    QCOMPARE(picture(a.united(b)), QString("######\n"));
    QCOMPARE(picture(a.intersected(b)), QString("..##..\n"));
    QCOMPARE(picture(a.xored(b)), QString("##..##\n"));
    QCOMPARE(picture(SpanRegion::fullFrame(6, 1).xored(a)), QString("....##\n"));
    // Adjacent pieces of a union become one span.
    QCOMPARE(rectRegion(6, 1, 0, 0, 3, 1).united(rectRegion(6, 1, 3, 0, 5, 1)).row(0).size(),
             std::size_t(1));
}

void TestRegionBuilders::polygonFillsByWindingWithRightAndBottomOutside() {
    // A square polygon covers exactly the pixels of the same rectangle.
    const QPoint square[] = {{1, 1}, {4, 1}, {4, 3}, {1, 3}};
    QCOMPARE(picture(CreatePolygonRegion(square, 6, 4)), picture(rectRegion(6, 4, 1, 1, 4, 3)));

    // The same square traced twice in one direction still counts as inside (non-zero winding,
    // where even-odd would leave a hole).
    const QPoint twice[] = {{0, 0}, {4, 0}, {4, 2}, {0, 2}, {0, 0}, {4, 0}, {4, 2}, {0, 2}};
    QCOMPARE(picture(CreatePolygonRegion(twice, 4, 2)), QString("####\n####\n"));

    // A triangle: a pixel is inside when its centre is.
    const QPoint tri[] = {{0, 0}, {4, 0}, {0, 4}};
    QCOMPARE(picture(CreatePolygonRegion(tri, 4, 4)), QString("###.\n##..\n#...\n....\n"));

    // Too few points or a flat polygon cover nothing.
    const QPoint line[] = {{0, 0}, {4, 4}};
    QVERIFY(CreatePolygonRegion(line, 4, 4).isEmpty());
}

void TestRegionBuilders::roundRectAndEllipse() {
    SpanBuilder e(8, 8);
    addEllipse(e, 0, 0, 8, 8);
    const SpanRegion ellipse = e.build();
    QVERIFY(ellipse.contains(4, 4));
    QVERIFY(ellipse.contains(0, 4) && ellipse.contains(7, 3));
    QVERIFY(!ellipse.contains(0, 0) && !ellipse.contains(7, 7));

    // Corner ellipses larger than the rectangle are limited to it; no corner is a rectangle.
    SpanBuilder big(8, 8);
    addRoundRect(big, 0, 0, 8, 8, 100, 100);
    QCOMPARE(picture(big.build()), picture(ellipse));
    SpanBuilder square(8, 8);
    addRoundRect(square, 2, 2, 6, 6, 0, 0);
    QCOMPARE(picture(square.build()), picture(rectRegion(8, 8, 2, 2, 6, 6)));

    // A rounded rectangle reaching beyond the frame is clipped, not wrapped.
    SpanBuilder outside(8, 8);
    addRoundRect(outside, -100, -50, 4, 60, 16, 16);
    QCOMPARE(picture(outside.build()), picture(rectRegion(8, 8, 0, 0, 4, 8)));
}

void TestRegionBuilders::complexRegionCollectsRectangles() {
    TComplexRegion rgn;
    QVERIFY(!rgn.CreateRegion(10, 10).has_value());
    QCOMPARE(rgn.Count(), 0);
    QCOMPARE(rgn.Capacity(), 0);
    rgn.AddRect(5, 6, 2, 8); // stored as given, covers nothing
    rgn.AddRect(1, 2, 3, 4);
    QCOMPARE(rgn.Count(), 2);
    QCOMPARE(rgn.Capacity(), 500);
    QCOMPARE(rgn.Bounds().left, 1);
    QCOMPARE(rgn.Bounds().top, 2);
    QCOMPARE(rgn.Bounds().right, 3);
    QCOMPARE(rgn.Bounds().bottom, 8);
    const auto region = rgn.CreateRegion(10, 10);
    QVERIFY(region.has_value());
    QCOMPARE(region->area(), qint64(4));
    for (int i = 0; i < 500; ++i)
        rgn.AddRect(0, 0, 1, 1);
    QCOMPARE(rgn.Capacity(), 1000);
    rgn.Clear();
    QCOMPARE(rgn.Count(), 0);
    QCOMPARE(rgn.Capacity(), 0); // the block is freed, not kept for reuse
    QCOMPARE(rgn.Bounds().left, 2147483647);
    QCOMPARE(rgn.Bounds().right, -2147483647);
    QVERIFY(!rgn.CreateRegion(10, 10).has_value());
    rgn.AddRect(0, 0, 1, 1);
    QCOMPARE(rgn.Capacity(), 500);
}

void TestRegionBuilders::rotatePointsTurnsClockwise() {
    QPoint p[] = {{10, 0}, {0, 10}};
    RotatePoints(p, 0, 0, std::numbers::pi / 2);
    QCOMPARE(p[0], QPoint(0, 10)); // right turns to down: clockwise on screen
    QCOMPARE(p[1], QPoint(-10, 0));

    // About another centre, half a turn mirrors through it.
    QPoint q[] = {{107, 100}, {100, 96}};
    RotatePoints(q, 100, 100, std::numbers::pi);
    QCOMPARE(q[0], QPoint(93, 100));
    QCOMPARE(q[1], QPoint(100, 104));
}

void TestRegionBuilders::fanStopsOneStepShortOfItsEnd() {
    // Four points over a half turn from straight up: up, up-right, right, down-right;
    // straight down (the end) is not reached, so the lower-left stays out.
    const SpanRegion fan =
        CreateFanRegion(50, 50, 40, 4, std::numbers::pi / 2, -std::numbers::pi / 2, 100, 100);
    QVERIFY(fan.contains(60, 30));  // upper right
    QVERIFY(fan.contains(70, 55));  // right, just below the centre line
    QVERIFY(!fan.contains(40, 40)); // left half
    QVERIFY(!fan.contains(52, 85)); // near straight down
    QVERIFY(CreateFanRegion(50, 50, 40, 0, 1, 0, 100, 100).isEmpty());
}

void TestRegionBuilders::barRegionPhases_data() {
    QTest::addColumn<int>("px");
    QTest::addColumn<int>("hk");
    QTest::addColumn<QString>("rows"); // 10 x 6 frame, bars 1 pixel thick
    QTest::newRow("hk1 first half from the right")
        << 4 << 1 << "......####\n..........\n......####\n..........\n......####\n..........\n";
    QTest::newRow("hk2 first half from the left")
        << 4 << 2 << "####......\n..........\n####......\n..........\n####......\n..........\n";
    QTest::newRow("hk1 second half: odd bars from the right")
        << 13 << 1 << "##########\n.......###\n##########\n.......###\n##########\n.......###\n";
    QTest::newRow("hk4 second half from the right")
        << 13 << 4 << "##########\n.......###\n##########\n.......###\n##########\n.......###\n";
    QTest::newRow("hk5 second half from the left")
        << 13 << 5 << "##########\n###.......\n##########\n###.......\n##########\n###.......\n";
    QTest::newRow("hk3 both sets from opposite sides")
        << 3 << 3 << ".......###\n###.......\n.......###\n###.......\n.......###\n###.......\n";
}

void TestRegionBuilders::barRegionPhases() {
    QFETCH(int, px);
    QFETCH(int, hk);
    QFETCH(QString, rows);
    QCOMPARE(picture(CreateBarRegion(px, 0, 10, 6, hk, 0)), rows);
}

void TestRegionBuilders::shredLengthsFollowTheGenerator() {
    // 100 x 40 frame: strips one row thick, f = 10, so with the front at 0 the lengths are
    // -10 + random(20): the negative ones must cover nothing, the others len pixels.
    const int W = 100;
    const int H = 40;
    Random random(7);
    Random replay(7);
    const SpanRegion r = CreateShredRegion(0, 0, W, H, 1, 0, random);
    int negatives = 0;
    for (int y = 0; y < H; ++y) {
        const int len = -10 + replay.below(20);
        negatives += len < 0;
        const auto row = r.row(y);
        if (len <= 0) {
            QVERIFY2(row.empty(), qPrintable(QString("row %1").arg(y)));
        } else {
            QCOMPARE(row.size(), std::size_t(1));
            QCOMPARE(row[0].x0, W - len);
            QCOMPARE(row[0].x1, W);
        }
    }
    QVERIFY(negatives > 0);
    QCOMPARE(random.state(), replay.state()); // one draw per strip, not reseeded

    // Drawn afresh: the next call with the same front gives a different edge.
    const SpanRegion again = CreateShredRegion(0, 0, W, H, 1, 0, random);
    QVERIFY(picture(again) != picture(r));
}

void TestRegionBuilders::speckleFrontIsSolid() {
    // 200 x 100 frame, front at 60 from the left: c = 20, speck size 2. Behind the front all
    // is new; ahead of it at most count specks; nothing beyond the front plus c.
    Random random(3);
    const SpanRegion r = CreateSpeckleRegion(60, 0, 200, 100, 2, 0, random);
    for (int y = 0; y < 100; ++y) {
        const auto row = r.row(y);
        QVERIFY(!row.empty());
        QCOMPARE(row[0].x0, 0);
        QVERIFY(row[0].x1 >= 60);
        QVERIFY(row.back().x1 <= 80);
    }
    QVERIFY(r.area() > 60 * 100);
    // Once the front passes the edge there are no specks: exactly the solid part.
    const SpanRegion full = CreateSpeckleRegion(0, 150, 200, 100, 0, 1, random);
    QCOMPARE(picture(full), picture(rectRegion(200, 100, 0, 0, 200, 100)));
}

void TestRegionBuilders::speckChanceFallsWithDistance() {
    // 390 wide: c = 39, specks 2 pixels, 19 of them, e = 14; rows start every pixel, so each
    // pixel row is covered by two speck rows and shows a speck with chance 1 - (1 - q)^2,
    // where q is 1/k, or 2/k for the specks no further than e ahead of the front.
    const int W = 390;
    const int H = 4000;
    const int front = 100;
    Random random(5);
    const SpanRegion r = CreateSpeckleRegion(front, 0, W, H, 2, 0, random);
    for (int k : {1, 2, 5, 14, 15, 19}) {
        const double q = k <= 14 ? std::min(1.0, 2.0 / k) : 1.0 / k;
        const double expected = 1 - (1 - q) * (1 - q);
        int shown = 0;
        for (int y = 1; y < H; ++y)
            shown += r.contains(front + 2 * k - 1, y);
        QVERIFY2(std::abs(double(shown) / (H - 1) - expected) < 0.03,
                 qPrintable(QString("speck %1: %2 of %3 rows").arg(k).arg(shown).arg(H - 1)));
    }
    QVERIFY(!r.contains(front + 2 * 19, 10)); // nothing beyond the last speck
}

QTEST_APPLESS_MAIN(TestRegionBuilders)
#include "tst_region_builders.moc"
