#pragma once

#include <QColor>
#include <QImage>
#include <QRect>

class QPainter;

// The pictures a transition is built from, made from plain values so that they can be made
// on any thread.
namespace kalmo::transitions {

// What the control paints where no frame is shown. `mode` holds a
// TCustomPicShow::BackgroundMode; a null picture counts as bmNone.
struct Background {
    QImage picture;
    int mode = 1; // bmTiled
    QColor color;
};

// Paints `background` over `rect`, clipped by the painter's clip when it has one.
void paintBackground(QPainter &painter, const QRect &rect, const Background &background);

// Stretches the background that lies under `displayRect` of a control whose client area is
// `client` onto the whole of `target`.
void renderBackgroundInto(QImage &target, const Background &background, const QRect &client,
                          const QRect &displayRect);

// Everything a transition's first frame needs, copied from the control.
struct FrameSetup {
    QImage picture;  // the new picture as the owner gave it
    QSize size;      // the size frames are built at
    QColor color;    // the ground under transparent parts of the picture
    QImage onScreen; // the frame shown now when the transition starts from it, else null
    Background background;
    QRect client;      // the control's client area
    QRect displayRect; // where frames of `size` will be shown
};

struct TransitionPictures {
    QImage oldPic;              // what is replaced: the frame on screen, or the background
    QImage pic;                 // the new picture on a `color` ground, fitted to the size
    bool dynamicOldPic = false; // oldPic is the background and follows its changes
};

// Builds both pictures (Format_RGB32, `size`). Throws std::bad_alloc when they cannot be had.
TransitionPictures makeTransitionPictures(const FrameSetup &setup);

} // namespace kalmo::transitions
