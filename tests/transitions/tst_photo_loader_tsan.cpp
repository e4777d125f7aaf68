// The photo decoding that feeds the transitions, run under ThreadSanitizer: decodes on
// worker threads, results handed to the GUI thread, superseded and abandoned requests.
#include "app/photo_loader.h"

#include <QTemporaryDir>
#include <QtTest>

using kalmo::app::PhotoLoader;

class TestPhotoLoaderTsan : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_wide, m_tall;

private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        m_wide = m_dir.filePath("wide.jpg");
        m_tall = m_dir.filePath("tall.png");
        QImage wide(600, 400, QImage::Format_RGB32);
        wide.fill(qRgb(200, 10, 10));
        QVERIFY(wide.save(m_wide));
        QImage tall(100, 300, QImage::Format_ARGB32);
        tall.fill(qRgb(10, 10, 200));
        QVERIFY(tall.save(m_tall));
    }

    void decodesOnThePoolAtTheShownSize() {
        PhotoLoader loader;
        QSignalSpy loaded(&loader, &PhotoLoader::loaded);
        loader.request(m_wide, m_dir.path(), QSize(300, 300));
        QTRY_COMPARE_WITH_TIMEOUT(loaded.size(), 1, 30000);
        const QImage image = loaded.first().at(1).value<QImage>();
        QCOMPARE(image.size(), QSize(300, 200));
        QCOMPARE(image.format(), QImage::Format_RGB32);
    }

    // Only the newest request is answered; the others run to their end and are dropped.
    void aNewerRequestSupersedes() {
        QSignalSpy *loaded = nullptr;
        {
            PhotoLoader loader;
            loaded = new QSignalSpy(&loader, &PhotoLoader::loaded);
            for (int i = 0; i < 4; ++i)
                loader.request(i % 2 ? m_tall : m_wide, m_dir.path(), QSize(200, 200));
            QTRY_COMPARE_WITH_TIMEOUT(loaded->size(), 1, 30000);
            QCOMPARE(loaded->first().at(0).toString(), m_tall);
            QCoreApplication::sendPostedEvents();
            QCOMPARE(loaded->size(), 1);
        }
        delete loaded;
    }

    // Gone while its decodes run: they end alone and find nobody to answer.
    void destroyingWhileDecodingLeavesThemAlone() {
        for (int i = 0; i < 5; ++i) {
            auto loader = std::make_unique<PhotoLoader>();
            loader->request(m_wide, m_dir.path(), QSize(100, 100));
            loader.reset();
            QCoreApplication::processEvents();
        }
        // A loader after them still answers.
        PhotoLoader loader;
        QSignalSpy loaded(&loader, &PhotoLoader::loaded);
        loader.request(m_tall, m_dir.path(), QSize(100, 100));
        QTRY_COMPARE_WITH_TIMEOUT(loaded.size(), 1, 30000);
        QTRY_COMPARE_WITH_TIMEOUT(loader.jobs().inFlight(), 0, 30000);
    }
};

QTEST_MAIN(TestPhotoLoaderTsan)
#include "tst_photo_loader_tsan.moc"
