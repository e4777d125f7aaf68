#include "photo/photo_decode.h"
#include "photo/photo_decoder.h"
#include "photo/photo_list.h"
#include "photo/viewer_layout.h"
#include "tests/photo/photo_files.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace kalmo;
using namespace kalmo::photo;
using kalmo::testing::centreColour;
using kalmo::testing::photoColour;
using kalmo::testing::sameColour;
using kalmo::testing::savePhoto;

Q_DECLARE_METATYPE(kalmo::photo::PageCounter::Page)

namespace {

PageCounter::Page pageOf(std::initializer_list<int> indices) {
    PageCounter::Page page{};
    std::copy(indices.begin(), indices.end(), page.begin());
    return page;
}

void touch(const QString &path) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
}

} // namespace

class TestPhotoLogic : public QObject {
    Q_OBJECT
private slots:
    void listKeepsExactExtensionsInNaturalOrder();
    void unreadableFolderIsNoList();
    void captionEndsAtTheLastDot_data();
    void captionEndsAtTheLastDot();
    void forwardPages_data();
    void forwardPages();
    void backwardPages_data();
    void backwardPages();
    void layoutFollowsTheScreen();
    void thumbnailsDecodeAtTheirSize();
    void fullViewFitsAndNeverEnlarges();
    void brokenAndHostileFilesAreRefused_data();
    void brokenAndHostileFilesAreRefused();
    void decoderDeliversOnlyTheLatestPage();
};

void TestPhotoLogic::listKeepsExactExtensionsInNaturalOrder() {
    QTemporaryDir dir;
    const QString folder = dir.path() + '/';
    for (const char *name :
         {"photo10.jpg", "photo2.JPG", "a.Jpg", "b.jpe", "c.png", "d.PNG", "e.bmp", "f.BMP",
          "g.jpeg", "h.JPEG", "i.Png", "notes.txt", "jpg", "k.jpg.bak"})
        touch(folder + name);
    QVERIFY(QDir(folder).mkdir("album.jpg")); // a folder is never a photo
    const std::optional<QStringList> list = listViewerPhotos(folder);
    QVERIFY(list);
    QStringList expected;
    for (const char *name :
         {"c.png", "d.PNG", "e.bmp", "f.BMP", "g.jpeg", "h.JPEG", "photo2.JPG", "photo10.jpg"})
        expected << folder + name;
    QCOMPARE(*list, expected);

    // Without the trailing separator the paths still join properly.
    QCOMPARE(listViewerPhotos(dir.path())->first(), folder + "c.png");
}

void TestPhotoLogic::unreadableFolderIsNoList() {
    QTemporaryDir dir;
    QVERIFY(!listViewerPhotos(dir.path() + "/missing/"));
    QVERIFY(!listViewerPhotos(QString())); // not the working folder
    QVERIFY(!photoFolderExists(QString()));
    QVERIFY(listViewerPhotos(dir.path() + '/')->isEmpty());
}

void TestPhotoLogic::captionEndsAtTheLastDot_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("caption");
    QTest::newRow("plain") << "/p/sea.jpg"
                           << "sea.";
    QTest::newRow("dots in the name") << "/p/summer.2020.jpg"
                                      << "summer.2020.";
    QTest::newRow("dots in the folder") << "/p.q/r.s/x.PNG"
                                        << "x.";
    QTest::newRow("Cyrillic") << "/фото/Выпуск 2024.jpeg"
                              << "Выпуск 2024.";
}

void TestPhotoLogic::captionEndsAtTheLastDot() {
    QFETCH(QString, path);
    QFETCH(QString, caption);
    QCOMPARE(captionFor(path), caption);
}

void TestPhotoLogic::forwardPages_data() {
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("pagesBefore");
    QTest::addColumn<PageCounter::Page>("page");
    QTest::addColumn<int>("counter");
    QTest::newRow("5 photos repeat around the page")
        << 5 << 0 << pageOf({0, 1, 2, 3, 4, 0, 1, 2, 3, 4, 0, 1, 2, 3, 4, 0}) << 1;
    QTest::newRow("exactly 16") << 16 << 0
                                << pageOf({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15})
                                << 0;
    QTest::newRow("40, third page wraps")
        << 40 << 2 << pageOf({32, 33, 34, 35, 36, 37, 38, 39, 0, 1, 2, 3, 4, 5, 6, 7}) << 8;
    QTest::newRow("1 photo everywhere")
        << 1 << 0 << pageOf({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}) << 0;
    QTest::newRow("empty list") << 0 << 0
                                << pageOf({-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1,
                                           -1, -1})
                                << 0;
}

