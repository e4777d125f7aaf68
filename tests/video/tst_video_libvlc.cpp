#include "video_fixtures.h"

#include "core/clock.h"
#include "core/idle_clock.h"
#include "core/messages.h"
#include "core/program_values.h"
#include "video/video_window.h"
#include "video/vlc_library.h"
#include "video/vlc_player.h"

#include <QDir>
#include <QFile>
#include <QMutex>
#include <QPointer>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace kalmo;
using video::VlcPlayer;

namespace {

// libvlc's messages seen by the program's log.
QMutex logMutex;
QStringList videoLog;
QtMessageHandler previousHandler = nullptr;

void recordLog(QtMsgType type, const QMessageLogContext &context, const QString &text) {
    if (context.category && QByteArray(context.category) == "kalmo.video") {
        QMutexLocker lock(&logMutex);
        videoLog << text;
    }
    if (type >= QtWarningMsg && previousHandler)
        previousHandler(type, context, text);
}

bool isRed(QRgb c) {
    return qRed(c) > 200 && qGreen(c) < 60 && qBlue(c) < 60;
}

} // namespace

class TestVideoLibvlc : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void playsIntoTheWidgetWithTimeAndLength();
    void pauseTogglesAndAHiddenPlayerRests();
    void playsAgainAfterTheEnd();
    void m3uPlaysTheVideoItNames();
    void undecodableFileStaysBlackAndIsLogged();
    void screenPlaysGoodFilesBesideACorruptOne();
    void videoDeletedWhilePlaying();

private:
    std::unique_ptr<VlcPlayer> shownPlayer(QSize size = QSize(320, 240));

    QTemporaryDir m_dir;
    QString m_red, m_blue, m_short, m_corrupt, m_list;
    std::unique_ptr<video::VlcLibrary> m_vlc;
};

void TestVideoLibvlc::initTestCase() {
    previousHandler = qInstallMessageHandler(recordLog);
    const QString ffmpeg = QStringLiteral(KALMO_FFMPEG);
    if (ffmpeg.isEmpty() || ffmpeg.endsWith("NOTFOUND"))
        QFAIL("ffmpeg is needed to make the test videos (scripts/install-deps)");
    const QString d = m_dir.path() + u'/';
    m_red = d + "red.mp4";
    m_blue = d + "blue.mp4";
    m_short = d + "short.mp4";
    const QString red = "color=c=red:size=160x120:rate=25";
    QString error = testing::makeClip(ffmpeg, m_red, red, 3, true);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    error = testing::makeClip(ffmpeg, m_blue, "color=c=blue:size=160x120:rate=25", 3);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    error = testing::makeClip(ffmpeg, m_short, red, 0.4);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    m_corrupt = d + "corrupt.mp4";
    QFile corrupt(m_corrupt);
    QVERIFY(corrupt.open(QIODevice::WriteOnly));
    QByteArray junk(64 * 1024, '\0');
    for (int i = 0; i < junk.size(); ++i)
        junk[i] = char((i * 7919 + 13) % 251);
    corrupt.write(junk);
    corrupt.close();
    m_list = d + "list.m3u";
    QFile list(m_list);
    QVERIFY(list.open(QIODevice::WriteOnly));
    list.write("#EXTM3U\nred.mp4\n");
    list.close();
    // No sound card in CI; the video callbacks need no display.
    m_vlc = std::make_unique<video::VlcLibrary>(QStringList{"--aout=dummy", "--avcodec-hw=none"});
}

void TestVideoLibvlc::cleanupTestCase() {
    m_vlc.reset();
    qInstallMessageHandler(previousHandler);
}

std::unique_ptr<VlcPlayer> TestVideoLibvlc::shownPlayer(QSize size) {
    auto p = std::make_unique<VlcPlayer>(*m_vlc, nullptr);
    p->resize(size);
    p->show();
    return p;
}

void TestVideoLibvlc::playsIntoTheWidgetWithTimeAndLength() {
    auto p = shownPlayer();
    QCOMPARE(p->length(), 0);
    p->addTarget(m_red);
    p->setVolume(4);
    p->play();
    QTRY_VERIFY_WITH_TIMEOUT(!p->currentFrame().isNull(), 20000);
    QVERIFY(m_vlc->started());
    // 160x120 fills a 320x240 widget: the frame arrives already scaled.
    QCOMPARE(p->currentFrame().size(), QSize(320, 240));
    QVERIFY(isRed(p->currentFrame().pixel(160, 120)));
    QVERIFY(isRed(p->grab().toImage().pixel(10, 10)));
    QTRY_VERIFY_WITH_TIMEOUT(p->length() > 0, 20000);
    QVERIFY2(qAbs(p->length() - 3000) < 200, qPrintable(QString::number(p->length())));
    QTRY_VERIFY_WITH_TIMEOUT(p->time() > 0, 20000);
}

