#include "video/frame_sink.h"
#include "video/player_state.h"
#include "video/video_rules.h"
#include "video/vlc_library.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cstring>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>

using namespace kalmo::video;

Q_DECLARE_METATYPE(kalmo::video::TileIndexes)

class TestVideoRules : public QObject {
    Q_OBJECT
private slots:
    void playlistKeepsExactExtensionsInNaturalOrder();
    void videoNameEndsWithTheDot_data();
    void videoNameEndsWithTheDot();
    void shortPlaylistsRepeatTheLastTile_data();
    void shortPlaylistsRepeatTheLastTile();
    void pagingWrapsAroundThePlaylist_data();
    void pagingWrapsAroundThePlaylist();
    void nextAndPreviousWrap_data();
    void nextAndPreviousWrap();
    void nearEndTwoSecondsBeforeTheEnd_data();
    void nearEndTwoSecondsBeforeTheEnd();
    void volumeTextIsPercent();
    void layoutKeepsTilesApartAndNamesInside_data();
    void layoutKeepsTilesApartAndNamesInside();
    void playerStateFollowsTheScreensSequences_data();
    void playerStateFollowsTheScreensSequences();
    void decodeSizeShrinksOnlyLargeVideos_data();
    void decodeSizeShrinksOnlyLargeVideos();
    void frameSinkScalesToTheShownSizeAndKeepsTheNewest();
    void threadsStartedForLibvlcYieldToTheGuiThread();
};

void TestVideoRules::playlistKeepsExactExtensionsInNaturalOrder() {
    QTemporaryDir dir;
    const QString folder = dir.path() + u'/';
    const QStringList files = {"clip10.mp4", "clip2.mp4", "b.Mp4",  "c.MP4", "d.m3u",
                               "e.M3U",      "f.mpeg",    "g.MPEG", "h.txt", "i.mp4.bak",
                               "k",          "l.mkv",     "m.mov",  "n.mpg", "o.AVI",
                               "p.Avi",      "q.MKV",     "r.MOV",  "s.MPG", "t.avi"};
    for (const QString &f : files) {
        QFile file(folder + f);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QVERIFY(QDir(folder).mkdir("u.mp4")); // a folder is no video

    const QStringList expected = {"c.MP4",  "clip2.mp4", "clip10.mp4", "d.m3u", "e.M3U",
                                  "f.mpeg", "g.MPEG",    "l.mkv",      "m.mov", "n.mpg",
                                  "o.AVI",  "q.MKV",     "r.MOV",      "s.MPG", "t.avi"};
    QStringList paths;
    for (const QString &f : expected)
        paths << folder + f;
    QCOMPARE(buildPlaylist(folder).paths, paths);
    QVERIFY(!buildPlaylist(folder + "missing/").available);
}

void TestVideoRules::videoNameEndsWithTheDot_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("name");
    QTest::newRow("plain") << "/v/lecture.mp4"
                           << "lecture.";
    QTest::newRow("two dots") << "/v/part.one.MKV"
                              << "part.one.";
    QTest::newRow("dotted folder") << "/v.x/clip.avi"
                                   << "clip.";
    QTest::newRow("no dot") << "/v.x/clip"
                            << "";
}

void TestVideoRules::videoNameEndsWithTheDot() {
    QFETCH(QString, path);
    QFETCH(QString, name);
    QCOMPARE(videoName(path), name);
}

void TestVideoRules::shortPlaylistsRepeatTheLastTile_data() {
    QTest::addColumn<int>("count");
    QTest::addColumn<TileIndexes>("indexes");
    QTest::newRow("empty") << 0 << TileIndexes{0, 0, 0, 0};
    QTest::newRow("one") << 1 << TileIndexes{0, 0, 0, 0};
    QTest::newRow("three") << 3 << TileIndexes{0, 1, 2, 2};
    QTest::newRow("four") << 4 << TileIndexes{0, 1, 2, 3};
    QTest::newRow("ten") << 10 << TileIndexes{0, 1, 2, 3};
}

