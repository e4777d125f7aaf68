#include "core/clock.h"
#include "core/idle_clock.h"
#include "core/messages.h"
#include "core/program_values.h"
#include "photo/photo_window.h"
#include "photo/thumbnail.h"
#include "tests/media/media_files.h"
#include "tests/photo/photo_files.h"
#include "transitions/picshow.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace kalmo;
using kalmo::photo::Swipe;
using kalmo::photo::TForm5;
using kalmo::photo::Thumbnail;
using kalmo::testing::centreColour;
using kalmo::testing::photoColour;
using kalmo::testing::sameColour;
using kalmo::testing::savePhoto;

namespace {

const QString kNoFolder = QStringLiteral("Отсутствует доступ к каталогу с фото");
const QString kNoPhoto = QStringLiteral("Отсутствует доступ к фото");

QStringList numbered(int count, const QString &pattern = QStringLiteral("p%1.jpg")) {
    QStringList names;
    for (int i = 1; i <= count; ++i)
        names << pattern.arg(i);
    return names;
}

// A viewer on a fresh photo folder whose photo i has colour photoColour(i). Decoding and
// transitions run on the GUI thread unless asked otherwise, so each step is one call.
struct Viewer {
    QTemporaryDir dir;
    QString folder = dir.path() + "/photo/";
    core::ProgramValues values;
    core::RecordingMessages messages;
    core::ManualClock clock;
    core::IdleClock idle{clock};
    std::unique_ptr<TForm5> form;

    explicit Viewer(const QStringList &names, QSize photoSize = QSize(120, 80),
                    bool synchronous = true) {
        QDir().mkpath(folder);
        for (int i = 0; i < names.size(); ++i)
            savePhoto(folder + names[i], photoColour(i), photoSize);
        values.photoFolder = folder;
        form = std::make_unique<TForm5>(
            photo::PhotoViewerServices{values, messages, idle, QSize(1280, 720)});
        form->decoder().setSynchronous(synchronous);
        form->picShow().setThreaded(false);
    }
    Thumbnail *thumb(int number) const { return form->thumbnail(number); }
    QList<int> tags() const {
        QList<int> out;
        for (int n = 1; n <= 16; ++n)
            out << (thumb(n) ? thumb(n)->tag() : -2);
        return out;
    }
    bool fullView() const { return form->panel1()->isVisible(); }
    // Every thumbnail shows the photo its tag names.
    bool thumbnailsMatchTags() const {
        for (int n = 1; n <= 16; ++n) {
            const Thumbnail *t = thumb(n);
            if (!t || !sameColour(centreColour(t->image()), photoColour(t->tag())))
                return false;
        }
        return true;
    }
    void drag(QWidget *on, int fromX, int toX) {
        const QPoint from(fromX, 300), to(toX, 310);
        QTest::mousePress(on, Qt::LeftButton, {}, from);
        QTest::mouseMove(on, to);
        QTest::mouseRelease(on, Qt::LeftButton, {}, to);
    }
    void finishTransition() {
        for (int k = 0; k < 10000 && form->picShow().tick(); ++k) {
        }
        QVERIFY(!form->picShow().busy());
    }
};

QList<int> range(int from, int to, int count) { // from..to inclusive around a list of count
    QList<int> out;
    for (int i = from;; i = (i + 1) % count) {
        out << i;
        if (i == to)
            break;
    }
    return out;
}

} // namespace

class TestPhotoViewer : public QObject {
    Q_OBJECT
private slots:
    void fivePhotosFillTheSixteenThumbnails();
    void pagesTurnByButtonsAndSwipes();
    void doubleTapOpensTheFullView();
    void swipeDuringATransitionKeepsItsPicture();
    void undecodableAndHostileFilesStayEmpty();
    void emptyFolderShowsAnEmptyPage();
    void vanishedPhotoRebuildsTheList_data();
    void vanishedPhotoRebuildsTheList();
    void closingDestroysThumbnailsOnce_data();
    void closingDestroysThumbnailsOnce();
    void closeButtonShowsWhileTouchedAndIdleCloses();
    void decodesOffTheGuiThreadPageByPage();
    void cameraAndPalettePhotosShowRight();
    void everyFormOfTheFolderValueOpens_data();
    void everyFormOfTheFolderValueOpens();
    void photoStillBeingWrittenStaysEmpty();
};

