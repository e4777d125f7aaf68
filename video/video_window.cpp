#include "video/video_window.h"

#include "core/escape_guard.h"
#include "core/idle_clock.h"
#include "core/log.h"
#include "core/messages.h"
#include "media/folder_listing.h"
#include "video/video_pictures.h"
#include "video/vlc_library.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QShowEvent>
#include <QToolButton>

namespace kalmo::video {

namespace {

constexpr int kIdleCloseSeconds = 600;
constexpr int kLoadingTicks = 100;

QFont timesNewRoman(int pixels) {
    QFont font(QStringLiteral("Times New Roman"));
    font.setPixelSize(pixels);
    return font;
}

QSize windowSize(QSize screen) {
    if (!screen.isEmpty())
        return screen;
    const QScreen *primary = QGuiApplication::primaryScreen();
    return primary ? primary->geometry().size() : QSize(1920, 1080);
}

} // namespace

TForm6::TForm6(VideoServices services, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_s(std::move(services)) {
    setObjectName(QStringLiteral("Form6"));
    setWindowTitle(QStringLiteral("Video"));
    setWindowModality(Qt::ApplicationModal);
    new core::EscapeGuard(this);
    setGeometry(QRect(QPoint(0, 0), windowSize(m_s.screenSize)));

    if (m_s.players) {
        m_factory = m_s.players;
    } else {
        m_vlc = std::make_unique<VlcLibrary>();
        m_factory = m_vlc->factory();
    }
    createControls();
    createTimers();
    layoutControls();
}

// The players go before the library that made them.
TForm6::~TForm6() {
    destroyPlayers();
}

QToolButton *TForm6::makeButton(const char *name, int picture, QSize size, QWidget *parent) {
    auto *button = new QToolButton(parent);
    const QString objectName = QString::fromLatin1(name);
    button->setObjectName(objectName);
    button->setAccessibleName(objectName);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setIcon(buttonPicture(ButtonPicture(picture), size));
    button->setIconSize(size);
    button->resize(size);
    return button;
}

void TForm6::createControls() {
    using P = ButtonPicture;
    const QSize tileButton(75, 75);
    for (int n = 0; n < kTiles; ++n) {
        const QByteArray suffix = QByteArray::number(n + 1);
        m_play[n] = makeButton(("Play" + suffix).constData(), int(P::Play), tileButton, this);
        m_pause[n] = makeButton(("Pause" + suffix).constData(), int(P::Pause), tileButton, this);
        // The first tile's button is spelled differently from the others.
        m_fullScreen[n] = makeButton(((n == 0 ? "FullScreen" : "Fullscreen") + suffix).constData(),
                                     int(P::FullScreen), tileButton, this);
        m_filename[n] = new QLabel(this);
        m_filename[n]->setObjectName(QStringLiteral("Filename%1").arg(n + 1));
        m_filename[n]->setFont(timesNewRoman(27));
        const int tile = n + 1;
        connect(m_play[n], &QToolButton::clicked, this, [this, tile] { playClick(tile); });
        connect(m_pause[n], &QToolButton::clicked, this, [this, tile] { pauseClick(tile); });
        connect(m_fullScreen[n], &QToolButton::clicked, this,
                [this, tile] { fullScreenClick(tile); });
    }
    m_speedButton1 = makeButton("SpeedButton1", int(P::PreviousPage), QSize(80, 68), this);
    m_speedButton2 = makeButton("SpeedButton2", int(P::NextPage), QSize(80, 68), this);
    m_closeForm = makeButton("CloseForm", int(P::Close), QSize(80, 80), this);
    connect(m_speedButton1, &QToolButton::clicked, this, &TForm6::speedButton1Click);
    connect(m_speedButton2, &QToolButton::clicked, this, &TForm6::speedButton2Click);
    connect(m_closeForm, &QToolButton::clicked, this, &TForm6::closeFormClick);

    m_panel1 = new QWidget(this);
    m_panel1->setObjectName(QStringLiteral("Panel1"));
    m_panel1->setAutoFillBackground(true);
    const QSize strip(80, 80);
    m_prev = makeButton("Prev", int(P::PreviousVideo), strip, m_panel1);
    m_fullPlay = makeButton("FullPlay", int(P::Play), strip, m_panel1);
    m_fullPause = makeButton("FullPause", int(P::Pause), strip, m_panel1);
    m_next = makeButton("Next", int(P::NextVideo), strip, m_panel1);
    m_minimize1 = makeButton("Minimize1", int(P::Minimize), strip, m_panel1);
    m_volumeMinus = makeButton("VolumeMinus", int(P::VolumeMinus), QSize(55, 55), m_panel1);
    m_volumePlus = makeButton("VolumePlus", int(P::VolumePlus), QSize(55, 55), m_panel1);
    m_volumeValue = new QLabel(QStringLiteral("Громкость"), m_panel1);
    m_volumeValue->setObjectName(QStringLiteral("VolumeValue"));
    m_volumeValue->setFont(timesNewRoman(19));
    m_volumeBar = new QProgressBar(m_panel1);
    m_volumeBar->setObjectName(QStringLiteral("VolumeBar"));
    m_volumeBar->setAccessibleName(QStringLiteral("Громкость"));
    m_volumeBar->setRange(0, kMaxVolume);
    m_volumeBar->setTextVisible(false);
    m_fullFilename = new QLabel(m_panel1);
    m_fullFilename->setObjectName(QStringLiteral("FullFilename"));
    m_fullFilename->setFont(timesNewRoman(27));
    connect(m_prev, &QToolButton::clicked, this, &TForm6::prevClick);
    connect(m_fullPlay, &QToolButton::clicked, this, &TForm6::fullPlayClick);
    connect(m_fullPause, &QToolButton::clicked, this, &TForm6::fullPauseClick);
    connect(m_next, &QToolButton::clicked, this, &TForm6::nextClick);
    connect(m_minimize1, &QToolButton::clicked, this, &TForm6::minimize1Click);
    connect(m_volumeMinus, &QToolButton::clicked, this, &TForm6::volumeMinusClick);
    connect(m_volumePlus, &QToolButton::clicked, this, &TForm6::volumePlusClick);
    m_panel1->hide();

    m_panel2 = new QLabel(QStringLiteral("ЗАГРУЗКА"), this);
    m_panel2->setObjectName(QStringLiteral("Panel2"));
    m_panel2->setAccessibleName(QStringLiteral("ЗАГРУЗКА"));
    m_panel2->setAlignment(Qt::AlignCenter);
    m_panel2->setAutoFillBackground(true);
    m_panel2->setBackgroundRole(QPalette::Dark);
    m_label1 = new QLabel(QStringLiteral("Загрузка видео"), m_panel2);
    m_label1->setObjectName(QStringLiteral("Label1"));
    m_label1->setFont(timesNewRoman(27));
    m_label1->adjustSize();
    m_progressBar1 = new QProgressBar(m_panel2);
    m_progressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    m_progressBar1->setAccessibleName(QStringLiteral("Загрузка видео"));
    m_progressBar1->setRange(0, kLoadingTicks);
    m_progressBar1->setTextVisible(false);
    m_panel2->hide();
}

void TForm6::createTimers() {
    const struct {
        QTimer &timer;
        const char *name;
        int interval;
        void (TForm6::*handler)();
    } timers[] = {{m_timer1, "Timer1", 1000, &TForm6::timer1Timer},
                  {m_timer2, "Timer2", 20, &TForm6::timer2Timer},
                  {m_timer3, "Timer3", 1000, &TForm6::timer3Timer},
                  {m_timer4, "Timer4", 2000, &TForm6::timer4Timer}};
    for (const auto &t : timers) {
        t.timer.setObjectName(QString::fromLatin1(t.name));
        t.timer.setInterval(t.interval);
        connect(&t.timer, &QTimer::timeout, this, t.handler);
    }
    m_timer4.start();
}

void TForm6::layoutControls() {
    m_geometry = screenGeometry(size(), m_filename[0]->sizeHint().height(), m_label1->size());
    const ScreenGeometry &g = m_geometry;
    m_closeForm->setGeometry(g.closeButton);
    m_speedButton1->setGeometry(g.previousPage);
    m_speedButton2->setGeometry(g.nextPage);
    m_panel1->setGeometry(g.panel1);
    m_panel2->setGeometry(g.panel2);
    m_progressBar1->setGeometry(g.progressBar);
    m_label1->setGeometry(g.label1);
    for (int n = 0; n < kTiles; ++n) {
        m_play[n]->setGeometry(g.tiles[n].playButton);
        m_pause[n]->setGeometry(g.tiles[n].playButton);
        m_fullScreen[n]->setGeometry(g.tiles[n].fullScreenButton);
        m_filename[n]->setGeometry(g.tiles[n].name);
    }
    const StripGeometry &s = g.strip;
    m_prev->setGeometry(s.prev);
    m_fullPlay->setGeometry(s.play);
    m_fullPause->setGeometry(s.play);
    m_next->setGeometry(s.next);
    m_minimize1->setGeometry(s.minimize);
    m_volumeMinus->setGeometry(s.volumeMinus);
    m_volumePlus->setGeometry(s.volumePlus);
    m_volumeValue->setGeometry(s.volumeValue);
    m_volumeBar->setGeometry(s.volumeBar);
    m_fullFilename->setGeometry(s.name);
}

void TForm6::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        formShow();
}

void TForm6::formShow() {
    destroyPlayers(); // a showing that was never closed
    m_open = true;
    m_timer3.start();
    m_ready = false;
    m_loadingCounter = 0;
    m_volume = 2;
    m_volumeBar->setValue(m_volume);
    m_active = 0;
    m_progressBar1->setValue(0);
    m_panel2->show();
    m_panel2->raise();
    m_timer2.start();
    m_panel1->hide();
    for (QToolButton *b : m_play) // nothing to play before the players exist
        b->hide();

    // The loading panel shows until the listing answers; a folder that gives no answer in
    // time leaves the screen without videos, still usable.
    const quint64 generation = ++m_listingGeneration;
    const QString folder = videoFolder();
    m_folderJobs.run([folder] { return buildPlaylist(folder); },
                     [this, generation, folder](std::optional<media::FolderListing> listing) {
                         if (generation != m_listingGeneration || !m_open)
                             return;
                         if (!listing)
                             qCWarning(lcVideo) << "video folder gave no answer in time:" << folder;
                         showPlaylist(listing ? listing->paths : QStringList());
                     });
}

QString TForm6::videoFolder() const {
    return media::folderPath(m_s.values.videoFolder, m_s.values.baseFolder);
}

void TForm6::showPlaylist(const QStringList &playlist) {
    m_playlist = playlist;
    const int count = int(m_playlist.size());
    // Shown again when the folder has grown since the last showing.
    m_speedButton1->setVisible(count > 5);
    m_speedButton2->setVisible(count > 5);
    m_tileIndex = initialTileIndexes(count);

    layoutControls();
    createPlayers();
    m_players[0]->setAutoPlay(false);
    for (int n = 0; n < kTiles; ++n) {
        // An empty folder leaves nothing to play.
        m_play[n]->setVisible(count > 0);
        m_pause[n]->hide();
        m_fullScreen[n]->hide();
        m_filename[n]->clear();
        m_filename[n]->show();
    }
    m_fullPlay->show();
    m_fullPause->hide();
    if (count > 0) {
        for (int n = 0; n < kTiles; ++n)
            loadTile(n, m_tileIndex[n]);
    } else {
        qCInfo(lcVideo) << "no videos in" << videoFolder();
    }
    m_ready = true;
}

void TForm6::createPlayers() {
    for (int n = 0; n < kTiles; ++n) {
        m_players[n] = m_factory(this);
        m_players[n]->setObjectName(QStringLiteral("VLCPlugin%1").arg(n + 1));
        m_players[n]->setVisible(false);
        placePlayer(n);
    }
}

void TForm6::destroyPlayers() {
    for (auto &p : m_players)
        p.reset();
    m_active = 0;
}

void TForm6::placePlayer(int n) {
    if (m_players[n])
        m_players[n]->setGeometry(m_geometry.tiles[n].player);
}

void TForm6::setTileName(int n, int index) {
    const QString name = videoName(m_playlist.value(index));
    m_filename[n]->clear();
    m_filename[n]->setText(name);
    m_filename[n]->setAccessibleName(name);
}

void TForm6::loadTile(int n, int index) {
    MediaPlayer &p = *m_players[n];
    p.addTarget(m_playlist[index]);
    p.setVolume(0);
    p.play();
    p.pause();
    p.pause();
    setTileName(n, index);
}

void TForm6::reloadTile(int n, int index) {
    MediaPlayer &p = *m_players[n];
    p.stop();
    // A tile left paused from full screen may still hold a volume; previews are silent.
    p.setVolume(0);
    p.addTarget(m_playlist[index]);
    p.playlistNext();
    p.pause();
    p.pause();
    setTileName(n, index);
}

void TForm6::timer2Timer() {
    m_panel2->show();
    m_panel2->raise();
    ++m_loadingCounter;
    m_progressBar1->setValue(qMin(m_loadingCounter, kLoadingTicks));
    if (m_ready && m_loadingCounter >= kLoadingTicks) {
        m_timer2.stop();
        m_panel2->hide();
        for (auto &p : m_players) {
            if (p)
                p->setVisible(true);
        }
        m_loadingCounter = 0;
    }
}

void TForm6::playClick(int tile) {
    const int n = tile - 1;
    if (!m_players[n] || m_playlist.isEmpty())
        return;
    m_timer1.start();
    m_players[n]->setVolume(m_volume);
    m_players[n]->play();
    m_active = tile;
    m_pause[n]->show();
    m_fullScreen[n]->show();
    for (QToolButton *b : m_play)
        b->hide();
    m_fullPlay->hide();
    m_fullPause->show();
}

void TForm6::pauseClick(int tile) {
    const int n = tile - 1;
    if (!m_players[n])
        return;
    m_timer1.stop();
    m_players[n]->pause();
    m_players[n]->setVolume(0);
    m_pause[n]->hide();
    m_fullScreen[n]->hide();
    for (QToolButton *b : m_play)
        b->show();
    m_fullPlay->show();
    m_fullPause->hide();
}

void TForm6::fullScreenClick(int tile) {
    const int n = tile - 1;
    if (!m_players[n])
        return;
    m_players[n]->setGeometry(m_geometry.fullScreenPlayer);
    m_players[n]->raise();
    for (QLabel *l : m_filename)
        l->hide();
    m_panel1->show();
    m_panel1->raise();
    for (int other = 0; other < kTiles; ++other) {
        if (other != n && m_players[other])
            m_players[other]->setVisible(false);
    }
    m_fullPlay->hide();
    m_fullPause->show();
    m_fullScreen[n]->hide();
    m_fullFilename->setText(m_filename[n]->text());
    m_fullFilename->setAccessibleName(m_filename[n]->text());
    m_volumeValue->setText(volumeText(m_volume));
}

void TForm6::minimize1Click() {
    if (m_active == 0)
        return;
    const int n = m_active - 1;
    placePlayer(n);
    for (int other = 0; other < kTiles; ++other) {
        if (other != n && m_players[other])
            m_players[other]->setVisible(true);
    }
    for (QLabel *l : m_filename)
        l->show();
    m_panel1->hide();
    if (!m_fullPause->isHidden()) {
        m_pause[n]->show();
        m_fullScreen[n]->show();
    } else {
        m_fullScreen[n]->hide();
        for (QToolButton *b : m_play)
            b->show();
    }
}

void TForm6::fullPlayClick() {
    if (m_active == 0 || !m_players[m_active - 1])
        return;
    const int n = m_active - 1;
    m_players[n]->play();
    m_fullPause->show();
    m_fullPlay->hide();
    m_play[n]->hide();
    m_pause[n]->show();
    m_fullScreen[n]->show();
}

void TForm6::fullPauseClick() {
    if (m_active == 0 || !m_players[m_active - 1])
        return;
    const int n = m_active - 1;
    m_players[n]->pause();
    m_fullPlay->show();
    m_fullPause->hide();
    m_fullScreen[n]->hide();
    m_pause[n]->hide();
}

void TForm6::nextClick() {
    changeVideo(+1);
}

void TForm6::prevClick() {
    changeVideo(-1);
}

void TForm6::changeVideo(int step) {
    // One change at a time: the end-of-video check may tick again while the file is checked.
    if (m_active == 0 || !m_players[m_active - 1] || m_playlist.isEmpty() || m_changing)
        return;
    const int n = m_active - 1;
    const int count = int(m_playlist.size());
    const bool timerWasOn = m_timer1.isActive();
    // The previous video waits for the end-of-video check; the next one does so in the
    // first tile.
    if (step < 0 || n == 0)
        m_timer1.stop();
    const int index =
        step > 0 ? nextIndex(m_tileIndex[n], count) : previousIndex(m_tileIndex[n], count);
    m_tileIndex[n] = index;
    const QString path = m_playlist[index];
    m_changing = true;
    const quint64 generation = m_listingGeneration;
    m_folderJobs.run(
        [path] { return QFileInfo::exists(path); },
        [this, generation, n, index, path, step, timerWasOn](std::optional<bool> exists) {
            if (generation != m_listingGeneration || !m_open || !m_players[n])
                return;
            m_changing = false;
            playChanged(n, index, path, step, timerWasOn, exists && *exists);
        });
}

void TForm6::playChanged(int n, int index, const QString &path, int step, bool timerWasOn,
                         bool exists) {
    if (!exists) {
        m_s.messages.show(QStringLiteral("Отсутствует файл для воспроизведения") + videoName(path));
        // The current video plays on, and so does its end-of-video check.
        if (timerWasOn)
            m_timer1.start();
        return;
    }
    MediaPlayer &p = *m_players[n];
    p.stop();
    p.addTarget(path);
    const QString name = videoName(path);
    m_fullFilename->setText(name);
    m_fullFilename->setAccessibleName(name);
    setTileName(n, index);
    p.playlistNext();
    p.play();
    m_fullPlay->hide();
    m_fullPause->show();
    // Restarting the check gives the new video a whole second to report its length.
    if (step < 0 || n == 0 || timerWasOn)
        m_timer1.start();
}

void TForm6::timer1Timer() {
    if (m_active == 0 || !m_players[m_active - 1])
        return;
    const MediaPlayer &p = *m_players[m_active - 1];
    if (nearEnd(p.time(), p.length()))
        nextClick();
}

void TForm6::speedButton1Click() {
    pageBy(false);
}

void TForm6::speedButton2Click() {
    pageBy(true);
}

void TForm6::pageBy(bool forward) {
    if (m_paging)
        return;
    m_paging = true;
    const quint64 generation = m_listingGeneration;
    const QString folder = videoFolder();
    m_folderJobs.run([folder] { return buildPlaylist(folder); },
                     [this, generation, forward](std::optional<media::FolderListing> listing) {
                         if (generation != m_listingGeneration || !m_open)
                             return;
                         m_paging = false;
                         // The tiles keep what they show.
                         if (!listing || !listing->available) {
                             m_s.messages.show(
                                 QStringLiteral("Отсутствует доступ к каталогу с видео"));
                             return;
                         }
                         showPage(listing->paths, forward);
                     });
}

void TForm6::showPage(const QStringList &playlist, bool forward) {
    m_timer2.start();
    m_ready = false;
    for (auto &p : m_players) {
        if (p)
            p->setVisible(false);
    }
    m_playlist = playlist;
    const int count = int(m_playlist.size());
    if (count <= kTiles) {
        m_speedButton1->hide();
        m_speedButton2->hide();
    } else {
        for (int n = 0; n < kTiles; ++n) {
            if (!m_pause[n]->isHidden())
                pauseClick(n + 1);
        }
        m_tileIndex = pageIndexes(m_tileIndex, count, forward);
        for (int n = 0; n < kTiles; ++n) {
            if (m_players[n])
                reloadTile(n, m_tileIndex[n]);
        }
    }
    m_ready = true;
}

void TForm6::volumePlusClick() {
    if (m_volume >= kMaxVolume || m_active == 0)
        return;
    ++m_volume;
    showVolume();
}

void TForm6::volumeMinusClick() {
    if (m_volume <= 0 || m_active == 0)
        return;
    --m_volume;
    showVolume();
}

void TForm6::showVolume() {
    m_volumeBar->show();
    m_volumeValue->setText(volumeText(m_volume));
    if (MediaPlayer *p = m_players[m_active - 1].get())
        p->setVolume(m_volume);
    m_volumeBar->setValue(m_volume);
    m_timer4.start();
}

void TForm6::timer4Timer() {
    m_volumeBar->hide();
    m_timer4.stop();
}

void TForm6::timer3Timer() {
    if (m_s.idle.idleSeconds() >= kIdleCloseSeconds)
        closeFormClick();
}

void TForm6::closeFormClick() {
    done(QDialog::Rejected);
}

void TForm6::done(int result) {
    if (m_open) {
        m_open = false;
        ++m_listingGeneration; // answers on their way are for a showing that ended
        m_changing = m_paging = false;
        m_timer1.stop();
        m_timer2.stop();
        m_timer3.stop();
        destroyPlayers();
    }
    QDialog::done(result);
}

} // namespace kalmo::video
