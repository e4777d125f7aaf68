#include "tests/transitions/test_pictures.h"
#include "transitions/band_pool.h"
#include "transitions/blit.h"
#include "transitions/effects.h"
#include "transitions/region_styles.h"
#include "transitions/style_table.h"

#include <QtTest>

using namespace kalmo;
using namespace kalmo::transitions;

namespace {

using kalmo::testing::noisy;

// Column x holds the value x (blue and green bytes), so a pixel tells its source column.
QImage columns(QSize size, quint32 tag) {
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        auto *line = reinterpret_cast<quint32 *>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x)
            line[x] = 0xFF000000u | (tag << 16) | quint32(x);
    }
    return image;
}

QImage solid(QSize size, QRgb colour) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// A picture whose every pixel is stored as `value`, fourth byte included.
QImage raw(QSize size, quint32 value) {
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        std::fill_n(reinterpret_cast<quint32 *>(image.scanLine(y)), size.width(), value);
    return image;
}

quint32 stored(const QImage &image, int x, int y) {
    return reinterpret_cast<const quint32 *>(image.constScanLine(y))[x];
}

quint32 px(const QImage &image, int x, int y) {
    return image.pixel(x, y);
}

QImage frameOf(int style, int progress, const QImage &oldPic, const QImage &newPic,
               std::uint64_t seed = 9) {
    core::Random random;
    QImage display;
    drawStyle(display, oldPic, newPic, style, progress, seed, random);
    return display;
}

bool movesOldPicture(int style) {
    return (style >= 129 && style <= 136) || (style >= 173 && style <= 176) || style == 168;
}

} // namespace

class TestTransitionEffects : public QObject {
    Q_OBJECT
private slots:
    void mulDiv_data() {
        QTest::addColumn<int>("a");
        QTest::addColumn<int>("b");
        QTest::addColumn<int>("c");
        QTest::addColumn<int>("expected");
        QTest::newRow("exact") << 200 << 50 << 100 << 100;
        QTest::newRow("half rounds up") << 1 << 1 << 2 << 1;
        QTest::newRow("negative half away from zero") << -1 << 1 << 2 << -1;
        QTest::newRow("below half") << 10 << 1 << 3 << 3;
        QTest::newRow("no overflow") << 2000000000 << 3 << 4 << 1500000000;
        QTest::newRow("negative divisor") << 7 << 1 << -2 << -4;
        QTest::newRow("zero divisor") << 5 << 5 << 0 << 0;
        QTest::newRow("saturates") << 2000000000 << 4 << 2 << INT_MAX;
    }
    void mulDiv() {
        QFETCH(int, a);
        QFETCH(int, b);
        QFETCH(int, c);
        QFETCH(int, expected);
        QCOMPARE(MulDiv(a, b, c), expected);
    }

    void stretchMirrorsAndClips() {
        const QImage src = columns(QSize(10, 1), 1);
        QImage dst = solid(QSize(10, 1), 0xFF000000);
        // Negative width: anchored at column 4 and running left over 3 columns.
        const QRect written = stretchBlt(dst, 4, 0, -3, 1, src, 5, 0, 3, 1);
        QCOMPARE(written, QRect(2, 0, 3, 1));
        QCOMPARE(px(dst, 4, 0) & 0xFFFF, 5u);
        QCOMPARE(px(dst, 3, 0) & 0xFFFF, 6u);
        QCOMPARE(px(dst, 2, 0) & 0xFFFF, 7u);
        QCOMPARE(px(dst, 5, 0), 0xFF000000u);
        // Enlarging repeats pixels; parts beyond the frame are clipped.
        QImage big = solid(QSize(10, 1), 0xFF000000);
        QCOMPARE(stretchBlt(big, 6, 0, 8, 1, src, 0, 0, 2, 1), QRect(6, 0, 4, 1));
        for (int x = 6; x < 10; ++x)
            QCOMPARE(px(big, x, 0) & 0xFFFF, 0u);
        // Negative destination position: only the visible part is written.
        QImage left = solid(QSize(10, 1), 0xFF000000);
        stretchBlt(left, -5, 0, 10, 1, src, 0, 0, 10, 1);
        QCOMPARE(px(left, 0, 0) & 0xFFFF, 5u);
        QCOMPARE(px(left, 4, 0) & 0xFFFF, 9u);
        QCOMPARE(px(left, 5, 0), 0xFF000000u);
        // A source partly outside the picture is clamped, never read outside.
        QImage edge = solid(QSize(10, 1), 0xFF000000);
        stretchBlt(edge, 2, 0, -2, 1, src, -1, 0, 2, 1);
        QCOMPARE(px(edge, 2, 0) & 0xFFFF, 0u);
    }

