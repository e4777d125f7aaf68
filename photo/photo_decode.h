#pragma once

#include <QImage>
#include <QSize>
#include <QString>

namespace kalmo::photo {

// The most a photo may claim in memory at its full size. A file that declares more (a
// decompression bomb: a few bytes saying 60000 x 60000) is refused before decoding; a
// 50-megapixel camera photo still passes.
constexpr int kAllocationLimitMb = 256;

struct DecodedPhoto {
    enum Status { Ok, Unreadable, TooLarge };
    QImage image; // null unless Ok
    Status status = Unreadable;
};

// Decodes a photo straight at `size`, proportions not kept (a thumbnail); the decoder
// scales while decoding, so a large JPEG never exists in full.
DecodedPhoto decodeThumbnail(const QString &path, QSize size);

// Decodes a photo at the largest size that fits `bounds` with its proportions kept, never
// enlarged (the full view).
DecodedPhoto decodeToFit(const QString &path, QSize bounds);

} // namespace kalmo::photo
