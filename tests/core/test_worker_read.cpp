#include "core/worker_read.h"

#include <QSemaphore>
#include <QThread>
#include <QtTest>
#include <atomic>
#include <memory>

using namespace kalmo::core;
using namespace std::chrono_literals;

namespace {

// A job that hangs like a call on a stopped share until the test lets it go.
struct HungShare {
    std::shared_ptr<QSemaphore> gate = std::make_shared<QSemaphore>();
    std::shared_ptr<std::atomic<bool>> entered = std::make_shared<std::atomic<bool>>(false);
    std::shared_ptr<std::atomic<bool>> left = std::make_shared<std::atomic<bool>>(false);
    std::function<int()> job(int result) const {
        return [gate = gate, entered = entered, left = left, result] {
            *entered = true;
            gate->acquire();
            *left = true;
            return result;
        };
    }
    void answer() const { gate->release(); }
};

} // namespace

class TestWorkerRead : public QObject {
    Q_OBJECT
private slots:
    void resultArrivesOnTheCallersThread();
    void guiThreadRunsOnWhileTheShareHangs();
    void lateResultStillArrivesAfterTheLimit();
    void destroyedReaderDropsTheResult();
    void throwingJobFreesTheReader();
    void startAndWaitHandsOverOrLeavesItToDone();
};

void TestWorkerRead::resultArrivesOnTheCallersThread() {
    WorkerRead<QString> read;
    QThread *jobThread = nullptr;
    QThread *doneThread = nullptr;
    QString got;
    QVERIFY(read.start(
        [&jobThread] {
            jobThread = QThread::currentThread();
            return QStringLiteral("text");
        },
        [&](QString text) {
            doneThread = QThread::currentThread();
            got = text;
        }));
    QTRY_COMPARE(got, QStringLiteral("text"));
    QVERIFY(jobThread != QThread::currentThread());
    QCOMPARE(doneThread, QThread::currentThread());
    QVERIFY(!read.busy());
    // Free again: the next job starts.
    QVERIFY(read.start([] { return QStringLiteral("again"); }, [&](QString text) { got = text; }));
    QTRY_COMPARE(got, QStringLiteral("again"));
}

void TestWorkerRead::guiThreadRunsOnWhileTheShareHangs() {
    HungShare share;
    WorkerRead<int> read(1h);
    int result = 0;
    QVERIFY(read.start(share.job(7), [&](int r) { result = r; }));
    QTRY_VERIFY(share.entered->load());

    // The watchdog: a timer on this thread keeps firing while the job is blocked.
    int ticks = 0;
    QTimer watchdog;
    watchdog.setInterval(5);
    connect(&watchdog, &QTimer::timeout, this, [&] { ++ticks; });
    watchdog.start();
    QTRY_VERIFY(ticks >= 20);
    QCOMPARE(result, 0);
    QVERIFY(read.busy());
    // One blocked thread per reader, never a pile of them.
    QVERIFY(!read.start([] { return 1; }, [&](int r) { result = r; }));

    share.answer();
    QTRY_COMPARE(result, 7);
    QVERIFY(!read.busy());
}

void TestWorkerRead::lateResultStillArrivesAfterTheLimit() {
    HungShare share;
    WorkerRead<int> read(1ms);
    int timeouts = 0, result = 0;
    QVERIFY(read.start(
        share.job(3), [&](int r) { result = r; }, [&] { ++timeouts; }));
    QTRY_COMPARE(timeouts, 1);
    QVERIFY(read.overdue());
    QCOMPARE(result, 0);
    share.answer();
    QTRY_COMPARE(result, 3);
    QCOMPARE(timeouts, 1);
    QVERIFY(!read.overdue());
}

void TestWorkerRead::destroyedReaderDropsTheResult() {
    HungShare share;
    bool called = false;
    {
        WorkerRead<int> read;
        QVERIFY(read.start(share.job(1), [&](int) { called = true; }));
        QTRY_VERIFY(share.entered->load());
    }
    share.answer();
    // The job's thread finishes into a future nobody watches.
    QTRY_VERIFY(share.left->load());
    QCoreApplication::processEvents();
    QVERIFY(!called);
}

void TestWorkerRead::throwingJobFreesTheReader() {
    WorkerRead<int> read;
    bool called = false;
    QVERIFY(read.start([]() -> int { throw std::runtime_error("stale handle"); },
                       [&](int) { called = true; }));
    QTRY_VERIFY(!read.busy());
    QVERIFY(!called);
}

void TestWorkerRead::startAndWaitHandsOverOrLeavesItToDone() {
    WorkerRead<int> read;
    int done = 0;
    // In time: the caller has it at once, and `done` is not called as well.
    QCOMPARE(read.startAndWait([] { return 5; }, 1h, [&](int r) { done = r; }), std::optional(5));
    QTRY_VERIFY(!read.busy());
    QCoreApplication::processEvents();
    QCOMPARE(done, 0);

    // Not in time: nothing now, `done` when the share answers.
    HungShare share;
    QCOMPARE(read.startAndWait(share.job(9), 1ms, [&](int r) { done = r; }), std::nullopt);
    share.answer();
    QTRY_COMPARE(done, 9);
}

QTEST_GUILESS_MAIN(TestWorkerRead)
#include "test_worker_read.moc"
