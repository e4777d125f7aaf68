#include "admin/password_dlg.h"
#include "app/kiosk.h"
#include "app/photo_loader.h"
#include "photo/photo_window.h"
#include "schedule/schedule_window.h"
#include "tests/support/http_server.h"
#include "tests/web/fake_browser.h"
#include "ticker/scrolling_text.h"
#include "transitions/picshow.h"
#include "video/video_window.h"
#include "weather/weather_informer.h"
#include "web/site_view.h"

#include "tests/media/media_files.h"
#include "tests/photo/photo_files.h"
#include "tests/support/test_files.h"
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

using namespace kalmo;

using kalmo::testing::readAll;
using kalmo::testing::writeAll;

namespace {

void savePhoto(const QString &path, QColor colour, QSize size = QSize(64, 48)) {
    QImage img(size, QImage::Format_RGB32);
    img.fill(colour);
    QVERIFY(img.save(path));
}

// A kiosk on a fresh base folder whose photo folder holds the given photos.
struct Screen {
    QTemporaryDir dir;
    QString base = dir.path() + '/';
    core::RecordingMessages messages;
    core::ManualClock clock{QDateTime(QDate(2026, 12, 9), QTime(10, 0))};
    std::unique_ptr<app::Kiosk> kiosk;

    explicit Screen(const QStringList &photos = {"a.jpg", "b.png"}, bool withFolder = true,
                    const QByteArray &settings = "[weather]\nread=0\n") {
        if (withFolder) {
            QDir(base).mkdir("photo");
            int hue = 0;
            for (const QString &p : photos)
                savePhoto(base + "photo/" + p, QColor::fromHsv((hue += 60) % 360, 200, 200));
        }
        // Weather off unless asked for, so nothing reaches for the network.
        writeAll(base + "kalmora.ini", settings);
        app::Kiosk::Options o;
        o.synchronousFiles = true;
        o.baseFolder = base;
        // The program's own pictures, as the build tree's data folder holds them.
        o.programDataFolder = QStringLiteral(KALMO_ASSETS "/");
        o.screenSize = QSize(1280, 720);
        o.messages = &messages;
        o.clock = &clock;
        o.randomSeed = 11;
        o.browserFactory = fakeFactory();
        kiosk = std::make_unique<app::Kiosk>(o);
        QSignalSpy textLoaded(&form(), &app::TForm1::runningTextLoaded);
        QVERIFY(textLoaded.wait(10000));
        form().picShow().setThreaded(false);
        kiosk->surface().show();
    }
    app::TForm1 &form() { return kiosk->mainWindow(); }
    // A re-read, waited for to its end and to the running text it reloads. True when the
    // values were read and applied.
    bool reread() {
        QSignalSpy finished(&form(), &app::TForm1::rereadFinished);
        QSignalSpy textLoaded(&form(), &app::TForm1::runningTextLoaded);
        form().onRereadTick();
        if (finished.isEmpty() && !finished.wait(10000))
            return false;
        const bool applied = finished.first().at(0).toBool();
        if (applied && textLoaded.isEmpty())
            textLoaded.wait(10000);
        return applied;
    }
    QLabel *label(const char *name) { return form().findChild<QLabel *>(name); }
    QPushButton *button(const char *name) { return form().findChild<QPushButton *>(name); }
    QString caption() { return label("Label2")->text(); }
};

} // namespace

