#include "transitions/frame_setup.h"

#include "transitions/blit.h"

#include <QPainter>
#include <new>

namespace kalmo::transitions {

namespace {
enum { bmNone, bmTiled, bmStretched, bmCentered };
} // namespace

void paintBackground(QPainter &painter, const QRect &rect, const Background &background) {
    if (rect.isEmpty())
        return;
    const QImage &picture = background.picture;
    const int mode = picture.isNull() ? bmNone : background.mode;
    switch (mode) {
    case bmStretched:
        painter.drawImage(rect, picture);
        break;
    case bmCentered: {
        const QRect image(rect.left() + (rect.width() - picture.width()) / 2,
                          rect.top() + (rect.height() - picture.height()) / 2, picture.width(),
                          picture.height());
        painter.drawImage(image.topLeft(), picture);
        painter.save();
        const QRegion rest = QRegion(rect) - QRegion(image);
        painter.setClipRegion(painter.hasClipping() ? painter.clipRegion() & rest : rest);
        painter.fillRect(rect, background.color);
        painter.restore();
        break;
    }
    case bmTiled: {
        const int gw = picture.width(), gh = picture.height();
        painter.save();
        QRect box = rect;
        if (painter.hasClipping())
            box &= painter.clipBoundingRect().toAlignedRect();
        painter.setClipRect(rect, painter.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
        if (!box.isEmpty()) {
            const int left = box.left() - (box.left() - rect.left()) % gw;
            const int top = box.top() - (box.top() - rect.top()) % gh;
            for (int y = top; y <= box.bottom(); y += gh)
                for (int x = left; x <= box.right(); x += gw)
                    painter.drawImage(x, y, picture);
        }
        painter.restore();
        break;
    }
    default:
        painter.fillRect(rect, background.color);
        break;
    }
}

void renderBackgroundInto(QImage &target, const Background &background, const QRect &client,
                          const QRect &displayRect) {
    const QSize size = displayRect.size();
    if (target.isNull() || size.width() <= 0 || size.height() <= 0)
        return;
    QImage under(size, QImage::Format_RGB32);
    {
        QPainter painter(&under);
        painter.translate(-displayRect.topLeft());
        paintBackground(painter, client, background);
    }
    stretchBlt(target, 0, 0, target.width(), target.height(), under, 0, 0, size.width(),
               size.height());
}

TransitionPictures makeTransitionPictures(const FrameSetup &setup) {
    const QSize size = setup.size;
    TransitionPictures out;
    if (!setup.onScreen.isNull() && setup.onScreen.size() == size) {
        out.oldPic = setup.onScreen.convertToFormat(QImage::Format_RGB32);
    } else {
        out.dynamicOldPic = true;
        out.oldPic = QImage(size, QImage::Format_RGB32);
        if (!out.oldPic.isNull()) {
            out.oldPic.fill(setup.color);
            renderBackgroundInto(out.oldPic, setup.background, setup.client, setup.displayRect);
        }
    }
    QImage source = setup.picture;
    if (source.size() != size)
        source = source.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (source.format() == QImage::Format_RGB32) {
        out.pic = source; // opaque already: nothing to lay on the ground
    } else {
        out.pic = QImage(size, QImage::Format_RGB32);
        if (!out.pic.isNull()) {
            out.pic.fill(setup.color);
            QPainter painter(&out.pic);
            painter.drawImage(0, 0, source);
        }
    }
    if (out.pic.isNull() || out.oldPic.isNull())
        throw std::bad_alloc();
    return out;
}

} // namespace kalmo::transitions
