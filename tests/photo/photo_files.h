#pragma once

#include <QBuffer>
#include <QColor>
#include <QFile>
#include <QImage>
#include <QString>
#include <QTest>
#include <array>

// Photo files for the viewer's tests.
namespace kalmo::testing {

// A photo of one colour, saved in the format its extension names (JPEG for unknown ones).
inline void savePhoto(const QString &path, QColor colour, QSize size = QSize(120, 80)) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    const QString ext = path.section(QLatin1Char('.'), -1).toLower();
    const char *format = ext == "png" ? "PNG" : ext == "bmp" ? "BMP" : "JPG";
    QVERIFY2(image.save(path, format), qPrintable("cannot write " + path));
}

// Distinct, well separated colours (they survive JPEG compression).
inline QColor photoColour(int i) {
    return QColor::fromHsv((i * 47) % 360, 255, 230 - (i % 3) * 40);
}

inline bool sameColour(QColor a, QColor b, int tolerance = 24) {
    return std::abs(a.red() - b.red()) <= tolerance &&
           std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

inline QColor centreColour(const QImage &image) {
    return image.isNull() ? QColor() : image.pixelColor(image.width() / 2, image.height() / 2);
}

inline void writeBytes(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    QVERIFY2(f.open(QIODevice::WriteOnly), qPrintable("cannot write " + path));
    f.write(bytes);
}

inline quint32 crc32(const QByteArray &bytes) {
    quint32 crc = 0xffffffffu;
    for (char c : bytes) {
        crc ^= quint8(c);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

inline void putBigEndian(QByteArray &bytes, int at, quint32 value, int size) {
    for (int k = 0; k < size; ++k)
        bytes[at + k] = char((value >> (8 * (size - 1 - k))) & 0xff);
}

// A decompression bomb: a small real picture whose header claims 60000 x 60000 pixels.
inline QByteArray bombBytes(const char *format) {
    QImage small(16, 16, QImage::Format_RGB32);
    small.fill(Qt::gray);
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        small.save(&buffer, format);
    }
    if (QByteArray(format) == "PNG") {
        // IHDR: length(4) "IHDR"(4) width(4) height(4) ... crc over type and data.
        const int ihdr = int(bytes.indexOf("IHDR"));
        putBigEndian(bytes, ihdr + 4, 60000, 4);
        putBigEndian(bytes, ihdr + 8, 60000, 4);
        putBigEndian(bytes, ihdr + 17, crc32(bytes.mid(ihdr, 17)), 4);
    } else {
        // Baseline frame header: FF C0, length(2), precision(1), height(2), width(2).
        const int sof = int(bytes.indexOf(QByteArray("\xff\xc0", 2)));
        putBigEndian(bytes, sof + 5, 60000, 2);
        putBigEndian(bytes, sof + 7, 60000, 2);
    }
    return bytes;
}

} // namespace kalmo::testing
