// kalmo-transitions: lists the transition styles, renders one frame of a style, and measures
// how long each style takes to build a frame.
#include "transitions/style_table.h"

#include <QCoreApplication>
#include <QImage>
#include <QStringList>
#include <QTextStream>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <optional>
#include <vector>

using namespace kalmo;
using namespace kalmo::transitions;

namespace {

QTextStream &out() {
    static QTextStream s(stdout);
    return s;
}

int usage() {
    std::fputs("usage:\n"
               "  kalmo-transitions list\n"
               "  kalmo-transitions render --style N --progress P --old A.png --new B.png "
               "--out F.png [--seed S]\n"
               "  kalmo-transitions bench [--size WxH] [--styles LIST] [--frames N]\n",
               stderr);
    return 2;
}

int fail(const QString &message) {
    std::fprintf(stderr, "kalmo-transitions: %s\n", qPrintable(message));
    return 1;
}

// Options as "--name value" pairs; nullopt when an option lacks its value or is unknown.
std::optional<QHash<QString, QString>> parseOptions(const QStringList &args,
                                                    const QStringList &known) {
    QHash<QString, QString> options;
    for (int i = 0; i < args.size(); i += 2) {
        const QString name = args[i];
        if (!name.startsWith(QLatin1String("--")) || !known.contains(name.mid(2)) ||
            i + 1 >= args.size())
            return std::nullopt;
        options.insert(name.mid(2), args[i + 1]);
    }
    return options;
}

bool parseInt(const QString &text, int &value) {
    bool ok = false;
    value = text.toInt(&ok);
    return ok;
}

// "1-57,119" -> the style numbers in the order given; false on a malformed list.
bool parseStyleList(const QString &text, std::vector<int> &styles) {
    for (const QString &part : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QStringList bounds = part.trimmed().split(QLatin1Char('-'));
        int first = 0, last = 0;
        if (bounds.size() == 1 && parseInt(bounds[0], first))
            last = first;
        else if (!(bounds.size() == 2 && parseInt(bounds[0], first) && parseInt(bounds[1], last)))
            return false;
        if (first < 1 || last > kStyleCount || first > last)
            return false;
        for (int s = first; s <= last; ++s)
            styles.push_back(s);
    }
    return !styles.empty();
}

int list() {
    for (int s = 1; s <= kStyleCount; ++s)
        out() << s << '\t' << styleName(s) << '\n';
    return 0;
}

int render(const QStringList &args) {
    const auto options = parseOptions(args, {"style", "progress", "old", "new", "out", "seed"});
    if (!options)
        return usage();
    for (const char *required : {"style", "progress", "old", "new", "out"})
        if (!options->contains(QLatin1String(required)))
            return usage();
    int style = 0, progress = 0;
    if (!parseInt(options->value("style"), style) || style < 1 || style > kStyleCount)
        return fail(QStringLiteral("style must be 1..%1").arg(kStyleCount));
    if (!parseInt(options->value("progress"), progress) || progress < 0 || progress > 100)
        return fail(QStringLiteral("progress must be 0..100"));
    bool seedOk = true;
    const quint64 seed =
        options->contains("seed") ? options->value("seed").toULongLong(&seedOk) : 1;
    if (!seedOk)
        return fail(QStringLiteral("seed must be a whole number"));
    const QImage oldPic = QImage(options->value("old")).convertToFormat(QImage::Format_RGB32);
    const QImage newPic = QImage(options->value("new")).convertToFormat(QImage::Format_RGB32);
    if (oldPic.isNull())
        return fail(QStringLiteral("cannot read ") + options->value("old"));
    if (newPic.isNull())
        return fail(QStringLiteral("cannot read ") + options->value("new"));
    if (oldPic.size() != newPic.size())
        return fail(QStringLiteral("the two pictures must have the same size"));
    QImage display;
    core::Random random;
    drawStyle(display, oldPic, newPic, style, progress, seed, random);
    if (!display.save(options->value("out")))
        return fail(QStringLiteral("cannot write ") + options->value("out"));
    return 0;
}

// Two busy test pictures, so no effect can take a short cut on flat colour.
QImage benchPicture(QSize size, int variant) {
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        auto *line = reinterpret_cast<quint32 *>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x)
            line[x] = 0xFF000000u | quint32((x * (3 + variant)) & 0xFF) << 16 |
                      quint32((y * (5 - variant)) & 0xFF) << 8 |
                      quint32(((x ^ y) + variant * 97) & 0xFF);
    }
    return image;
}

