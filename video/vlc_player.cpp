#include "video/vlc_player.h"

#include "core/log.h"
#include "video/vlc_library.h"

#include <QPaintEvent>
#include <QPainter>
#include <vlc/vlc.h>

namespace kalmo::video {

namespace {

// libvlc's video callbacks, forwarded to the player's FrameSink.
unsigned formatCallback(void **opaque, char *chroma, unsigned *width, unsigned *height,
                        unsigned *pitches, unsigned *lines) {
    return static_cast<FrameSink *>(*opaque)->format(chroma, width, height, pitches, lines);
}
void cleanupCallback(void *opaque) {
    static_cast<FrameSink *>(opaque)->release();
}
void *lockCallback(void *opaque, void **planes) {
    return static_cast<FrameSink *>(opaque)->lock(planes);
}
void unlockCallback(void *opaque, void *, void *const *) {
    static_cast<FrameSink *>(opaque)->unlock();
}
void displayCallback(void *opaque, void *) {
    static_cast<FrameSink *>(opaque)->display();
}

constexpr libvlc_event_type_t kEvents[] = {libvlc_MediaPlayerPlaying, libvlc_MediaPlayerPaused,
                                           libvlc_MediaPlayerStopped, libvlc_MediaPlayerEndReached,
                                           libvlc_MediaPlayerEncounteredError};

} // namespace

VlcPlayer::VlcPlayer(VlcLibrary &library, QWidget *parent)
    : MediaPlayer(parent), m_library(library), m_frames(std::make_shared<FrameSink>()) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Called on a decoder thread; the update itself runs on the GUI thread.
    m_frames->setFrameReady([this] {
        QMetaObject::invokeMethod(
            this, [this] { update(); }, Qt::QueuedConnection);
    });
}

VlcPlayer::~VlcPlayer() {
    m_frames->setFrameReady(nullptr);
    if (!m_player)
        return;
    // Once detached, no event reaches this object; stopping joins libvlc's threads, which
    // takes a while, so the library does it off the GUI thread. The frames stay alive until
    // the player is released.
    libvlc_event_manager_t *events = libvlc_media_player_event_manager(m_player);
    for (libvlc_event_type_t type : kEvents)
        libvlc_event_detach(events, type, &VlcPlayer::onEvent, this);
    m_library.retire([list = m_list, player = m_player, frames = m_frames] {
        libvlc_media_list_player_stop(list);
        libvlc_media_list_player_release(list);
        libvlc_media_player_release(player);
    });
}

bool VlcPlayer::ensurePlayer() {
    if (m_player)
        return true;
    if (m_failed)
        return false;
    libvlc_instance_t *instance = m_library.instance();
    if (instance) {
        m_player = libvlc_media_player_new(instance);
        if (m_player)
            VlcLibrary::startLowered([&] { m_list = libvlc_media_list_player_new(instance); });
    }
    if (!m_list) {
        if (m_player)
            libvlc_media_player_release(m_player);
        m_player = nullptr;
        m_failed = true;
        return false;
    }
    libvlc_video_set_callbacks(m_player, lockCallback, unlockCallback, displayCallback,
                               m_frames.get());
    libvlc_video_set_format_callbacks(m_player, formatCallback, cleanupCallback);
    // Taps and keys belong to the screen and its idle clock.
    libvlc_video_set_mouse_input(m_player, 0);
    libvlc_video_set_key_input(m_player, 0);
    libvlc_media_list_player_set_media_player(m_list, m_player);
    libvlc_event_manager_t *events = libvlc_media_player_event_manager(m_player);
    for (libvlc_event_type_t type : kEvents)
        libvlc_event_attach(events, type, &VlcPlayer::onEvent, this);
    return true;
}

void VlcPlayer::onEvent(const libvlc_event_t *event, void *self) {
    // libvlc's thread: no libvlc call may be made from here.
    auto *player = static_cast<VlcPlayer *>(self);
    const int type = event->type;
    QMetaObject::invokeMethod(
        player, [player, type] { player->onEngineEvent(type); }, Qt::QueuedConnection);
}

