#include "ticker/main_screen_ticker.h"

#include "ticker/scrolling_text.h"
#include "ticker/ticker_text.h"

#include <cmath>

namespace kalmo::ticker {

namespace {
// The band's height when it is placed, before it takes the font's height.
constexpr int kInitialPanelHeight = 41;
constexpr int kBottomGap = 16;
constexpr int kLeft = 2;
} // namespace

int emPixelHeight(int points, qreal dpi) {
    return static_cast<int>(std::lround(points * dpi / 72.0));
}

QRect mainScreenTickerGeometry(const QSize &screen, int lineHeight) {
    return QRect(kLeft, screen.height() - kInitialPanelHeight - kBottomGap, screen.width() - kLeft,
                 lineHeight);
}

QString setupMainScreenTicker(TScrollingText &line, const std::optional<QString> &fileText,
                              int step, const QColor &windowColor, const QColor &textColor,
                              const QSize &screen) {
    line.setBackgroundColor(windowColor);
    line.setTextColor(textColor);
    QFont f = line.font();
    f.setFamily(kTickerFontFamily);
    f.setPointSize(kTickerFontPoints);
    f.setBold(true);
    line.setFont(f);
    line.setGeometry(
        mainScreenTickerGeometry(screen, emPixelHeight(kTickerFontPoints, line.logicalDpiY())));
    line.setTextTopPosition(kTickerTextTop);
    line.setStep(step);
    line.setText(fileText.value_or(kMissingFileAtStart));
    line.Play();
    return line.text();
}

QString reloadTicker(TScrollingText &line, const std::optional<QString> &fileText, int step,
                     const QColor &windowColor, const QColor &textColor) {
    line.Stop();
    restyleTicker(line, step, windowColor, textColor);
    line.setText(fileText.value_or(kMissingFileAtReread));
    line.Play();
    return line.text();
}

void restyleTicker(TScrollingText &line, int step, const QColor &windowColor,
                   const QColor &textColor) {
    line.setBackgroundColor(windowColor);
    line.setTextColor(textColor);
    line.setStep(step);
}

} // namespace kalmo::ticker
