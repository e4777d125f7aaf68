#pragma once

#include "video/frame_sink.h"
#include "video/media_player.h"
#include "video/player_state.h"

struct libvlc_media_player_t;
struct libvlc_media_list_player_t;
struct libvlc_event_t;

namespace kalmo::video {

class VlcLibrary;

// A MediaPlayer on libvlc. libvlc decodes into a FrameSink through its video callbacks and
// the widget paints the newest frame, so the picture is an ordinary widget: anything may lie
// over it, taps on it reach the screen, and it works on every Qt platform. The libvlc
// objects are made on the first target; a hidden player pauses its decoding.
class VlcPlayer : public MediaPlayer {
    Q_OBJECT
public:
    VlcPlayer(VlcLibrary &library, QWidget *parent);
    ~VlcPlayer() override;

    void setAutoPlay(bool on) override { m_state.setAutoPlay(on); }
    void addTarget(const QString &path) override;
    void playlistNext() override;
    void play() override;
    void pause() override;
    void stop() override;
    void setVolume(int level) override;
    qint64 time() const override;
    qint64 length() const override;

    // For tests and the benchmark.
    const PlayerState &state() const { return m_state; }
    FrameSink &frames() { return *m_frames; }
    QImage currentFrame() const { return m_frame; }
    bool failed() const { return m_failed; } // libvlc could not start
    // What libvlc is doing at the moment.
    bool enginePlaying() const;
    bool enginePaused() const;
    bool engineEnded() const;
    bool engineFailed() const;
    int lostPictures() const; // dropped by libvlc as late or undecodable, current video

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    static void onEvent(const libvlc_event_t *event, void *self);
    bool ensurePlayer();
    void apply(PlayerState::Action action);
    void startCurrent();
    void startList(); // plays the list from its current item
    void reconcile();
    void applyVolume();
    void updatePictureShape();
    void onEngineEvent(int type);

    VlcLibrary &m_library;
    PlayerState m_state;
    std::shared_ptr<FrameSink> m_frames; // shared with libvlc until its player is released
    QImage m_frame;
    libvlc_media_player_t *m_player = nullptr;
    libvlc_media_list_player_t *m_list = nullptr;
    int m_volume = -1; // not written yet
    bool m_failed = false;
};

} // namespace kalmo::video