class TestMainScreen : public QObject {
    Q_OBJECT
private slots:
    void slideshowShowsPhotosThroughTransitions();
    void undecodablePhotoRebuildsAndKeepsTheCaption();
    void vanishedFolderShowsTheErrorCaption();
    void mouseDragSwipesLikeAFinger();
    void doubleTapTogglesFullPhoto();
    void automaticChangeEndsFullPhoto();
    void automaticChangeEndsFullPhotoBeforeTheDecode();
    void cameraAndPalettePhotosShowRight_data();
    void cameraAndPalettePhotosShowRight();
    void photosChangeInNaturalOrderOfNames();
    void singlePhotoIsShownAndKept();
    void everyFormOfAFolderValueWorks_data();
    void everyFormOfAFolderValueWorks();
    void photoStillBeingWrittenIsSkippedUntilWhole();
    void hungPhotoLeavesTheScreenAsItIs();
    void rereadAppliesTheNewValues();
    void rereadOfAMissingFileRetriesInFiveMinutes();
    void unreadableRereadKeepsTheScreen();
    void intervalsTimersCannotTake_data();
    void intervalsTimersCannotTake();
    void idleWatchRunsOnceWithoutASiteView();
    void siteButtonTurnsTheScreenIntoTheSite();
    void closingTheSiteViewsWindowAsksForThePassword_data();
    void closingTheSiteViewsWindowAsksForThePassword();
    void videoAndPhotoButtons();
    void scheduleButtonFollowsTheViewFlag();
    void runningTextStartsFromTheFile();
    void weatherPanelNarrowsThePhoto();
};

void TestMainScreen::slideshowShowsPhotosThroughTransitions() {
    Screen s;
    QCOMPARE(s.kiosk->mainWindow().slideshow().photos().size(), 2);
    QCOMPARE(s.form().slideshowTimer().interval(), 1000);
    s.form().onSlideshowTick();
    QVERIFY(s.caption() == "a" || s.caption() == "b");
    QVERIFY(!s.form().picShow().empty());
    QCOMPARE(s.form().picShow().style(), s.form().slideshow().styleCounter());
    QCOMPARE(s.form().slideshowTimer().interval(), 5000);
    const QString first = s.caption();
    s.form().onSlideshowTick();
    QVERIFY(s.caption() != first);
}

void TestMainScreen::undecodablePhotoRebuildsAndKeepsTheCaption() {
    Screen s(QStringList{});
    writeAll(s.base + "photo/broken.jpg", "not a jpeg at all");
    writeAll(s.base + "photo/empty.png", "");
    s.form().rebuildPhotoList();
    s.form().onSlideshowTick();
    QCOMPARE(s.caption(), QStringLiteral("Фото"));
    QCOMPARE(s.form().slideshowTimer().interval(), 1000);
    QVERIFY(s.form().picShow().empty());
    QCOMPARE(s.form().slideshow().currentIndex(), -1); // rebuilt
}

void TestMainScreen::vanishedFolderShowsTheErrorCaption() {
    Screen s({"x.jpg", "y.jpg", "z.jpg"});
    QVERIFY(QDir(s.base + "photo").removeRecursively());
    s.form().onSlideshowTick();
    QVERIFY(s.caption().startsWith(QStringLiteral("Не удается загрузить фото ")));
    // The next re-read empties the list; ticks then only rebuild.
    QVERIFY(s.reread());
    QVERIFY(s.form().slideshow().photos().isEmpty());
}

void TestMainScreen::mouseDragSwipesLikeAFinger() {
    Screen s({"a.jpg", "b.jpg", "c.jpg"});
    s.form().slideshow().setCurrentIndex(0);
    const QString shown = QFileInfo(s.form().slideshow().photos()[1]).completeBaseName();
    QWidget *target = &s.form().picShow();
    const QPoint from = target->rect().center();
    QTest::mousePress(target, Qt::LeftButton, {}, from);
    QTest::mouseMove(target, from - QPoint(200, 0));
    QTest::mouseRelease(target, Qt::LeftButton, {}, from - QPoint(200, 0));
    QCOMPARE(s.form().slideshow().currentIndex(), 1);
    QCOMPARE(s.caption(), shown);
    QCOMPARE(s.label("StaticText2")->text(), shown);
    QCOMPARE(s.form().picShow().style(), 15);
    QVERIFY(s.form().slideshowTimer().isActive());
    // A tap is not a swipe.
    QTest::mouseClick(target, Qt::LeftButton, {}, from);
    QCOMPARE(s.form().slideshow().currentIndex(), 1);
}

