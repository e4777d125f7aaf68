#include "media/background_jobs.h"
#include "media/folder_listing.h"
#include "media/photo_decode.h"
#include "tests/media/media_files.h"
#include "tests/photo/photo_files.h"

#include <QDir>
#include <QImageReader>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <future>

using namespace kalmo;
using media::DecodedPhoto;
using testing::sameColour;

namespace {

void touch(const QString &path) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
}

QColor at(const QImage &image, double fx, double fy) {
    return image.pixelColor(int(fx * (image.width() - 1)), int(fy * (image.height() - 1)));
}

} // namespace

class TestMedia : public QObject {
    Q_OBJECT
private slots:
    void folderValuesBecomeFolderPaths_data();
    void folderValuesBecomeFolderPaths();
    void listingKeepsExactExtensionsInNaturalOrder();
    void missingOrEmptyFolders();
    void cameraPhotosAreTurnedUpright();
    void palettePicturesKeepTheirColours_data();
    void palettePicturesKeepTheirColours();
    void decodesAtTheShownSize();
    void brokenAndHostileFilesAreRefused_data();
    void brokenAndHostileFilesAreRefused();
    void photosStillBeingWrittenAreSkipped();
    void jobsAnswerOnTheirOwnThreadOrAfterTheTimeLimit();
    void hungJobsAreCappedAndNeverWaitedFor();
};

void TestMedia::folderValuesBecomeFolderPaths_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("path");
    QTest::newRow("absolute with separator") << "/srv/photo/"
                                             << "/srv/photo/";
    QTest::newRow("absolute without separator") << "/srv/photo"
                                                << "/srv/photo/";
    QTest::newRow("relative") << "photo/"
                              << "/base/photo/";
    QTest::newRow("relative without separator") << "school/photo"
                                                << "/base/school/photo/";
    QTest::newRow("backslashes") << "school\\photo\\"
                                 << "/base/school/photo/";
    QTest::newRow("backslash without separator") << "school\\photo"
                                                 << "/base/school/photo/";
    QTest::newRow("rooted backslashes") << "\\photo\\"
                                        << "/photo/";
    QTest::newRow("empty is no folder") << ""
                                        << "";
    QTest::newRow("blank is no folder") << "  "
                                        << "";
}

void TestMedia::folderValuesBecomeFolderPaths() {
    QFETCH(QString, value);
    QFETCH(QString, path);
    QCOMPARE(media::folderPath(value, "/base/"), path);
}

void TestMedia::listingKeepsExactExtensionsInNaturalOrder() {
    QTemporaryDir dir;
    const QString folder = dir.path() + '/';
    for (const char *name :
         {"photo10.jpg", "photo2.JPG", "a.Jpg", "b.jpe", "c.png", "d.PNG", "e.bmp", "f.BMP",
          "g.jpeg", "h.JPEG", "i.Png", "notes.txt", "jpg", "k.jpg.bak", ".hidden.jpg"})
        touch(folder + name);
    QVERIFY(QDir(folder).mkdir("album.jpg")); // a folder is never a photo
    const media::FolderListing listing = media::listFolder(folder, media::photoExtensions());
    QVERIFY(listing.available);
    QStringList expected;
    for (const char *name : {".hidden.jpg", "c.png", "d.PNG", "e.bmp", "f.BMP", "g.jpeg", "h.JPEG",
                             "photo2.JPG", "photo10.jpg"})
        expected << folder + name;
    QCOMPARE(listing.paths, expected);
}

void TestMedia::missingOrEmptyFolders() {
    QTemporaryDir dir;
    QVERIFY(!media::listFolder(dir.path() + "/missing/", media::photoExtensions()).available);
    QVERIFY(!media::listFolder(QString(), media::photoExtensions()).available);
    QVERIFY(!media::folderExists(QString())); // never the working folder
    touch(dir.path() + "/file.jpg");
    QVERIFY(!media::folderExists(dir.path() + "/file.jpg/"));
    const media::FolderListing empty = media::listFolder(dir.path() + "/", {".mp4"});
    QVERIFY(empty.available);
    QVERIFY(empty.paths.isEmpty());
}

