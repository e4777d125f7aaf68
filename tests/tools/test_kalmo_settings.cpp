#include "core/file_lock.h"
#include "core/ini_file.h"

#include "tests/support/test_files.h"
#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using kalmo::core::FileLock;
using kalmo::testing::readAll;
using kalmo::testing::writeAll;

namespace {

struct Run {
    int status = -1;
    QByteArray out, err;
};

Run kalmoSettings(const QStringList &args) {
    QProcess p;
    p.start(QStringLiteral(KALMO_SETTINGS_TOOL), args);
    Run r;
    if (!p.waitForFinished(60000))
        return r;
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

} // namespace

class TestKalmoSettings : public QObject {
    Q_OBJECT
private slots:
    void getSetAndListOnTheStore();
    void failuresSayWhyOnOneLine_data();
    void failuresSayWhyOnOneLine();
};

void TestKalmoSettings::getSetAndListOnTheStore() {
    QTemporaryDir dir;
    const QString path = dir.filePath("kalmora.ini");
    // Windows-1251 text stays Windows-1251; names match without regard to case.
    writeAll(path, QByteArray("[Name]\r\nButtonSite=\xc2\xe0\xf8 \xd1\xc0\xc9\xd2\r\n"));
    Run r = kalmoSettings({"get", path, "name", "buttonsite"});
    QCOMPARE(r.status, 0);
    QCOMPARE(QString::fromUtf8(r.out), QStringLiteral("Ваш САЙТ\n"));

    QCOMPARE(kalmoSettings({"set", path, "time", "image", "7"}).status, 0);
    QCOMPARE(kalmoSettings({"set", path, "Name", "ButtonSite", "Сайт школы"}).status, 0);
    QCOMPARE(readAll(path), QByteArray("[Name]\r\nButtonSite=\xd1\xe0\xe9\xf2 \xf8\xea\xee\xeb\xfb"
                                       "\r\n\r\n[time]\r\nimage=7\r\n"));
    QVERIFY(!QFile::exists(FileLock::lockPathFor(path))); // the lock went with the write

    r = kalmoSettings({"list", path});
    QCOMPARE(r.status, 0);
    QCOMPARE(QString::fromUtf8(r.out),
             QStringLiteral("[Name]\nButtonSite=Сайт школы\n\n[time]\nimage=7\n"));

    // A set creates a file that is not there yet.
    const QString fresh = dir.filePath("new.ini");
    QCOMPARE(kalmoSettings({"set", fresh, "ini", "file", "1"}).status, 0);
    QCOMPARE(readAll(fresh), QByteArray("[ini]\r\nfile=1\r\n"));
}

void TestKalmoSettings::failuresSayWhyOnOneLine_data() {
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("reason");
    QTest::newRow("no command") << "" << QStringList{} << 2 << "usage: kalmo-settings";
    QTest::newRow("unknown command") << "" << QStringList{"delete", "F"} << 2 << "usage:";
    QTest::newRow("too few words") << "" << QStringList{"set", "F", "a", "b"} << 2 << "usage:";
    QTest::newRow("key not there")
        << "file" << QStringList{"get", "F", "a", "zz"} << 1 << "has no key zz in section [a]";
    QTest::newRow("get from no file")
        << "" << QStringList{"get", "F", "a", "b"} << 1 << "no such file";
    QTest::newRow("list of no file") << "" << QStringList{"list", "F"} << 1 << "no such file";
    QTest::newRow("a folder in the file's place")
        << "folder" << QStringList{"list", "F"} << 1 << "cannot read";
    QTest::newRow("a folder in the file's place, set")
        << "folder" << QStringList{"set", "F", "a", "b", "1"} << 1 << "cannot read";
    QTest::newRow("read-only file")
        << "readonly" << QStringList{"set", "F", "a", "b", "2"} << 1 << "Unable to write to";
    QTest::newRow("no folder for it")
        << "nofolder" << QStringList{"set", "F", "a", "b", "2"} << 1 << "Unable to write to";
}

void TestKalmoSettings::failuresSayWhyOnOneLine() {
    QFETCH(QString, setup);
    QFETCH(QStringList, args);
    QFETCH(int, status);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    QString path = dir.filePath("k.ini");
    if (setup == "file" || setup == "readonly")
        writeAll(path, "[a]\nb=1\n");
    if (setup == "readonly")
        QFile::setPermissions(path, QFile::ReadOwner);
    if (setup == "folder")
        QVERIFY(QDir(dir.path()).mkdir("k.ini"));
    if (setup == "nofolder")
        path = dir.filePath("gone/k.ini");
    args.replaceInStrings(QRegularExpression("^F$"), path);
    const Run r = kalmoSettings(args);
    QCOMPARE(r.status, status);
    QVERIFY(r.out.isEmpty());
    QVERIFY2(r.err.endsWith('\n') && r.err.count('\n') == 1, r.err.constData());
    QVERIFY2(QString::fromUtf8(r.err).contains(reason), r.err.constData());
    if (setup == "readonly")
        QCOMPARE(readAll(path), QByteArray("[a]\nb=1\n"));
}

QTEST_GUILESS_MAIN(TestKalmoSettings)
#include "test_kalmo_settings.moc"