void TestVideoRules::shortPlaylistsRepeatTheLastTile() {
    QFETCH(int, count);
    QFETCH(TileIndexes, indexes);
    QCOMPARE(initialTileIndexes(count), indexes);
}

void TestVideoRules::pagingWrapsAroundThePlaylist_data() {
    QTest::addColumn<TileIndexes>("from");
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("forward");
    QTest::addColumn<TileIndexes>("to");
    QTest::newRow("forward past the end")
        << TileIndexes{8, 9, 0, 1} << 10 << true << TileIndexes{2, 3, 4, 5};
    QTest::newRow("back below zero")
        << TileIndexes{0, 1, 2, 3} << 10 << false << TileIndexes{6, 7, 8, 9};
    QTest::newRow("six videos") << TileIndexes{0, 1, 2, 3} << 6 << true << TileIndexes{4, 5, 0, 1};
    QTest::newRow("list shrank") << TileIndexes{8, 9, 10, 11} << 5 << true
                                 << TileIndexes{2, 3, 4, 0};
}

void TestVideoRules::pagingWrapsAroundThePlaylist() {
    QFETCH(TileIndexes, from);
    QFETCH(int, count);
    QFETCH(bool, forward);
    QFETCH(TileIndexes, to);
    QCOMPARE(pageIndexes(from, count, forward), to);
}

void TestVideoRules::nextAndPreviousWrap_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("next");
    QTest::addColumn<int>("previous");
    QTest::newRow("middle") << 2 << 5 << 3 << 1;
    QTest::newRow("first") << 0 << 5 << 1 << 4;
    QTest::newRow("last") << 4 << 5 << 0 << 3;
    QTest::newRow("only one") << 0 << 1 << 0 << 0;
    QTest::newRow("left over from a longer list") << 7 << 5 << 0 << 4;
}

void TestVideoRules::nextAndPreviousWrap() {
    QFETCH(int, index);
    QFETCH(int, count);
    QFETCH(int, next);
    QFETCH(int, previous);
    QCOMPARE(nextIndex(index, count), next);
    QCOMPARE(previousIndex(index, count), previous);
}

void TestVideoRules::nearEndTwoSecondsBeforeTheEnd_data() {
    QTest::addColumn<qint64>("time");
    QTest::addColumn<qint64>("length");
    QTest::addColumn<bool>("near");
    QTest::newRow("length unknown") << qint64(0) << qint64(0) << true;
    QTest::newRow("just started") << qint64(0) << qint64(10000) << false;
    QTest::newRow("7.9 of 10 s") << qint64(7999) << qint64(10000) << false;
    QTest::newRow("8 of 10 s") << qint64(8000) << qint64(10000) << true;
    QTest::newRow("whole seconds: 7.9 of 10.9 s") << qint64(7999) << qint64(10999) << false;
    QTest::newRow("shorter than two seconds") << qint64(0) << qint64(1500) << true;
}

void TestVideoRules::nearEndTwoSecondsBeforeTheEnd() {
    QFETCH(qint64, time);
    QFETCH(qint64, length);
    QFETCH(bool, near);
    QCOMPARE(nearEnd(time, length), near);
}

void TestVideoRules::volumeTextIsPercent() {
    QCOMPARE(volumeText(3), QStringLiteral("Громкость 15%"));
    QCOMPARE(volumeText(20), QStringLiteral("Громкость 100%"));
    QCOMPARE(volumeText(0), QStringLiteral("Громкость 0%"));
}

void TestVideoRules::layoutKeepsTilesApartAndNamesInside_data() {
    QTest::addColumn<QSize>("window");
    QTest::newRow("1920x1080") << QSize(1920, 1080);
    QTest::newRow("1280x1024") << QSize(1280, 1024);
    QTest::newRow("1024x768") << QSize(1024, 768);
}

