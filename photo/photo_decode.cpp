#include "photo/photo_decode.h"

#include "core/log.h"

#include <QImageReader>
#include <functional>

namespace kalmo::photo {

namespace {

// Opens the reader, refuses oversized files and decodes at the size `target` picks from the
// photo's upright size.
DecodedPhoto decode(const QString &path, const std::function<QSize(QSize)> &target) {
    QImageReader reader(path);
    reader.setAutoTransform(true);
    reader.setAllocationLimit(kAllocationLimitMb);
    const QSize declared = reader.size();
    if (declared.isValid() &&
        qint64(declared.width()) * declared.height() * 4 > qint64(kAllocationLimitMb) << 20) {
        qCWarning(kalmo::lcPhoto) << "Photo refused, it declares" << declared.width() << "x"
                                  << declared.height() << "pixels:" << path;
        return {{}, DecodedPhoto::TooLarge};
    }
    if (declared.isValid()) {
        // A camera's rotation is applied after decoding: ask for the size before it.
        const bool turned = reader.transformation() & QImageIOHandler::TransformationRotate90;
        const QSize upright = turned ? declared.transposed() : declared;
        const QSize size = target(upright);
        if (size.isValid() && size != upright)
            reader.setScaledSize(turned ? size.transposed() : size);
    }
    QImage image = reader.read();
    if (image.isNull()) {
        qCWarning(kalmo::lcPhoto) << "Photo cannot be decoded:" << path << reader.errorString();
        return {};
    }
    if (image.format() != QImage::Format_RGB32)
        image = image.convertToFormat(QImage::Format_RGB32);
    return {image, DecodedPhoto::Ok};
}

} // namespace

DecodedPhoto decodeThumbnail(const QString &path, QSize size) {
    return decode(path, [size](QSize) { return size.expandedTo(QSize(1, 1)); });
}

DecodedPhoto decodeToFit(const QString &path, QSize bounds) {
    return decode(path, [bounds](QSize upright) {
        if (bounds.isEmpty() ||
            (upright.width() <= bounds.width() && upright.height() <= bounds.height()))
            return upright;
        return upright.scaled(bounds, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
    });
}

} // namespace kalmo::photo
