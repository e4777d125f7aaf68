#pragma once

#include <QString>

namespace kalmo::video {

// What a player has been told to do, kept apart from what the engine is doing at the moment:
// the engine starts asynchronously, so a pause that arrives while it is still opening is
// remembered and applied once it plays.
class PlayerState {
public:
    enum class Mode { Stopped, Playing, Paused };

    // What the engine has to do after an operation.
    enum class Action {
        None,
        Start,  // load `current()` and start it from the beginning
        Resume, // play from where it is (also restarts an ended item)
        Pause,
        Stop,
    };

    void setAutoPlay(bool on) { m_autoPlay = on; }
    Action addTarget(const QString &path);
    Action playlistNext();
    Action play();
    Action pause();
    Action stop();

    Mode mode() const { return m_mode; }
    QString current() const { return m_current; }
    QString pending() const { return m_pending; }

private:
    Action start();

    bool m_autoPlay = false;
    Mode m_mode = Mode::Stopped;
    QString m_current;
    QString m_pending; // added, not yet moved to
};

} // namespace kalmo::video
