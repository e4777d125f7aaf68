#include "app/settings_files.h"
#include "core/ini_file.h"
#include "schedule/schedule_files.h"

#include "tests/support/test_files.h"
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using kalmo::app::SettingsFiles;
using kalmo::core::IniFile;
using kalmo::core::ProgramValues;
using kalmo::core::RecordingMessages;

using kalmo::testing::readAll;
using kalmo::testing::writeAll;

namespace {

QByteArray fixture(const QString &name, const QString &base) {
    QByteArray bytes = readAll(QStringLiteral(KALMO_TEST_DATA "/app/") + name);
    return bytes.replace("@BASE@/", base.toUtf8());
}

// One program start, as far as the settings files go.
struct Start {
    ProgramValues values;
    RecordingMessages messages;
    SettingsFiles files{values, messages};
    explicit Start(const QString &base) {
        values.baseFolder = base;
        files.readAtStart();
        files.firstStartMain();
        try {
            kalmo::schedule::scheduleFirstStart(values.scheduleFilePath());
        } catch (const kalmo::core::IniWriteError &e) {
            messages.show(e.text());
        }
    }
};

} // namespace

class TestSettingsFiles : public QObject {
    Q_OBJECT
private slots:
    void firstStartWritesDefaultsOnce();
    void pointerPathStaysInForceForTheRun();
    void startReadsStoredValues();
    void badIntegersAreReportedOnceAndDefaulted();
    void unwritableBaseKeepsDefaults();
    void oversizedSettingsAreNeitherReadNorRewritten();
    void rereadUsesItsOwnDefaultsAndRetriesWhenMissing();
    void unreadableRereadKeepsTheValues_data();
    void unreadableRereadKeepsTheValues();
    void unreadablePointerKeepsThePathInForce();
    void windows1251SettingsKeepTheirEncoding();
};

void TestSettingsFiles::firstStartWritesDefaultsOnce() {
    QTemporaryDir dir;
    const QString base = dir.path() + '/';
    {
        Start s(base);
        QVERIFY(s.messages.entries.isEmpty());
        // The first run uses the start defaults, not what it just wrote.
        QCOMPARE(s.values.buttonSite, QStringLiteral("САЙТ"));
        QCOMPARE(s.values.zastavka, QString("false"));
        QCOMPARE(s.values.siteFontSize, 20);
        QCOMPARE(s.values.scrollingTextFile, QString("text.txt"));
        QCOMPARE(s.values.password, QString("3049"));
        QCOMPARE(s.values.mainSettingsPath, base + "kalmora.ini");
    }
    QCOMPARE(readAll(base + "filesetting.ini"), fixture("filesetting-first-start.ini", base));
    QCOMPARE(readAll(base + "kalmora.ini"), fixture("kalmora-first-start.ini", base));
    QCOMPARE(readAll(base + "raspisanie.ini"), fixture("raspisanie-first-start.ini", base));

    const QByteArray before = readAll(base + "filesetting.ini") + readAll(base + "kalmora.ini") +
                              readAll(base + "raspisanie.ini");
    Start second(base);
    QCOMPARE(readAll(base + "filesetting.ini") + readAll(base + "kalmora.ini") +
                 readAll(base + "raspisanie.ini"),
             before);
    QCOMPARE(second.values.buttonSite, QStringLiteral("Ваш САЙТ"));
    QCOMPARE(second.values.siteFontSize, 18);
    QCOMPARE(second.values.scrollingTextFile, base + "text.txt");
}

void TestSettingsFiles::pointerPathStaysInForceForTheRun() {
    QTemporaryDir dir;
    const QString base = dir.path() + '/';
    QVERIFY(QDir(base).mkdir("shared"));
    writeAll(base + "filesetting.ini", ("[file]\nfiledir=" + base + "shared/k.ini\n").toUtf8());
    Start s(base);
    QCOMPARE(s.values.mainSettingsPath, base + "shared/k.ini");
    QVERIFY(QFile::exists(base + "shared/k.ini"));
    QVERIFY(QFile::exists(base + "shared/raspisanie.ini"));
    // The pointer file now names the default path for the next run.
    QCOMPARE(IniFile(base + "filesetting.ini").readString("file", "filedir"), base + "kalmora.ini");
}

