#include "transitions/style_table.h"

#include "transitions/blit.h"
#include "transitions/effects.h"
#include "transitions/region_styles.h"

#include <cstring>

namespace kalmo::transitions {
namespace {

const char *const kNames[kStyleCount] = {
#include "transitions/style_names.inc"
};

bool isRegionStyle(int style) {
    return (style >= 58 && style <= 118) || (style >= 124 && style <= 128) ||
           (style >= 137 && style <= 167);
}

} // namespace

QString styleName(int style) {
    if (style == 0)
        return QStringLiteral("Custom");
    if (style < 1 || style > kStyleCount)
        return {};
    return QString::fromLatin1(kNames[style - 1]);
}

QStringList styleNames() {
    QStringList names;
    names.reserve(kStyleCount);
    for (const char *name : kNames)
        names << QString::fromLatin1(name);
    return names;
}

int styleByName(const QString &name) {
    if (name.compare(QLatin1String("Custom"), Qt::CaseInsensitive) == 0)
        return 0;
    for (int i = 0; i < kStyleCount; ++i)
        if (name.compare(QLatin1String(kNames[i]), Qt::CaseInsensitive) == 0)
            return i + 1;
    return -1;
}

EffectProc styleEffect(int style) {
    if (style < 1 || style > kStyleCount)
        return nullptr;
    if (isRegionStyle(style))
        return regionEffect(style);
    if (EffectProc proc = moveEffect(style))
        return proc;
    return pixelEffect(style);
}

bool paintsWholeFrame(int style) {
    if (moveEffect(style))
        return true;
    switch (style) {
    case 119: // fade
    case 168: // pixelate
    case 169: // dissolve
    case 172: // channel mix
        return true;
    default:
        return false;
    }
}

QPoint progressExtents(int w, int h, int progress) {
    if (w >= h) {
        const int x = MulDiv(w, progress, 100);
        return QPoint(x, w > 0 ? MulDiv(x, h, w) : 0);
    }
    const int y = MulDiv(h, progress, 100);
    return QPoint(MulDiv(y, w, h), y);
}

void drawStyle(QImage &display, const QImage &oldPic, const QImage &pic, int style, int progress,
               std::uint64_t transitionSeed, core::Random &random, bool displayHoldsOld) {
    const int w = pic.width(), h = pic.height();
    if (display.size() != pic.size() || display.format() != QImage::Format_RGB32) {
        display = QImage(pic.size(), QImage::Format_RGB32);
        displayHoldsOld = false;
    }
    if (w <= 0 || h <= 0 || oldPic.size() != pic.size())
        return;
    if (progress >= 100) {
        copyRect(display, pic, pic.rect());
        return;
    }
    const EffectProc proc = progress > 0 ? styleEffect(style) : nullptr;
    const bool onePass = proc && !displayHoldsOld && paintsWholeFrame(style);
    if (!displayHoldsOld && !onePass)
        copyRect(display, oldPic, oldPic.rect());
    if (!proc)
        return;
    const QPoint extent = progressExtents(w, h, progress);
    EffectFrame frame{display, pic, w, h, extent.x(), extent.y(), progress, transitionSeed, random};
    // A frame the caller filled may have been drawn over since (before-new-frame handlers):
    // then the effect works on that frame, not on a fresh copy of the old picture.
    frame.old = displayHoldsOld ? nullptr : &oldPic;
    frame.oldInDisplay = !onePass;
    proc(frame);
}

} // namespace kalmo::transitions
