#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <climits>
#include <cstdint>

// Pixel helpers shared by every transition effect. All images are QImage::Format_RGB32
// (bytes B, G, R, X in memory); the helpers never touch the fourth byte except by copying
// whole pixels, and never write outside the destination bitmap.
// Clones a hot loop for AVX2 where the processor has it. ThreadSanitizer builds go without:
// the clones' resolver runs before the sanitizer's runtime is ready.
#if defined(__SANITIZE_THREAD__)
#define KALMO_CLONES_AVX2
#else
#define KALMO_CLONES_AVX2 __attribute__((target_clones("avx2", "default")))
#endif

namespace kalmo::transitions {

// round(a * b / c) without intermediate overflow, halves away from zero. A zero divisor
// gives 0 and a result beyond the int range saturates (instead of the -1 of the classic
// Windows call, which would turn a step or a size negative).
int MulDiv(int a, int b, int c);

// Integer division truncating toward zero (what C++ `/` already does; named for clarity).
constexpr int divTrunc(int a, int b) {
    return a / b;
}

// Nearest-pixel stretch with the semantics of a colour-on-colour StretchBlt: the source
// rectangle (sx, sy, sw, sh) is copied onto the destination rectangle (dx, dy, dw, dh),
// repeating or dropping pixels. A negative extent mirrors along that axis; the rectangle
// then runs from its anchor backwards (dx, dx - 1, ..., dx + dw + 1). Destination pixels
// outside `dst` are clipped; source positions outside `src` are clamped to its edge.
// Equal positive extents are a plain row-wise copy. `src` and `dst` must not share pixels.
// Only destination rows in [rowTop, rowBottom) are written. Returns the destination pixels
// actually written.
QRect stretchBlt(QImage &dst, int dx, int dy, int dw, int dh, const QImage &src, int sx, int sy,
                 int sw, int sh, int rowTop = 0, int rowBottom = INT_MAX);

// The destination pixels stretchBlt would write for these rectangles (same clipping).
QRect stretchTarget(QSize dst, int dx, int dy, int dw, int dh, QSize src, int sx, int sy, int sw,
                    int sh);

// Plain copy of the same rectangle of `src` into `dst` (clipped to both).
void copyRect(QImage &dst, const QImage &src, const QRect &rect);

// Inside `rect` (clipped), every colour channel becomes
// old + floor(alpha * (new - old) / 256) with alpha = MulDiv(256, percent, 100).
void blendRect(QImage &frame, const QImage &pic, int percent, const QRect &rect);

// Darkens a band of `count` columns starting at `first` with a triangular profile that is
// -amplitude at the band's edges and about 0 in its middle (channels clamped to 0..255).
// Only rows in [rowTop, rowBottom) are touched.
void shadeColumns(QImage &frame, int amplitude, int first, int count, int rowTop = 0,
                  int rowBottom = INT_MAX);
// The same along rows; the profile is laid from the band's last row upwards.
void shadeRows(QImage &frame, int amplitude, int first, int count, int rowTop = 0,
               int rowBottom = INT_MAX);

// Draws `pic` rotated about `pivot` (frame coordinates) by `degrees`, positive turning it
// anticlockwise on screen. Every frame pixel whose position turned back by the rotation
// falls inside `pic` takes that pixel (16.16 fixed point, nearest pixel); others stay.
void rotateImage(QImage &frame, const QImage &pic, QPoint pivot, double degrees);

// Row access without detaching checks in the inner loops.
inline std::uint32_t *row(QImage &img, int y) {
    return reinterpret_cast<std::uint32_t *>(img.bits() + std::ptrdiff_t(y) * img.bytesPerLine());
}
inline const std::uint32_t *row(const QImage &img, int y) {
    return reinterpret_cast<const std::uint32_t *>(img.constBits() +
                                                   std::ptrdiff_t(y) * img.bytesPerLine());
}

} // namespace kalmo::transitions