void TestMainScreen::doubleTapTogglesFullPhoto() {
    Screen s;
    s.form().onSlideshowTick();
    const QString name = s.caption();
    QTest::mouseDClick(&s.form().picShow(), Qt::LeftButton);
    QVERIFY(s.form().fullPhoto());
    QCOMPARE(s.form().picShow().geometry(), s.form().rect());
    QVERIFY(!s.form().ticker().isVisible());
    QVERIFY(!s.label("Label2")->isVisible());
    QVERIFY(!s.button("SpeedButton10")->isVisible());
    QVERIFY(s.label("StaticText2")->isVisible());
    QCOMPARE(s.label("StaticText2")->text(), name);
    QTest::mouseDClick(&s.form().picShow(), Qt::LeftButton);
    QVERIFY(!s.form().fullPhoto());
    QCOMPARE(s.form().picShow().geometry(), s.form().layoutRules().picShow1);
    QVERIFY(s.form().ticker().isVisible());
    QVERIFY(!s.label("StaticText2")->isVisible());
}

void TestMainScreen::automaticChangeEndsFullPhoto() {
    Screen s;
    s.form().toggleFullPhoto();
    s.form().onSwipe(app::SwipeDirection::Left); // a swipe keeps it
    QVERIFY(s.form().fullPhoto());
    s.form().onSlideshowTick();
    QVERIFY(!s.form().fullPhoto());
    QCOMPARE(s.form().picShow().geometry(), s.form().layoutRules().picShow1);
}

void TestMainScreen::automaticChangeEndsFullPhotoBeforeTheDecode() {
    Screen s(QStringList{});
    writeAll(s.base + "photo/broken.jpg", "not a jpeg at all");
    writeAll(s.base + "photo/empty.png", "");
    s.form().rebuildPhotoList();
    s.form().toggleFullPhoto();
    s.form().onSlideshowTick();
    QVERIFY(!s.form().fullPhoto());
    QCOMPARE(s.form().picShow().geometry(), s.form().layoutRules().picShow1);
    QVERIFY(s.label("Label2")->isVisible());
}

void TestMainScreen::cameraAndPalettePhotosShowRight_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("turned");
    // Larger than the frame, so that they are scaled on the way.
    const QSize size(1500, 1000);
    QTest::newRow("camera photo, orientation 6")
        << testing::cameraJpeg(testing::halves(size, Qt::red, Qt::blue), 6) << "camera.jpg" << true;
    for (const auto format : {QImage::Format_Indexed8, QImage::Format_Mono})
        QTest::newRow(format == QImage::Format_Mono ? "1-bit PNG" : "8-bit indexed PNG")
            << testing::encoded(testing::paletteHalves(size, Qt::red, Qt::blue, format), "PNG")
            << "poster.png" << false;
}

void TestMainScreen::cameraAndPalettePhotosShowRight() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, name);
    QFETCH(bool, turned);
    Screen s(QStringList{});
    writeAll(s.base + "photo/" + name, bytes);
    s.form().rebuildPhotoList();
    s.form().onSlideshowTick();
    const QImage shown = s.form().picShow().picture();
    QVERIFY(!shown.isNull());
    const QSize frame = s.form().layoutRules().picShow1.size();
    QVERIFY(shown.width() <= frame.width() && shown.height() <= frame.height());
    QCOMPARE(shown.height() > shown.width(), turned);
    // Upright, the camera's left half is on top; a poster keeps its halves side by side.
    const QPoint first = turned ? QPoint(shown.width() / 2, shown.height() / 5)
                                : QPoint(shown.width() / 5, shown.height() / 2);
    const QPoint second = turned ? QPoint(shown.width() / 2, shown.height() * 4 / 5)
                                 : QPoint(shown.width() * 4 / 5, shown.height() / 2);
    QVERIFY(testing::sameColour(shown.pixelColor(first), Qt::red));
    QVERIFY(testing::sameColour(shown.pixelColor(second), Qt::blue));
}

