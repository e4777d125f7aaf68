#include "fake_media_player.h"

#include "core/clock.h"
#include "core/idle_clock.h"
#include "core/messages.h"
#include "core/program_values.h"
#include "video/video_window.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace kalmo;
using kalmo::testing::FakeMediaPlayer;

namespace {

const QSize kScreen(1920, 1080);

// A video screen on fake players over a temporary video folder.
struct Screen {
    explicit Screen(int videos) {
        values.baseFolder = dir.path() + u'/';
        values.videoFolder = values.baseFolder + "video/";
        QDir().mkpath(values.videoFolder);
        for (int i = 0; i < videos; ++i)
            addVideo(QStringLiteral("v%1.mp4").arg(i));
        form = std::make_unique<video::TForm6>(
            video::VideoServices{values, messages, idle, kScreen, players.factory()});
        form->folderJobs().setSynchronous(true);
    }
    void addVideo(const QString &name) {
        QFile f(values.videoFolder + name);
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    // Shows the screen and lets the loading panel run its course.
    void open() {
        form->open();
        finishLoading();
    }
    void finishLoading() {
        for (int i = 0; i < 200 && form->loadingTimer().isActive(); ++i)
            form->timer2Timer();
    }
    FakeMediaPlayer *player(int tile) const {
        return static_cast<FakeMediaPlayer *>(form->player(tile));
    }
    QAbstractButton *button(const QString &name) const {
        auto *b = form->findChild<QAbstractButton *>(name);
        if (!b)
            qFatal("no button %s", qPrintable(name));
        return b;
    }
    void click(const QString &name) const { QTest::mouseClick(button(name), Qt::LeftButton); }
    QString text(const QString &label) const { return form->findChild<QLabel *>(label)->text(); }
    bool visible(const QString &name) const {
        return !form->findChild<QWidget *>(name)->isHidden();
    }
    QStringList tileNames() const {
        QStringList names;
        for (int n = 1; n <= 4; ++n)
            names << text(QStringLiteral("Filename%1").arg(n));
        return names;
    }
    QList<int> indexes() const {
        return {form->tileIndex(1), form->tileIndex(2), form->tileIndex(3), form->tileIndex(4)};
    }
    int sounding() const {
        int n = 0;
        for (int t = 1; t <= 4; ++t)
            n += player(t)->sounding() ? 1 : 0;
        return n;
    }

    QTemporaryDir dir;
    core::ProgramValues values;
    core::RecordingMessages messages;
    core::ManualClock clock;
    core::IdleClock idle{clock};
    testing::FakePlayers players;
    std::unique_ptr<video::TForm6> form;
};

} // namespace

class TestVideoWindow : public QObject {
    Q_OBJECT
private slots:
    void threeVideosFillFourTilesAndPlaySilently();
    void pageButtonsNeedMoreThanFiveVideos_data();
    void pageButtonsNeedMoreThanFiveVideos();
    void emptyFolderShowsNothingAndStaysUsable();
    void loadingPanelStaysAtLeastOneHundredTicks();
    void onlyOneTileSounds();
    void fullScreenAndBackToTiles();
    void volumeStepsOfFivePercent();
    void pagingMovesEveryTileByFour();
    void pagingWithoutTheFolderChangesNothing();
    void everyFormOfTheFolderValuePlays_data();
    void everyFormOfTheFolderValuePlays();
    void nextAndPreviousVideo();
    void missingNextVideoIsReported();
    void endOfVideoAdvances_data();
    void endOfVideoAdvances();
    void idleCloseAfterTenMinutesEvenWhilePlaying();
    void closeDestroysPlayersAndNextShowingStartsAfresh();
    void buttonsAreNamedForScreenReaders();
};

void TestVideoWindow::threeVideosFillFourTilesAndPlaySilently() {
    Screen s(3);
    s.form->open();
    QCOMPARE(s.players.made.size(), size_t(4));
    QCOMPARE(s.indexes(), QList<int>({0, 1, 2, 2}));
    QCOMPARE(s.tileNames(), QStringList({"v0.", "v1.", "v2.", "v2."}));
    QVERIFY(!s.visible("SpeedButton1"));
    QVERIFY(!s.visible("SpeedButton2"));
    const QString folder = s.values.videoFolder;
    QCOMPARE(s.player(1)->calls, QStringList({"autoPlay 0", "addTarget " + folder + "v0.mp4",
                                              "volume 0", "play", "pause", "pause"}));
    QCOMPARE(s.player(4)->calls,
             QStringList({"addTarget " + folder + "v2.mp4", "volume 0", "play", "pause", "pause"}));
    for (int t = 1; t <= 4; ++t) {
        QVERIFY(s.player(t)->playing());
        QVERIFY(!s.player(t)->isVisibleTo(s.form.get())); // under the loading panel
        QVERIFY(s.visible(QStringLiteral("Play%1").arg(t)));
        QVERIFY(!s.visible(QStringLiteral("Pause%1").arg(t)));
    }
    QCOMPARE(s.sounding(), 0);
    s.finishLoading();
    for (int t = 1; t <= 4; ++t)
        QVERIFY(s.player(t)->isVisibleTo(s.form.get()));
    QVERIFY(s.form->idleTimer().isActive());
}

void TestVideoWindow::pageButtonsNeedMoreThanFiveVideos_data() {
    QTest::addColumn<int>("videos");
    QTest::addColumn<bool>("shown");
    QTest::newRow("5") << 5 << false;
    QTest::newRow("6") << 6 << true;
}

void TestVideoWindow::pageButtonsNeedMoreThanFiveVideos() {
    QFETCH(int, videos);
    QFETCH(bool, shown);
    Screen s(videos);
    s.open();
    QCOMPARE(s.visible("SpeedButton1"), shown);
    QCOMPARE(s.visible("SpeedButton2"), shown);
    QCOMPARE(s.indexes(), QList<int>({0, 1, 2, 3}));
    // The fifth video is still reached with Next.
    s.click("Play4");
    s.click("Fullscreen4");
    s.click("Next");
    QCOMPARE(s.text("FullFilename"), QStringLiteral("v4."));
}

void TestVideoWindow::emptyFolderShowsNothingAndStaysUsable() {
    Screen s(0);
    s.addVideo("notes.txt");
    s.open();
    QCOMPARE(s.tileNames(), QStringList({"", "", "", ""}));
    for (int t = 1; t <= 4; ++t) {
        QVERIFY(s.player(t)->calls.filter("addTarget").isEmpty());
        QVERIFY(!s.visible(QStringLiteral("Play%1").arg(t)));
    }
    s.form->playClick(1);
    s.form->nextClick();
    s.form->timer1Timer();
    s.form->volumePlusClick();
    QVERIFY(s.messages.entries.isEmpty());
    QSignalSpy finished(s.form.get(), &QDialog::finished);
    s.click("CloseForm");
    QCOMPARE(finished.size(), 1);
}

void TestVideoWindow::loadingPanelStaysAtLeastOneHundredTicks() {
    Screen s(4);
    s.form->open();
    auto *panel = s.form->findChild<QWidget *>("Panel2");
    auto *bar = s.form->findChild<QProgressBar *>("ProgressBar1");
    QVERIFY(s.form->ready());
    for (int i = 1; i < 100; ++i)
        s.form->timer2Timer();
    QVERIFY(!panel->isHidden());
    QCOMPARE(bar->value(), 99);
    QVERIFY(!s.player(1)->isVisibleTo(s.form.get()));
    s.form->timer2Timer();
    QVERIFY(panel->isHidden());
    QVERIFY(!s.form->loadingTimer().isActive());
    QVERIFY(s.player(1)->isVisibleTo(s.form.get()));
    QCOMPARE(s.form->loadingCounter(), 0);
}

void TestVideoWindow::onlyOneTileSounds() {
    Screen s(4);
    s.open();
    s.click("Play2");
    QCOMPARE(s.form->activePlayer(), 2);
    QVERIFY(s.player(2)->sounding());
    QCOMPARE(s.player(2)->volume, 2);
    QCOMPARE(s.sounding(), 1);
    QVERIFY(s.form->endTimer().isActive());
    for (int t = 1; t <= 4; ++t)
        QVERIFY(!s.visible(QStringLiteral("Play%1").arg(t)));
    QVERIFY(s.visible("Pause2"));
    QVERIFY(s.visible("Fullscreen2"));

    s.click("Pause2");
    QCOMPARE(s.sounding(), 0);
    QVERIFY(!s.player(2)->playing());
    QVERIFY(!s.form->endTimer().isActive());
    for (int t = 1; t <= 4; ++t)
        QVERIFY(s.visible(QStringLiteral("Play%1").arg(t)));

    s.click("Play3");
    QCOMPARE(s.sounding(), 1);
    QVERIFY(s.player(3)->sounding());
}

void TestVideoWindow::fullScreenAndBackToTiles() {
    Screen s(4);
    s.open();
    const QRect tile = s.player(3)->geometry();
    s.click("Play3");
    s.click("Fullscreen3");
    QCOMPARE(s.player(3)->geometry(), QRect(0, 0, 1920, 1080 - 95));
    QVERIFY(s.visible("Panel1"));
    QVERIFY(!s.visible("Filename1"));
    QVERIFY(!s.player(1)->isVisibleTo(s.form.get()));
    QVERIFY(s.player(3)->isVisibleTo(s.form.get()));
    QCOMPARE(s.text("FullFilename"), QStringLiteral("v2."));
    QCOMPARE(s.text("VolumeValue"), QStringLiteral("Громкость 10%"));
    QVERIFY(s.visible("FullPause"));
    QVERIFY(!s.visible("FullPlay"));

    s.click("Minimize1"); // still playing
    QCOMPARE(s.player(3)->geometry(), tile);
    QVERIFY(!s.visible("Panel1"));
    QVERIFY(s.visible("Pause3"));
    QVERIFY(s.visible("Fullscreen3"));
    QVERIFY(!s.visible("Play1"));
    QVERIFY(s.player(1)->isVisibleTo(s.form.get()));

    s.click("Fullscreen3");
    s.click("FullPause");
    QVERIFY(!s.player(3)->playing());
    QVERIFY(s.visible("FullPlay"));
    s.click("FullPlay");
    QVERIFY(s.player(3)->playing());
    s.click("FullPause");
    s.click("Minimize1"); // paused
    QVERIFY(!s.visible("Fullscreen3"));
    for (int t = 1; t <= 4; ++t)
        QVERIFY(s.visible(QStringLiteral("Play%1").arg(t)));
    QVERIFY(s.visible("Filename1"));
}

void TestVideoWindow::volumeStepsOfFivePercent() {
    Screen s(4);
    s.open();
    s.click("VolumePlus"); // no video started yet
    QCOMPARE(s.form->volumeLevel(), 2);

    s.click("Play1");
    s.click("FullScreen1");
    auto *bar = s.form->findChild<QProgressBar *>("VolumeBar");
    s.form->timer4Timer();
    QVERIFY(bar->isHidden());
    s.click("VolumePlus");
    QCOMPARE(s.text("VolumeValue"), QStringLiteral("Громкость 15%"));
    QCOMPARE(s.player(1)->volume, 3);
    QVERIFY(!bar->isHidden());
    QCOMPARE(bar->value(), 3);
    QVERIFY(s.form->volumeBarTimer().isActive());
    s.form->timer4Timer();
    QVERIFY(bar->isHidden());
    QVERIFY(!s.form->volumeBarTimer().isActive());

    for (int i = 0; i < 17; ++i)
        s.click("VolumePlus");
    QCOMPARE(s.text("VolumeValue"), QStringLiteral("Громкость 100%"));
    QCOMPARE(s.player(1)->volume, 20);
    s.player(1)->calls.clear();
    s.click("VolumePlus");
    QCOMPARE(s.form->volumeLevel(), 20);
    QVERIFY(s.player(1)->calls.isEmpty());

    for (int i = 0; i < 25; ++i)
        s.click("VolumeMinus");
    QCOMPARE(s.form->volumeLevel(), 0);
    QCOMPARE(s.text("VolumeValue"), QStringLiteral("Громкость 0%"));
}

void TestVideoWindow::pagingMovesEveryTileByFour() {
    Screen s(10);
    s.open();
    s.click("Play2"); // a playing tile is paused and silenced by paging
    s.click("SpeedButton2");
    QCOMPARE(s.indexes(), QList<int>({4, 5, 6, 7}));
    QCOMPARE(s.sounding(), 0);
    QVERIFY(s.visible("Play2"));
    QVERIFY(s.form->loadingTimer().isActive());
    QVERIFY(!s.player(1)->isVisibleTo(s.form.get()));
    s.finishLoading();
    s.click("SpeedButton2");
    s.finishLoading();
    QCOMPARE(s.indexes(), QList<int>({8, 9, 0, 1}));
    s.player(3)->calls.clear();
    s.click("SpeedButton2");
    QCOMPARE(s.indexes(), QList<int>({2, 3, 4, 5}));
    QCOMPARE(s.tileNames(), QStringList({"v2.", "v3.", "v4.", "v5."}));
    const QString folder = s.values.videoFolder;
    QCOMPARE(s.player(3)->calls, QStringList({"stop", "volume 0", "addTarget " + folder + "v4.mp4",
                                              "playlistNext", "pause", "pause"}));
    QVERIFY(s.player(3)->playing());
    s.finishLoading();

    s.click("SpeedButton1");
    s.click("SpeedButton1");
    QCOMPARE(s.indexes(), QList<int>({4, 5, 6, 7}));

    // A tile paused from full screen keeps its volume; its next preview is silent all the same.
    s.click("Play1");
    s.click("FullScreen1");
    s.click("FullPause");
    s.click("Minimize1");
    s.click("SpeedButton2");
    QCOMPARE(s.sounding(), 0);
}

void TestVideoWindow::pagingWithoutTheFolderChangesNothing() {
    Screen s(10);
    s.open();
    QVERIFY(QDir(s.values.videoFolder).removeRecursively());
    s.click("SpeedButton2");
    QCOMPARE(s.messages.texts(),
             QStringList({QStringLiteral("Отсутствует доступ к каталогу с видео")}));
    QCOMPARE(s.indexes(), QList<int>({0, 1, 2, 3}));
    QVERIFY(s.player(1)->isVisibleTo(s.form.get()));
    QVERIFY(!s.form->loadingTimer().isActive());

    // Paging after the folder shrank to four videos keeps the tiles and hides the buttons.
    QDir().mkpath(s.values.videoFolder);
    for (int i = 0; i < 4; ++i)
        s.addVideo(QStringLiteral("w%1.mp4").arg(i));
    s.click("SpeedButton2");
    QVERIFY(!s.visible("SpeedButton1"));
    QVERIFY(!s.visible("SpeedButton2"));
    QCOMPARE(s.indexes(), QList<int>({0, 1, 2, 3}));
    s.finishLoading();
    QVERIFY(s.player(1)->isVisibleTo(s.form.get()));
}

void TestVideoWindow::everyFormOfTheFolderValuePlays_data() {
    QTest::addColumn<QString>("value");
    QTest::newRow("relative") << "video/";
    QTest::newRow("relative without separator") << "video";
    QTest::newRow("absolute without separator") << "{base}video";
    QTest::newRow("backslash") << "video\\";
}

void TestVideoWindow::everyFormOfTheFolderValuePlays() {
    QFETCH(QString, value);
    Screen s(6);
    const QString folder = s.values.videoFolder;
    s.values.videoFolder = QString(value).replace("{base}", s.values.baseFolder);
    s.open();
    QCOMPARE(s.form->playlist().size(), 6);
    QCOMPARE(s.form->playlist().first(), folder + "v0.mp4");
    QVERIFY(s.player(1)->calls.contains("addTarget " + folder + "v0.mp4"));
    s.form->speedButton2Click();
    QVERIFY(s.player(1)->calls.contains("addTarget " + folder + "v4.mp4"));
    s.form->playClick(1);
    s.form->nextClick();
    QVERIFY(s.player(1)->calls.endsWith("play"));
    QVERIFY(s.messages.entries.isEmpty());
}

void TestVideoWindow::nextAndPreviousVideo() {
    Screen s(3);
    s.open();
    s.click("Play1");
    s.click("FullScreen1");
    s.player(1)->calls.clear();
    s.click("Prev"); // wraps to the last video
    QCOMPARE(s.form->tileIndex(1), 2);
    QCOMPARE(s.text("FullFilename"), QStringLiteral("v2."));
    QCOMPARE(s.text("Filename1"), QStringLiteral("v2."));
    QCOMPARE(s.player(1)->calls,
             QStringList(
                 {"stop", "addTarget " + s.values.videoFolder + "v2.mp4", "playlistNext", "play"}));
    QVERIFY(s.form->endTimer().isActive());
    s.click("Next"); // wraps to the first
    QCOMPARE(s.form->tileIndex(1), 0);
    QVERIFY(s.player(1)->sounding());
    s.click("FullPause");
    s.click("Next");
    QVERIFY(s.player(1)->playing());
    QVERIFY(s.visible("FullPause"));
    QVERIFY(!s.visible("FullPlay"));
}

void TestVideoWindow::missingNextVideoIsReported() {
    Screen s(3);
    s.open();
    s.click("Play2");
    QVERIFY(QFile::remove(s.values.videoFolder + "v2.mp4"));
    s.player(2)->calls.clear();
    s.click("Fullscreen2");
    s.click("Next");
    QCOMPARE(s.messages.texts(),
             QStringList({QStringLiteral("Отсутствует файл для воспроизведения") + "v2."}));
    QVERIFY(s.player(2)->calls.isEmpty()); // the current video plays on
    QCOMPARE(s.form->tileIndex(2), 2);
    QCOMPARE(s.text("FullFilename"), QStringLiteral("v1."));
    s.click("Next");
    QCOMPARE(s.form->tileIndex(2), 0);
    QCOMPARE(s.text("FullFilename"), QStringLiteral("v0."));

    s.click("Prev"); // back onto the missing one: the end-of-video check keeps running
    QCOMPARE(s.messages.entries.size(), 2);
    QVERIFY(s.form->endTimer().isActive());
}

void TestVideoWindow::endOfVideoAdvances_data() {
    QTest::addColumn<int>("tile");
    QTest::addColumn<qint64>("time");
    QTest::addColumn<qint64>("length");
    QTest::addColumn<bool>("advances");
    QTest::newRow("length still 0") << 1 << qint64(0) << qint64(0) << true;
    QTest::newRow("two seconds left") << 1 << qint64(58000) << qint64(60000) << true;
    QTest::newRow("three seconds left") << 1 << qint64(57000) << qint64(60000) << false;
    QTest::newRow("a tile in the right column") << 4 << qint64(0) << qint64(0) << true;
}

void TestVideoWindow::endOfVideoAdvances() {
    QFETCH(int, tile);
    QFETCH(qint64, time);
    QFETCH(qint64, length);
    QFETCH(bool, advances);
    Screen s(6);
    s.open();
    const int before = s.form->tileIndex(tile);
    s.click(QStringLiteral("Play%1").arg(tile)); // in tile mode
    s.player(tile)->timeMs = time;
    s.player(tile)->lengthMs = length;
    s.form->timer1Timer();
    QCOMPARE(s.form->tileIndex(tile), advances ? before + 1 : before);
    QCOMPARE(s.text(QStringLiteral("Filename%1").arg(tile)),
             QStringLiteral("v%1.").arg(s.form->tileIndex(tile)));
    QVERIFY(s.player(tile)->sounding());
    QVERIFY(s.form->endTimer().isActive());
}

void TestVideoWindow::idleCloseAfterTenMinutesEvenWhilePlaying() {
    Screen s(4);
    s.idle.touch();
    s.open();
    s.click("Play1");
    s.click("FullScreen1");
    QPointer<QWidget> player = s.player(1);
    QSignalSpy finished(s.form.get(), &QDialog::finished);
    s.clock.advanceMs(599'999);
    s.form->timer3Timer();
    QVERIFY(s.form->isVisible());
    s.clock.advanceMs(1);
    s.form->timer3Timer();
    QCOMPARE(finished.size(), 1);
    QVERIFY(!s.form->isVisible());
    QVERIFY(player.isNull());
    QVERIFY(!s.form->idleTimer().isActive());
    QVERIFY(!s.form->endTimer().isActive());
}

void TestVideoWindow::closeDestroysPlayersAndNextShowingStartsAfresh() {
    Screen s(6);
    s.open();
    s.click("Play1");
    s.click("FullScreen1");
    s.click("VolumePlus");
    QPointer<QWidget> first = s.player(1);
    QSignalSpy finished(s.form.get(), &QDialog::finished);
    s.click("CloseForm");
    QCOMPARE(finished.size(), 1);
    QVERIFY(first.isNull());
    QVERIFY(!s.form->loadingTimer().isActive());

    s.open();
    QCOMPARE(s.players.made.size(), size_t(8));
    QCOMPARE(s.form->volumeLevel(), 2);
    QCOMPARE(s.form->activePlayer(), 0);
    QVERIFY(!s.visible("Panel1"));
    QVERIFY(s.visible("Filename1"));
    QVERIFY(s.visible("Play1"));
    QCOMPARE(s.sounding(), 0);
    s.form->reject(); // Escape closes the same way
    QCOMPARE(finished.size(), 2);
    QCOMPARE(s.form->player(1), nullptr);
}

void TestVideoWindow::buttonsAreNamedForScreenReaders() {
    Screen s(3);
    s.open();
    const QStringList names = {"Play1",        "Pause4",       "FullScreen1", "Fullscreen2",
                               "SpeedButton1", "SpeedButton2", "CloseForm",   "Prev",
                               "FullPlay",     "FullPause",    "Next",        "Minimize1",
                               "VolumeMinus",  "VolumePlus"};
    for (const QString &name : names)
        QCOMPARE(s.button(name)->accessibleName(), name);
    QCOMPARE(s.form->findChild<QLabel *>("Filename3")->accessibleName(), QStringLiteral("v2."));
    QCOMPARE(s.form->findChild<QWidget *>("Panel2")->accessibleName(), QStringLiteral("ЗАГРУЗКА"));
    QCOMPARE(s.text("Label1"), QStringLiteral("Загрузка видео"));
}

QTEST_MAIN(TestVideoWindow)
#include "tst_video_window.moc"
