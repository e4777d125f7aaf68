#include "app/kiosk.h"
#include "app/main_window.h"
#include "photo/photo_window.h"
#include "photo/thumbnail.h"
#include "tests/photo/photo_files.h"
#include "tests/web/fake_browser.h"
#include "transitions/picshow.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace kalmo;
using kalmo::testing::photoColour;
using kalmo::testing::savePhoto;

namespace {

// The whole kiosk on a fresh base folder whose photo folder holds the given photos.
struct Kiosk {
    QTemporaryDir dir;
    QString base = dir.path() + '/';
    core::RecordingMessages messages;
    core::ManualClock clock{QDateTime(QDate(2026, 12, 10), QTime(9, 0))};
    std::unique_ptr<app::Kiosk> kiosk;

    explicit Kiosk(const QStringList &photos, QSize size = QSize(160, 120)) {
        QDir(base).mkdir("photo");
        for (int i = 0; i < photos.size(); ++i)
            savePhoto(base + "photo/" + photos[i], photoColour(i), size);
        QFile ini(base + "kalmora.ini");
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[weather]\nread=0\n"); // nothing reaches for the network
        ini.close();
        app::Kiosk::Options o;
        o.synchronousFiles = true;
        o.baseFolder = base;
        o.screenSize = QSize(1280, 720);
        o.messages = &messages;
        o.clock = &clock;
        o.randomSeed = 7;
        o.browserFactory = fakeFactory();
        kiosk = std::make_unique<app::Kiosk>(o);
        kiosk->surface().show();
    }
    app::TForm1 &main() { return kiosk->mainWindow(); }
    photo::TForm5 &viewer() { return *kiosk->windows().form5; }
    QString mainCaption() { return main().findChild<QLabel *>("Label2")->text(); }
    void drag(QWidget *on, int fromX, int toX) {
        QTest::mousePress(on, Qt::LeftButton, {}, QPoint(fromX, 300));
        QTest::mouseMove(on, QPoint(toX, 305));
        QTest::mouseRelease(on, Qt::LeftButton, {}, QPoint(toX, 305));
    }
};

} // namespace

class TestPhotoKiosk : public QObject {
    Q_OBJECT
private slots:
    void mainSlideshowStartsAgainFromItsFirstPhoto();
    void aVisitorFlicksThroughTenCameraPhotos();
};

void TestPhotoKiosk::mainSlideshowStartsAgainFromItsFirstPhoto() {
    Kiosk k({"a.jpg", "b.jpg", "c.jpg", "d.jpg"});
    k.main().picShow().setThreaded(false);
    k.main().slideshow().setCurrentIndex(2); // as the slideshow left it

    QTest::mouseClick(k.main().findChild<QPushButton *>("Button22"), Qt::LeftButton);
    QVERIFY(k.viewer().isVisible());
    QCOMPARE(k.main().slideshow().currentIndex(), -1);
    QCOMPARE(k.viewer().photos().size(), 4);

    QTest::mouseClick(k.viewer().findChild<QToolButton *>("SpeedButton3"), Qt::LeftButton);
    QVERIFY(!k.viewer().isVisible());
    QCOMPARE(k.main().slideshow().currentIndex(), 0);
    QCOMPARE(k.main().picShow().style(), 130);
    QCOMPARE(k.mainCaption(), QStringLiteral("a"));
    QVERIFY(k.messages.entries.isEmpty());
}

void TestPhotoKiosk::aVisitorFlicksThroughTenCameraPhotos() {
    QStringList photos;
    for (int i = 1; i <= 10; ++i)
        photos << QStringLiteral("IMG_20260915_%1.JPG").arg(101000 + i);
    Kiosk k(photos, QSize(2400, 1600));
    photo::TForm5 &viewer = k.viewer();
    QSignalSpy pages(&viewer, &photo::TForm5::pageShown);

    QTest::mouseClick(k.main().findChild<QPushButton *>("Button22"), Qt::LeftButton);
    QVERIFY(viewer.isVisible());
    k.main().slideshowTimer().stop(); // no random change behind the viewer in this run
    QVERIFY(pages.wait(30000));
    for (int n = 1; n <= 16; ++n)
        QVERIFY(!viewer.thumbnail(n)->image().isNull());

    QTest::mouseDClick(viewer.thumbnail(3), Qt::LeftButton);
    QTRY_VERIFY(viewer.panel1()->isVisible());
    QCOMPARE(viewer.nameImage()->text(), QStringLiteral("IMG_20260915_101003."));
    QTRY_VERIFY_WITH_TIMEOUT(!viewer.picShow().empty(), 30000);
    QCOMPARE(viewer.picShow().picture().size(), QSize(1080, 720));
    QTRY_VERIFY_WITH_TIMEOUT(!viewer.picShow().busy(), 30000);

    k.drag(viewer.panel1(), 1000, 300); // next
    QTRY_COMPARE(viewer.nameImage()->text(), QStringLiteral("IMG_20260915_101004."));
    QTRY_VERIFY_WITH_TIMEOUT(!viewer.picShow().busy(), 30000);
    k.drag(viewer.panel1(), 300, 1000); // previous, twice
    QTRY_COMPARE(viewer.viewerPhotoIndex(), 2);
    QTRY_VERIFY_WITH_TIMEOUT(!viewer.picShow().busy(), 30000);
    k.drag(viewer.panel1(), 300, 1000);
    QTRY_COMPARE(viewer.nameImage()->text(), QStringLiteral("IMG_20260915_101002."));

    QTest::mouseClick(viewer.imageMinimize(), Qt::LeftButton);
    QVERIFY(!viewer.panel1()->isVisible());
    k.drag(&viewer, 1000, 300); // next page: photos 7..10 and around
    QTRY_COMPARE(viewer.thumbnail(1)->tag(), 6);
    QVERIFY(pages.wait(30000));

    QTest::mouseClick(viewer.findChild<QToolButton *>("SpeedButton3"), Qt::LeftButton);
    QVERIFY(!viewer.isVisible());
    QVERIFY(viewer.findChildren<photo::Thumbnail *>().isEmpty());
    QCOMPARE(k.main().slideshow().currentIndex(), 0);
    QTRY_COMPARE(k.mainCaption(), QStringLiteral("IMG_20260915_101001"));
    QVERIFY(k.messages.entries.isEmpty());
}

QTEST_MAIN(TestPhotoKiosk)
#include "test_photo_kiosk.moc"
