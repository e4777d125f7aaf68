#pragma once

#include <QImage>
#include <QMutex>
#include <QSize>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

namespace kalmo::video {

// Size of the pictures the decoder delivers: the video's own size, shrunk (keeping its
// shape, even numbers) when it is larger than `limit`.
QSize decodeSize(QSize source, QSize limit);

// Where the picture of a video lands: the decoder's threads write frames into its buffer
// and scale each one to the size it is shown at; the GUI thread takes the newest one.
// Frames the GUI had no time to take are counted and replaced, never queued.
class FrameSink {
public:
    FrameSink();
    ~FrameSink();
    FrameSink(const FrameSink &) = delete;
    FrameSink &operator=(const FrameSink &) = delete;

    // GUI thread.
    void setShownSize(QSize size); // the widget's size; an empty size skips scaling
    void setDecodeLimit(QSize size);
    // The picture's shape as it is meant to be seen (visible size corrected for non-square
    // pixels). libvlc stretches the picture over the whole buffer, whose height may be
    // rounded up by the decoder; until this is known the buffer's shape is used.
    void setPictureShape(QSize size);
    QImage takeFrame(bool *fresh = nullptr); // the newest frame (also when already taken)
    void clear();                            // forget the picture (a new video begins)
    // Called from a decoder thread when a new frame is ready; must not block.
    // Safe while frames arrive: the player switches it off before it goes away.
    void setFrameReady(std::function<void()> notify);
    std::uint64_t framesShown() const { return m_framesShown; }
    std::uint64_t framesReplaced() const { return m_framesReplaced; }

    // Decoder threads (the video callbacks). `format` sets up the buffer for a video of the
    // given size and answers the size, pitch and line count it chose.
    unsigned format(char *chroma, unsigned *width, unsigned *height, unsigned *pitches,
                    unsigned *lines);
    void release();
    void *lock(void **planes);
    void unlock();
    void display();

private:
    struct AlignedFree {
        void operator()(unsigned char *p) const;
    };

    std::function<void()> m_notify;
    std::atomic<std::uint32_t> m_shown{0}; // width << 16 | height
    std::atomic<std::uint32_t> m_limit{0};
    std::atomic<std::uint32_t> m_shape{0};

    // Decoder side.
    std::unique_ptr<unsigned char, AlignedFree> m_buffer;
    QSize m_decoded;
    int m_pitch = 0;
    QImage m_prepared;

    // Handed over under the mutex.
    QMutex m_mutex;
    QImage m_latest;
    bool m_fresh = false;
    std::atomic<std::uint64_t> m_framesShown{0};
    std::atomic<std::uint64_t> m_framesReplaced{0};
};

} // namespace kalmo::video