void TestMainScreen::photosChangeInNaturalOrderOfNames() {
    Screen s({"p10.jpg", "p9.jpg", "P2.jpg", "p1.jpg", "p20.jpg", "p3.jpg"});
    QStringList names;
    for (const QString &path : s.form().slideshow().photos())
        names << path.mid(path.lastIndexOf('/') + 1);
    QCOMPARE(names, QStringList({"p1.jpg", "P2.jpg", "p3.jpg", "p9.jpg", "p10.jpg", "p20.jpg"}));
    // Swipes walk the list in that order.
    s.form().slideshow().setCurrentIndex(-1);
    QStringList captions;
    for (int i = 0; i < 3; ++i) {
        s.form().onSwipe(app::SwipeDirection::Left);
        captions << s.caption();
    }
    QCOMPARE(captions, QStringList({"p1", "P2", "p3"}));
}

// A school that puts up one poster sees it, and it stays.
void TestMainScreen::singlePhotoIsShownAndKept() {
    Screen s({"poster.jpg"});
    s.form().onSlideshowTick();
    QCOMPARE(s.caption(), QStringLiteral("poster"));
    QVERIFY(!s.form().picShow().empty());
    QCOMPARE(s.form().slideshowTimer().interval(), 5000);
    const int style = s.form().picShow().style();
    for (int i = 0; i < 3; ++i)
        s.form().onSlideshowTick();
    QCOMPARE(s.form().picShow().style(), style); // no new transition
    QCOMPARE(s.caption(), QStringLiteral("poster"));
    // A second photo copied in is found by the rebuilds, and the slideshow moves on.
    savePhoto(s.base + "photo/second.jpg", Qt::yellow);
    s.form().onSlideshowTick();
    QCOMPARE(s.form().slideshow().photos().size(), 2);
    s.form().onSlideshowTick();
    QCOMPARE(s.caption(), QStringLiteral("second"));
}

void TestMainScreen::everyFormOfAFolderValueWorks_data() {
    QTest::addColumn<QString>("photo");
    QTest::addColumn<QString>("video");
    QTest::newRow("relative") << "photo/"
                              << "video/";
    QTest::newRow("relative without separator") << "photo"
                                                << "video";
    QTest::newRow("absolute without separator") << "{base}photo"
                                                << "{base}video";
    QTest::newRow("backslashes") << "photo\\"
                                 << "video\\";
}

void TestMainScreen::everyFormOfAFolderValueWorks() {
    QFETCH(QString, photo);
    QFETCH(QString, video);
    Screen s({"a.jpg", "b.png"});
    QDir(s.base).mkdir("video");
    writeAll(s.base + "video/clip.mp4", "");
    s.kiosk->values().photoFolder = QString(photo).replace("{base}", s.base);
    s.kiosk->values().videoFolder = QString(video).replace("{base}", s.base);
    s.form().rebuildPhotoList();
    QCOMPARE(s.form().slideshow().photos(),
             QStringList({s.base + "photo/a.jpg", s.base + "photo/b.png"}));
    s.form().onSlideshowTick();
    QVERIFY(!s.form().picShow().empty());

    QTest::mouseClick(s.button("Button22"), Qt::LeftButton);
    auto *viewer = static_cast<photo::TForm5 *>(s.kiosk->windows().form5);
    QVERIFY(viewer->isVisible());
    QCOMPARE(viewer->photos(), s.form().slideshow().photos());
    viewer->reject();

    QTest::mouseClick(s.button("Button21"), Qt::LeftButton);
    auto *player = static_cast<video::TForm6 *>(s.kiosk->windows().form6);
    QVERIFY(player->isVisible());
    QCOMPARE(player->playlist(), QStringList({s.base + "video/clip.mp4"}));
    player->reject();
    QVERIFY(s.messages.entries.isEmpty());
}