// A photo taken with the camera on its side is stored landscape with orientation 6.
void TestMedia::cameraPhotosAreTurnedUpright() {
    QTemporaryDir dir;
    const QString path = dir.filePath("turned.jpg");
    testing::writeBytes(path,
                        testing::cameraJpeg(testing::halves(QSize(120, 80), Qt::red, Qt::blue), 6));
    const DecodedPhoto full = media::decodeToFit(path, QSize(1000, 1000));
    QCOMPARE(full.status, DecodedPhoto::Ok);
    QCOMPARE(full.image.size(), QSize(80, 120));
    // A quarter turn clockwise: the stored left half is on top.
    QVERIFY(sameColour(at(full.image, 0.5, 0.1), Qt::red));
    QVERIFY(sameColour(at(full.image, 0.5, 0.9), Qt::blue));
    // The fit is of the upright photo: 40 wide means 60 high, not 27.
    QCOMPARE(media::decodeToFit(path, QSize(40, 1000)).image.size(), QSize(40, 60));
    const DecodedPhoto thumb = media::decodeThumbnail(path, QSize(50, 30));
    QCOMPARE(thumb.image.size(), QSize(50, 30));
    QVERIFY(sameColour(at(thumb.image, 0.5, 0.1), Qt::red));
    QVERIFY(sameColour(at(thumb.image, 0.5, 0.9), Qt::blue));
}

void TestMedia::palettePicturesKeepTheirColours_data() {
    QTest::addColumn<int>("format");
    QTest::newRow("8-bit indexed PNG") << int(QImage::Format_Indexed8);
    QTest::newRow("1-bit PNG") << int(QImage::Format_Mono);
}

void TestMedia::palettePicturesKeepTheirColours() {
    QFETCH(int, format);
    QTemporaryDir dir;
    const QString path = dir.filePath("poster.png");
    const QColor left(200, 30, 40), right(20, 160, 60);
    QVERIFY(testing::paletteHalves(QSize(301, 199), left, right, QImage::Format(format))
                .save(path, "PNG"));
    QCOMPARE(int(QImageReader(path).imageFormat()), format); // stored with its palette
    for (const DecodedPhoto &d :
         {media::decodeThumbnail(path, QSize(77, 43)), media::decodeToFit(path, QSize(150, 150)),
          media::decodeToFit(path, QSize(1000, 1000))}) {
        QCOMPARE(d.status, DecodedPhoto::Ok);
        QCOMPARE(d.image.format(), QImage::Format_RGB32);
        for (double y : {0.1, 0.5, 0.9}) {
            QVERIFY(sameColour(at(d.image, 0.1, y), left, 8));
            QVERIFY(sameColour(at(d.image, 0.3, y), left, 8));
            QVERIFY(sameColour(at(d.image, 0.7, y), right, 8));
            QVERIFY(sameColour(at(d.image, 0.9, y), right, 8));
        }
    }
}

void TestMedia::decodesAtTheShownSize() {
    QTemporaryDir dir;
    testing::savePhoto(dir.filePath("big.jpg"), Qt::green, QSize(3000, 2000));
    testing::savePhoto(dir.filePath("small.png"), Qt::blue, QSize(300, 200));
    testing::savePhoto(dir.filePath("wide.bmp"), Qt::red, QSize(1200, 400));
    QCOMPARE(media::decodeToFit(dir.filePath("big.jpg"), QSize(1280, 720)).image.size(),
             QSize(1080, 720));
    QCOMPARE(media::decodeToFit(dir.filePath("small.png"), QSize(1280, 720)).image.size(),
             QSize(300, 200)); // never enlarged
    const DecodedPhoto wide = media::decodeThumbnail(dir.filePath("wide.bmp"), QSize(100, 90));
    QCOMPARE(wide.image.size(), QSize(100, 90)); // proportions not kept
    QVERIFY(sameColour(testing::centreColour(wide.image), Qt::red));
    // Rounded as the picture control rounds (1079.64 is 1080): nothing left to scale there.
    QCOMPARE(media::fitWithin(QSize(4000, 3001), QSize(1586, 810)), QSize(1080, 810));
    QCOMPARE(media::fitWithin(QSize(6000, 1000), QSize(1586, 810)), QSize(1586, 264));
}

void TestMedia::brokenAndHostileFilesAreRefused_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("status");
    QTest::newRow("not a picture")
        << QByteArray("not a jpeg at all") << int(DecodedPhoto::Unreadable);
    QTest::newRow("empty") << QByteArray() << int(DecodedPhoto::Unreadable);
    QTest::newRow("PNG bomb") << testing::bombBytes("PNG") << int(DecodedPhoto::TooLarge);
    QTest::newRow("JPEG bomb") << testing::bombBytes("JPG") << int(DecodedPhoto::TooLarge);
}