void TestVideoRules::layoutKeepsTilesApartAndNamesInside() {
    QFETCH(QSize, window);
    const ScreenGeometry g = screenGeometry(window, 31, QSize(200, 31));
    const QRect screen(QPoint(0, 0), window);
    QCOMPARE(g.tiles[0].player, QRect(50, 80, window.width() / 2 - 60, window.height() / 2 - 120));
    for (int n = 0; n < kTiles; ++n) {
        const TileGeometry &t = g.tiles[n];
        QVERIFY(screen.contains(t.player));
        QVERIFY(screen.contains(t.playButton));
        QVERIFY(!t.fullScreenButton.intersects(t.player));
        QVERIFY(!t.playButton.intersects(t.fullScreenButton));
        // Every tile's name, the right column's too, is visible and ends with its player.
        QVERIFY2(t.name.width() > 100, qPrintable(QString::number(t.name.width())));
        QCOMPARE(t.name.right(), t.player.right());
        for (int m = 0; m < kTiles; ++m) {
            if (m != n) {
                QVERIFY(!t.player.intersects(g.tiles[m].player));
                // The 75-pixel buttons sit in a 75-pixel gap below their player.
                QVERIFY(!t.playButton.adjusted(0, 0, 0, -1).intersects(g.tiles[m].player));
                QVERIFY(!t.name.intersects(g.tiles[m].player));
            }
        }
        QVERIFY(!t.player.intersects(g.closeButton));
    }
    QVERIFY(!g.fullScreenPlayer.intersects(g.panel1));
    QCOMPARE(g.panel1.bottom(), screen.bottom());
    QVERIFY(g.progressBar.center().y() - g.panel2.center().y() <= 1);
    QVERIFY(g.label1.bottom() < g.progressBar.top());
    const QRect strip(QPoint(0, 0), g.panel1.size());
    for (const QRect &r :
         {g.strip.prev, g.strip.play, g.strip.next, g.strip.minimize, g.strip.volumeMinus,
          g.strip.volumePlus, g.strip.volumeBar, g.strip.name})
        QVERIFY(strip.contains(r));
    QVERIFY(!g.strip.volumePlus.intersects(g.strip.volumeBar));
}

void TestVideoRules::playerStateFollowsTheScreensSequences_data() {
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("current");
    using M = PlayerState::Mode;
    QTest::newRow("loading a tile plays silently")
        << QStringList{"add a", "play", "pause", "pause"} << int(M::Playing) << "a";
    QTest::newRow("reloading for a page")
        << QStringList{"add a", "play", "stop", "add b", "next", "pause", "pause"}
        << int(M::Playing) << "b";
    QTest::newRow("next video") << QStringList{"add a", "play", "stop", "add b", "next", "play"}
                                << int(M::Playing) << "b";
    QTest::newRow("pause while stopped does nothing")
        << QStringList{"add a", "play", "stop", "pause"} << int(M::Stopped) << "a";
    QTest::newRow("adding does not start") << QStringList{"add a"} << int(M::Stopped) << "";
    QTest::newRow("auto play starts on add")
        << QStringList{"auto", "add a"} << int(M::Playing) << "a";
    QTest::newRow("paused") << QStringList{"add a", "play", "pause"} << int(M::Paused) << "a";
    QTest::newRow("play after stop")
        << QStringList{"add a", "play", "stop", "play"} << int(M::Playing) << "a";
}

void TestVideoRules::playerStateFollowsTheScreensSequences() {
    QFETCH(QStringList, steps);
    QFETCH(int, mode);
    QFETCH(QString, current);
    PlayerState s;
    for (const QString &step : steps) {
        if (step.startsWith("add "))
            s.addTarget(step.mid(4));
        else if (step == "auto")
            s.setAutoPlay(true);
        else if (step == "play")
            s.play();
        else if (step == "pause")
            s.pause();
        else if (step == "stop")
            s.stop();
        else if (step == "next")
            s.playlistNext();
    }
    QCOMPARE(int(s.mode()), mode);
    QCOMPARE(s.current(), current);
}

