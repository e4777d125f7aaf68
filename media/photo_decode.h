#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <functional>

// The one way a photo becomes a picture, for the slideshow and for the viewer alike.
namespace kalmo::media {

// The most a photo may claim in memory at its full size, and the largest file read. A file
// that declares more (a decompression bomb: a few bytes saying 60000 x 60000) is refused
// before decoding; a 50-megapixel camera photo still passes.
constexpr int kAllocationLimitMb = 256;

struct DecodedPhoto {
    enum Status {
        Ok,
        Missing,    // gone (deleted since the listing)
        Unreadable, // cannot be opened or decoded
        TooLarge,   // declares more pixels than the limit allows
        Incomplete, // still being written: truncated, or growing while read
    };
    QImage image; // Format_RGB32, null unless Ok
    Status status = Unreadable;
};

// Given the photo's upright size (the camera's rotation applied), the size to decode it at.
using TargetSize = std::function<QSize(QSize upright)>;

// Reads and decodes a photo upright (EXIF orientation applied), at `target`'s size. Formats
// that scale while decoding (JPEG) never exist in full; the others are converted to RGB32
// before they are scaled, so palette and 1-bit pictures keep their colours.
DecodedPhoto decodePhoto(const QString &path, const TargetSize &target);

// The largest size of `photo` that fits `bounds` with its proportions, rounded as the
// picture control rounds (halves up); `photo` itself when it fits already.
QSize fitWithin(QSize photo, QSize bounds);

// At the largest size that fits `bounds`, never enlarged (the slideshow, the full view).
DecodedPhoto decodeToFit(const QString &path, QSize bounds);
// Straight at `size`, proportions not kept (a thumbnail).
DecodedPhoto decodeThumbnail(const QString &path, QSize size);

} // namespace kalmo::media
