#include "media/photo_decode.h"

#include "core/log.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

namespace kalmo::media {

namespace {

constexpr qint64 kLimitBytes = qint64(kAllocationLimitMb) << 20;

// round(a * b / c) for positive values, halves up.
int mulDivRound(int a, int b, int c) {
    return int((qint64(a) * b * 2 + c) / (qint64(c) * 2));
}

quint32 littleEndian32(const QByteArray &bytes, int at) {
    quint32 v = 0;
    for (int k = 3; k >= 0; --k)
        v = (v << 8) | quint8(bytes[at + k]);
    return v;
}

// Whether the decoder read a whole picture, not the front of a file still being copied in.
// Qt's JPEG reader makes up an end marker when the data runs out and decodes the rest grey;
// it leaves the device just past the end marker it consumed, so a real one stands there.
// (A phone's motion photo carries a video after its end marker: still complete.)
bool wholePicture(const QByteArray &bytes, const QByteArray &format, qint64 endOfDecode) {
    if (format == "jpeg" || format == "jpg")
        return endOfDecode >= 2 && endOfDecode <= bytes.size() &&
               bytes.mid(endOfDecode - 2, 2) == QByteArray("\xff\xd9", 2);
    if (format == "png")
        return bytes.contains(QByteArray("IEND\xae\x42\x60\x82", 8));
    if (format == "bmp" && bytes.size() >= 6) {
        const quint32 declared = littleEndian32(bytes, 2);
        return declared == 0 || declared <= quint32(bytes.size());
    }
    return true;
}

} // namespace

QSize fitWithin(QSize photo, QSize bounds) {
    const int w = photo.width(), h = photo.height();
    const int cw = bounds.width(), ch = bounds.height();
    if (w <= 0 || h <= 0 || cw <= 0 || ch <= 0 || (w <= cw && h <= ch))
        return photo;
    if (double(ch) / h > double(cw) / w)
        return QSize(cw, std::max(1, mulDivRound(h, cw, w)));
    return QSize(std::max(1, mulDivRound(w, ch, h)), ch);
}

DecodedPhoto decodePhoto(const QString &path, const TargetSize &target) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        const bool gone = !file.exists();
        qCWarning(kalmo::lcPhoto) << (gone ? "Photo is gone:" : "Photo cannot be opened:") << path;
        return {{}, gone ? DecodedPhoto::Missing : DecodedPhoto::Unreadable};
    }
    if (file.size() > kLimitBytes) {
        qCWarning(kalmo::lcPhoto) << "Photo refused, the file is" << file.size()
                                  << "bytes:" << path;
        return {{}, DecodedPhoto::TooLarge};
    }
    // Read whole, then decoded from memory: the check for a truncated file needs the bytes,
    // and a file that grows meanwhile is one still being written.
    const QByteArray bytes = file.read(kLimitBytes);
    if (file.error() != QFileDevice::NoError) {
        qCWarning(kalmo::lcPhoto) << "Photo cannot be read:" << path << file.errorString();
        return {{}, DecodedPhoto::Unreadable};
    }
    if (file.size() != bytes.size()) {
        qCInfo(kalmo::lcPhoto) << "Photo skipped, it is still being written:" << path;
        return {{}, DecodedPhoto::Incomplete};
    }
    file.close();

    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    reader.setAllocationLimit(kAllocationLimitMb);
    const QByteArray format = reader.format();
    const QSize declared = reader.size();
    if (declared.isValid() && qint64(declared.width()) * declared.height() * 4 > kLimitBytes) {
        qCWarning(kalmo::lcPhoto) << "Photo refused, it declares" << declared.width() << "x"
                                  << declared.height() << "pixels:" << path;
        return {{}, DecodedPhoto::TooLarge};
    }
    // The camera's rotation is applied after decoding: a scaled size is asked before it.
    const bool turned = reader.transformation() & QImageIOHandler::TransformationRotate90;
    const QSize upright = turned ? declared.transposed() : declared;
    QSize wanted = declared.isValid() ? target(upright) : QSize();
    // Only JPEG scales while decoding (libjpeg); the others' readers scale after decoding,
    // palette and 1-bit pictures badly (a 1-bit one comes out black or as a grey dither).
    const bool scaleWhileDecoding = format == "jpeg" || format == "jpg";
    if (wanted.isValid() && wanted != upright && scaleWhileDecoding)
        reader.setScaledSize(turned ? wanted.transposed() : wanted);
    QImage image = reader.read();
    if (image.isNull()) {
        qCWarning(kalmo::lcPhoto) << "Photo cannot be decoded:" << path << reader.errorString();
        return {};
    }
    if (!wholePicture(bytes, format, buffer.pos())) {
        qCInfo(kalmo::lcPhoto) << "Photo skipped, it is incomplete:" << path;
        return {{}, DecodedPhoto::Incomplete};
    }
    if (image.format() != QImage::Format_RGB32)
        image = image.convertToFormat(QImage::Format_RGB32);
    if (wanted.isValid() && image.size() != wanted)
        image = image.scaled(wanted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return {image, DecodedPhoto::Ok};
}

DecodedPhoto decodeToFit(const QString &path, QSize bounds) {
    return decodePhoto(path, [bounds](QSize upright) { return fitWithin(upright, bounds); });
}

DecodedPhoto decodeThumbnail(const QString &path, QSize size) {
    return decodePhoto(path, [size](QSize) { return size.expandedTo(QSize(1, 1)); });
}

} // namespace kalmo::media
