#pragma once

#include "video/media_player.h"
#include "video/player_state.h"

#include <QStringList>
#include <vector>

namespace kalmo::testing {

// A MediaPlayer that plays nothing: it keeps what it was told (the same play/pause/stop
// rules as the real one) and a log of the calls, and reports the time and length a test
// sets.
class FakeMediaPlayer : public video::MediaPlayer {
public:
    using MediaPlayer::MediaPlayer;

    void setAutoPlay(bool on) override {
        calls << QStringLiteral("autoPlay %1").arg(on);
        state.setAutoPlay(on);
    }
    void addTarget(const QString &path) override {
        calls << QStringLiteral("addTarget ") + path;
        state.addTarget(path);
    }
    void playlistNext() override {
        calls << QStringLiteral("playlistNext");
        state.playlistNext();
    }
    void play() override {
        calls << QStringLiteral("play");
        state.play();
    }
    void pause() override {
        calls << QStringLiteral("pause");
        state.pause();
    }
    void stop() override {
        calls << QStringLiteral("stop");
        state.stop();
    }
    void setVolume(int level) override {
        calls << QStringLiteral("volume %1").arg(level);
        volume = level;
    }
    qint64 time() const override { return timeMs; }
    qint64 length() const override { return lengthMs; }

    bool playing() const { return state.mode() == video::PlayerState::Mode::Playing; }
    bool sounding() const { return playing() && volume > 0; }

    QStringList calls;
    video::PlayerState state;
    int volume = -1;
    qint64 timeMs = 0;
    qint64 lengthMs = 0;
};

// Makes fake players and remembers them, the newest four last.
struct FakePlayers {
    video::MediaPlayerFactory factory() {
        return [this](QWidget *parent) {
            auto p = std::make_unique<FakeMediaPlayer>(parent);
            made.push_back(p.get());
            return std::unique_ptr<video::MediaPlayer>(std::move(p));
        };
    }
    std::vector<FakeMediaPlayer *> made;
};

} // namespace kalmo::testing