void TestMedia::brokenAndHostileFilesAreRefused() {
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    const QString path = dir.filePath(QTest::currentDataTag()[0] == 'J' ? "x.jpg" : "x.png");
    testing::writeBytes(path, bytes);
    for (const DecodedPhoto &d : {media::decodeThumbnail(path, QSize(100, 50)),
                                  media::decodeToFit(path, QSize(1920, 1080))}) {
        QTEST(int(d.status), "status");
        QVERIFY(d.image.isNull());
    }
    QCOMPARE(media::decodeToFit(dir.filePath("gone.jpg"), QSize(10, 10)).status,
             DecodedPhoto::Missing);
}

// The front of a photo still being copied in decodes "successfully" with a grey rest: it is
// refused until the file is whole.
void TestMedia::photosStillBeingWrittenAreSkipped() {
    QTemporaryDir dir;
    QImage noisy(400, 300, QImage::Format_RGB32);
    for (int y = 0; y < noisy.height(); ++y)
        for (int x = 0; x < noisy.width(); ++x)
            noisy.setPixel(x, y, qRgb((x * 7) % 256, (y * 13) % 256, (x * y) % 256));
    for (const char *format : {"JPG", "PNG", "BMP"}) {
        const QByteArray whole = testing::encoded(noisy, format);
        const QString path = dir.filePath(QStringLiteral("p.") + format);
        testing::writeBytes(path, whole.left(whole.size() * 6 / 10));
        const DecodedPhoto partial = media::decodeToFit(path, QSize(400, 300));
        QVERIFY2(partial.status == DecodedPhoto::Incomplete ||
                     partial.status == DecodedPhoto::Unreadable,
                 format);
        QVERIFY(partial.image.isNull());
        testing::writeBytes(path, whole);
        QCOMPARE(media::decodeToFit(path, QSize(400, 300)).status, DecodedPhoto::Ok);
    }
    // A phone's motion photo: a video after the picture's end marker. Whole all the same.
    const QString motion = dir.filePath("motion.jpg");
    testing::writeBytes(motion, testing::encoded(noisy, "JPG") + QByteArray(5000, '\x42'));
    QCOMPARE(media::decodeToFit(motion, QSize(400, 300)).status, DecodedPhoto::Ok);
}

void TestMedia::jobsAnswerOnTheirOwnThreadOrAfterTheTimeLimit() {
    media::BackgroundJobs jobs(std::chrono::seconds(30));
    std::optional<Qt::HANDLE> ranOn;
    jobs.run([] { return QThread::currentThreadId(); },
             [&](std::optional<Qt::HANDLE> thread) { ranOn = thread.value_or(nullptr); });
    QVERIFY(!ranOn); // answers later, never inside run()
    QTRY_VERIFY_WITH_TIMEOUT(ranOn.has_value(), 30000);
    QVERIFY(*ranOn && *ranOn != QThread::currentThreadId());

    // A job that hangs past the limit gives "no answer"; its late result is dropped.
    jobs.setTimeLimit(std::chrono::milliseconds(20));
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    QList<std::optional<int>> answers;
    jobs.run(
        [released] {
            released.wait();
            return 7;
        },
        [&](std::optional<int> answer) { answers << answer; });
    QTRY_COMPARE_WITH_TIMEOUT(answers.size(), 1, 30000);
    QVERIFY(!answers.first());
    release.set_value();
    QTRY_COMPARE_WITH_TIMEOUT(jobs.inFlight(), 0, 30000);
    QCoreApplication::processEvents();
    QCOMPARE(answers.size(), 1);
}

void TestMedia::hungJobsAreCappedAndNeverWaitedFor() {
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    int noAnswer = 0;
    {
        media::BackgroundJobs jobs(std::chrono::seconds(30));
        for (int i = 0; i < media::BackgroundJobs::kMaxInFlight; ++i)
            jobs.run(
                [released] {
                    released.wait();
                    return true;
                },
                [](std::optional<bool>) {});
        QCOMPARE(jobs.inFlight(), media::BackgroundJobs::kMaxInFlight);
        // One more is not started: it says "no answer" at once instead of piling up threads.
        jobs.run([] { return true; }, [&](std::optional<bool> a) { noAnswer += !a; });
        QTRY_COMPARE_WITH_TIMEOUT(noAnswer, 1, 30000);
    }                    // gone while its jobs hang: the destructor returns
    release.set_value(); // the jobs end later and find nobody to answer
}

QTEST_GUILESS_MAIN(TestMedia)
#include "test_media.moc"