    void styleNames() {
        QCOMPARE(transitions::styleNames().size(), 176);
        QVERIFY(!transitions::styleNames().contains("Custom"));
        QCOMPARE(styleName(60), QStringLiteral("Bars in from right"));
        QCOMPARE(styleName(0), QStringLiteral("Custom"));
        QCOMPARE(styleName(176), QStringLiteral("Slide out from top"));
        QCOMPARE(styleName(76), QStringLiteral("Unven shred from bottom"));
        QCOMPARE(styleByName("Expand in from top"), 25);
        QCOMPARE(styleByName("expand from BOTTOM"), 18);
        QCOMPARE(styleByName("cUSTOM"), 0);
        QCOMPARE(styleByName("No such style"), -1);
    }

    // The table's family of a style is the family that draws it, and no other one does.
    void everyStyleIsDrawnByItsFamily() {
        for (int s = 1; s <= kStyleCount; ++s) {
            QCOMPARE_NE(styleEffect(s), nullptr);
            QCOMPARE(moveEffect(s) != nullptr, isStyleOf(s, StyleFamily::Move));
            QCOMPARE(pixelEffect(s) != nullptr, isStyleOf(s, StyleFamily::Pixel));
            QCOMPARE(regionEffect(s) != nullptr, isStyleOf(s, StyleFamily::Region));
        }
        QCOMPARE(styleInfo(0), nullptr);
        QCOMPARE(styleInfo(kStyleCount + 1), nullptr);
    }

    // A frame built in bands of rows on several threads is the frame built in one piece,
    // band edges included (odd height, so the bands differ in size).
    void bandsBuildTheSameFrame() {
        const QSize size(203, 301);
        const QImage oldPic = noisy(size, 21), newPic = noisy(size, 22);
        BandPool pool(3);
        int banded = 0;
        for (int style = 1; style <= kStyleCount; ++style) {
            if (!hasStyleFlag(style, DrawsInBands))
                continue;
            ++banded;
            for (int progress : {0, 1, 37, 50, 99, 100}) {
                core::Random r1, r2;
                QImage whole, inBands;
                drawStyle(whole, oldPic, newPic, style, progress, 8, r1);
                drawStyle(inBands, oldPic, newPic, style, progress, 8, r2, false, &pool);
                QVERIFY2(whole == inBands,
                         qPrintable(QStringLiteral("style %1 at %2").arg(style).arg(progress)));
            }
        }
        QVERIFY(banded > 0);
    }

    // Progress 0 and 100 never call the effect; a frame is rebuilt from scratch, so the
    // one-pass build equals the build on a frame that already holds the old picture.
    void contractAtEveryStyle() {
        const QSize size(37, 23);
        const QImage oldPic = noisy(size, 1), newPic = noisy(size, 2);
        for (int style = 1; style <= kStyleCount; ++style) {
            QCOMPARE(frameOf(style, 0, oldPic, newPic), oldPic);
            QCOMPARE(frameOf(style, 100, oldPic, newPic), newPic);
            for (int progress : {1, 13, 50, 77, 99}) {
                core::Random r1, r2;
                QImage onePass = noisy(size, 3); // garbage from an earlier frame
                drawStyle(onePass, oldPic, newPic, style, progress, 4, r1);
                QImage prefilled = oldPic.copy();
                drawStyle(prefilled, oldPic, newPic, style, progress, 4, r2, true);
                QVERIFY2(onePass == prefilled,
                         qPrintable(QStringLiteral("style %1 at %2").arg(style).arg(progress)));
                QImage direct = oldPic.copy(); // the effect alone, without a copy of the old
                core::Random r3;
                const QPoint e = progressExtents(size.width(), size.height(), progress);
                EffectFrame f{direct, newPic, size.width(), size.height(), e.x(), e.y(), progress,
                              4,      r3};
                if (EffectProc proc = styleEffect(style))
                    proc(f);
                QVERIFY2(direct == prefilled,
                         qPrintable(QStringLiteral("style %1 at %2").arg(style).arg(progress)));
            }
        }
    }