void TestPhotoViewer::fivePhotosFillTheSixteenThumbnails() {
    Viewer v(numbered(5));
    QSignalSpy rebuilt(v.form.get(), &TForm5::photoListRebuilt);
    QSignalSpy shown(v.form.get(), &TForm5::pageShown);
    v.form->open();
    QVERIFY(v.form->isVisible());
    QCOMPARE(v.form->geometry(), QRect(0, 0, 1280, 720));
    QCOMPARE(rebuilt.size(), 1);
    QCOMPARE(shown.size(), 1);
    QCOMPARE(v.tags(), (QList<int>{0, 1, 2, 3, 4, 0, 1, 2, 3, 4, 0, 1, 2, 3, 4, 0}));
    QCOMPARE(v.form->pageCounter().counter(), 1);
    QVERIFY(v.thumbnailsMatchTags());
    for (int n = 1; n <= 16; ++n) {
        QCOMPARE(v.thumb(n)->geometry(), v.form->layoutRules().thumbnailRect(n));
        QCOMPARE(v.thumb(n)->image().size(), v.form->layoutRules().thumbnail);
        QCOMPARE(v.thumb(n)->accessibleName(), QStringLiteral("MyImage%1").arg(n));
    }
    QCOMPARE(v.thumb(1)->parentWidget()->parentWidget(), v.form->scrollBox1()->viewport());
    for (const char *name : {"SpeedButton1", "SpeedButton2", "SpeedButton3"}) {
        auto *button = v.form->findChild<QToolButton *>(name);
        QVERIFY(button && button->isVisible());
        QCOMPARE(button->accessibleName(), QLatin1String(name));
        QVERIFY(!button->icon().isNull());
    }
    QCOMPARE(v.form->idleTimer().interval(), 1000);
    QVERIFY(v.form->idleTimer().isActive());
    QVERIFY(!v.fullView());
    QVERIFY(v.messages.entries.isEmpty());
}

void TestPhotoViewer::pagesTurnByButtonsAndSwipes() {
    Viewer v(numbered(20));
    v.form->open();
    QTest::mouseClick(v.form->findChild<QToolButton *>("SpeedButton1"), Qt::LeftButton);
    QCOMPARE(v.tags(), range(16, 11, 20));
    QCOMPARE(v.form->pageCounter().counter(), 12);
    QVERIFY(v.thumbnailsMatchTags());

    // A finger moving right pages back: photos 16 down to 1.
    v.drag(v.form.get(), 500, 900);
    QTRY_COMPARE(v.form->pageCounter().counter(), 0);
    QCOMPARE(v.tags(), range(1, 16, 20));
    QVERIFY(v.thumbnailsMatchTags());

    QTest::mouseClick(v.form->findChild<QToolButton *>("SpeedButton2"), Qt::LeftButton);
    QCOMPARE(v.tags(), range(9, 4, 20)); // counted around the list
    QCOMPARE(v.form->pageCounter().counter(), 8);

    // A finger moving left, starting on a thumbnail, pages on.
    v.drag(v.thumb(6), 400, 100);
    QTRY_COMPARE(v.form->pageCounter().counter(), 4);
    QCOMPARE(v.tags(), range(8, 3, 20));
    QVERIFY(v.messages.entries.isEmpty());
}

