#pragma once

#include "video/media_player.h"

#include <QStringList>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

struct libvlc_instance_t;

namespace kalmo::video {

// The program's one libvlc instance, created on first use (the first video a screen loads)
// and released with this object; its messages go to the kalmo.video log category.
class VlcLibrary {
public:
    // Options for libvlc_new on top of the program's own (e.g. "--aout=dummy" in tests).
    explicit VlcLibrary(QStringList extraOptions = {});
    ~VlcLibrary();
    VlcLibrary(const VlcLibrary &) = delete;
    VlcLibrary &operator=(const VlcLibrary &) = delete;

    // The instance, created now if needed; null (and logged) when libvlc cannot start.
    libvlc_instance_t *instance();
    bool started() const { return m_instance != nullptr; }

    std::unique_ptr<MediaPlayer> createPlayer(QWidget *parent);
    MediaPlayerFactory factory() {
        return [this](QWidget *parent) { return createPlayer(parent); };
    }

    // Runs `start` (a libvlc call that starts threads: decoding, the list player) on a
    // short-lived thread of lowered priority, which every thread libvlc starts from it
    // inherits: under load the GUI thread, and so taps and the control strip, comes first.
    static void startLowered(const std::function<void()> &start);

    // Runs `release` (stopping and releasing a player) on the library's own thread, in
    // order; all of it is done before the instance goes.
    void retire(std::function<void()> release);

private:
    QStringList m_options;
    libvlc_instance_t *m_instance = nullptr;
    bool m_failed = false;

    std::mutex m_retireMutex;
    std::condition_variable m_retireReady;
    std::deque<std::function<void()>> m_retiring;
    bool m_retireStop = false;
    std::thread m_retirer;
};

} // namespace kalmo::video