    // Where an effect draws nothing the frame is the old picture: drawing over a flat old
    // picture marks what the effect leaves alone, and there a real old picture must show.
    void untouchedPixelsStayOld() {
        const QSize size(41, 29);
        const QImage oldPic = noisy(size, 5), newPic = noisy(size, 6);
        const QImage flat = solid(size, 0xFF010203);
        for (int style = 1; style <= kStyleCount; ++style) {
            if (movesOldPicture(style))
                continue;
            for (int progress : {3, 35, 64, 97}) {
                const QImage marks = frameOf(style, progress, flat, newPic);
                const QImage frame = frameOf(style, progress, oldPic, newPic);
                for (int y = 0; y < size.height(); ++y)
                    for (int x = 0; x < size.width(); ++x)
                        if (marks.pixel(x, y) == flat.pixel(x, y) &&
                            frame.pixel(x, y) != oldPic.pixel(x, y) && style != 119 && style != 172)
                            QFAIL(qPrintable(QStringLiteral("style %1 at %2 changed (%3, %4)")
                                                 .arg(style)
                                                 .arg(progress)
                                                 .arg(x)
                                                 .arg(y)));
            }
        }
    }

    void slideInFromRightAtHalf() {
        const QImage oldPic = columns(QSize(100, 80), 1), newPic = columns(QSize(100, 80), 2);
        const QImage frame = frameOf(3, 50, oldPic, newPic);
        QCOMPARE(frame.copy(50, 0, 50, 80), newPic.copy(0, 0, 50, 80));
        QCOMPARE(frame.copy(0, 0, 50, 80), oldPic.copy(0, 0, 50, 80));
    }

    void unrollFromLeftNearTheEnd() {
        // 200 wide at progress 97.5%: X = 195, the roll strip is (200 - 195) div 2 = 2.
        const QImage oldPic = columns(QSize(200, 4), 1), newPic = solid(QSize(200, 4), 0xFF808080);
        QImage sheet = columns(QSize(200, 4), 2);
        core::Random random;
        QImage frame = oldPic.copy();
        EffectFrame f{frame, sheet, 200, 4, 195, 4, 97, 1, random};
        styleEffect(14)(f);
        QCOMPARE(frame.copy(0, 0, 195, 4), sheet.copy(0, 0, 195, 4));
        // Mirrored strip: column 196 shows new column 197 (middle of the band, unshaded),
        // column 195 shows new column 198 darkened by 64 (the band's edge).
        QCOMPARE(px(frame, 196, 0), px(sheet, 197, 0));
        QCOMPARE(px(frame, 195, 0), 0xFF000000u | (198u - 64));
        QCOMPARE(frame.copy(197, 0, 3, 4), oldPic.copy(197, 0, 3, 4));
    }

    void buildUpStretchesAtMostATenth() {
        const QImage oldPic = solid(QSize(200, 3), 0xFF000000), newPic = columns(QSize(200, 3), 3);
        core::Random random;
        QImage frame = oldPic.copy();
        EffectFrame f{frame, newPic, 200, 3, 10, 0, 5, 1, random};
        styleEffect(16)(f);
        QSet<int> used;
        for (int x = 10; x < 200; ++x) {
            const int column = int(px(frame, x, 1) & 0xFFFF);
            QVERIFY(column >= 10 && column <= 29);
            used.insert(column);
        }
        QCOMPARE(used.size(), 20);
        QCOMPARE(frame.copy(0, 0, 10, 3), newPic.copy(0, 0, 10, 3));
    }

