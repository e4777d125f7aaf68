#pragma once

#include <QImage>
#include <QSize>

namespace kalmo::testing {

// Every pixel different, so moved or stretched pixels can be traced to their source.
inline QImage noisy(QSize size, quint32 salt) {
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        auto *line = reinterpret_cast<quint32 *>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x)
            line[x] = 0xFF000000u |
                      ((quint32(x) * 2654435761u ^ quint32(y) * 40503u * 97u ^ salt) & 0xFFFFFFu);
    }
    return image;
}

} // namespace kalmo::testing