void TestSettingsFiles::startReadsStoredValues() {
    QTemporaryDir dir;
    const QString base = dir.path() + '/';
    writeAll(base + "filesetting.ini", "[passwd]\npasswd=секрет \n[ini]\nfile=1\n");
    writeAll(
        base + "kalmora.ini",
        "[ini]\nfile=1\n[time]\nimage=7\nreadsetting=2\n[Weather]\nREAD=true\n[schedule]\nview=0\n"
        "[Font]\nStyleFont=fsItalic\n");
    Start s(base);
    QCOMPARE(s.values.password, QStringLiteral("секрет")); // the reader trims, like the profile API
    QCOMPARE(s.values.slideshowMs, qint64(7000));
    QCOMPARE(s.values.rereadMs, qint64(120000));
    QCOMPARE(s.values.weather, true); // a word counts as the default
    QCOMPARE(s.values.scheduleView, false);
    QCOMPARE(s.values.fontStyleText, QString("fsItalic"));
    QVERIFY(s.messages.entries.isEmpty());
}

void TestSettingsFiles::badIntegersAreReportedOnceAndDefaulted() {
    QTemporaryDir dir;
    const QString base = dir.path() + '/';
    writeAll(base + "kalmora.ini", "[ini]\nfile=1\n[time]\nimage=5x\npage=\n[font]\nsize=big\n");
    Start s(base);
    QCOMPARE(s.values.slideshowMs, qint64(5000));
    QCOMPARE(s.values.pageSeconds, 20);
    QCOMPARE(s.values.fontSize, 18);
    QCOMPARE(s.messages.texts(),
             QStringList({"'5x' is not a valid integer value", "'' is not a valid integer value",
                          "'big' is not a valid integer value"}));
    // The same bad values at the next re-read are not reported again.
    QCOMPARE(s.files.reread(), SettingsFiles::RereadResult::Done);
    QCOMPARE(s.values.fontSize, 8);
    QCOMPARE(s.messages.entries.size(), 3);
}

void TestSettingsFiles::unwritableBaseKeepsDefaults() {
    QTemporaryDir dir;
    const QString base = dir.path() + "/missing/";
    Start s(base);
    QCOMPARE(s.messages.texts(), QStringList({"Unable to write to " + base + "filesetting.ini",
                                              "Unable to write to " + base + "kalmora.ini",
                                              "Unable to write to " + base + "dateini.ini",
                                              "Unable to write to " + base + "raspisanie.ini"}));
    QCOMPARE(s.values.buttonSite, QStringLiteral("САЙТ"));
    QCOMPARE(s.values.slideshowMs, qint64(5000));
}

void TestSettingsFiles::oversizedSettingsAreNeitherReadNorRewritten() {
    QTemporaryDir dir;
    const QString base = dir.path() + '/';
    // A damaged shared file: a real section, then far more than any settings file holds.
    QByteArray huge = "[Name]\nButtonSite=Huge\n";
    huge.append(QByteArray(kalmo::core::kMaxIniFileBytes, 'x'));
    writeAll(base + "kalmora.ini", huge);
    Start s(base);
    QCOMPARE(readAll(base + "kalmora.ini"), huge);
    QCOMPARE(s.values.buttonSite, QStringLiteral("САЙТ"));
    QVERIFY(s.messages.texts().isEmpty());
    QVERIFY(QFile::exists(base + "filesetting.ini"));
}

void TestSettingsFiles::rereadUsesItsOwnDefaultsAndRetriesWhenMissing() {
    QTemporaryDir dir;
    const QString base = dir.path() + '/';
    Start s(base);
    writeAll(base + "kalmora.ini", "[weather]\nread=0\n[Name]\nButtonSite=Новый\nButtonPhoto=X\n");
    QCOMPARE(s.files.reread(), SettingsFiles::RereadResult::Done);
    QCOMPARE(s.values.theme, QString("Light"));
    QCOMPARE(s.values.fontSize, 8);
    QCOMPARE(s.values.siteFontSize, 18);
    QCOMPARE(s.values.photoFolder, QString("/photo/"));
    QCOMPARE(s.values.zastavka, QString("true"));
    QCOMPARE(s.values.weather, false);
    QCOMPARE(s.values.buttonSite, QStringLiteral("Новый"));
    QCOMPARE(s.values.buttonPhoto, QStringLiteral("Фотоматериалы")); // not re-read
    QCOMPARE(s.values.checkBold, QString("false"));

    // A pointer file naming a vanished file: nothing is read, the values stay.
    writeAll(base + "filesetting.ini", ("[file]\nfiledir=" + base + "gone.ini\n").toUtf8());
    s.values.theme = "TabletDark";
    QCOMPARE(s.files.reread(), SettingsFiles::RereadResult::Missing);
    QCOMPARE(s.values.mainSettingsPath, base + "gone.ini");
    QCOMPARE(s.values.theme, QString("TabletDark"));
}

