#pragma once

#include "core/program_values.h"
#include "media/background_jobs.h"
#include "video/media_player.h"
#include "video/video_rules.h"

#include <QDialog>
#include <QSize>
#include <QTimer>
#include <array>
#include <memory>

class QLabel;
class QProgressBar;
class QToolButton;

namespace kalmo::core {
class IdleClock;
class Messages;
} // namespace kalmo::core

namespace kalmo::video {

class VlcLibrary;

// What the video screen is handed by the application.
struct VideoServices {
    core::ProgramValues &values;
    core::Messages &messages;
    core::IdleClock &idle;
    QSize screenSize;           // the screen the window fills
    MediaPlayerFactory players; // empty: libvlc, started at the first video shown
};

// The video player: the video folder four at a time as silent previews, one video with
// sound, full screen with a control strip, paging and the automatic advance. Closes itself
// after ten minutes without input. Each showing creates its four players, each close
// destroys them.
class TForm6 : public QDialog {
    Q_OBJECT
public:
    explicit TForm6(VideoServices services, QWidget *parent = nullptr);
    ~TForm6() override;

    // Handlers, public so that tests drive them directly. Tiles are numbered 1..4.
    void formShow();
    void closeFormClick();
    void playClick(int tile);
    void pauseClick(int tile);
    void fullScreenClick(int tile);
    void minimize1Click();
    void fullPlayClick();
    void fullPauseClick();
    void prevClick();
    void nextClick();
    void speedButton1Click(); // previous page
    void speedButton2Click(); // next page
    void volumePlusClick();
    void volumeMinusClick();
    void timer1Timer(); // end of video
    void timer2Timer(); // loading panel
    void timer3Timer(); // idle close
    void timer4Timer(); // hides the volume bar

    MediaPlayer *player(int tile) const { return m_players[tile - 1].get(); }
    int tileIndex(int tile) const { return m_tileIndex[tile - 1]; }
    const QStringList &playlist() const { return m_playlist; }
    int activePlayer() const { return m_active; }
    int volumeLevel() const { return m_volume; }
    bool ready() const { return m_ready; }
    int loadingCounter() const { return m_loadingCounter; }
    QTimer &endTimer() { return m_timer1; }
    QTimer &loadingTimer() { return m_timer2; }
    QTimer &idleTimer() { return m_timer3; }
    QTimer &volumeBarTimer() { return m_timer4; }
    // The folder listings and file checks, away from the GUI thread.
    media::BackgroundJobs &folderJobs() { return m_folderJobs; }

public slots:
    // Every way of closing (the close button, the idle close, the window closed) runs the
    // closing steps.
    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void createControls();
    void createTimers();
    void layoutControls();
    void createPlayers();
    void destroyPlayers();
    void loadTile(int n, int index);
    void reloadTile(int n, int index);
    void setTileName(int n, int index);
    void placePlayer(int n);
    void changeVideo(int step); // the previous/next video in the active tile
    void pageBy(bool forward);
    QString videoFolder() const;
    void showPlaylist(const QStringList &playlist); // the rest of the showing
    void showPage(const QStringList &playlist, bool forward);
    void playChanged(int n, int index, const QString &path, int step, bool timerWasOn, bool exists);
    void showVolume();
    QToolButton *makeButton(const char *name, int picture, QSize size, QWidget *parent);

    VideoServices m_s;
    std::unique_ptr<VlcLibrary> m_vlc; // only when no factory was handed in
    MediaPlayerFactory m_factory;
    ScreenGeometry m_geometry;

    std::array<std::unique_ptr<MediaPlayer>, kTiles> m_players;
    std::array<QToolButton *, kTiles> m_play{};
    std::array<QToolButton *, kTiles> m_pause{};
    std::array<QToolButton *, kTiles> m_fullScreen{};
    std::array<QLabel *, kTiles> m_filename{};
    QToolButton *m_speedButton1 = nullptr;
    QToolButton *m_speedButton2 = nullptr;
    QToolButton *m_closeForm = nullptr;

    QWidget *m_panel1 = nullptr; // control strip
    QToolButton *m_prev = nullptr;
    QToolButton *m_fullPlay = nullptr;
    QToolButton *m_fullPause = nullptr;
    QToolButton *m_next = nullptr;
    QToolButton *m_minimize1 = nullptr;
    QToolButton *m_volumeMinus = nullptr;
    QToolButton *m_volumePlus = nullptr;
    QLabel *m_volumeValue = nullptr;
    QProgressBar *m_volumeBar = nullptr;
    QLabel *m_fullFilename = nullptr;

    QLabel *m_panel2 = nullptr; // loading panel
    QLabel *m_label1 = nullptr;
    QProgressBar *m_progressBar1 = nullptr;

    QTimer m_timer1; // end of video, 1 s
    QTimer m_timer2; // loading panel, 20 ms
    QTimer m_timer3; // idle close, 1 s
    QTimer m_timer4; // volume bar, 2 s

    QStringList m_playlist;
    TileIndexes m_tileIndex{0, 1, 2, 3};
    int m_active = 0; // 1..4, 0 until a tile is played
    int m_volume = 2;
    bool m_ready = false;
    int m_loadingCounter = 0;
    bool m_open = false;                       // between a showing and its close
    bool m_changing = false, m_paging = false; // a file or folder check is on its way
    quint64 m_listingGeneration = 0;
    media::BackgroundJobs m_folderJobs{std::chrono::seconds(5)};
};

} // namespace kalmo::video