    // Pixels given as stored (bytes B, G, R and a fourth byte, which is no colour).
    void fadeHalfway_data() {
        QTest::addColumn<quint32>("oldPixel");
        QTest::addColumn<quint32>("newPixel");
        QTest::addColumn<quint32>("expected");
        QTest::newRow("black to white") << 0xFF000000u << 0xFFFFFFFFu << 0xFF7F7F7Fu;
        QTest::newRow("white to black floors") << 0xFFFFFFFFu << 0xFF000000u << 0xFF7F7F7Fu;
        QTest::newRow("one step down floors") << 0xFF0A0A0Au << 0xFF090909u << 0xFF090909u;
        QTest::newRow("fourth byte kept") << 0x00000000u << 0xFFFFFFFFu << 0x007F7F7Fu;
    }
    void fadeHalfway() {
        QFETCH(quint32, oldPixel);
        QFETCH(quint32, newPixel);
        QFETCH(quint32, expected);
        const QImage oldPic = raw(QSize(3, 2), oldPixel), newPic = raw(QSize(3, 2), newPixel);
        // Built in one pass from the old picture, and over a frame already holding it.
        QImage display;
        core::Random random;
        drawStyle(display, oldPic, newPic, 119, 50, 1, random);
        QCOMPARE(stored(display, 1, 1), expected);
        display = oldPic.copy();
        drawStyle(display, oldPic, newPic, 119, 50, 1, random, true);
        QCOMPARE(stored(display, 2, 0), expected);
    }

    // On a picture only a few pixels wide the zoomed rectangle reaches past the frame: what
    // shows is still made of the two pictures' own pixels, never of invented black.
    void pixelateOnTinyPictures_data() {
        QTest::addColumn<QSize>("size");
        QTest::newRow("2x2") << QSize(2, 2);
        QTest::newRow("4x3") << QSize(4, 3);
        QTest::newRow("3x2") << QSize(3, 2);
        QTest::newRow("2x9") << QSize(2, 9);
    }
    void pixelateOnTinyPictures() {
        QFETCH(QSize, size);
        const QImage white = solid(size, 0xFFFFFFFF);
        for (int progress = 1; progress < 100; ++progress)
            QVERIFY2(frameOf(168, progress, white, white) == white,
                     qPrintable(QString::number(progress)));
    }

    void pixelateZoomsTheCentre() {
        const QSize size(200, 100);
        const QImage oldPic = columns(size, 1), newPic = columns(size, 2);
        // P = 50: source width 200 - 2 * MulDiv(100, 98, 100) = 4 columns from 98.
        const QImage half = frameOf(168, 50, oldPic, newPic);
        const QImage next = frameOf(168, 51, oldPic, newPic);
        for (int x = 0; x < 200; x += 7) {
            const int c = int(px(half, x, 50) & 0xFFFF);
            QVERIFY2(c >= 98 && c <= 101, qPrintable(QString::number(c)));
            const int n = int(px(next, x, 50) & 0xFFFF);
            QVERIFY2(n >= 98 && n <= 101, qPrintable(QString::number(n)));
        }
        QCOMPARE(px(half, 0, 50) >> 16 & 0xFF, 1u); // still the old picture
        QCOMPARE(px(frameOf(168, 60, oldPic, newPic), 100, 50) >> 16 & 0xFF, 2u);
    }

    void randomStylesRepeatWithinATransition_data() {
        QTest::addColumn<int>("style");
        QTest::newRow("dissolve") << 169;
        QTest::newRow("random bars horizontal") << 170;
        QTest::newRow("random bars vertical") << 171;
        QTest::newRow("channel mix") << 172;
    }
    void randomStylesRepeatWithinATransition() {
        QFETCH(int, style);
        const QSize size(64, 48);
        const QImage oldPic = solid(size, 0xFF000000), newPic = solid(size, 0xFFFFFFFF);
        core::Random random(123);
        QImage display;
        drawStyle(display, oldPic, newPic, style, 40, 77, random);
        const QImage at40 = display.copy();
        const auto stateAfter = random.state();
        drawStyle(display, oldPic, newPic, style, 70, 77, random);
        const QImage at70 = display.copy();
        drawStyle(display, oldPic, newPic, style, 40, 77, random); // progress steps back
        QCOMPARE(display, at40);
        QCOMPARE(random.state(), stateAfter); // the generator is restored after each frame
        QCOMPARE(random.state(), core::Random(123).state());
        if (style != 172) {
            // Once switched, a pixel stays switched as progress grows.
            int switched40 = 0, switched70 = 0;
            for (int y = 0; y < size.height(); ++y)
                for (int x = 0; x < size.width(); ++x) {
                    const bool s40 = at40.pixel(x, y) == newPic.pixel(x, y);
                    const bool s70 = at70.pixel(x, y) == newPic.pixel(x, y);
                    QVERIFY(!s40 || s70);
                    switched40 += s40;
                    switched70 += s70;
                }
            QVERIFY(switched40 > 0 && switched40 < switched70);
            QVERIFY(frameOf(style, 40, oldPic, newPic, 78) != at40); // another transition
        }
    }

