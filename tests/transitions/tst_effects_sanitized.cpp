// Runs every style of the table at sizes and progress values that stress the edges
// (empty, one pixel, one row, one column, odd sizes) in a build with address and
// undefined-behaviour checking: any write outside a bitmap ends the test.
#include "tests/transitions/test_pictures.h"
#include "transitions/style_table.h"

#include <QtTest>

using namespace kalmo;
using namespace kalmo::transitions;
using kalmo::testing::noisy;

class TestEffectsSanitized : public QObject {
    Q_OBJECT
private slots:
    void everyStyleEverySize_data() {
        QTest::addColumn<QSize>("size");
        for (QSize s : {QSize(0, 0), QSize(1, 1), QSize(1, 500), QSize(500, 1), QSize(7, 5),
                        QSize(2, 3), QSize(3, 2), QSize(640, 480), QSize(97, 211)})
            QTest::newRow(qPrintable(QStringLiteral("%1x%2").arg(s.width()).arg(s.height()))) << s;
    }

    void everyStyleEverySize() {
        QFETCH(QSize, size);
        const QImage oldPic = noisy(size, 1), newPic = noisy(size, 77);
        core::Random random(5);
        const bool large = size.width() * size.height() > 100000;
        const QList<int> progresses =
            large ? QList<int>{1, 50, 99}
                  : QList<int>{1, 2, 10, 33, 41, 50, 51, 59, 66, 67, 98, 99};
        for (int style = 1; style <= kStyleCount; ++style) {
            for (int progress : progresses) {
                QImage display;
                drawStyle(display, oldPic, newPic, style, progress, 11, random);
                QCOMPARE(display.size(), size);
                // The contract path: the frame already holds the old picture and the effect
                // is handed no separate copy of it.
                EffectProc proc = styleEffect(style);
                if (!proc || size.isEmpty())
                    continue;
                QImage frame = oldPic.copy();
                const QPoint e = progressExtents(size.width(), size.height(), progress);
                EffectFrame f{frame, newPic,   size.width(), size.height(), e.x(),
                              e.y(), progress, 11,           random};
                proc(f);
            }
        }
    }

    void extremeAspect() {
        // Very wide and very tall pictures at every style.
        core::Random random;
        for (QSize size : {QSize(4000, 2), QSize(2, 4000)}) {
            const QImage oldPic = noisy(size, 3), newPic = noisy(size, 4);
            for (int style = 1; style <= kStyleCount; ++style) {
                QImage display;
                drawStyle(display, oldPic, newPic, style, 37, 2, random);
                QCOMPARE(display.size(), size);
            }
        }
    }
};

QTEST_APPLESS_MAIN(TestEffectsSanitized)
#include "tst_effects_sanitized.moc"
