#include "video/player_state.h"

namespace kalmo::video {

PlayerState::Action PlayerState::addTarget(const QString &path) {
    m_pending = path;
    return m_autoPlay ? playlistNext() : Action::None;
}

PlayerState::Action PlayerState::start() {
    m_current = m_pending;
    m_pending.clear();
    m_mode = Mode::Playing;
    return Action::Start;
}

PlayerState::Action PlayerState::playlistNext() {
    if (m_pending.isEmpty())
        return play();
    return start();
}

PlayerState::Action PlayerState::play() {
    if (m_current.isEmpty())
        return m_pending.isEmpty() ? Action::None : start();
    m_mode = Mode::Playing;
    return Action::Resume;
}

PlayerState::Action PlayerState::pause() {
    switch (m_mode) {
    case Mode::Playing:
        m_mode = Mode::Paused;
        return Action::Pause;
    case Mode::Paused:
        m_mode = Mode::Playing;
        return Action::Resume;
    case Mode::Stopped:
        break;
    }
    return Action::None;
}

PlayerState::Action PlayerState::stop() {
    m_mode = Mode::Stopped;
    return Action::Stop;
}

} // namespace kalmo::video