void TestPhotoLogic::forwardPages() {
    QFETCH(int, count);
    QFETCH(int, pagesBefore);
    PageCounter pages;
    pages.reset(count);
    for (int k = 0; k < pagesBefore; ++k)
        pages.forward();
    QTEST(pages.forward(), "page");
    QTEST(pages.counter(), "counter");
}

void TestPhotoLogic::backwardPages_data() {
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("pagesBefore");
    QTest::addColumn<PageCounter::Page>("page");
    QTest::addColumn<int>("counter");
    // The counter goes back 16 around the list.
    QTest::newRow("40 from the first page")
        << 40 << 1 << pageOf({25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39, 0}) << 24;
    QTest::newRow("40 from the third page, around the list")
        << 40 << 3 << pageOf({17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32})
        << 16;
    QTest::newRow("40 from the second page")
        << 40 << 2 << pageOf({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}) << 0;
    QTest::newRow("5 photos walk backwards around")
        << 5 << 1 << pageOf({0, 1, 2, 3, 4, 0, 1, 2, 3, 4, 0, 1, 2, 3, 4, 0}) << 4;
    QTest::newRow("20, back twice shows another page")
        << 20 << -2 << pageOf({9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 0, 1, 2, 3, 4}) << 8;
    QTest::newRow("empty list") << 0 << 1
                                << pageOf({-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1,
                                           -1, -1})
                                << 0;
}

void TestPhotoLogic::backwardPages() {
    QFETCH(int, count);
    QFETCH(int, pagesBefore);
    PageCounter pages;
    pages.reset(count);
    // A negative count: forward twice, back once, before the page checked.
    for (int k = 0; k < std::abs(pagesBefore); ++k)
        pages.forward();
    if (pagesBefore < 0)
        pages.backward();
    QTEST(pages.backward(), "page");
    QTEST(pages.counter(), "counter");

    // A list that shrank under the counter starts again from its first photo.
    if (count > 1) {
        pages.setCount(1);
        QCOMPARE(pages.forward()[0], 0);
    }
}

void TestPhotoLogic::layoutFollowsTheScreen() {
    const ViewerLayout l = ViewerLayout::forScreen(QSize(1920, 1080));
    QCOMPARE(l.window, QRect(0, 0, 1920, 1080));
    QCOMPARE(l.speedButton1, QRect(1800, 10, 80, 68));
    QCOMPARE(l.speedButton2, QRect(40, 10, 80, 68));
    QCOMPARE(l.speedButton3, QRect(926, 10, 68, 68));
    QCOMPARE(l.scrollBox1, QRect(0, 83, 1920, 992));
    QCOMPARE(l.thumbnail, QSize(464, 230));
    // Column by column, top to bottom.
    QCOMPARE(l.thumbnailRect(1).topLeft(), QPoint(12, 12));
    QCOMPARE(l.thumbnailRect(2).topLeft(), QPoint(12, 257));
    QCOMPARE(l.thumbnailRect(4).topLeft(), QPoint(12, 747));
    QCOMPARE(l.thumbnailRect(5).topLeft(), QPoint(488, 12));
    QCOMPARE(l.thumbnailRect(16), QRect(1440, 747, 464, 230));
    QCOMPARE(l.thumbnailArea(), QSize(1904, 977));
    QCOMPARE(ViewerLayout::nameImagePos(QSize(1920, 1080), 200), QPoint(860, 1025));
    QCOMPARE(ViewerLayout::imageMinimizePos(QSize(1920, 1080), 180), QPoint(1720, 5));
}