void TestVideoLibvlc::pauseTogglesAndAHiddenPlayerRests() {
    auto p = shownPlayer();
    // What loading a tile does: the preview ends up playing.
    p->addTarget(m_blue);
    p->setVolume(0);
    p->play();
    p->pause();
    p->pause();
    QTRY_VERIFY_WITH_TIMEOUT(p->enginePlaying(), 20000);
    p->pause();
    QTRY_VERIFY_WITH_TIMEOUT(p->enginePaused(), 20000);
    p->pause();
    QTRY_VERIFY_WITH_TIMEOUT(p->enginePlaying(), 20000);
    p->hide();
    QTRY_VERIFY_WITH_TIMEOUT(p->enginePaused(), 20000);
    p->show();
    QTRY_VERIFY_WITH_TIMEOUT(p->enginePlaying(), 20000);
    p->stop();
    QVERIFY(!p->enginePlaying());
    QCOMPARE(p->time(), 0);
}

void TestVideoLibvlc::playsAgainAfterTheEnd() {
    auto p = shownPlayer();
    p->addTarget(m_short);
    p->play();
    QTRY_VERIFY_WITH_TIMEOUT(p->engineEnded(), 20000);
    QVERIFY(!p->currentFrame().isNull()); // the last picture stays
    const auto shown = p->frames().framesShown();
    p->play();
    QTRY_VERIFY_WITH_TIMEOUT(p->frames().framesShown() > shown, 20000);
    QTRY_VERIFY_WITH_TIMEOUT(p->engineEnded(), 20000);
}

void TestVideoLibvlc::m3uPlaysTheVideoItNames() {
    auto p = shownPlayer();
    p->addTarget(m_list);
    p->playlistNext();
    QTRY_VERIFY_WITH_TIMEOUT(!p->currentFrame().isNull(), 20000);
    QVERIFY(isRed(p->currentFrame().pixel(160, 120)));
    QTRY_VERIFY_WITH_TIMEOUT(p->length() > 2000, 20000);
}

void TestVideoLibvlc::undecodableFileStaysBlackAndIsLogged() {
    {
        QMutexLocker lock(&logMutex);
        videoLog.clear();
    }
    auto p = shownPlayer();
    p->addTarget(m_corrupt);
    p->play();
    QTRY_VERIFY_WITH_TIMEOUT(p->engineFailed() || p->engineEnded(), 20000);
    QVERIFY(p->currentFrame().isNull());
    QCOMPARE(p->grab().toImage().pixel(10, 10), qRgb(0, 0, 0));
    QCOMPARE(p->length(), 0);
    QMutexLocker lock(&logMutex);
    QVERIFY2(videoLog.filter(QRegularExpression("^vlc ")).size() > 0,
             qPrintable(videoLog.join('\n')));
}

void TestVideoLibvlc::screenPlaysGoodFilesBesideACorruptOne() {
    QTemporaryDir base;
    core::ProgramValues values;
    values.videoFolder = base.path() + "/video/";
    QDir().mkpath(values.videoFolder);
    QVERIFY(QFile::copy(m_red, values.videoFolder + "a.mp4"));
    QVERIFY(QFile::copy(m_corrupt, values.videoFolder + "b.mp4"));
    QVERIFY(QFile::copy(m_blue, values.videoFolder + "c.mp4"));
    core::RecordingMessages messages;
    core::ManualClock clock;
    core::IdleClock idle(clock);
    video::TForm6 form(
        video::VideoServices{values, messages, idle, QSize(800, 600), m_vlc->factory()});
    form.open();
    // The loading panel runs on its own timer.
    QTRY_VERIFY_WITH_TIMEOUT(!form.loadingTimer().isActive(), 20000);
    auto *a = static_cast<VlcPlayer *>(form.player(1));
    auto *b = static_cast<VlcPlayer *>(form.player(2));
    auto *c = static_cast<VlcPlayer *>(form.player(3));
    QTRY_VERIFY_WITH_TIMEOUT(!a->currentFrame().isNull() && !c->currentFrame().isNull(), 20000);
    QTRY_VERIFY_WITH_TIMEOUT(b->engineFailed() || b->engineEnded(), 20000);
    QVERIFY(b->currentFrame().isNull());
    QVERIFY(a->enginePlaying() && c->enginePlaying());

    // Played with sound and full screen: the frames follow the player's new size.
    form.playClick(3);
    form.fullScreenClick(3);
    QTRY_VERIFY_WITH_TIMEOUT(c->currentFrame().height() == 600 - 95, 20000);
    QTRY_VERIFY_WITH_TIMEOUT(a->enginePaused(), 20000); // hidden behind the full screen
    form.closeFormClick();
    QCOMPARE(form.player(1), nullptr);
}

void TestVideoLibvlc::videoDeletedWhilePlaying() {
    QTemporaryDir dir;
    const QString path = dir.path() + "/gone.mp4";
    QVERIFY(QFile::copy(m_red, path));
    auto p = shownPlayer();
    p->addTarget(path);
    p->play();
    QTRY_VERIFY_WITH_TIMEOUT(!p->currentFrame().isNull(), 20000);
    QVERIFY(QFile::remove(path));
    // Played again from the start, the missing file ends in an error, not a crash.
    p->stop();
    p->play();
    QTRY_VERIFY_WITH_TIMEOUT(p->engineFailed() || p->engineEnded(), 20000);
    p->stop();
}

QTEST_MAIN(TestVideoLibvlc)
#include "tst_video_libvlc.moc"