// The front of a photo still being copied in is never shown; the whole photo is, later.
void TestMainScreen::photoStillBeingWrittenIsSkippedUntilWhole() {
    Screen s({"a.jpg"});
    QImage noisy(800, 600, QImage::Format_RGB32);
    for (int y = 0; y < noisy.height(); ++y)
        for (int x = 0; x < noisy.width(); ++x)
            noisy.setPixel(x, y, qRgb((x * 7) % 256, (y * 13) % 256, (x * y) % 256));
    const QByteArray whole = testing::encoded(noisy, "JPG");
    writeAll(s.base + "photo/b.jpg", whole.left(whole.size() / 2));
    s.form().rebuildPhotoList();
    for (int i = 0; i < 6; ++i) {
        s.form().onSlideshowTick();
        QCOMPARE(s.caption(), QStringLiteral("a"));
    }
    QCOMPARE(s.form().slideshow().photos().size(), 2); // still listed
    writeAll(s.base + "photo/b.jpg", whole);
    QStringList captions;
    for (int i = 0; i < 4; ++i) {
        s.form().onSlideshowTick();
        captions << s.caption();
    }
    QVERIFY(captions.contains("b"));
    QCOMPARE(s.form().picShow().picture().size(),
             QSize(800, 600)
                 .scaled(s.form().layoutRules().picShow1.size(), Qt::KeepAspectRatio)
                 .boundedTo(QSize(800, 600)));
}

// A photo whose read blocks (a named pipe nobody writes to: a hung share as far as the reader
// can tell) gives no answer in time; the screen keeps its photo and caption.
void TestMainScreen::hungPhotoLeavesTheScreenAsItIs() {
    Screen s({"a.jpg"});
    const QString pipe = s.base + "photo/b.jpg";
    QCOMPARE(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    s.form().rebuildPhotoList();
    QCOMPARE(s.form().slideshow().photos().size(), 2);
    s.form().onSlideshowTick(); // "a": the draw never repeats the last shown index 1 first
    QCOMPARE(s.caption(), QStringLiteral("a"));
    s.form().photoLoader().setSynchronous(false);
    s.form().photoLoader().jobs().setTimeLimit(std::chrono::milliseconds(50));
    QSignalSpy loaded(&s.form().photoLoader(), &app::PhotoLoader::loaded);
    s.form().onSlideshowTick(); // "b": its open blocks
    QVERIFY(loaded.wait(30000));
    QCOMPARE(loaded.first().at(2).value<app::PhotoLoader::Outcome>(),
             app::PhotoLoader::Outcome::NoAnswer);
    QCOMPARE(s.caption(), QStringLiteral("a"));
    QVERIFY(!s.form().picShow().empty());
    QCOMPARE(s.form().slideshow().photos().size(), 2); // the list in force stays
    // The share comes back: the blocked open returns and its thread ends.
    const int fd = ::open(QFile::encodeName(pipe).constData(), O_WRONLY | O_NONBLOCK);
    QVERIFY(fd >= 0);
    ::close(fd);
    QTRY_COMPARE_WITH_TIMEOUT(s.form().photoLoader().jobs().inFlight(), 0, 30000);
}

void TestMainScreen::rereadAppliesTheNewValues() {
    Screen s;
    writeAll(s.base + "kalmora.ini",
             "[ini]\nfile=1\n[weather]\nread=0\n[Name]\nButtonSite=Портал\n"
             "[font]\nsize=10\nsizesite=26\n[time]\nreadsetting=7\nimage=9\n"
             "[style]\nstyletest=Light\n[dir]\nDirimage=" +
                 s.base.toUtf8() + "photo/\n");
    s.form().slideshow().setCurrentIndex(1);
    QVERIFY(s.reread());
    QCOMPARE(s.button("SpeedButton10")->text(), QStringLiteral("Портал  "));
    for (const char *name : {"SpeedButton10", "Raspisanie1", "Raspisanie3", "Button21", "Button22"})
        QCOMPARE(s.button(name)->font().pointSize(), 26);
    QCOMPARE(s.button("Button21")->text(), QStringLiteral("Видеоматериалы")); // not re-read
    QCOMPARE(s.form().rereadTimer().interval(), 7 * 60000);
    QVERIFY(s.form().slideshowTimer().isActive());
    QCOMPARE(s.form().slideshow().currentIndex(), -1);
    QVERIFY(s.messages.entries.isEmpty());
    s.form().onSlideshowTick();
    QCOMPARE(s.form().slideshowTimer().interval(), 9000);
}

void TestMainScreen::rereadOfAMissingFileRetriesInFiveMinutes() {
    Screen s;
    QVERIFY(QFile::remove(s.base + "kalmora.ini"));
    const QString site = s.button("SpeedButton10")->text();
    QVERIFY(!s.reread());
    QCOMPARE(s.form().rereadTimer().interval(), 300000);
    QCOMPARE(s.button("SpeedButton10")->text(), site);
    writeAll(s.base + "kalmora.ini", "[time]\nreadsetting=2\n");
    QVERIFY(s.reread());
    QCOMPARE(s.form().rereadTimer().interval(), 120000);
}

void TestMainScreen::unreadableRereadKeepsTheScreen() {
    Screen s;
    QVERIFY(s.reread()); // the first start's values, theme and photo folder among them
    const core::ProgramValues before = s.kiosk->values();
    QCOMPARE(before.theme, QStringLiteral("TabletDark"));
    // A file that exists but cannot be read is not an empty file: the re-read defaults
    // ("Light", "/photo/") must not replace what is in force.
    QFile f(s.base + "kalmora.ini");
    QVERIFY(f.open(QIODevice::ReadWrite));
    QVERIFY(f.resize(core::kMaxIniFileBytes + 1));
    f.close();
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("re-read skipped"));
    QVERIFY(!s.reread());
    QCOMPARE(s.form().rereadTimer().interval(), 300000);
    QCOMPARE(s.kiosk->values().theme, before.theme);
    QCOMPARE(s.kiosk->values().photoFolder, before.photoFolder);
    QCOMPARE(s.form().slideshow().photos().size(), 2);
}

