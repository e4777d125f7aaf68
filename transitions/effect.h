#pragma once

#include "core/random.h"

#include <QImage>
#include <climits>
#include <cstdint>

namespace kalmo::transitions {

// Everything one effect procedure sees while it draws one frame.
// `display` (D) holds the complete old picture on entry; the effect changes it only.
// Both images are QImage::Format_RGB32 of size w x h.
struct EffectFrame {
    QImage &display;              // D, the frame being built
    const QImage &pic;            // N, the new picture
    int w = 0;                    // picture width
    int h = 0;                    // picture height
    int x = 0;                    // horizontal progress extent
    int y = 0;                    // vertical progress extent
    int progress = 0;             // P, 1..99
    std::uint64_t transitionSeed; // fixed for all frames of one transition, differs between them
    core::Random &random;         // the control's generator (save/seed/restore when repeatable)
    // The old picture itself, when the caller keeps it (the player always does). Effects
    // that move the old picture read it from here instead of from `display`.
    const QImage *old = nullptr;
    // False only for styles whose table entry says they paint every pixel: then `display`
    // holds nothing useful on entry and the effect builds the whole frame from `old`.
    bool oldInDisplay = true;
    // The rows [top, bottom) this call draws, when the frame is built in bands on several
    // threads; an effect that may be banded writes no other row.
    int top = 0;
    int bottom = INT_MAX;
};

using EffectProc = void (*)(EffectFrame &frame);

} // namespace kalmo::transitions