void TestVideoRules::decodeSizeShrinksOnlyLargeVideos_data() {
    QTest::addColumn<QSize>("source");
    QTest::addColumn<QSize>("limit");
    QTest::addColumn<QSize>("decoded");
    QTest::newRow("fits") << QSize(1280, 720) << QSize(1920, 1080) << QSize(1280, 720);
    QTest::newRow("4K on a full-HD screen")
        << QSize(3840, 2160) << QSize(1920, 1080) << QSize(1920, 1080);
    QTest::newRow("too wide keeps its shape")
        << QSize(3840, 1600) << QSize(1920, 1080) << QSize(1920, 800);
    QTest::newRow("odd sizes become even")
        << QSize(641, 481) << QSize(1920, 1080) << QSize(640, 480);
    QTest::newRow("no limit yet") << QSize(3840, 2160) << QSize() << QSize(3840, 2160);
}

void TestVideoRules::decodeSizeShrinksOnlyLargeVideos() {
    QFETCH(QSize, source);
    QFETCH(QSize, limit);
    QFETCH(QSize, decoded);
    QCOMPARE(decodeSize(source, limit), decoded);
}

void TestVideoRules::frameSinkScalesToTheShownSizeAndKeepsTheNewest() {
    FrameSink sink;
    int notified = 0;
    sink.setFrameReady([&notified] { ++notified; });
    sink.setDecodeLimit(QSize(1920, 1080));
    sink.setShownSize(QSize(80, 80)); // a square tile: the 160x120 picture becomes 80x60

    char chroma[5] = "I420";
    unsigned w = 160, h = 120, pitches[3] = {}, lines[3] = {};
    QCOMPARE(sink.format(chroma, &w, &h, pitches, lines), 1u);
    QCOMPARE(QByteArray(chroma, 4), QByteArray("RV32"));
    QVERIFY(pitches[0] >= w * 4 && pitches[0] % 32 == 0);
    QVERIFY(lines[0] >= h);

    const auto deliver = [&](quint32 colour) {
        void *planes[3] = {};
        sink.lock(planes);
        QCOMPARE(reinterpret_cast<quintptr>(planes[0]) % 32, quintptr(0));
        for (unsigned y = 0; y < h; ++y) {
            auto *row =
                reinterpret_cast<quint32 *>(static_cast<char *>(planes[0]) + y * pitches[0]);
            std::fill(row, row + w, colour);
        }
        sink.unlock();
        sink.display();
    };
    deliver(0xffff0000u);
    deliver(0xff00ff00u); // arrives before the first was taken
    QCOMPARE(notified, 1);
    QCOMPARE(sink.framesReplaced(), 1u);
    bool fresh = false;
    const QImage frame = sink.takeFrame(&fresh);
    QVERIFY(fresh);
    QCOMPARE(frame.size(), QSize(80, 60));
    QCOMPARE(frame.pixel(40, 30), 0xff00ff00u);
    sink.takeFrame(&fresh);
    QVERIFY(!fresh);

    sink.setShownSize(QSize()); // hidden: nothing is scaled or handed over
    deliver(0xff0000ffu);
    QVERIFY(!sink.takeFrame(&fresh).isNull());
    QVERIFY(!fresh);
    sink.clear();
    QVERIFY(sink.takeFrame().isNull());
    sink.release();
}

void TestVideoRules::threadsStartedForLibvlcYieldToTheGuiThread() {
    const auto nice = [] { return getpriority(PRIO_PROCESS, static_cast<id_t>(gettid())); };
    const int mine = nice();
    int starter = mine, started = mine;
    VlcLibrary::startLowered([&] {
        starter = nice();
        std::thread decoder([&] { started = nice(); }); // what libvlc does inside
        decoder.join();
    });
    const int lowered = qMin(mine + 5, 19); // 19 is as low as it goes
    QCOMPARE(starter, lowered);
    QCOMPARE(started, lowered);
    QCOMPARE(nice(), mine);
}

QTEST_GUILESS_MAIN(TestVideoRules)
#include "tst_video_rules.moc"