double median(std::vector<double> values) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

int bench(const QStringList &args) {
    const auto options = parseOptions(args, {"size", "styles", "frames"});
    if (!options)
        return usage();
    QSize size(1920, 1080);
    if (options->contains("size")) {
        const QStringList wh = options->value("size").toLower().split(QLatin1Char('x'));
        int w = 0, h = 0;
        if (wh.size() != 2 || !parseInt(wh[0], w) || !parseInt(wh[1], h) || w < 1 || h < 1 ||
            qint64(w) * h > 100'000'000)
            return fail(QStringLiteral("size must be WxH"));
        size = QSize(w, h);
    }
    std::vector<int> styles;
    if (options->contains("styles")) {
        if (!parseStyleList(options->value("styles"), styles))
            return fail(QStringLiteral("styles must be numbers and ranges such as 1-57,119"));
    } else {
        for (int s = 1; s <= kStyleCount; ++s)
            styles.push_back(s);
    }
    int frames = 25;
    if (options->contains("frames") &&
        (!parseInt(options->value("frames"), frames) || frames < 1 || frames > 10000))
        return fail(QStringLiteral("frames must be 1..10000"));

    using Clock = std::chrono::steady_clock;
    const auto ms = [](Clock::duration d) {
        return std::chrono::duration<double, std::milli>(d).count();
    };
    const QImage oldPic = benchPicture(size, 0), newPic = benchPicture(size, 1);

    // Baseline: one plain copy of a frame.
    QImage copy(size, QImage::Format_RGB32);
    std::vector<double> copyTimes;
    const size_t bytes = size_t(oldPic.sizeInBytes());
    for (int i = 0; i < std::max(frames, 25); ++i) {
        const auto t0 = Clock::now();
        std::memcpy(copy.bits(), i % 2 ? oldPic.constBits() : newPic.constBits(), bytes);
        copyTimes.push_back(ms(Clock::now() - t0));
    }
    const double baseline = median(copyTimes);
    out() << "0\tframe copy\t" << QString::number(baseline, 'f', 3) << "\t1.00\n";
    out().flush();

    // Each style: a whole transition's frames, progress spread over 1..99 as the player
    // steps it, into one reused frame buffer like the player's.
    core::Random random;
    for (int style : styles) {
        QImage display;
        std::vector<double> times;
        drawStyle(display, oldPic, newPic, style, 50, 7, random); // warm up, allocate
        for (int i = 0; i < frames; ++i) {
            const int progress = frames == 1 ? 50 : 1 + (98 * i) / (frames - 1);
            const auto t0 = Clock::now();
            drawStyle(display, oldPic, newPic, style, progress, 7, random);
            times.push_back(ms(Clock::now() - t0));
        }
        const double m = median(times);
        out() << style << '\t' << styleName(style) << '\t' << QString::number(m, 'f', 3) << '\t'
              << QString::number(baseline > 0 ? m / baseline : 0, 'f', 2) << '\n';
        out().flush();
    }
    return 0;
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty())
        return usage();
    const QString command = args.takeFirst();
    if (command == QLatin1String("list") && args.isEmpty())
        return list();
    if (command == QLatin1String("render"))
        return render(args);
    if (command == QLatin1String("bench"))
        return bench(args);
    return usage();
}
