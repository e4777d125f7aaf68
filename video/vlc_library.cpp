#include "video/vlc_library.h"

#include "core/log.h"
#include "video/vlc_player.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>
#include <vector>
#include <vlc/vlc.h>

namespace kalmo::video {

namespace {

// Runs on libvlc's threads; Qt's logging is thread-safe.
void logMessage(void *, int level, const libvlc_log_t *ctx, const char *fmt, va_list args) {
    if (level <= LIBVLC_NOTICE && !lcVideo().isDebugEnabled())
        return;
    char text[1024];
    va_list copy;
    va_copy(copy, args);
    std::vsnprintf(text, sizeof text, fmt, copy);
    va_end(copy);
    // Each video start first tries the hardware decoders' surfaces, which the picture
    // callbacks refuse; libvlc reports every refusal as an error before it decodes in
    // software. Those lines say nothing about the video.
    static const char *const hardwareFallback[] = {"video format setup failure",
                                                   "video output creation failed",
                                                   "failed to create video output"};
    if (level == LIBVLC_ERROR) {
        for (const char *known : hardwareFallback) {
            if (std::strstr(text, known))
                level = LIBVLC_DEBUG;
        }
        if (level == LIBVLC_DEBUG && !lcVideo().isDebugEnabled())
            return;
    }
    const char *module = nullptr;
    libvlc_log_get_context(ctx, &module, nullptr, nullptr);
    const QString line = QStringLiteral("vlc %1: %2")
                             .arg(QLatin1String(module ? module : "core"), QString::fromUtf8(text));
    // libvlc's warnings (late pictures, guessed formats) are routine; its errors concern one
    // video and never the program.
    switch (level) {
    case LIBVLC_ERROR:
        qCWarning(lcVideo).noquote() << line;
        break;
    case LIBVLC_WARNING:
        qCInfo(lcVideo).noquote() << line;
        break;
    default:
        qCDebug(lcVideo).noquote() << line;
        break;
    }
}

} // namespace

VlcLibrary::VlcLibrary(QStringList extraOptions) : m_options(std::move(extraOptions)) {}

VlcLibrary::~VlcLibrary() {
    if (m_retirer.joinable()) {
        {
            std::lock_guard lock(m_retireMutex);
            m_retireStop = true;
        }
        m_retireReady.notify_one();
        m_retirer.join();
    }
    if (m_instance) {
        libvlc_log_unset(m_instance);
        libvlc_release(m_instance);
    }
}

libvlc_instance_t *VlcLibrary::instance() {
    if (m_instance || m_failed)
        return m_instance;
    // Quiet on the console until our own log handler is in place; no title, OSD or
    // snapshot over the picture.
    QStringList options = {QStringLiteral("--quiet"), QStringLiteral("--no-video-title-show"),
                           QStringLiteral("--no-osd"), QStringLiteral("--no-snapshot-preview"),
                           QStringLiteral("--no-xlib")};
    options += m_options;
    std::vector<QByteArray> bytes;
    std::vector<const char *> argv;
    for (const QString &o : options)
        bytes.push_back(o.toUtf8());
    for (const QByteArray &b : bytes)
        argv.push_back(b.constData());
    m_instance = libvlc_new(int(argv.size()), argv.data());
    if (!m_instance) {
        m_failed = true;
        const char *why = libvlc_errmsg();
        qCWarning(lcVideo) << "libvlc could not start:" << (why ? why : "unknown error")
                           << "- videos stay black";
        return nullptr;
    }
    libvlc_log_set(m_instance, logMessage, nullptr);
    qCInfo(lcVideo) << "libvlc" << libvlc_get_version() << "started with" << options;
    return m_instance;
}

void VlcLibrary::startLowered(const std::function<void()> &start) {
    std::thread thread([&start] {
        // Linux keeps a nice value per thread, and a new thread takes its creator's.
        const auto self = static_cast<id_t>(gettid());
        errno = 0;
        const int nice = getpriority(PRIO_PROCESS, self);
        if (errno == 0)
            setpriority(PRIO_PROCESS, self, qMin(nice + 5, 19));
        start();
    });
    thread.join();
}

void VlcLibrary::retire(std::function<void()> release) {
    {
        std::lock_guard lock(m_retireMutex);
        m_retiring.push_back(std::move(release));
    }
    if (!m_retirer.joinable()) {
        m_retirer = std::thread([this] {
            std::unique_lock lock(m_retireMutex);
            for (;;) {
                m_retireReady.wait(lock, [this] { return m_retireStop || !m_retiring.empty(); });
                if (m_retiring.empty())
                    return; // asked to stop, nothing left
                std::function<void()> next = std::move(m_retiring.front());
                m_retiring.pop_front();
                lock.unlock();
                next();
                lock.lock();
            }
        });
    }
    m_retireReady.notify_one();
}

std::unique_ptr<MediaPlayer> VlcLibrary::createPlayer(QWidget *parent) {
    return std::make_unique<VlcPlayer>(*this, parent);
}

} // namespace kalmo::video
