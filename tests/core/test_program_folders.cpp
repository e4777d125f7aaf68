#include "core/program_folders.h"
#include "core/program_values.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace kalmo::core;

namespace {

void touch(const QString &path, const QByteArray &bytes = "x") {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray contents(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestProgramFolders : public QObject {
    Q_OBJECT
private slots:
    void buildTreeUsesTheExecutablesFolder();
    void installedUsesShareAndTheUsersDataFolder();
    void anExplicitBaseWins();
    void copyMissingNeverOverwrites();
    void assetsPreferTheBaseFolder();
};

void TestProgramFolders::buildTreeUsesTheExecutablesFolder() {
    QTemporaryDir root;
    touch(root.filePath("build/cloudiness/00.png"));
    // A share/kalmo elsewhere on the machine must not pull a build tree to it.
    touch(root.filePath("share/kalmo/cloudiness/00.png"));
    const ProgramFolders f =
        resolveProgramFolders(root.filePath("build"), {}, "/home/x/.local/share");
    QVERIFY(!f.installed);
    QCOMPARE(f.data, root.filePath("build") + '/');
    QCOMPARE(f.base, root.filePath("build") + '/');
}

void TestProgramFolders::installedUsesShareAndTheUsersDataFolder() {
    QTemporaryDir root;
    touch(root.filePath("usr/bin/kalmo"));
    touch(root.filePath("usr/share/kalmo/cloudiness/00.png"));
    const ProgramFolders f =
        resolveProgramFolders(root.filePath("usr/bin"), {}, root.filePath("home/.local/share"));
    QVERIFY(f.installed);
    QCOMPARE(f.data, root.filePath("usr/share/kalmo") + '/');
    QCOMPARE(f.base, root.filePath("home/.local/share/kalmo") + '/');
}

void TestProgramFolders::anExplicitBaseWins() {
    QTemporaryDir root;
    touch(root.filePath("usr/share/kalmo/cloudiness/00.png"));
    QDir().mkpath(root.filePath("usr/bin"));
    const ProgramFolders f =
        resolveProgramFolders(root.filePath("usr/bin"), root.filePath("kiosk/../kiosk"), "/h");
    QCOMPARE(f.base, root.filePath("kiosk") + '/');
    QVERIFY(f.installed);
}

void TestProgramFolders::copyMissingNeverOverwrites() {
    QTemporaryDir from, to;
    touch(from.filePath("image/Новый год.jpg"), "shipped");
    touch(from.filePath("image/event.png"), "shipped");
    touch(to.filePath("image/event.png"), "the administrator's own");
    QVERIFY(copyMissing(from.path(), to.path()));
    QCOMPARE(contents(to.filePath("image/Новый год.jpg")), QByteArray("shipped"));
    QCOMPARE(contents(to.filePath("image/event.png")), QByteArray("the administrator's own"));
    QVERIFY(copyMissing(from.filePath("missing"), to.path()));
}

void TestProgramFolders::assetsPreferTheBaseFolder() {
    QTemporaryDir base, data;
    ProgramValues v;
    v.baseFolder = base.path() + '/';
    v.programDataFolder = data.path() + '/';
    touch(data.filePath("cloudiness/00.png"));
    QCOMPARE(v.asset("cloudiness/00.png"), data.filePath("cloudiness/00.png"));
    touch(base.filePath("cloudiness/00.png"));
    QCOMPARE(v.asset("cloudiness/00.png"), base.filePath("cloudiness/00.png"));
    // Missing everywhere: the base folder's name, so a message names the file to supply.
    QCOMPARE(v.asset("missing.png"), base.filePath("missing.png"));
}

QTEST_GUILESS_MAIN(TestProgramFolders)
#include "test_program_folders.moc"