    // Every pixel draws its own threshold: about half switch at 50%, and no part of a row
    // repeats another (a short table of thresholds reused along a wide row would).
    void dissolveDrawsForEveryPixel() {
        const QSize size(4200, 16);
        const QImage oldPic = solid(size, 0xFF000000), newPic = solid(size, 0xFFFFFFFF);
        const QImage frame = frameOf(169, 50, oldPic, newPic);
        int switched = 0, repeatedColumns = 0;
        for (int x = 0; x < size.width(); ++x) {
            bool same = x + 4096 < size.width();
            for (int y = 0; y < size.height(); ++y) {
                switched += frame.pixel(x, y) == newPic.pixel(x, y);
                if (same && frame.pixel(x, y) != frame.pixel(x + 4096, y))
                    same = false;
            }
            repeatedColumns += same;
        }
        const double share = double(switched) / (size.width() * size.height());
        QVERIFY2(share > 0.48 && share < 0.52, qPrintable(QString::number(share)));
        QVERIFY2(repeatedColumns < 5, qPrintable(QString::number(repeatedColumns)));
    }

    void channelMixChangesOneChannelAtATime() {
        const QSize size(4, 4);
        const QImage oldPic = solid(size, 0xFF000000), newPic = solid(size, 0xFFFFFFFF);
        const quint32 early = px(frameOf(172, 20, oldPic, newPic), 0, 0);
        int moving = 0;
        for (int c = 0; c < 3; ++c)
            moving += ((early >> (8 * c)) & 0xFF) != 0;
        QCOMPARE(moving, 1);
        const quint32 middle = px(frameOf(172, 50, oldPic, newPic), 0, 0);
        int full = 0;
        for (int c = 0; c < 3; ++c)
            full += ((middle >> (8 * c)) & 0xFF) == 0xFF;
        QCOMPARE(full, 1);
    }

    void pivotSwingsAboutItsCorner_data() {
        QTest::addColumn<int>("style");
        QTest::addColumn<QPoint>("corner"); // the frame corner nearest the pivot
        QTest::newRow("120") << 120 << QPoint(3, 56);
        QTest::newRow("121") << 121 << QPoint(3, 3);
        QTest::newRow("122") << 122 << QPoint(76, 56);
        QTest::newRow("123") << 123 << QPoint(76, 3);
    }
    void pivotSwingsAboutItsCorner() {
        QFETCH(int, style);
        QFETCH(QPoint, corner);
        const QSize size(80, 60);
        const QImage oldPic = solid(size, 0xFF000000), newPic = noisy(size, 8);
        const QImage late = frameOf(style, 99, oldPic, newPic);
        QVERIFY(late.pixel(corner) != oldPic.pixel(corner));
        const QImage early = frameOf(style, 1, oldPic, newPic);
        int shown = 0;
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x)
                shown += early.pixel(x, y) != oldPic.pixel(x, y);
        QVERIFY(shown < size.width() * size.height() / 10);
        // The opposite corner swings in last.
        const QPoint far(79 - corner.x(), 59 - corner.y());
        QCOMPARE(frameOf(style, 50, oldPic, newPic).pixel(far), oldPic.pixel(far));
    }

    void shadeBandIsDarkestAtItsEdges() {
        QImage frame = solid(QSize(20, 2), 0xFF808080);
        shadeColumns(frame, 64, 5, 10);
        QCOMPARE(px(frame, 5, 0) & 0xFF, 0x80u - 64);
        QVERIFY((px(frame, 10, 0) & 0xFF) > 0x80u - 8);
        QVERIFY((px(frame, 14, 0) & 0xFF) < 0x80u - 8);
        QCOMPARE(px(frame, 4, 0), 0xFF808080u);
        QCOMPARE(px(frame, 15, 0), 0xFF808080u);
        QImage rows = solid(QSize(2, 20), 0xFF101010);
        shadeRows(rows, 64, 0, 10);
        QCOMPARE(px(rows, 0, 9) & 0xFF, 0u); // clamped at 0, band's last row first
        QCOMPARE(px(rows, 0, 10), 0xFF101010u);
    }
};

QTEST_APPLESS_MAIN(TestTransitionEffects)
#include "tst_effects.moc"
