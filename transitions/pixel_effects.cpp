// Styles that mix pixels (fade, dissolve, random bars, channel mix, pixelate) or rotate the
// new picture about a corner (pivot).
#include "transitions/blit.h"
#include "transitions/effects.h"

#include <algorithm>
#include <vector>

namespace kalmo::transitions {
namespace {

bool valid(const EffectFrame &f) {
    return f.w > 0 && f.h > 0 && f.display.size() == QSize(f.w, f.h) &&
           f.pic.size() == QSize(f.w, f.h);
}

// The old picture to read: the caller's copy, or the frame itself when it holds the old
// picture (then reading and writing the same pixel is fine for per-pixel effects).
const QImage *oldSource(const EffectFrame &f) {
    if (f.old && f.old->size() == f.display.size())
        return f.old;
    return f.oldInDisplay ? &f.display : nullptr;
}

// Per channel: v + floor(w * (n - v) / 256), w in 0..256, for blue, green and red.
inline std::uint32_t mixChannels(std::uint32_t o, std::uint32_t n, std::uint32_t wb,
                                 std::uint32_t wg, std::uint32_t wr) {
    const std::uint32_t b = ((o & 0xFF) * (256 - wb) + (n & 0xFF) * wb) >> 8;
    const std::uint32_t g = (((o >> 8) & 0xFF) * (256 - wg) + ((n >> 8) & 0xFF) * wg) >> 8;
    const std::uint32_t r = (((o >> 16) & 0xFF) * (256 - wr) + ((n >> 16) & 0xFF) * wr) >> 8;
    return (o & 0xFF000000u) | (r << 16) | (g << 8) | b;
}

inline std::uint32_t fadePixel(std::uint32_t o, std::uint32_t n, std::uint32_t a) {
    const std::uint32_t ia = 256 - a;
    const std::uint32_t rb = (((o & 0xFF00FFu) * ia + (n & 0xFF00FFu) * a) >> 8) & 0xFF00FFu;
    const std::uint32_t g = (((o & 0xFF00u) * ia + (n & 0xFF00u) * a) >> 8) & 0xFF00u;
    return rb | g | (o & 0xFF000000u);
}

// Row loops over plain pointers so that the compiler can vectorise them. Blending works on
// the bytes of the row in 16-bit lanes, with a weight per byte (the caller lays out blue,
// green, red and 0 for the fourth byte, which so keeps its value):
// v * (256 - w) + n * w <= 255 * 256 fits.
void mixRow(std::uint32_t *d32, const std::uint32_t *o32, const std::uint32_t *n32, int w,
            const std::uint16_t *wn, const std::uint16_t *wo) {
    auto *d = reinterpret_cast<std::uint8_t *>(d32);
    const auto *o = reinterpret_cast<const std::uint8_t *>(o32);
    const auto *n = reinterpret_cast<const std::uint8_t *>(n32);
    for (int i = 0, e = 4 * w; i < e; ++i)
        d[i] =
            static_cast<std::uint8_t>(static_cast<std::uint16_t>(o[i] * wo[i] + n[i] * wn[i]) >> 8);
}

void maskRow(std::uint32_t *d, const std::uint32_t *n, const std::uint32_t *m, int w) {
    for (int x = 0; x < w; ++x)
        d[x] = (n[x] & m[x]) | (d[x] & ~m[x]);
}

// A counter-based uniform generator: draw number i of the transition keyed `key` is a
// mix of i alone, so a whole row of draws is made side by side (and vectorises) while the
// sequence stays the same in every frame.
inline std::uint32_t mix32(std::uint32_t v) {
    v ^= v >> 16;
    v *= 0x7FEB352Du;
    v ^= v >> 15;
    v *= 0x846CA68Bu;
    v ^= v >> 16;
    return v;
}

inline std::uint32_t transitionKey(std::uint64_t seed) {
    return mix32(static_cast<std::uint32_t>(seed) ^ mix32(static_cast<std::uint32_t>(seed >> 32)));
}

// Pixel x of the row takes the new picture when its draw, random(100), is below p. `first`
// is the storage index of the row's first pixel.
KALMO_CLONES_AVX2 void dissolveRow(std::uint32_t *d, const std::uint32_t *o, const std::uint32_t *n,
                                   int w, std::uint32_t key, std::uint32_t first, std::uint32_t p) {
    for (int x = 0; x < w; ++x) {
        const std::uint32_t v = mix32((first + static_cast<std::uint32_t>(x)) * 0x9E3779B9u ^ key);
        const std::uint32_t r = ((v >> 16) * 100u) >> 16; // 0..99
        const std::uint32_t m = 0u - static_cast<std::uint32_t>(r < p);
        d[x] = (n[x] & m) | (o[x] & ~m);
    }
}

void fade(EffectFrame &f) {
    const QImage *old = oldSource(f);
    if (!valid(f) || !old)
        return;
    const std::uint16_t a =
        static_cast<std::uint16_t>(std::clamp(MulDiv(256, f.progress, 100), 0, 256));
    // Blue, green and red move toward the new picture; the fourth byte keeps its value.
    std::vector<std::uint16_t> wn(4 * static_cast<size_t>(f.w)), wo(wn.size());
    for (size_t i = 0; i < wn.size(); ++i) {
        wn[i] = i % 4 == 3 ? 0 : a;
        wo[i] = static_cast<std::uint16_t>(256 - wn[i]);
    }
    for (int y = std::max(0, f.top), h = std::min(f.h, f.bottom); y < h; ++y)
        mixRow(row(f.display, y), row(*old, y), row(f.pic, y), f.w, wn.data(), wo.data());
}

// Every pixel, in storage order, draws random(100) from a generator keyed by the transition,
// so the same pixels switch at the same progress in every frame and stay switched as it
// grows. The control's own generator is left alone.
void dissolve(EffectFrame &f) {
    const QImage *old = oldSource(f);
    if (!valid(f) || !old)
        return;
    const std::uint32_t key = transitionKey(f.transitionSeed);
    const std::uint32_t p = static_cast<std::uint32_t>(f.progress);
    for (int y = std::max(0, f.top), h = std::min(f.h, f.bottom); y < h; ++y)
        dissolveRow(row(f.display, y), row(*old, y), row(f.pic, y), f.w, key,
                    static_cast<std::uint32_t>(y) * static_cast<std::uint32_t>(f.w), p);
}

void randomBarsHorizontal(EffectFrame &f) {
    if (!valid(f))
        return;
    core::RandomStateGuard guard(f.random, f.transitionSeed);
    for (int y = 0, h = f.h; y < h; ++y)
        if (f.random.below(100) < f.progress)
            std::copy_n(row(f.pic, y), f.w, row(f.display, y));
}

void randomBarsVertical(EffectFrame &f) {
    if (!valid(f))
        return;
    std::vector<std::uint32_t> mask(static_cast<size_t>(f.w));
    {
        core::RandomStateGuard guard(f.random, f.transitionSeed);
        for (int x = 0, w = f.w; x < w; ++x)
            mask[static_cast<size_t>(x)] = f.random.below(100) < f.progress ? 0xFFFFFFFFu : 0u;
    }
    for (int y = 0, h = f.h; y < h; ++y)
        maskRow(row(f.display, y), row(f.pic, y), mask.data(), f.w);
}

void channelMix(EffectFrame &f) {
    const QImage *old = oldSource(f);
    if (!valid(f) || !old)
        return;
    int a, b;
    {
        core::RandomStateGuard guard(f.random, f.transitionSeed);
        a = f.random.below(3);
        do
            b = f.random.below(3);
        while (b == a);
    }
    const int c = 3 - a - b;
    std::uint32_t weight[3] = {0, 0, 0};
    const int P = f.progress;
    if (P <= 33) {
        weight[a] = static_cast<std::uint32_t>(std::clamp(MulDiv(256, P, 33), 0, 256));
    } else if (P <= 66) {
        weight[a] = 256;
        weight[b] = static_cast<std::uint32_t>(std::clamp(MulDiv(256, P - 33, 33), 0, 256));
    } else {
        weight[a] = weight[b] = 256;
        weight[c] = static_cast<std::uint32_t>(std::clamp(MulDiv(256, P - 66, 33), 0, 256));
    }
    std::vector<std::uint16_t> wn(4 * static_cast<size_t>(f.w)), wo(wn.size());
    for (size_t i = 0; i < wn.size(); ++i) {
        wn[i] = static_cast<std::uint16_t>(i % 4 == 3 ? 0 : weight[i % 4]);
        wo[i] = static_cast<std::uint16_t>(256 - wn[i]);
    }
    for (int y = std::max(0, f.top), h = std::min(f.h, f.bottom); y < h; ++y)
        mixRow(row(f.display, y), row(*old, y), row(f.pic, y), f.w, wn.data(), wo.data());
}

void pixelate(EffectFrame &f) {
    if (!valid(f))
        return;
    const int W = f.w, H = f.h, P = f.progress;
    QImage snapshot;
    const QImage *old = f.old && f.old->size() == f.display.size() ? f.old : nullptr;
    if (!old) {
        if (!f.oldInDisplay)
            return;
        snapshot = f.display.copy(); // the stretch reads the frame while writing it
        old = &snapshot;
    }
    int k, u, v;
    const QImage *source;
    if (P <= 50) {
        source = old;
        k = 180 - MulDiv(P, 82, 50);
        u = f.x;
        v = f.y;
    } else {
        source = &f.pic;
        k = MulDiv(P - 100, 82, 50) + 180;
        u = W - f.x;
        v = H - f.y;
    }
    const int xs = MulDiv(u, k, 100), ys = MulDiv(v, k, 100);
    const int sw = std::max(2, W - 2 * xs), sh = std::max(2, H - 2 * ys);
    const QRect centre(xs, ys, sw, sh);
    QImage mixed;
    int sx = xs, sy = ys;
    if (P >= 41 && P <= 59) {
        if (f.display.rect().contains(centre)) {
            // Blend only the small central rectangle the stretch reads.
            mixed = old->copy(centre);
            blendRect(mixed, f.pic.copy(centre), 5 * P - 200, mixed.rect());
            sx = sy = 0;
        } else {
            // A rectangle reaching past a tiny frame: blend the frame itself, so that the
            // stretch clamps to its edge pixels as it does outside this range.
            mixed = old->copy();
            blendRect(mixed, f.pic, 5 * P - 200, centre);
        }
        source = &mixed;
    }
    stretchBlt(f.display, -2 * xs, -2 * ys, W + 4 * xs, H + 4 * ys, *source, sx, sy, sw, sh);
}

template <int Style> void pivot(EffectFrame &f) {
    if (!valid(f))
        return;
    const double theta = (100 - f.progress) * 0.9;
    switch (Style) {
    case 120:
        rotateImage(f.display, f.pic, QPoint(-1, f.h), theta);
        break;
    case 121:
        rotateImage(f.display, f.pic, QPoint(-1, -1), -theta);
        break;
    case 122:
        rotateImage(f.display, f.pic, QPoint(f.w, f.h), -theta);
        break;
    default:
        rotateImage(f.display, f.pic, QPoint(f.w, -1), theta);
        break;
    }
}

} // namespace

EffectProc pixelEffect(int style) {
    switch (style) {
    case 119:
        return &fade;
    case 120:
        return &pivot<120>;
    case 121:
        return &pivot<121>;
    case 122:
        return &pivot<122>;
    case 123:
        return &pivot<123>;
    case 168:
        return &pixelate;
    case 169:
        return &dissolve;
    case 170:
        return &randomBarsHorizontal;
    case 171:
        return &randomBarsVertical;
    case 172:
        return &channelMix;
    default:
        return nullptr;
    }
}

} // namespace kalmo::transitions
