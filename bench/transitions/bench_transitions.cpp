// Frame building at 1920 x 1080 against memory speed. The baseline copies a frame's worth of
// bytes between buffers larger than the last-level cache, so it is not a cache-resident
// copy; each style is timed over frames at spread progress values, on one thread and in
// bands on the player's pool. Prints `name: value unit` lines.
#include "transitions/band_pool.h"
#include "transitions/style_table.h"

#include <QImage>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

using namespace kalmo::transitions;
using Clock = std::chrono::steady_clock;

namespace {

long lastLevelCacheBytes() {
    long bytes = sysconf(_SC_LEVEL3_CACHE_SIZE);
    if (bytes > 0)
        return bytes;
    for (int index = 4; index >= 0; --index) {
        std::ifstream in("/sys/devices/system/cpu/cpu0/cache/index" + std::to_string(index) +
                         "/size");
        std::string text;
        if (in >> text && !text.empty()) {
            long value = std::stol(text);
            if (text.back() == 'K')
                value <<= 10;
            else if (text.back() == 'M')
                value <<= 20;
            return value;
        }
    }
    return 32L << 20;
}

double ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

// The fastest of a few rounds: the machine is shared, and the fastest round is the one
// least disturbed by the others.
template <typename F> double bestOf(int rounds, F &&f) {
    double best = 1e300;
    for (int i = 0; i < rounds; ++i) {
        const auto t0 = Clock::now();
        f();
        best = std::min(best, ms(Clock::now() - t0));
    }
    return best;
}

QImage picture(QSize size, std::uint32_t salt) {
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        auto *line = reinterpret_cast<std::uint32_t *>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x)
            line[x] =
                0xFF000000u |
                ((std::uint32_t(x) * 2654435761u ^ std::uint32_t(y) * 40503u ^ salt) & 0xFFFFFFu);
    }
    return image;
}

} // namespace

// Usage: bench_transitions [WIDTHxHEIGHT=1920x1080]
int main(int argc, char **argv) {
    QSize size(1920, 1080);
    if (int w = 0, h = 0; argc > 1 && std::sscanf(argv[1], "%dx%d", &w, &h) == 2 && w > 0 && h > 0)
        size = QSize(w, h);
    std::printf("size: %d x %d\n", size.width(), size.height());
    const std::size_t frameBytes = std::size_t(size.width()) * size.height() * 4;
    const long cache = lastLevelCacheBytes();
    // Each buffer a little larger than the cache, so that no part of a round stays in it.
    const std::size_t bufferBytes = std::size_t(cache) + (std::size_t(64) << 20);
    std::vector<char> from(bufferBytes, 1), to(bufferBytes, 2);
    const double copyAll = bestOf(5, [&] { std::memcpy(to.data(), from.data(), bufferBytes); });
    const double copy = copyAll * double(frameBytes) / double(bufferBytes);
    std::printf("last-level cache: %.1f MB\n", cache / 1048576.0);
    std::printf("frame copy: %.2f ms\n", copy);

    const QImage oldPic = picture(size, 1), newPic = picture(size, 2);
    BandPool pool(BandPool::defaultHelpers());
    std::printf("pool helpers: %d\n", pool.helpers());
    kalmo::core::Random random;
    QImage display;
    const int progresses[] = {7, 23, 41, 59, 77, 93};
    const struct {
        int style;
        const char *name;
        double target;
    } styles[] = {{119, "fade", 2.0},
                  {7, "style 7", 2.5},
                  {8, "style 8", 2.5},
                  {9, "style 9", 2.5},
                  {13, "style 13", 2.5}};
    for (const auto &s : styles) {
        for (BandPool *p : {static_cast<BandPool *>(nullptr), &pool}) {
            const double total = bestOf(15, [&] {
                for (int progress : progresses)
                    drawStyle(display, oldPic, newPic, s.style, progress, 1, random, false, p);
            });
            const double frame = total / std::size(progresses);
            const char *how = p ? "in bands" : "one thread";
            std::printf("%s %s: %.2f ms\n", s.name, how, frame);
            std::printf("%s %s / frame copy: %.2f x (target %.1f)\n", s.name, how, frame / copy,
                        s.target);
        }
    }
    return 0;
}
