#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QImage>

// Pictures made in the tests themselves: a camera photo that must be turned upright, and
// palette pictures.
namespace kalmo::testing {

// Left half `left`, right half `right`.
inline QImage halves(QSize size, QColor left, QColor right) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(right);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width() / 2; ++x)
            image.setPixelColor(x, y, left);
    return image;
}

inline QByteArray encoded(const QImage &image, const char *format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// A JPEG of `image` as a camera writes it when held turned: an EXIF APP1 segment whose
// orientation tag says how to turn it upright (6: a quarter turn clockwise).
inline QByteArray cameraJpeg(const QImage &image, quint16 orientation) {
    QByteArray jpeg = encoded(image, "JPG");
    // "Exif\0\0", a little-endian TIFF header, IFD0 with one entry: Orientation (0x0112),
    // SHORT, count 1, the value; no next IFD.
    QByteArray exif("Exif\0\0II*\0\x08\0\0\0\x01\0\x12\x01\x03\0\x01\0\0\0", 24);
    exif += char(orientation & 0xff);
    exif += char(orientation >> 8);
    exif += QByteArray(6, '\0');
    QByteArray app1("\xff\xe1", 2);
    const int length = int(exif.size()) + 2;
    app1 += char(length >> 8);
    app1 += char(length & 0xff);
    app1 += exif;
    return jpeg.left(2) + app1 + jpeg.mid(2); // right after the start-of-image marker
}

// A palette picture of two halves, 8-bit indexed or 1-bit.
inline QImage paletteHalves(QSize size, QColor left, QColor right, QImage::Format format) {
    QImage image(size, format);
    image.setColorTable({left.rgb(), right.rgb()});
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, x < size.width() / 2 ? 0 : 1);
    return image;
}

} // namespace kalmo::testing
