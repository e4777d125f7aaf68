#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <memory>

namespace kalmo::video {

// One video player as the video screen uses it: a child widget that shows the picture inside
// its bounds, given one file at a time. Showing or hiding the widget shows or hides the
// picture; destroying it stops playback.
class MediaPlayer : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;

    // Off: adding a target does not start it (the default).
    virtual void setAutoPlay(bool on) = 0;
    // Makes `path` the item to play next; `play` or `playlistNext` starts it.
    virtual void addTarget(const QString &path) = 0;
    // Moves to the item just added and starts it.
    virtual void playlistNext() = 0;
    // Starts or resumes playback.
    virtual void play() = 0;
    // Toggles between playing and paused; nothing while stopped.
    virtual void pause() = 0;
    virtual void stop() = 0;
    // Loudness level 0..20 (0 is silent).
    virtual void setVolume(int level) = 0;
    // Playback position and total length in milliseconds; 0 while unknown.
    virtual qint64 time() const = 0;
    virtual qint64 length() const = 0;
};

using MediaPlayerFactory = std::function<std::unique_ptr<MediaPlayer>(QWidget *parent)>;

} // namespace kalmo::video
