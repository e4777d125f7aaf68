#include "video/video_rules.h"

#include <QFileInfo>

namespace kalmo::video {

namespace {

constexpr int kTileButton = 75; // play, pause and full-screen buttons of a tile
constexpr int kStripButton = 80;
constexpr int kVolumeButton = 55;

} // namespace

const QStringList &videoExtensions() {
    static const QStringList extensions = {
        QStringLiteral(".avi"),  QStringLiteral(".mkv"),  QStringLiteral(".mov"),
        QStringLiteral(".mpeg"), QStringLiteral(".mp4"),  QStringLiteral(".mpg"),
        QStringLiteral(".m3u"),  QStringLiteral(".AVI"),  QStringLiteral(".MKV"),
        QStringLiteral(".MOV"),  QStringLiteral(".MPEG"), QStringLiteral(".MP4"),
        QStringLiteral(".MPG"),  QStringLiteral(".M3U")};
    return extensions;
}

media::FolderListing buildPlaylist(const QString &folder) {
    return media::listFolder(folder, videoExtensions());
}

QString videoName(const QString &path) {
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? QString() : name.left(dot + 1);
}

TileIndexes initialTileIndexes(int count) {
    TileIndexes indexes{0, 1, 2, 3};
    for (int n = 1; n < kTiles; ++n) {
        if (count <= indexes[n])
            indexes[n] = indexes[n - 1];
    }
    return indexes;
}

TileIndexes pageIndexes(const TileIndexes &indexes, int count, bool forward) {
    TileIndexes out{};
    for (int n = 0; n < kTiles; ++n) {
        const int moved = indexes[n] + (forward ? kTiles : -kTiles);
        out[n] = ((moved % count) + count) % count;
    }
    return out;
}

int nextIndex(int index, int count) {
    return index + 1 >= count ? 0 : index + 1;
}

int previousIndex(int index, int count) {
    if (index > count)
        index = count;
    return index - 1 < 0 ? count - 1 : index - 1;
}

bool nearEnd(qint64 timeMs, qint64 lengthMs) {
    return timeMs / 1000 >= lengthMs / 1000 - 2;
}

QString volumeText(int level) {
    return QStringLiteral("Громкость ") + QString::number(level * 5) + u'%';
}

ScreenGeometry screenGeometry(QSize window, int labelHeight, QSize label1Size) {
    const int w = window.width();
    const int h = window.height();
    ScreenGeometry g;
    g.closeButton = QRect(w / 2 - 40, 0, 80, 80);
    g.previousPage = QRect(50, 0, 80, 68);
    g.nextPage = QRect(w - 80 - 50, 0, 80, 68);
    g.panel1 = QRect(0, h - 90, w, 90);
    g.panel2 = QRect(0, 0, w, h);
    g.progressBar = QRect(w / 2 - 300, h / 2 - 65, 600, 130);
    g.label1 =
        QRect(QPoint(w / 2 - label1Size.width() / 2, h / 2 - label1Size.height() - 130 / 2 - 10),
              label1Size);

    const QSize playerSize(w / 2 - 60, h / 2 - 120);
    const QRect p1(QPoint(50, 80), playerSize);
    const QRect p3(QPoint(p1.left() + p1.width() + 20, p1.top()), playerSize);
    const std::array<QRect, kTiles> players = {
        p1, QRect(QPoint(p1.left(), p1.top() + p1.height() + 75), playerSize), p3,
        QRect(QPoint(p3.left(), p3.top() + p3.height() + 75), playerSize)};
    for (int n = 0; n < kTiles; ++n) {
        TileGeometry &t = g.tiles[n];
        t.player = players[n];
        t.playButton = QRect(t.player.left(), t.player.top() + t.player.height() + 1, kTileButton,
                             kTileButton);
        t.fullScreenButton = QRect(t.playButton.left() + kTileButton + 1, t.playButton.top(),
                                   kTileButton, kTileButton);
        const int nameLeft = t.fullScreenButton.left() + kTileButton + 5;
        // The name runs to the player's right edge, in the right column too.
        t.name = QRect(nameLeft, t.fullScreenButton.top() + (n == 0 ? 33 : 20),
                       t.player.left() + t.player.width() - nameLeft, labelHeight);
    }
    g.fullScreenPlayer = QRect(0, 0, w, h - 95);

    StripGeometry &s = g.strip;
    s.prev = QRect(5, 5, kStripButton, kStripButton);
    s.play = QRect(kStripButton + 5, 5, kStripButton, kStripButton);
    s.next = QRect(2 * kStripButton + 5, 5, kStripButton, kStripButton);
    s.minimize = QRect(s.next.left() + kStripButton + 5, 5, kStripButton, kStripButton);
    s.volumeMinus = QRect(s.minimize.left() + kStripButton + 20, 25, kVolumeButton, kVolumeButton);
    s.volumePlus =
        QRect(s.volumeMinus.left() + kVolumeButton + 5, 25, kVolumeButton, kVolumeButton);
    s.volumeValue = QRect(s.volumeMinus.left() - 4, 5, 2 * kVolumeButton + 30, 20);
    const int right = s.volumePlus.left() + kVolumeButton + 20;
    s.volumeBar = QRect(right, 5, w - right - 20, 17);
    s.name = QRect(right, s.minimize.top() + 20, w - right - 10, labelHeight);
    return g;
}

} // namespace kalmo::video