void TestMainScreen::intervalsTimersCannotTake_data() {
    QTest::addColumn<QByteArray>("readsetting");
    QTest::addColumn<QByteArray>("image");
    QTest::addColumn<int>("rereadMs"); // 0: stopped
    QTest::addColumn<int>("slideshowMs");
    QTest::addColumn<QString>("logged");
    const int longest = std::numeric_limits<int>::max();
    // 0 never fires (a timer at 0 would fire on every pass of the event loop).
    QTest::newRow("zero stops") << QByteArray("0") << QByteArray("0") << 0 << 0 << QString();
    QTest::newRow("negative counts as zero")
        << QByteArray("-5") << QByteArray("-3") << 0 << 0 << "negative interval";
    QTest::newRow("beyond a timer is cut to the longest")
        << QByteArray("99999999") << QByteArray("99999999") << longest << longest
        << "longer than a timer holds";
    // 40000 minutes overflowed an int when multiplied out.
    QTest::newRow("40000 minutes")
        << QByteArray("40000") << QByteArray("7") << longest << 7000 << "longer than a timer holds";
}

void TestMainScreen::intervalsTimersCannotTake() {
    QFETCH(QByteArray, readsetting);
    QFETCH(QByteArray, image);
    QFETCH(int, rereadMs);
    QFETCH(int, slideshowMs);
    QFETCH(QString, logged);
    if (!logged.isEmpty()) {
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("time/readsetting.*" + logged));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("time/readsetting.*" + logged));
    }
    if (slideshowMs != 7000 && !logged.isEmpty())
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("time/image.*" + logged));
    Screen s({"a.jpg", "b.jpg"}, true,
             "[ini]\nfile=1\n[weather]\nread=0\n[time]\nreadsetting=" + readsetting +
                 "\nimage=" + image + "\n");
    QCOMPARE(s.form().rereadTimer().isActive(), rereadMs > 0);
    QCOMPARE(s.form().rereadTimer().interval(), rereadMs);

    // The first change comes after the layout's second; the interval applies after it.
    QVERIFY(s.form().slideshowTimer().isActive());
    s.form().onSlideshowTick();
    QCOMPARE(s.form().slideshowTimer().isActive(), slideshowMs > 0);
    QCOMPARE(s.form().slideshowTimer().interval(), slideshowMs);
    // Enabling a timer that never fires leaves it silent.
    s.form().onSwipe(app::SwipeDirection::Left);
    QCOMPARE(s.form().slideshowTimer().isActive(), slideshowMs > 0);
    QVERIFY(s.reread());
    QCOMPARE(s.form().rereadTimer().isActive(), rereadMs > 0);
    QCOMPARE(s.form().rereadTimer().interval(), rereadMs);
    QCOMPARE(s.form().slideshowTimer().isActive(), slideshowMs > 0);
}

