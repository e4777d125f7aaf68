#include "core/clock.h"
#include "ticker/frame_pacer.h"
#include "ticker/scroll_motion.h"
#include "ticker/text_strip.h"

#include <QTest>
#include <limits>

using namespace kalmo;
using namespace kalmo::ticker;

class TickerMotionTest : public QObject {
    Q_OBJECT

private slots:
    void estimatedWidth_data() {
        QTest::addColumn<qint64>("characters");
        QTest::addColumn<int>("points");
        QTest::addColumn<int>("expected");
        QTest::newRow("100 chars at 35 pt") << qint64(100) << 35 << 3500;
        QTest::newRow("empty text") << qint64(0) << 35 << 0;
        QTest::newRow("default 16 pt") << qint64(3) << 16 << 48;
        QTest::newRow("huge text saturates") << qint64(1) << std::numeric_limits<int>::max()
                                             << std::numeric_limits<std::int32_t>::max() - 256;
    }
    void estimatedWidth() {
        QFETCH(qint64, characters);
        QFETCH(int, points);
        QFETCH(int, expected);
        QCOMPARE(estimatedTextWidth(characters, points), expected);
    }

    void move_data() {
        QTest::addColumn<int>("direction");
        QTest::addColumn<int>("scroll");
        QTest::addColumn<int>("step");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("surface");
        QTest::addColumn<int>("expected");
        QTest::newRow("left: moves by step") << int(sdRightToLeft) << 100 << 3 << 350 << 1918 << 97;
        QTest::newRow("left: exactly at -width stays")
            << int(sdRightToLeft) << -349 << 1 << 350 << 1918 << -350;
        QTest::newRow("left: past -width restarts at the right edge")
            << int(sdRightToLeft) << -350 << 1 << 350 << 1918 << 1918;
        QTest::newRow("left: empty text restarts once past 0")
            << int(sdRightToLeft) << 0 << 1 << 0 << 1918 << 1918;
        QTest::newRow("left: step 0 stands still")
            << int(sdRightToLeft) << 1918 << 0 << 350 << 1918 << 1918;
        QTest::newRow("left: 100 chars restart 3500 px past the edge")
            << int(sdRightToLeft) << -3500 << 1 << 3500 << 1918 << 1918;
        QTest::newRow("right: moves by step")
            << int(sdLeftToRight) << -350 << 2 << 350 << 1918 << -348;
        QTest::newRow("right: short text crosses the whole band")
            << int(sdLeftToRight) << 1000 << 1 << 350 << 1918 << 1001;
        QTest::newRow("right: past the right edge restarts at -width")
            << int(sdLeftToRight) << 1918 << 1 << 350 << 1918 << -350;
        QTest::newRow("left: no overflow at the 32-bit limit")
            << int(sdRightToLeft) << -(std::numeric_limits<std::int32_t>::max() - 256) << 255
            << std::numeric_limits<std::int32_t>::max() - 256 << 1918 << 1918;
    }
    void move() {
        QFETCH(int, direction);
        QFETCH(int, scroll);
        QFETCH(int, step);
        QFETCH(int, width);
        QFETCH(int, surface);
        QFETCH(int, expected);
        QCOMPARE(
            nextPosition(scroll, TScrollDirection(direction), std::uint8_t(step), width, surface),
            expected);
    }

    void startPositions() {
        QCOMPARE(startPosition(sdRightToLeft, 1918, 3500), 1918);
        QCOMPARE(startPosition(sdLeftToRight, 1918, 3500), -3500);
    }

    void stepKeepsEightBits_data() {
        QTest::addColumn<int>("setting");
        QTest::addColumn<int>("step");
        QTest::newRow("1") << 1 << 1;
        QTest::newRow("255") << 255 << 255;
        QTest::newRow("256 acts as 0") << 256 << 0;
        QTest::newRow("257 acts as 1") << 257 << 1;
        QTest::newRow("-1 wraps to 255") << -1 << 255;
    }
    void stepKeepsEightBits() {
        QFETCH(int, setting);
        QFETCH(int, step);
        QCOMPARE(int(stepFromSetting(setting)), step);
    }

