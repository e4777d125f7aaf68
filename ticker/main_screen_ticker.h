#pragma once

#include <QColor>
#include <QRect>
#include <QSize>
#include <QString>
#include <optional>

namespace kalmo::ticker {

class TScrollingText;

// The main screen's line: 35-point bold Times New Roman, drawn 8 px above the band so
// the font's internal leading is trimmed.
inline const QString kTickerFontFamily = QStringLiteral("Times New Roman");
constexpr int kTickerFontPoints = 35;
constexpr int kTickerTextTop = -8;

// A font's height in pixels as the layouts count it: the em size at the given dpi.
int emPixelHeight(int points, qreal dpi);

// The band along the bottom of a screen: left 2, as wide as the screen less 2, its top
// where a 41 px panel would end 16 px above the screen edge, and the given height.
QRect mainScreenTickerGeometry(const QSize &screen, int lineHeight);

// The texts come from readTickerText(), which callers run off the GUI thread: the text file
// may lie on a share that hangs. Nothing here touches a file.

// Creation-time set-up of the main screen's line: colours, geometry, font, step and the
// file's text (or the missing-file text when there is none), then Play. Returns the text
// given to the line.
QString setupMainScreenTicker(TScrollingText &line, const std::optional<QString> &fileText,
                              int step, const QColor &windowColor, const QColor &textColor,
                              const QSize &screen);

// Reload after a settings re-read: stop, new colours and step, the file's text again (or
// the no-access text), then Play from the right edge. Returns the text given to the line.
QString reloadTicker(TScrollingText &line, const std::optional<QString> &fileText, int step,
                     const QColor &windowColor, const QColor &textColor);

// New colours and step while the line runs on with its text (the file did not answer).
void restyleTicker(TScrollingText &line, int step, const QColor &windowColor,
                   const QColor &textColor);

} // namespace kalmo::ticker