void VlcPlayer::onEngineEvent(int type) {
    switch (type) {
    case libvlc_MediaPlayerPlaying:
        applyVolume(); // the audio output may be new
        updatePictureShape();
        break;
    case libvlc_MediaPlayerVout:
        updatePictureShape();
        break;
    case libvlc_MediaPlayerEncounteredError:
        qCWarning(lcVideo) << "cannot play" << m_state.current();
        break;
    default:
        break;
    }
    reconcile();
}

void VlcPlayer::addTarget(const QString &path) {
    apply(m_state.addTarget(path));
}
void VlcPlayer::playlistNext() {
    apply(m_state.playlistNext());
}
void VlcPlayer::play() {
    apply(m_state.play());
}
void VlcPlayer::pause() {
    apply(m_state.pause());
}
void VlcPlayer::stop() {
    apply(m_state.stop());
}

void VlcPlayer::apply(PlayerState::Action action) {
    switch (action) {
    case PlayerState::Action::None:
        return;
    case PlayerState::Action::Start:
        startCurrent();
        return;
    case PlayerState::Action::Resume:
        if (!m_player)
            return;
        switch (libvlc_media_player_get_state(m_player)) {
        case libvlc_Ended:
        case libvlc_Error:
            // An ended input only plays again after a stop.
            libvlc_media_list_player_stop(m_list);
            startList();
            return;
        case libvlc_Stopped:
        case libvlc_NothingSpecial:
            startList();
            return;
        default:
            reconcile();
            return;
        }
    case PlayerState::Action::Pause:
        reconcile();
        return;
    case PlayerState::Action::Stop:
        if (m_list)
            libvlc_media_list_player_stop(m_list);
        return;
    }
}

void VlcPlayer::startCurrent() {
    m_frames->clear();
    m_frame = QImage();
    update();
    if (!ensurePlayer())
        return;
    libvlc_media_list_player_stop(m_list);
    const QString path = m_state.current();
    libvlc_media_t *media = libvlc_media_new_path(m_library.instance(), path.toUtf8().constData());
    if (!media) {
        qCWarning(lcVideo) << "cannot open" << path;
        return;
    }
    // A list player, so that a .m3u file plays the entries it names.
    libvlc_media_list_t *list = libvlc_media_list_new(m_library.instance());
    libvlc_media_list_lock(list);
    libvlc_media_list_add_media(list, media);
    libvlc_media_list_unlock(list);
    libvlc_media_release(media);
    libvlc_media_list_player_set_media_list(m_list, list);
    libvlc_media_list_release(list);

    if (const QWidget *w = window())
        m_frames->setDecodeLimit(w->size());
    applyVolume();
    startList();
}

void VlcPlayer::startList() {
    VlcLibrary::startLowered([this] { libvlc_media_list_player_play(m_list); });
}

void VlcPlayer::reconcile() {
    if (!m_player || m_state.mode() == PlayerState::Mode::Stopped)
        return;
    // A hidden picture needs no decoding: the player rests until it is shown again.
    const bool wantPause = m_state.mode() == PlayerState::Mode::Paused || !isVisible();
    const libvlc_state_t now = libvlc_media_player_get_state(m_player);
    // libvlc stops an input that cannot pause instead of pausing it.
    if (now == libvlc_Playing && wantPause && libvlc_media_player_can_pause(m_player))
        libvlc_media_player_set_pause(m_player, 1);
    else if (now == libvlc_Paused && !wantPause)
        libvlc_media_player_set_pause(m_player, 0);
}

