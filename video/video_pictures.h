#pragma once

#include <QPixmap>
#include <QSize>

namespace kalmo::video {

// The pictures of the video screen's buttons: a white sign on a dark round plate, readable
// over any theme and over a video.
enum class ButtonPicture {
    Play,
    Pause,
    FullScreen,
    Minimize, // back to the tiles
    PreviousVideo,
    NextVideo,
    PreviousPage,
    NextPage,
    Close,
    VolumeMinus,
    VolumePlus,
};

QPixmap buttonPicture(ButtonPicture which, QSize size);

} // namespace kalmo::video