void TestPhotoViewer::doubleTapOpensTheFullView() {
    Viewer v({"summer.2020.jpg", "b.png", "c.JPG"}, QSize(2560, 1200));
    v.form->open();
    QTest::mouseDClick(v.thumb(3), Qt::LeftButton);
    QTRY_VERIFY(v.fullView());
    QCOMPARE(v.form->viewerPhotoIndex(), 2); // b.png, c.JPG, summer.2020.jpg
    QCOMPARE(v.form->nameImage()->text(), QStringLiteral("summer.2020."));

    QTest::mouseDClick(&v.form->picShow(), Qt::LeftButton); // back to the page
    QVERIFY(!v.fullView());
    QCOMPARE(v.form->panel1()->size(), QSize(100, 100));
    QVERIFY(!v.form->picShow().busy());
    QCOMPARE(v.tags(), (QList<int>{0, 1, 2, 0, 1, 2, 0, 1, 2, 0, 1, 2, 0, 1, 2, 0}));

    v.form->myImageDblClick(3);
    QVERIFY(v.fullView());
    QCOMPARE(v.form->panel1()->geometry(), QRect(0, 0, 1280, 720));
    QCOMPARE(v.form->picShow().geometry(), QRect(0, 0, 1280, 720));
    QCOMPARE(v.form->picShow().style(), 52);
    QVERIFY(v.form->picShow().busy());
    // Decoded at the size it is shown: 2560 x 1200 fits the screen as 1280 x 600.
    QCOMPARE(v.form->picShow().picture().size(), QSize(1280, 600));
    QLabel *name = v.form->nameImage();
    QCOMPARE(name->text(), QStringLiteral("summer.2020."));
    QCOMPARE(name->accessibleName(), name->text());
    QCOMPARE(name->geometry().top(), 720 - 55);
    QCOMPARE(name->geometry().left(), 640 - name->width() / 2);
    QPushButton *close = v.form->imageMinimize();
    QCOMPARE(close->text(), QStringLiteral("ЗАКРЫТЬ"));
    QCOMPARE(close->accessibleName(), close->text());
    QCOMPARE(close->geometry().topRight(), QPoint(1280 - 20 - 1, 5));

    // Paging swipes and double taps on thumbnails wait while a photo is shown.
    v.form->formGesture(Swipe::Left);
    QCOMPARE(v.form->pageCounter().counter(), 1);
    v.form->myImageDblClick(2);
    QCOMPARE(v.form->viewerPhotoIndex(), 2);

    QTest::mouseClick(close, Qt::LeftButton);
    QVERIFY(!v.fullView());
    QVERIFY(v.messages.entries.isEmpty());
}

void TestPhotoViewer::swipeDuringATransitionKeepsItsPicture() {
    Viewer v(numbered(3), QSize(400, 300));
    v.form->open();
    v.form->myImageDblClick(1);
    QVERIFY(v.form->picShow().busy());

    v.form->panel1Gesture(Swipe::Left);
    QCOMPARE(v.form->viewerPhotoIndex(), 1);
    QCOMPARE(v.form->nameImage()->text(), QStringLiteral("p2."));
    QCOMPARE(v.form->picShow().style(), 15);
    QVERIFY(sameColour(centreColour(v.form->picShow().picture()), photoColour(1)));
    QVERIFY(v.form->picShow().busy());
    v.finishTransition();
    // The transition that ran ends on the earlier photo; the new one is not animated in.
    QVERIFY(sameColour(centreColour(v.form->picShow().frame()), photoColour(0)));

    // With nothing running, a swipe animates; right of the first wraps to the last.
    v.form->panel1Gesture(Swipe::Right);
    v.form->panel1Gesture(Swipe::Right); // ignored by the engine: still busy
    QCOMPARE(v.form->viewerPhotoIndex(), 2);
    QCOMPARE(v.form->picShow().style(), 14);
    v.finishTransition();
    QVERIFY(sameColour(centreColour(v.form->picShow().frame()), photoColour(0)));
    v.form->panel1Gesture(Swipe::Left); // past the last, back to the first
    QCOMPARE(v.form->viewerPhotoIndex(), 0);
    v.finishTransition();
    QVERIFY(sameColour(centreColour(v.form->picShow().frame()), photoColour(0)));

    // A finger on the full view steps photos, not pages.
    v.drag(v.form->panel1(), 900, 300);
    QTRY_COMPARE(v.form->viewerPhotoIndex(), 1);
    QCOMPARE(v.form->pageCounter().counter(), 1);
}

void TestPhotoViewer::undecodableAndHostileFilesStayEmpty() {
    Viewer v({"a.png"});
    testing::writeBytes(v.folder + "broken.jpg", "not a jpeg at all");
    testing::writeBytes(v.folder + "bomb.png", testing::bombBytes("PNG"));
    QSignalSpy shown(v.form.get(), &TForm5::pageShown);
    v.form->open();
    QCOMPARE(shown.size(), 1);
    // a.png, bomb.png, broken.jpg
    QVERIFY(sameColour(centreColour(v.thumb(1)->image()), photoColour(0)));
    QVERIFY(v.thumb(2)->image().isNull());
    QVERIFY(v.thumb(3)->image().isNull());

    v.form->myImageDblClick(1);
    v.finishTransition();
    v.form->panel1Gesture(Swipe::Right); // to broken.jpg
    QVERIFY(v.fullView());
    QCOMPARE(v.form->nameImage()->text(), QStringLiteral("broken."));
    QVERIFY(v.form->picShow().empty());
    QVERIFY(!v.form->picShow().busy());
    QVERIFY(v.form->picShow().frame().isNull()); // the background only
    v.form->panel1Gesture(Swipe::Right);         // to the bomb
    QCOMPARE(v.form->nameImage()->text(), QStringLiteral("bomb."));
    QVERIFY(v.form->picShow().empty());
    QVERIFY(v.messages.entries.isEmpty());
}