void VlcPlayer::updatePictureShape() {
    unsigned w = 0, h = 0;
    if (libvlc_video_get_size(m_player, 0, &w, &h) != 0 || w == 0 || h == 0)
        return;
    // Non-square pixels (DVD material) widen or narrow the picture.
    unsigned sarNum = 1, sarDen = 1;
    if (libvlc_media_t *media = libvlc_media_player_get_media(m_player)) {
        libvlc_media_track_t **tracks = nullptr;
        const unsigned count = libvlc_media_tracks_get(media, &tracks);
        for (unsigned i = 0; i < count; ++i) {
            const libvlc_media_track_t *t = tracks[i];
            if (t->i_type == libvlc_track_video && t->video && t->video->i_sar_num &&
                t->video->i_sar_den) {
                sarNum = t->video->i_sar_num;
                sarDen = t->video->i_sar_den;
                break;
            }
        }
        libvlc_media_tracks_release(tracks, count);
        libvlc_media_release(media);
    }
    m_frames->setPictureShape(QSize(int(qint64(w) * sarNum / sarDen), int(h)));
}

void VlcPlayer::setVolume(int level) {
    m_volume = qBound(0, level, 20);
    applyVolume();
}

void VlcPlayer::applyVolume() {
    if (!m_player || m_volume < 0)
        return;
    libvlc_audio_set_mute(m_player, m_volume == 0);
    libvlc_audio_set_volume(m_player, m_volume * 5);
}

qint64 VlcPlayer::time() const {
    return m_player ? qMax<qint64>(0, libvlc_media_player_get_time(m_player)) : 0;
}

qint64 VlcPlayer::length() const {
    return m_player ? qMax<qint64>(0, libvlc_media_player_get_length(m_player)) : 0;
}

namespace {
libvlc_state_t engineState(libvlc_media_player_t *player) {
    return player ? libvlc_media_player_get_state(player) : libvlc_NothingSpecial;
}
} // namespace

bool VlcPlayer::enginePlaying() const {
    return engineState(m_player) == libvlc_Playing;
}
bool VlcPlayer::enginePaused() const {
    return engineState(m_player) == libvlc_Paused;
}
bool VlcPlayer::engineEnded() const {
    return engineState(m_player) == libvlc_Ended;
}
bool VlcPlayer::engineFailed() const {
    return engineState(m_player) == libvlc_Error;
}

int VlcPlayer::lostPictures() const {
    if (!m_player)
        return 0;
    libvlc_media_t *media = libvlc_media_player_get_media(m_player);
    if (!media)
        return 0;
    libvlc_media_stats_t stats{};
    const int lost = libvlc_media_get_stats(media, &stats) ? stats.i_lost_pictures : 0;
    libvlc_media_release(media);
    return lost;
}

void VlcPlayer::paintEvent(QPaintEvent *event) {
    const QImage frame = m_frames->takeFrame();
    if (!frame.isNull())
        m_frame = frame;
    QPainter p(this);
    if (m_frame.isNull()) {
        p.fillRect(event->rect(), Qt::black);
        return;
    }
    // The picture keeps its shape, centred on black.
    const QSize size = m_frame.size().scaled(this->size(), Qt::KeepAspectRatio);
    const QRect target(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size);
    const QRegion margins = QRegion(rect()).subtracted(target);
    for (const QRect &r : margins)
        p.fillRect(r, Qt::black);
    if (target.size() == m_frame.size())
        p.drawImage(target.topLeft(), m_frame);
    else
        p.drawImage(target, m_frame);
}

void VlcPlayer::resizeEvent(QResizeEvent *event) {
    MediaPlayer::resizeEvent(event);
    if (isVisible())
        m_frames->setShownSize(size());
}

void VlcPlayer::showEvent(QShowEvent *event) {
    MediaPlayer::showEvent(event);
    m_frames->setShownSize(size());
    reconcile();
}

void VlcPlayer::hideEvent(QHideEvent *event) {
    MediaPlayer::hideEvent(event);
    m_frames->setShownSize(QSize());
    reconcile();
}

} // namespace kalmo::video
