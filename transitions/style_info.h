#pragma once

// What the player knows of each numbered style before it draws one: the one place that says
// which family draws a style.
namespace kalmo::transitions {

inline constexpr int kStyleCount = 176;

enum class StyleFamily {
    Move,   // moves, stretches, rolls or pushes rectangles of the pictures
    Pixel,  // mixes or rotates pixels
    Region, // copies the new picture through a clipping region
};

enum StyleFlag : unsigned {
    // Builds every pixel of the frame from the old picture itself, so the player need not
    // copy the old picture in first.
    PaintsWholeFrame = 1,
    // Draws any band of rows on its own (rows depend only on the pictures and the progress),
    // so a frame may be built in bands on several threads.
    DrawsInBands = 2,
};

struct StyleInfo {
    const char *name;
    StyleFamily family;
    unsigned flags;
};

inline constexpr StyleInfo kStyleTable[kStyleCount] = {
#include "transitions/style_table.inc"
};

// The row of style 1..176, nullptr for any other number.
constexpr const StyleInfo *styleInfo(int style) {
    return style >= 1 && style <= kStyleCount ? &kStyleTable[style - 1] : nullptr;
}

// By index, not through styleInfo(): the region table is built from this at compile time,
// also in sanitizer builds, where a pointer test is no constant expression.
constexpr bool isStyleOf(int style, StyleFamily family) {
    return style >= 1 && style <= kStyleCount && kStyleTable[style - 1].family == family;
}

constexpr bool hasStyleFlag(int style, StyleFlag flag) {
    return style >= 1 && style <= kStyleCount && (kStyleTable[style - 1].flags & flag) != 0;
}

} // namespace kalmo::transitions
