#include "core/clock.h"
#include "core/log.h"
#include "core/log_file.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace kalmo::core;

namespace {

QStringList linesOf(const QString &path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

} // namespace

class TestLogFile : public QObject {
    Q_OBJECT
private slots:
    void linesCarryTimeLevelAndCategory();
    void rotatesKeepingOneOldFile();
    void handsBackThePreviousHandler();
};

void TestLogFile::linesCarryTimeLevelAndCategory() {
    QTemporaryDir dir;
    ManualClock clock(QDateTime(QDate(2026, 12, 10), QTime(8, 40, 20, 5)));
    const QString path = dir.filePath("kalmo.log");
    {
        LogFile log({path, LogFile::DefaultRotateBytes, false, &clock});
        QVERIFY(log.isOpen());
        qCWarning(kalmo::lcWeather) << "no answer from"
                                    << "informer";
        qCInfo(kalmo::lcCalendar, "bad colour\r\nnext line");
        qWarning("from Qt itself");
    }
    QCOMPARE(linesOf(path),
             (QStringList{"2026-12-10 08:40:20.005 warning kalmo.weather: no answer from informer",
                          "2026-12-10 08:40:20.005 info kalmo.calendar: bad colour | next line",
                          "2026-12-10 08:40:20.005 warning default: from Qt itself"}));
}

void TestLogFile::rotatesKeepingOneOldFile() {
    QTemporaryDir dir;
    ManualClock clock;
    const QString path = dir.filePath("kalmo.log");
    LogFile log({path, 400, false, &clock});
    for (int i = 0; i < 40; ++i)
        log.write(QtWarningMsg, "kalmo.app", QStringLiteral("line %1").arg(i));
    QVERIFY(QFile(path).size() <= 400);
    QVERIFY(QFile(path + ".1").size() <= 400);
    QVERIFY(!QFile::exists(path + ".2"));
    // Nothing between the two files is lost: the newest lines are in the current file and
    // the old file ends where the current one starts.
    const QStringList current = linesOf(path), old = linesOf(path + ".1");
    QVERIFY(current.last().endsWith("line 39"));
    const int firstCurrent = current.first().section(' ', -1).toInt();
    QVERIFY(old.last().endsWith(QStringLiteral("line %1").arg(firstCurrent - 1)));
}

void TestLogFile::handsBackThePreviousHandler() {
    static QStringList seen;
    seen.clear();
    const QtMessageHandler before = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext &, const QString &m) { seen << m; });
    QTemporaryDir dir;
    {
        LogFile log({dir.filePath("kalmo.log"), LogFile::DefaultRotateBytes, false, nullptr});
        qWarning("into the file");
    }
    qWarning("back to the handler");
    qInstallMessageHandler(before);
    QCOMPARE(seen, QStringList{"back to the handler"});
    QCOMPARE(linesOf(dir.filePath("kalmo.log")).size(), 1);
}

QTEST_GUILESS_MAIN(TestLogFile)
#include "test_log_file.moc"
