#pragma once

#include "transitions/effect.h"
#include "transitions/style_info.h"

#include <QPoint>
#include <QString>
#include <QStringList>

// The 176 numbered transition styles: names and effect procedures.
namespace kalmo::transitions {

class BandPool;

// The table name of style 1..176, "Custom" for 0, an empty string otherwise.
QString styleName(int style);
// The 176 names in style order (without "Custom").
QStringList styleNames();
// "Custom" (any letter case) gives 0; otherwise the lowest style whose name matches without
// regard to case; -1 when nothing matches.
int styleByName(const QString &name);

// The effect procedure of style 1..176; nullptr for other numbers and for a region style
// whose procedure is not there (such a style draws nothing).
EffectProc styleEffect(int style);
// True when the style's effect can build every pixel of the frame from EffectFrame::old
// itself, so the player need not copy the old picture in first.
bool paintsWholeFrame(int style);

// X and Y of the effect contract: the progress scaled to both sides, aspect kept.
QPoint progressExtents(int w, int h, int progress);

// Builds the frame of `style` at `progress` (0..100) from scratch into `display`, which gets
// the pictures' size. `oldPic` and `pic` must have the same size (Format_RGB32). Progress 0
// shows the old picture, 100 the new one; a style without procedure shows the old picture.
// With `displayHoldsOld` the caller has already put the old picture into `display` (and may
// have drawn over it): the effect then starts from `display` as it is, moving and mixing its
// pixels rather than those of `oldPic`. With a `pool`, styles that draw in bands build large
// frames in bands of rows on its threads.
void drawStyle(QImage &display, const QImage &oldPic, const QImage &pic, int style, int progress,
               std::uint64_t transitionSeed, core::Random &random, bool displayHoldsOld = false,
               BandPool *pool = nullptr);

} // namespace kalmo::transitions
