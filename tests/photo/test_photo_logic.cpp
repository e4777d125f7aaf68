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

} // namespace

class TestPhotoLogic : public QObject {
    Q_OBJECT
private slots:
    void captionEndsAtTheLastDot_data();
    void captionEndsAtTheLastDot();
    void forwardPages_data();
    void forwardPages();
    void backwardPages_data();
    void backwardPages();
    void layoutFollowsTheScreen();
    void decoderDeliversOnlyTheLatestPage();
};

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