void TestPhotoViewer::emptyFolderShowsAnEmptyPage() {
    Viewer v{QStringList()};
    testing::writeBytes(v.folder + "notes.txt", "no pictures here");
    QSignalSpy shown(v.form.get(), &TForm5::pageShown);
    v.form->open();
    QVERIFY(v.form->isVisible());
    QCOMPARE(shown.size(), 1);
    QCOMPARE(v.tags(), QList<int>(16, -1));
    v.form->speedButton1Click();
    v.form->speedButton2Click();
    v.form->formGesture(Swipe::Left);
    v.form->myImageDblClick(1);
    QVERIFY(v.form->isVisible());
    QVERIFY(!v.fullView());
    QCOMPARE(v.tags(), QList<int>(16, -1));
    QVERIFY(v.messages.entries.isEmpty());
}

void TestPhotoViewer::vanishedPhotoRebuildsTheList_data() {
    QTest::addColumn<bool>("bySwipe");
    QTest::newRow("double tap") << false;
    QTest::newRow("swipe in the full view") << true;
}

void TestPhotoViewer::vanishedPhotoRebuildsTheList() {
    QFETCH(bool, bySwipe);
    Viewer v(numbered(5));
    QSignalSpy rebuilt(v.form.get(), &TForm5::photoListRebuilt);
    v.form->open();
    v.form->speedButton1Click(); // tags 1, 2, 3, 4, 0, ...; counter 2
    QVERIFY(QFile::remove(v.folder + "p2.jpg"));
    if (bySwipe) {
        v.form->myImageDblClick(5); // p1
        QVERIFY(v.fullView());
        v.form->panel1Gesture(Swipe::Left);
    } else {
        v.form->myImageDblClick(1);
    }
    QCOMPARE(v.messages.texts(), QStringList{kNoPhoto});
    QVERIFY(!v.fullView());
    QVERIFY(v.form->isVisible());
    QCOMPARE(rebuilt.size(), 2);
    QCOMPARE(v.form->photos().size(), 4);
    QVERIFY(!v.form->photos().contains(v.folder + "p2.jpg"));
    // The page starts again from the first photo.
    QCOMPARE(v.tags(), (QList<int>{0, 1, 2, 3, 0, 1, 2, 3, 0, 1, 2, 3, 0, 1, 2, 3}));
    QCOMPARE(v.form->pageCounter().counter(), 0);
    QVERIFY(sameColour(centreColour(v.thumb(2)->image()), photoColour(2))); // p3
}

void TestPhotoViewer::closingDestroysThumbnailsOnce_data() {
    QTest::addColumn<QString>("way");
    QTest::addColumn<QStringList>("messages");
    QTest::newRow("close button") << "close button" << QStringList();
    QTest::newRow("Escape ignored, then the close button") << "Escape" << QStringList();
    QTest::newRow("window closed") << "window closed" << QStringList();
    QTest::newRow("idle in full view") << "idle" << QStringList();
    QTest::newRow("folder gone, next page") << "next page" << QStringList{kNoFolder};
    QTest::newRow("folder gone, previous page") << "previous page" << QStringList{kNoFolder};
    QTest::newRow("folder gone, swipe") << "swipe" << QStringList{kNoFolder};
    QTest::newRow("folder gone, double tap") << "double tap" << QStringList{kNoFolder, kNoPhoto};
}