void TestPhotoLogic::thumbnailsDecodeAtTheirSize() {
    QTemporaryDir dir;
    savePhoto(dir.filePath("wide.jpg"), Qt::red, QSize(1200, 400));
    savePhoto(dir.filePath("tiny.png"), Qt::blue, QSize(20, 10));
    const DecodedPhoto wide = decodeThumbnail(dir.filePath("wide.jpg"), QSize(100, 90));
    QCOMPARE(wide.status, DecodedPhoto::Ok);
    QCOMPARE(wide.image.size(), QSize(100, 90)); // proportions not kept
    QCOMPARE(wide.image.format(), QImage::Format_RGB32);
    QVERIFY(sameColour(centreColour(wide.image), Qt::red));
    QCOMPARE(decodeThumbnail(dir.filePath("tiny.png"), QSize(100, 90)).image.size(),
             QSize(100, 90));
}

void TestPhotoLogic::fullViewFitsAndNeverEnlarges() {
    QTemporaryDir dir;
    savePhoto(dir.filePath("big.jpg"), Qt::green, QSize(3000, 2000));
    savePhoto(dir.filePath("small.png"), Qt::blue, QSize(300, 200));
    QCOMPARE(decodeToFit(dir.filePath("big.jpg"), QSize(1280, 720)).image.size(), QSize(1080, 720));
    QCOMPARE(decodeToFit(dir.filePath("small.png"), QSize(1280, 720)).image.size(),
             QSize(300, 200));
}

void TestPhotoLogic::brokenAndHostileFilesAreRefused_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("status");
    QTest::newRow("not a picture")
        << QByteArray("not a jpeg at all") << int(DecodedPhoto::Unreadable);
    QTest::newRow("empty") << QByteArray() << int(DecodedPhoto::Unreadable);
    QTest::newRow("PNG bomb") << testing::bombBytes("PNG") << int(DecodedPhoto::TooLarge);
    QTest::newRow("JPEG bomb") << testing::bombBytes("JPG") << int(DecodedPhoto::TooLarge);
}

void TestPhotoLogic::brokenAndHostileFilesAreRefused() {
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    const QString path = dir.filePath(QTest::currentDataTag()[0] == 'J' ? "x.jpg" : "x.png");
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    f.close();
    for (const DecodedPhoto &d :
         {decodeThumbnail(path, QSize(100, 50)), decodeToFit(path, QSize(1920, 1080))}) {
        QTEST(int(d.status), "status");
        QVERIFY(d.image.isNull());
    }
}

void TestPhotoLogic::decoderDeliversOnlyTheLatestPage() {
    QTemporaryDir dir;
    QStringList first, second;
    for (int i = 0; i < 16; ++i) {
        const QString a = dir.filePath(QStringLiteral("a%1.jpg").arg(i));
        const QString b = dir.filePath(QStringLiteral("b%1.png").arg(i % 3));
        savePhoto(a, photoColour(i), QSize(800, 600));
        if (i < 3)
            savePhoto(b, photoColour(20 + i), QSize(800, 600));
        first << a;
        second << b;
    }
    PhotoDecoder decoder;
    QSignalSpy thumbnails(&decoder, &PhotoDecoder::thumbnailDecoded);
    QSignalSpy pages(&decoder, &PhotoDecoder::pageDecoded);
    decoder.requestPage(first, QSize(40, 30));
    decoder.requestPage(second, QSize(40, 30)); // pages on before the first arrived
    QCOMPARE(decoder.pendingThumbnails(), 16);
    QVERIFY(pages.wait(10000));
    QCOMPARE(decoder.pendingThumbnails(), 0);
    QCOMPARE(thumbnails.size(), 16);
    QSet<int> slotsSeen;
    for (const QList<QVariant> &args : thumbnails) {
        const int slot = args[0].toInt();
        slotsSeen.insert(slot);
        const QImage image = args[1].value<QImage>();
        QCOMPARE(image.size(), QSize(40, 30));
        QVERIFY(sameColour(centreColour(image), photoColour(20 + slot % 3)));
    }
    QCOMPARE(slotsSeen.size(), 16);
    // Nothing of the first page arrives later either.
    QCoreApplication::processEvents();
    QCOMPARE(thumbnails.size(), 16);
    QCOMPARE(pages.size(), 1);
}

QTEST_MAIN(TestPhotoLogic)
#include "test_photo_logic.moc"