void TestMainScreen::idleWatchRunsOnceWithoutASiteView() {
    Screen s;
    s.form().slideshowTimer().stop();
    s.clock.advanceMs(19000);
    s.form().siteView().idleTick();
    QVERIFY(s.form().siteView().idleTimer()->isActive());
    QVERIFY(!s.form().slideshowTimer().isActive());
    s.clock.advanceMs(1000);
    s.form().siteView().idleTick();
    QVERIFY(!s.form().siteView().idleTimer()->isActive());
    QVERIFY(s.form().slideshowTimer().isActive());
}

void TestMainScreen::siteButtonTurnsTheScreenIntoTheSite() {
    Screen s;
    QTest::mouseClick(s.button("SpeedButton10"), Qt::LeftButton);
    QVERIFY(s.form().siteView().isOpen());
    QVERIFY(s.button("Button26")->isVisible());
    for (const char *name : {"SpeedButton1", "SpeedButton2", "SpeedButton3"}) {
        auto *nav = s.form().findChild<QWidget *>(name);
        QVERIFY(nav->isVisible());
        QCOMPARE(nav->accessibleName(), QLatin1String(name)); // picture-only
    }
    QVERIFY(!s.button("Raspisanie1")->isVisible());
    QVERIFY(!s.label("Panel1")->isVisible());
    QVERIFY(!s.form().slideshowTimer().isActive());
    auto *browser = static_cast<FakeBrowser *>(s.form().siteView().browser());
    QCOMPARE(browser->calls.first(), "load " + s.kiosk->values().site);
    // Swipes belong to the page while the site is shown.
    const int index = s.form().slideshow().currentIndex();
    s.form().onSwipe(app::SwipeDirection::Left);
    QCOMPARE(s.form().slideshow().currentIndex(), index);
    QTest::mouseClick(s.button("Button26"), Qt::LeftButton);
    QVERIFY(!s.form().siteView().isOpen());
    QVERIFY(s.button("Raspisanie1")->isVisible());
    QVERIFY(s.form().slideshowTimer().isActive());
}

void TestMainScreen::closingTheSiteViewsWindowAsksForThePassword() {
    QFETCH(QString, way);
    Screen s;
    QTest::mouseClick(s.button("SpeedButton10"), Qt::LeftButton);
    QWidget *page = s.form().siteView().browser();
    QVERIFY(page && page->isVisible());
    page->setFocusPolicy(Qt::StrongFocus);
    page->setFocus();
    QCOMPARE(s.form().focusWidget(), page);
    if (way == "Alt+F4 key")
        QTest::keyClick(page, Qt::Key_F4, Qt::AltModifier); // a key the page did not take
    else
        QVERIFY(!s.kiosk->surface().close()); // a window manager's close of the one window
    auto *closing = s.kiosk->windows().passwordDlg;
    QVERIFY(closing->isVisible());
    // The view is whole behind the dialog and closes by its own button as ever.
    QVERIFY(s.form().siteView().isOpen());
    QVERIFY(page->isVisible());
    QVERIFY(s.button("Button26")->isVisible());
    closing->reject();
    QTest::mouseClick(s.button("Button26"), Qt::LeftButton);
    QVERIFY(!s.form().siteView().isOpen());
    QVERIFY(s.button("SpeedButton10")->isVisible());
    QVERIFY(s.form().slideshowTimer().isActive());
}

void TestMainScreen::closingTheSiteViewsWindowAsksForThePassword_data() {
    QTest::addColumn<QString>("way");
    QTest::newRow("Alt+F4 key") << "Alt+F4 key";
    QTest::newRow("window manager's close") << "close";
}