void TestPhotoViewer::closingDestroysThumbnailsOnce() {
    QFETCH(QString, way);
    Viewer v(numbered(3));
    QSignalSpy finished(v.form.get(), &QDialog::finished);
    v.form->open();
    int destroyed = 0;
    for (Thumbnail *t : v.form->findChildren<Thumbnail *>())
        connect(t, &QObject::destroyed, [&destroyed] { ++destroyed; });

    if (way == "close button") {
        QTest::mouseClick(v.form->findChild<QToolButton *>("SpeedButton3"), Qt::LeftButton);
    } else if (way == "Escape") {
        QTest::keyClick(v.form.get(), Qt::Key_Escape);
        QVERIFY(v.form->isVisible());
        QCOMPARE(destroyed, 0);
        QTest::mouseClick(v.form->findChild<QToolButton *>("SpeedButton3"), Qt::LeftButton);
    } else if (way == "window closed") {
        v.form->close();
    } else if (way == "idle") {
        v.form->myImageDblClick(2);
        v.clock.advanceMs(120000);
        v.form->timer1Timer();
        QVERIFY(!v.fullView());
    } else {
        QVERIFY(QDir(v.folder).removeRecursively());
        if (way == "next page")
            v.form->speedButton1Click();
        else if (way == "previous page")
            v.form->speedButton2Click();
        else if (way == "swipe")
            v.drag(v.form.get(), 900, 500);
        else
            v.form->myImageDblClick(1);
    }
    QTRY_VERIFY(!v.form->isVisible());
    QCOMPARE(destroyed, 16);
    QVERIFY(v.form->findChildren<Thumbnail *>().isEmpty());
    QCOMPARE(v.tags(), QList<int>(16, -2));
    QCOMPARE(finished.size(), 1);
    QVERIFY(!v.form->idleTimer().isActive());
    QTEST(v.messages.texts(), "messages");

    // Opened again, the viewer builds a fresh page (or reports the folder gone once more).
    v.messages.entries.clear();
    v.form->open();
    if (QDir(v.folder).exists()) {
        QVERIFY(v.form->isVisible());
        QCOMPARE(v.form->findChildren<Thumbnail *>().size(), 16);
        QCOMPARE(v.form->pageCounter().counter(), 1);
    } else {
        QVERIFY(!v.form->isVisible());
        QCOMPARE(v.messages.texts(), QStringList{kNoFolder});
        QCOMPARE(finished.size(), 2);
        QVERIFY(v.form->findChildren<Thumbnail *>().isEmpty());
        QCOMPARE(v.form->windowModality(), Qt::ApplicationModal);
    }
}

void TestPhotoViewer::closeButtonShowsWhileTouchedAndIdleCloses() {
    Viewer v(numbered(2));
    QSignalSpy finished(v.form.get(), &QDialog::finished);
    v.form->open();
    v.form->myImageDblClick(1);
    QPushButton *close = v.form->imageMinimize();
    v.form->timer1Timer(); // idle 0
    QVERIFY(close->isVisible());
    v.clock.advanceMs(1999);
    v.form->timer1Timer();
    QVERIFY(close->isVisible());
    v.clock.advanceMs(1);
    v.form->timer1Timer();
    QVERIFY(!close->isVisible());
    v.idle.touch();
    v.form->timer1Timer();
    QVERIFY(close->isVisible());
    v.clock.advanceMs(119999);
    v.form->timer1Timer();
    QVERIFY(v.form->isVisible() && v.fullView());
    v.clock.advanceMs(1);
    v.form->timer1Timer();
    QVERIFY(!v.form->isVisible());
    QVERIFY(!v.fullView());
    QVERIFY(!v.form->idleTimer().isActive());
    QCOMPARE(finished.size(), 1);
}

void TestPhotoViewer::decodesOffTheGuiThreadPageByPage() {
    Viewer v(numbered(40), QSize(1600, 1200), false);
    v.form->picShow().setThreaded(true);
    QSignalSpy shown(v.form.get(), &TForm5::pageShown);
    v.form->open();
    QVERIFY(shown.wait(20000));
    QVERIFY(v.thumbnailsMatchTags());

    // Pages turned before their pictures arrived never show another page's photo.
    v.form->speedButton1Click();
    v.form->speedButton1Click();
    v.form->speedButton2Click();
    QTRY_COMPARE_WITH_TIMEOUT(shown.size(), 2, 20000);
    QCOMPARE(v.tags(), range(17, 32, 40));
    QVERIFY(v.thumbnailsMatchTags());

    v.form->myImageDblClick(4);
    QTRY_VERIFY_WITH_TIMEOUT(!v.form->picShow().empty(), 20000);
    QCOMPARE(v.form->picShow().picture().size(), QSize(960, 720));
    QTRY_VERIFY_WITH_TIMEOUT(!v.form->picShow().busy(), 20000);
    QVERIFY(sameColour(centreColour(v.form->picShow().frame()), photoColour(20)));
}

