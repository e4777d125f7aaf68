#include "transitions/style_table.h"

#include "transitions/band_pool.h"
#include "transitions/blit.h"
#include "transitions/effects.h"
#include "transitions/region_styles.h"

#include <algorithm>

namespace kalmo::transitions {

namespace {
// Rows per band below which splitting a frame costs more than it saves.
constexpr int kMinBandRows = 64;
} // namespace

QString styleName(int style) {
    if (style == 0)
        return QStringLiteral("Custom");
    const StyleInfo *info = styleInfo(style);
    return info ? QString::fromLatin1(info->name) : QString();
}

QStringList styleNames() {
    QStringList names;
    names.reserve(kStyleCount);
    for (const StyleInfo &info : kStyleTable)
        names << QString::fromLatin1(info.name);
    return names;
}

int styleByName(const QString &name) {
    if (name.compare(QLatin1String("Custom"), Qt::CaseInsensitive) == 0)
        return 0;
    for (int i = 0; i < kStyleCount; ++i)
        if (name.compare(QLatin1String(kStyleTable[i].name), Qt::CaseInsensitive) == 0)
            return i + 1;
    return -1;
}

EffectProc styleEffect(int style) {
    const StyleInfo *info = styleInfo(style);
    if (!info)
        return nullptr;
    switch (info->family) {
    case StyleFamily::Move:
        return moveEffect(style);
    case StyleFamily::Pixel:
        return pixelEffect(style);
    case StyleFamily::Region:
        return regionEffect(style);
    }
    return nullptr;
}

bool paintsWholeFrame(int style) {
    return hasStyleFlag(style, PaintsWholeFrame);
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
               std::uint64_t transitionSeed, core::Random &random, bool displayHoldsOld,
               BandPool *pool) {
    const int w = pic.width(), h = pic.height();
    if (display.size() != pic.size() || display.format() != QImage::Format_RGB32) {
        display = QImage(pic.size(), QImage::Format_RGB32);
        displayHoldsOld = false;
    }
    if (w <= 0 || h <= 0 || oldPic.size() != pic.size())
        return;
    display.bits(); // detach here, once, before any band writes
    const EffectProc proc = progress > 0 && progress < 100 ? styleEffect(style) : nullptr;
    const bool onePass = proc && !displayHoldsOld && paintsWholeFrame(style);
    const QPoint extent = progressExtents(w, h, progress);
    auto drawRows = [&](int top, int bottom) {
        if (progress >= 100) {
            copyRect(display, pic, QRect(0, top, w, bottom - top));
            return;
        }
        if (!displayHoldsOld && !onePass)
            copyRect(display, oldPic, QRect(0, top, w, bottom - top));
        if (!proc)
            return;
        EffectFrame frame{display,        pic,   w, h, extent.x(), extent.y(), progress,
                          transitionSeed, random};
        // A frame the caller filled may have been drawn over since (before-new-frame
        // handlers): then the effect works on that frame, not on a fresh copy of the old one.
        frame.old = displayHoldsOld ? nullptr : &oldPic;
        frame.oldInDisplay = !onePass;
        frame.top = top;
        frame.bottom = bottom;
        proc(frame);
    };
    const bool banded = (!proc || hasStyleFlag(style, DrawsInBands)) && !displayHoldsOld;
    const int bands = banded && pool ? std::min(pool->helpers() + 1, h / kMinBandRows) : 1;
    if (bands <= 1) {
        drawRows(0, h);
        return;
    }
    pool->run(bands, [&](int band) {
        drawRows(static_cast<int>(static_cast<long long>(h) * band / bands),
                 static_cast<int>(static_cast<long long>(h) * (band + 1) / bands));
    });
}

} // namespace kalmo::transitions
