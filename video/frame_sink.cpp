#include "video/frame_sink.h"

#include <QMutexLocker>
#include <cstdlib>
#include <cstring>

namespace kalmo::video {

namespace {

std::uint32_t pack(QSize s) {
    if (s.width() <= 0 || s.height() <= 0)
        return 0;
    return std::uint32_t(qMin(s.width(), 0xffff)) << 16 | std::uint32_t(qMin(s.height(), 0xffff));
}

QSize unpack(std::uint32_t v) {
    return QSize(int(v >> 16), int(v & 0xffff));
}

int even(int v) {
    return qMax(2, v & ~1);
}

} // namespace

QSize decodeSize(QSize source, QSize limit) {
    if (source.isEmpty())
        return source;
    QSize out = source;
    if (!limit.isEmpty() && (source.width() > limit.width() || source.height() > limit.height()))
        out = source.scaled(limit, Qt::KeepAspectRatio);
    return QSize(even(out.width()), even(out.height()));
}

void FrameSink::AlignedFree::operator()(unsigned char *p) const {
    std::free(p);
}

FrameSink::FrameSink() = default;
FrameSink::~FrameSink() = default;

void FrameSink::setShownSize(QSize size) {
    m_shown.store(pack(size));
}

void FrameSink::setPictureShape(QSize size) {
    m_shape.store(pack(size));
}

void FrameSink::setDecodeLimit(QSize size) {
    m_limit.store(pack(size));
}

QImage FrameSink::takeFrame(bool *fresh) {
    QMutexLocker lock(&m_mutex);
    if (fresh)
        *fresh = m_fresh;
    m_fresh = false;
    return m_latest;
}

void FrameSink::clear() {
    QMutexLocker lock(&m_mutex);
    m_latest = QImage();
    m_fresh = false;
    m_shape.store(0);
}

unsigned FrameSink::format(char *chroma, unsigned *width, unsigned *height, unsigned *pitches,
                           unsigned *lines) {
    // Hardware decoders' surfaces cannot be read here: refusing them at once makes libvlc
    // fall back to software pictures without searching for a converter first.
    static const char *const opaque[] = {"VAO", "VDV", "VDO", "NVD"};
    for (const char *prefix : opaque) {
        if (std::memcmp(chroma, prefix, 3) == 0)
            return 0;
    }
    const QSize size = decodeSize(QSize(int(*width), int(*height)), unpack(m_limit.load()));
    if (size.isEmpty())
        return 0;
    std::memcpy(chroma, "RV32", 4); // 0xffRRGGBB words, QImage::Format_RGB32
    // Lines and pitch in multiples of 32 and a 64-byte aligned buffer keep the converters on
    // their fast paths.
    m_pitch = ((size.width() * 4 + 63) / 64) * 64;
    const int rows = ((size.height() + 31) / 32) * 32;
    m_buffer.reset(static_cast<unsigned char *>(std::aligned_alloc(64, size_t(m_pitch) * rows)));
    if (!m_buffer)
        return 0;
    m_decoded = size;
    *width = unsigned(size.width());
    *height = unsigned(size.height());
    pitches[0] = unsigned(m_pitch);
    lines[0] = unsigned(rows);
    return 1;
}

void FrameSink::release() {
    m_buffer.reset();
    m_prepared = QImage();
}

void *FrameSink::lock(void **planes) {
    planes[0] = m_buffer.get();
    return nullptr;
}

void FrameSink::unlock() {
    // Scaled here, on the decoder's thread, so that the GUI thread only copies the picture.
    const QSize shown = unpack(m_shown.load());
    if (shown.isEmpty() || !m_buffer) {
        m_prepared = QImage();
        return;
    }
    const QImage frame(m_buffer.get(), m_decoded.width(), m_decoded.height(), m_pitch,
                       QImage::Format_RGB32);
    const QSize shape = unpack(m_shape.load());
    const QSize target = (shape.isEmpty() ? m_decoded : shape).scaled(shown, Qt::KeepAspectRatio);
    m_prepared = target == m_decoded
                     ? frame.copy()
                     : frame.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

void FrameSink::display() {
    if (m_prepared.isNull())
        return;
    QMutexLocker lock(&m_mutex);
    const bool replaced = m_fresh;
    m_latest = std::move(m_prepared);
    m_prepared = QImage();
    m_fresh = true;
    ++m_framesShown;
    if (replaced)
        ++m_framesReplaced;
    else if (m_notify)
        m_notify(); // only posts an event
}

void FrameSink::setFrameReady(std::function<void()> notify) {
    QMutexLocker lock(&m_mutex);
    m_notify = std::move(notify);
}

} // namespace kalmo::video
