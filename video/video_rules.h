#pragma once

#include "media/folder_listing.h"

#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <array>

// The video screen's rules that need no widgets: the playlist, names, tile indexes, paging,
// the end-of-video check, the volume text and the layout.
namespace kalmo::video {

inline constexpr int kTiles = 4;
using TileIndexes = std::array<int, kTiles>;

// The extensions a video file may have, compared with regard to case.
const QStringList &videoExtensions();

// The folder's video files, full paths in natural name order. `folder` is a
// media::folderPath(). Touches the file system: for a worker, never the GUI thread.
media::FolderListing buildPlaylist(const QString &folder);

// The name shown for a video: the file name without its folder, cut back from the end until
// it ends with the last "." ("lecture.mp4" -> "lecture."). Empty when the name has no dot.
QString videoName(const QString &path);

// Playlist indexes of the four tiles at a showing: 0, 1, 2, 3, a tile past the end of the
// list repeating the tile before it.
TileIndexes initialTileIndexes(int count);

// Every tile four places on (or back), wrapping around a list of `count` (> 0) videos.
TileIndexes pageIndexes(const TileIndexes &indexes, int count, bool forward);

// The next or previous playlist index, wrapping at both ends. An index left over from a
// longer list wraps as if it stood at the end.
int nextIndex(int index, int count);
int previousIndex(int index, int count);

// True when the playing video is within two seconds of its end (or its length is unknown).
bool nearEnd(qint64 timeMs, qint64 lengthMs);

// Volume levels run 0..20 and are shown as percent.
inline constexpr int kMaxVolume = 20;
QString volumeText(int level);

// Geometry of the window's parts, all in window coordinates unless said otherwise.
struct TileGeometry {
    QRect player;
    QRect playButton; // the pause button shares it
    QRect fullScreenButton;
    QRect name;
};

struct StripGeometry { // inside Panel1
    QRect prev, play, next, minimize, volumeMinus, volumePlus, volumeValue, volumeBar, name;
};

struct ScreenGeometry {
    QRect closeButton, previousPage, nextPage;
    QRect panel1, panel2, progressBar, label1;
    std::array<TileGeometry, kTiles> tiles;
    QRect fullScreenPlayer;
    StripGeometry strip;
};

// `labelHeight` and `label1Size` are the heights/sizes the fonts give the name labels and
// the loading text.
ScreenGeometry screenGeometry(QSize window, int labelHeight, QSize label1Size);

} // namespace kalmo::video
