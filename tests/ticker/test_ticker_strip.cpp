#include "ticker/text_strip.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTest>

using namespace kalmo::ticker;

namespace {

TextStrip::Style style() {
    TextStrip::Style s;
    s.font = QFont(QStringLiteral("Times New Roman"), 35, QFont::Bold);
    s.color = Qt::white;
    s.height = 47;
    s.baseline = 36;
    return s;
}

QImage blank(int width) {
    QImage image(width, 47, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::black);
    return image;
}

int differingPixels(const QImage &a, const QImage &b) {
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (qAbs(qGray(a.pixel(x, y)) - qGray(b.pixel(x, y))) > 96)
                ++count;
    return count;
}

} // namespace

class TickerStripTest : public QObject {
    Q_OBJECT

private slots:
    // The text put together from its pieces looks like the text drawn in one go.
    void piecesMatchOneDrawing_data() {
        QTest::addColumn<int>("x");
        QTest::newRow("from the start") << 0;
        QTest::newRow("across a piece boundary") << -1500;
    }
    void piecesMatchOneDrawing() {
        QFETCH(int, x);
        const QString text = QStringLiteral("Уважаемые студенты и преподаватели! Занятия "
                                            "проводятся по расписанию, консультации в 305.");
        QVERIFY(text.size() > TextStrip::kPieceLength);
        TextStrip strip;
        strip.setContent(text, style());
        QVERIFY(strip.pieceCount() > 1);

        QImage pieced = blank(1918);
        {
            QPainter p(&pieced);
            strip.draw(p, x, pieced.width());
        }
        QImage whole = blank(1918);
        {
            QPainter p(&whole);
            p.setFont(style().font);
            p.setPen(Qt::white);
            p.drawText(QPointF(x, style().baseline), text);
        }
        QVERIFY(differingPixels(pieced, whole) < pieced.width() * pieced.height() / 200);
        QVERIFY(differingPixels(pieced, blank(1918)) > 1000); // something was drawn
    }

    void longTextStaysWithinTheMemoryBudget() {
        QString text;
        while (text.size() < 60000)
            text += QStringLiteral("Длинное объявление номер ") + QString::number(text.size());
        TextStrip strip;
        strip.setContent(text, style());
        QImage view = blank(1918);
        QPainter p(&view);
        qsizetype peak = 0;
        for (qint64 x = 0; x > -qint64(strip.width()); x -= 1900) {
            strip.draw(p, x, view.width());
            peak = std::max(peak, strip.cachedBytes());
        }
        QVERIFY(peak <= TextStrip::kBudgetBytes);
        QVERIFY(peak > TextStrip::kBudgetBytes / 2); // the cache was really put to use
    }
};

QTEST_MAIN(TickerStripTest)
#include "test_ticker_strip.moc"