void TestMainScreen::videoAndPhotoButtons() {
    Screen s;
    QTest::mouseClick(s.button("Button21"), Qt::LeftButton);
    QCOMPARE(s.messages.texts(), QStringList({QStringLiteral("Доступных видеоматериалов нет!")}));
    QDir(s.base).mkdir("video");
    QTest::mouseClick(s.button("Button21"), Qt::LeftButton);
    auto *video = s.kiosk->windows().form6;
    QVERIFY(video->isVisible());
    QVERIFY(!s.form().slideshowTimer().isActive());
    video->reject();
    QVERIFY(s.form().slideshowTimer().isActive());

    QTest::mouseClick(s.button("Button22"), Qt::LeftButton);
    auto *viewer = s.kiosk->windows().form5;
    QVERIFY(viewer->isVisible());
    s.form().slideshow().setCurrentIndex(-1);
    viewer->reject();
    QCOMPARE(s.form().slideshow().currentIndex(), 0);
    QCOMPARE(s.form().picShow().style(), 130);
    QVERIFY(s.form().slideshowTimer().isActive());

    QVERIFY(QDir(s.base + "photo").removeRecursively());
    QTest::mouseClick(s.button("Button22"), Qt::LeftButton);
    QCOMPARE(s.messages.texts().last(), QStringLiteral("Доступных фото нет!!!"));
}

void TestMainScreen::scheduleButtonFollowsTheViewFlag() {
    Screen s;
    auto *schedule = s.kiosk->windows().myRaspisanie;
    s.kiosk->values().scheduleView = false;
    QTest::mouseClick(s.button("Raspisanie3"), Qt::LeftButton);
    QVERIFY(schedule->isVisible());
    QVERIFY(!schedule->bellList()->isVisible());
    QVERIFY(!schedule->countdown()->isVisible());
    schedule->reject();
    s.kiosk->values().scheduleView = true;
    QTest::mouseClick(s.button("Raspisanie3"), Qt::LeftButton);
    QVERIFY(schedule->bellList()->isVisible());
}

void TestMainScreen::runningTextStartsFromTheFile() {
    Screen s;
    // The first run reads the relative name "text.txt", missing in a fresh base folder.
    QCOMPARE(s.form().ticker().text(), QStringLiteral("Отсутствует файл бегущей строки"));
    QVERIFY(s.form().ticker().isActive());
    QCOMPARE(s.form().ticker().geometry().top(), 720 - 57);
    writeAll(s.base + "text.txt", QStringLiteral("Первая\r\nвторая").toUtf8());
    QVERIFY(s.reread()); // the first start wrote base + "text.txt" as the file
    QCOMPARE(s.form().ticker().text(), QStringLiteral("Перваявторая"));
}

void TestMainScreen::weatherPanelNarrowsThePhoto() {
    kalmo::testing::HttpServer informer;
    QFile forecast(QStringLiteral(KALMO_TEST_DATA "/weather/forecast.xml"));
    QVERIFY(forecast.open(QIODevice::ReadOnly));
    informer.respond(200, forecast.readAll());
    // A new base folder: the condition pictures come from the program's data folder.

    Screen s({"a.jpg", "b.jpg"}, true,
             "[weather]\nread=1\ninformer=" + informer.base().toUtf8() + "\n");
    QSignalSpy shown(&s.form().weatherInformer(), &weather::WeatherInformer::weatherShown);
    QVERIFY(shown.wait(10000));
    QCOMPARE(shown.last().at(0).toBool(), true);
    auto *panel2 = s.form().findChild<QWidget *>("Panel2");
    auto *panel4 = s.form().findChild<QWidget *>("Panel4");
    QVERIFY(panel4->isVisible());
    QCOMPARE(panel4->geometry(), QRect(6, 169, 304, 720 - 250));
    QCOMPARE(panel2->geometry(), QRect(310, 169, 1280 - 304 - 10, 720 - 250));
    QCOMPARE(s.form().picShow().geometry(), panel2->geometry().adjusted(10, 10, -10, -10));

    // A flag cleared at a re-read leaves the panel until the hourly refresh.
    writeAll(s.base + "kalmora.ini", "[weather]\nread=0\n");
    QVERIFY(s.reread());
    QVERIFY(panel4->isVisible());
    s.form().onWeatherTick();
    QVERIFY(!panel4->isVisible());
    QCOMPARE(panel2->geometry(), QRect(6, 169, 1280 - 10, 720 - 250));
}

QTEST_MAIN(TestMainScreen)
#include "test_main_screen.moc"