    void frameDropping_data() {
        QTest::addColumn<int>("dropped");
        QTest::addColumn<QString>("pattern"); // one letter per event: d = drawn, - = dropped
        QTest::newRow("none dropped") << 0 << "dddd";
        QTest::newRow("one dropped") << 1 << "-d-d-d";
        QTest::newRow("two dropped") << 2 << "--d--d";
    }
    void frameDropping() {
        QFETCH(int, dropped);
        QFETCH(QString, pattern);
        int counter = 0;
        QString seen;
        for (int i = 0; i < pattern.size(); ++i)
            seen += frameGate(std::uint8_t(dropped), counter) ? u'd' : u'-';
        QCOMPARE(seen, pattern);
    }

    void pacerCatchesUpOnLateTicks() {
        core::ManualClock clock;
        FramePacer pacer(clock);
        pacer.start(1000.0 / 60.0);
        QCOMPARE(pacer.msUntilNext(), 17);
        clock.advanceMs(16);
        QCOMPARE(pacer.framesDue(), 0);
        clock.advanceMs(1);
        QCOMPARE(pacer.framesDue(), 1);
        QCOMPARE(pacer.msUntilNext(), 17); // next due at 33.3 ms
        clock.advanceMs(50);               // a late tick at 67 ms
        QCOMPARE(pacer.framesDue(), 3);
    }

    void pacerKeepsTheRateOverUnevenTicks() {
        core::ManualClock clock;
        FramePacer pacer(clock);
        pacer.start(1000.0 / 60.0);
        int frames = 0;
        int elapsed = 0;
        for (int i = 0; elapsed < 60000; ++i) {
            const int gap = std::min(7 + (i % 7) * 5, 60000 - elapsed); // 7 to 37 ms
            clock.advanceMs(gap);
            elapsed += gap;
            frames += pacer.framesDue();
        }
        QCOMPARE(frames, 3600);
    }

    void pacerSkipsLongStalls() {
        core::ManualClock clock;
        FramePacer pacer(clock);
        pacer.start(10);
        clock.advanceMs(10 * (FramePacer::kMaxCatchUp + 1));
        QCOMPARE(pacer.framesDue(), 1);
        QCOMPARE(pacer.msUntilNext(), 10);
    }

    void pacerAcrossTickWrap() {
        core::ManualClock clock(QDateTime(QDate(2026, 1, 1), QTime(0, 0)), 0xFFFFFFF0u);
        FramePacer pacer(clock);
        pacer.start(10);
        clock.advanceMs(25); // the tick wraps past 2^32
        QCOMPARE(pacer.framesDue(), 2);
        QCOMPARE(pacer.msUntilNext(), 5);
    }

    void piecesKeepClustersTogether_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("maxLength");
        QTest::newRow("words") << QStringLiteral("один два три четыре пять шесть") << 8;
        QTest::newRow("surrogate pairs") << QString::fromUtf8("a😀😀😀😀😀😀") << 4;
        QTest::newRow("combining marks") << QString::fromUtf8("ии\u0306и\u0306и\u0306и\u0306") << 2;
        QTest::newRow("one long cluster") << QString::fromUtf8("e\u0301\u0301\u0301\u0301x") << 2;
        QTest::newRow("empty") << QString() << 8;
    }
    void piecesKeepClustersTogether() {
        QFETCH(QString, text);
        QFETCH(int, maxLength);
        qsizetype from = 0;
        for (qsizetype length : splitIntoPieces(text, maxLength)) {
            QVERIFY(length > 0);
            const qsizetype end = from + length;
            if (end < text.size()) {
                QVERIFY2(!text.at(end).isLowSurrogate(), "surrogate pair split");
                QVERIFY2(text.at(end).category() != QChar::Mark_NonSpacing, "mark split off");
            }
            from = end;
        }
        QCOMPARE(from, text.size());
    }
};

QTEST_GUILESS_MAIN(TickerMotionTest)
#include "test_ticker_motion.moc"