void TestSettingsFiles::unreadableRereadKeepsTheValues_data() {
    QTest::addColumn<QString>("damage");
    QTest::newRow("over the size limit") << "huge";
    // The kernel answers every read of it with an I/O error, as a failing share does.
    QTest::newRow("an I/O error") << "eio";
}

void TestSettingsFiles::unreadableRereadKeepsTheValues() {
    QFETCH(QString, damage);
    QTemporaryDir dir;
    const QString base = dir.path() + '/';
    writeAll(base + "kalmora.ini", "[ini]\nfile=1\n[style]\nstyletest=Windows\n[dir]\nDirimage=" +
                                       base.toUtf8() + "photo/\n[Name]\nButtonSite=Портал\n");
    Start s(base);
    QCOMPARE(s.files.reread(), SettingsFiles::RereadResult::Done);
    const ProgramValues before = s.values;
    QString mainPath = base + "kalmora.ini";
    if (damage == "huge") {
        QFile f(mainPath);
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.resize(kalmo::core::kMaxIniFileBytes + 1)); // sparse: no 16 MB written
    } else {
        mainPath = "/proc/self/mem";
        writeAll(base + "filesetting.ini", "[ini]\nfile=1\n[file]\nfiledir=/proc/self/mem\n");
    }
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("re-read skipped.*" +
                                                          QRegularExpression::escape(mainPath)));
    QCOMPARE(s.files.reread(), SettingsFiles::RereadResult::Unreadable);
    QCOMPARE(s.values.theme, before.theme);
    QCOMPARE(s.values.photoFolder, before.photoFolder);
    QCOMPARE(s.values.buttonSite, QStringLiteral("Портал"));
    QCOMPARE(s.values.mainSettingsPath, mainPath);
    // Logged once, not at every retry.
    QTest::failOnWarning(QRegularExpression("re-read skipped"));
    QCOMPARE(s.files.reread(), SettingsFiles::RereadResult::Unreadable);
    QVERIFY(s.messages.entries.isEmpty());

    // Readable again: the next re-read takes what changed meanwhile.
    writeAll(base + "filesetting.ini", "[ini]\nfile=1\n");
    writeAll(base + "kalmora.ini", "[Name]\nButtonSite=Новый\n");
    QCOMPARE(s.files.reread(), SettingsFiles::RereadResult::Done);
    QCOMPARE(s.values.buttonSite, QStringLiteral("Новый"));
}

void TestSettingsFiles::unreadablePointerKeepsThePathInForce() {
    QTemporaryDir dir;
    const QString base = dir.path() + '/';
    writeAll(base + "elsewhere.ini", "[ini]\nfile=1\n[Name]\nButtonSite=Где-то\n");
    writeAll(base + "filesetting.ini",
             ("[ini]\nfile=1\n[file]\nfiledir=" + base + "elsewhere.ini\n").toUtf8());
    Start s(base);
    // A folder in the pointer file's place reads as nothing at all, not as "no path given".
    QVERIFY(QFile::remove(base + "filesetting.ini"));
    QVERIFY(QDir(base).mkdir("filesetting.ini"));
    QCOMPARE(s.files.reread(), SettingsFiles::RereadResult::Done);
    QCOMPARE(s.values.mainSettingsPath, base + "elsewhere.ini");
    QCOMPARE(s.values.buttonSite, QStringLiteral("Где-то"));
}

void TestSettingsFiles::windows1251SettingsKeepTheirEncoding() {
    QTemporaryDir dir;
    const QString base = dir.path() + '/';
    QVERIFY(
        QFile::copy(QStringLiteral(KALMO_TEST_DATA "/core/windows1251.ini"), base + "kalmora.ini"));
    QFile::setPermissions(base + "kalmora.ini", QFile::ReadOwner | QFile::WriteOwner);
    Start s(base);
    QCOMPARE(s.values.buttonSite, QStringLiteral("Сайт колледжа"));
    QCOMPARE(s.values.slideshowMs, qint64(7000));
    // The first start added keys in the file's own code page.
    IniFile ini(base + "kalmora.ini");
    QCOMPARE(ini.encoding(), kalmo::core::TextEncoding::Windows1251);
    QCOMPARE(ini.readString("Raspisanie", "Count"), QString("8"));
    QCOMPARE(ini.readString("name", "buttonsite"), QStringLiteral("Ваш САЙТ"));
}

QTEST_GUILESS_MAIN(TestSettingsFiles)
#include "test_settings_files.moc"