void TestPhotoViewer::cameraAndPalettePhotosShowRight() {
    Viewer v({});
    const QSize size(600, 400); // larger than a thumbnail: scaled on the way
    testing::writeBytes(v.folder + "camera.jpg",
                        testing::cameraJpeg(testing::halves(size, Qt::red, Qt::blue), 6));
    for (const auto &[name, format] : {std::pair{"poster1.png", QImage::Format_Mono},
                                       std::pair{"poster8.png", QImage::Format_Indexed8}})
        QVERIFY(testing::paletteHalves(size, Qt::red, Qt::blue, format).save(v.folder + name));
    v.form->open();
    QCOMPARE(v.form->photos().size(), 3);
    const auto colourAt = [](const QImage &image, double fx, double fy) {
        return image.pixelColor(int(fx * (image.width() - 1)), int(fy * (image.height() - 1)));
    };
    // Upright, the camera's left half is on top; the posters keep their halves side by side.
    const QImage camera = v.thumb(1)->image();
    QVERIFY(sameColour(colourAt(camera, 0.5, 0.15), Qt::red));
    QVERIFY(sameColour(colourAt(camera, 0.5, 0.85), Qt::blue));
    for (int n : {2, 3}) {
        const QImage poster = v.thumb(n)->image();
        QVERIFY2(sameColour(colourAt(poster, 0.15, 0.5), Qt::red, 8),
                 qPrintable(QString::number(n)));
        QVERIFY(sameColour(colourAt(poster, 0.85, 0.5), Qt::blue, 8));
    }
    v.form->myImageDblClick(1);
    v.finishTransition();
    QCOMPARE(v.form->picShow().picture().size(), QSize(400, 600));
}

void TestPhotoViewer::everyFormOfTheFolderValueOpens_data() {
    QTest::addColumn<QString>("value");
    QTest::newRow("relative") << "photo/";
    QTest::newRow("relative without separator") << "photo";
    QTest::newRow("absolute without separator") << "{base}photo";
    QTest::newRow("backslash") << "photo\\";
}

void TestPhotoViewer::everyFormOfTheFolderValueOpens() {
    QFETCH(QString, value);
    Viewer v(numbered(3));
    v.values.baseFolder = v.dir.path() + '/';
    v.values.photoFolder = QString(value).replace("{base}", v.values.baseFolder);
    v.form->open();
    QVERIFY(v.form->isVisible());
    QVERIFY(v.messages.entries.isEmpty());
    QCOMPARE(v.form->photos(),
             QStringList({v.folder + "p1.jpg", v.folder + "p2.jpg", v.folder + "p3.jpg"}));
    QVERIFY(v.thumbnailsMatchTags());
    v.form->speedButton1Click(); // the folder check before a page finds it too
    QVERIFY(v.form->isVisible());
    QVERIFY(v.messages.entries.isEmpty());
}

// The front of a photo still being copied in is no picture: its thumbnail stays empty.
void TestPhotoViewer::photoStillBeingWrittenStaysEmpty() {
    Viewer v(numbered(2));
    QImage noisy(800, 600, QImage::Format_RGB32);
    for (int y = 0; y < noisy.height(); ++y)
        for (int x = 0; x < noisy.width(); ++x)
            noisy.setPixel(x, y, qRgb((x * 7) % 256, (y * 13) % 256, (x * y) % 256));
    const QByteArray whole = testing::encoded(noisy, "JPG");
    testing::writeBytes(v.folder + "p3.jpg", whole.left(whole.size() / 2));
    v.form->open();
    QCOMPARE(v.tags().mid(0, 3), (QList<int>{0, 1, 2}));
    QVERIFY(!v.thumb(1)->image().isNull());
    QVERIFY(v.thumb(3)->image().isNull());
    v.form->myImageDblClick(3);
    QVERIFY(v.form->picShow().picture().isNull());
    QVERIFY(v.form->isVisible());
}

QTEST_MAIN(TestPhotoViewer)
#include "test_photo_viewer.moc"
