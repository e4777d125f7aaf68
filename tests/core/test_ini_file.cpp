#include "core/ini_file.h"

#include "tests/support/test_files.h"
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <sys/file.h>
#include <sys/stat.h>

using kalmo::core::encodeBytes;
using kalmo::core::FileLock;
using kalmo::core::IniFile;
using kalmo::core::IniReadStatus;
using kalmo::core::IniWriteError;
using kalmo::core::kMaxIniFileBytes;
using kalmo::core::TextEncoding;

using kalmo::testing::readAll;
using kalmo::testing::writeAll;

namespace {

// Content written by the kill test's child; each version is complete or absent.
QByteArray bigValue(char c) {
    return QByteArray(200000, c);
}

// The line end a file's first line has: what new lines in it get.
QByteArray firstLineEnd(const QByteArray &bytes) {
    const qsizetype nl = bytes.indexOf('\n');
    return nl < 0 || (nl > 0 && bytes[nl - 1] == '\r') ? QByteArray("\r\n") : QByteArray("\n");
}

// A lock file as another writer would leave it, `age` old.
void plantLock(const QString &iniPath, const QByteArray &content, int ageSeconds) {
    const QString lock = FileLock::lockPathFor(iniPath);
    writeAll(lock, content);
    QFile f(lock);
    QVERIFY(f.open(QIODevice::ReadWrite));
    const QDateTime when = QDateTime::currentDateTime().addSecs(-ageSeconds);
    QVERIFY(f.setFileTime(when, QFileDevice::FileModificationTime));
}

// A pid that no process of this machine has now.
qint64 deadPid() {
    QProcess p;
    p.start("true", {});
    p.waitForFinished();
    return p.processId() > 0 ? p.processId() : 999999;
}

// Runs four writer processes of this program, each writing `perWriter` keys of its own into
// [keys] of the file at paths[i % paths.size()] (one file seen through one or more mounts).
void runWriters(const QStringList &paths, int perWriter) {
    std::vector<std::unique_ptr<QProcess>> writers;
    for (int w = 0; w < 4; ++w) {
        auto &p = writers.emplace_back(std::make_unique<QProcess>());
        p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p->start(QCoreApplication::applicationFilePath(),
                 {"--write-keys", paths[w % paths.size()], QString("w%1-").arg(w),
                  QString::number(perWriter)});
    }
    for (auto &p : writers) {
        QVERIFY(p->waitForFinished(300000));
        QCOMPARE(p->exitStatus(), QProcess::NormalExit);
        QCOMPARE(p->exitCode(), 0); // no write was refused
    }
}

} // namespace

class TestIniFile : public QObject {
    Q_OBJECT
private slots:
    void readsLikeProfileFunctions();
    void writesKeepOrderAndUnknownLines();
    void deleteAndErase();
    void windows1251IsReadAndKept();
    void encodingsRoundTrip_data();
    void encodingsRoundTrip();
    void refusedWritesRaiseAndKeepTheFile_data();
    void refusedWritesRaiseAndKeepTheFile();
    void garbageIsReadWithoutCrashing();
    void rewriteKeepsEveryOtherByte_data();
    void rewriteKeepsEveryOtherByte();
    void unchangedValueLeavesTheFileAlone();
    void writeThatWouldChangeTheEncodingIsRefused();
    void oversizedFileIsNeitherReadNorRewritten();
    void utf16EndingInHalfAUnitTakesNoLineAfterIt();
    void readStatusTellsMissingFromUnreadable_data();
    void readStatusTellsMissingFromUnreadable();
    void snapshotReadsFromMemory();
    void liveReadSeesOtherWriters();
    void batchWritesTheFileOnce();
    void killDuringWriteNeverTearsTheFile();
    void lockHeldByAnotherWriterRefusesTheWrite_data();
    void lockHeldByAnotherWriterRefusesTheWrite();
    void staleLockIsTakenOver_data();
    void staleLockIsTakenOver();
    void changesMadeMeanwhileByAnotherWriterStay();
    void concurrentWritersKeepEveryKey_data();
    void concurrentWritersKeepEveryKey();
};

void TestIniFile::readsLikeProfileFunctions() {
    QTemporaryDir dir;
    const QString path = dir.filePath("a.ini");
    writeAll(path, "stray line\r\n[Weather]\r\n Read =  0 \r\nsity=27611=x\r\nnoequals\r\n"
                   "[weather]\r\nread=1\r\n[Time]\nimage=5x\n");
    IniFile ini(path);
    // Section and key names ignore case; the first matching section wins.
    QCOMPARE(ini.readString("weather", "read"), QString("0"));
    QCOMPARE(ini.readString("WEATHER", "SITY"), QString("27611=x"));
    QCOMPARE(ini.readString("weather", "missing", "dflt"), QString("dflt"));
    QCOMPARE(ini.readString("nosection", "read", "dflt"), QString("dflt"));
    QCOMPARE(ini.readInteger("weather", "read", 7), 0);
    QCOMPARE(ini.readInteger("time", "image", 9), 9); // not a number: the default
    QCOMPARE(ini.readBool("time", "image", true), true);
    QCOMPARE(ini.readBool("weather", "read", true), false);
    QCOMPARE(ini.sections(), QStringList({"Weather", "weather", "Time"}));
    QCOMPARE(ini.keys("weather"), QStringList({"Read", "sity"}));
    QVERIFY(ini.valueExists("weather", "READ"));
    QVERIFY(!ini.valueExists("weather", "noequals"));
}

void TestIniFile::writesKeepOrderAndUnknownLines() {
    QTemporaryDir dir;
    const QString path = dir.filePath("a.ini");
    writeAll(path, "; comment\r\n[b]\r\nx=1\r\n\r\n[a]\r\ny=2\r\n");
    IniFile ini(path);
    ini.writeString("B", "X", "10");  // replaced in place, the stored name kept
    ini.writeString("b", "z", "3");   // appended after the section's last key
    ini.writeString("c", "k", " v "); // new section at the end
    QCOMPARE(readAll(path), QByteArray("; comment\r\n[b]\r\nx=10\r\nz=3\r\n\r\n[a]\r\ny=2\r\n\r\n"
                                       "[c]\r\nk= v \r\n"));
    QCOMPARE(ini.readString("c", "k"), QString("v"));
    // Values are one line: a newline cannot smuggle in a key.
    ini.writeString("c", "k", "a\nevil=1");
    QVERIFY(!IniFile(path).valueExists("c", "evil"));
}

void TestIniFile::deleteAndErase() {
    QTemporaryDir dir;
    const QString path = dir.filePath("a.ini");
    writeAll(path, "[1]\nGroup1=a\nDir1=x\n[2]\nGroup1=b\n");
    IniFile ini(path);
    ini.deleteKey("1", "dir1");
    ini.eraseSection("2");
    ini.deleteKey("nosuch", "k"); // nothing to do is no error
    QCOMPARE(readAll(path), QByteArray("[1]\nGroup1=a\n"));
    QCOMPARE(ini.sections(), QStringList({"1"}));
}

void TestIniFile::windows1251IsReadAndKept() {
    QTemporaryDir dir;
    const QString path = dir.filePath("w.ini");
    QVERIFY(QFile::copy(QStringLiteral(KALMO_TEST_DATA "/core/windows1251.ini"), path));
    IniFile ini(path);
    QCOMPARE(ini.encoding(), TextEncoding::Windows1251);
    QCOMPARE(ini.readString("Name", "ButtonSite"), QStringLiteral("Сайт колледжа"));
    ini.writeString("Name", "ButtonPhoto", QStringLiteral("Фото"));
    const QByteArray bytes = readAll(path);
    QVERIFY(!bytes.contains("\xD0")); // no UTF-8 lead bytes for Cyrillic crept in
    QVERIFY(bytes.contains("ButtonPhoto=\xD4\xEE\xF2\xEE"));
    QCOMPARE(IniFile(path).readString("name", "buttoncalendar"), QStringLiteral("События"));
}

void TestIniFile::encodingsRoundTrip_data() {
    QTest::addColumn<QByteArray>("prefix");
    QTest::addColumn<int>("encoding");
    QTest::newRow("utf8") << QByteArray() << int(TextEncoding::Utf8);
    QTest::newRow("utf8 bom") << QByteArray("\xEF\xBB\xBF") << int(TextEncoding::Utf8Bom);
}

void TestIniFile::encodingsRoundTrip() {
    QFETCH(QByteArray, prefix);
    QFETCH(int, encoding);
    QTemporaryDir dir;
    const QString path = dir.filePath("u.ini");
    writeAll(path, prefix + QStringLiteral("[Name]\nButtonSite=Ваш САЙТ\n").toUtf8());
    IniFile ini(path);
    QCOMPARE(int(ini.encoding()), encoding);
    ini.writeString("Name", "ButtonVideo", QStringLiteral("Видео"));
    QVERIFY(readAll(path).startsWith(prefix + "[Name]"));
    QCOMPARE(IniFile(path).readString("Name", "ButtonVideo"), QStringLiteral("Видео"));
    // A new file is UTF-8.
    IniFile fresh(dir.filePath("new.ini"));
    fresh.writeString("a", "b", QStringLiteral("ж"));
    QCOMPARE(readAll(dir.filePath("new.ini")), QStringLiteral("[a]\r\nb=ж\r\n").toUtf8());
}

void TestIniFile::refusedWritesRaiseAndKeepTheFile_data() {
    QTest::addColumn<QString>("kind");
    QTest::newRow("read-only file") << "readonly";
    QTest::newRow("missing folder") << "nofolder";
    QTest::newRow("folder in place of the file") << "folder";
    QTest::newRow("file in place of the folder") << "fileparent";
}

void TestIniFile::refusedWritesRaiseAndKeepTheFile() {
    QFETCH(QString, kind);
    QTemporaryDir dir;
    QString path = dir.filePath("k.ini");
    if (kind == "readonly") {
        writeAll(path, "[a]\nb=1\n");
        QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    } else if (kind == "nofolder") {
        path = dir.filePath("missing/k.ini");
    } else if (kind == "folder") {
        QVERIFY(QDir(dir.path()).mkdir("k.ini"));
    } else {
        writeAll(dir.filePath("plain"), "x");
        path = dir.filePath("plain/k.ini");
    }
    IniFile ini(path);
    QCOMPARE(ini.readString("a", "c", "d"), QString("d")); // reading never fails
    try {
        ini.writeString("a", "c", "2");
        QFAIL("the write was not refused");
    } catch (const IniWriteError &e) {
        QCOMPARE(e.text(), "Unable to write to " + path);
    }
    if (kind == "readonly")
        QCOMPARE(readAll(path), QByteArray("[a]\nb=1\n"));
    QCOMPARE(ini.readString("a", "c", "d"), QString("d")); // memory agrees with the disk
}

void TestIniFile::garbageIsReadWithoutCrashing() {
    QTemporaryDir dir;
    const QString noise = dir.filePath("noise.ini");
    QByteArray bytes(64 * 1024, '\0');
    auto *rng = QRandomGenerator::global();
    for (char &c : bytes)
        c = static_cast<char>(rng->bounded(256));
    writeAll(noise, bytes);
    IniFile n(noise);
    n.sections();
    n.writeString("ok", "k", "v");
    QCOMPARE(IniFile(noise).readString("ok", "k"), QString("v"));
    QVERIFY(readAll(noise).startsWith(bytes)); // the noise itself goes back as it was
}

void TestIniFile::writeThatWouldChangeTheEncodingIsRefused() {
    // Found by fuzzing: UTF-8 with stray bytes whose valid text sits mostly in one value
    // (behind a lone carriage return). Replacing that value would leave the stray bytes in the
    // majority, and the whole file would read as the code page from then on.
    QTemporaryDir dir;
    const QString path = dir.filePath("f.ini");
    QVERIFY(QFile::copy(QStringLiteral(KALMO_TEST_DATA "/core/encoding_flip.ini"), path));
    const QByteArray before = readAll(path);
    IniFile ini(path);
    const QString key = ini.keys(QStringLiteral("Name")).value(0);
    QVERIFY(!key.isEmpty());
    QVERIFY_THROWS_EXCEPTION(
        kalmo::core::IniWriteError,
        ini.writeString(QStringLiteral("Name"), key, QStringLiteral("значение")));
    QCOMPARE(readAll(path), before);
}

void TestIniFile::rewriteKeepsEveryOtherByte_data() {
    QTest::addColumn<QString>("fixture");
    QTest::addColumn<int>("encoding");
    QTest::newRow("binary noise around a section") << "noise.ini" << int(TextEncoding::Windows1251);
    QTest::newRow("Windows-1251 with byte 0x98")
        << "cp1251_0x98.ini" << int(TextEncoding::Windows1251);
    QTest::newRow("mixed CRLF and LF, no final line end")
        << "mixed_eol.ini" << int(TextEncoding::Utf8);
    QTest::newRow("UTF-8 with stray bytes") << "utf8_stray.ini" << int(TextEncoding::Utf8);
}

void TestIniFile::rewriteKeepsEveryOtherByte() {
    QFETCH(QString, fixture);
    QFETCH(int, encoding);
    QTemporaryDir dir;
    const QString path = dir.filePath(fixture);
    QVERIFY(QFile::copy(QStringLiteral(KALMO_TEST_DATA "/core/") + fixture, path));
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    const QByteArray original = readAll(path);
    const auto enc = TextEncoding(encoding);
    const QByteArray nl = firstLineEnd(original);

    IniFile ini(path);
    QCOMPARE(int(ini.encoding()), encoding);
    QCOMPARE(ini.readString("name", "buttonsite"), QString("Old"));

    // A changed value: the name and its blanks stay, only the value's bytes change.
    ini.writeString("Name", "ButtonSite", QStringLiteral("Новый"));
    QByteArray expected = original;
    const QByteArray siteLine = "  ButtonSite  =" + encodeBytes(QStringLiteral("Новый"), enc);
    expected.replace("  ButtonSite  =Old", siteLine);
    QCOMPARE(readAll(path), expected);

    // A new key goes after the section's last key, in the file's encoding and line end.
    ini.writeString("Name", "ButtonVideo", QStringLiteral("Видео"));
    const qsizetype after = expected.indexOf(siteLine) + siteLine.size();
    const qsizetype lineEnd = expected.indexOf('\n', after) + 1;
    expected.insert(lineEnd, "ButtonVideo=" + encodeBytes(QStringLiteral("Видео"), enc) + nl);
    QCOMPARE(readAll(path), expected);

    // A new section is appended; what was there stays a prefix of the file.
    ini.writeString("Added", "k", "v");
    const QByteArray bytes = readAll(path);
    QVERIFY(bytes.startsWith(expected));
    QVERIFY(bytes.endsWith("[Added]" + nl + "k=v" + nl));

    IniFile back(path);
    QCOMPARE(int(back.encoding()), encoding); // never two encodings in one file
    QCOMPARE(back.readString("Name", "ButtonSite"), QStringLiteral("Новый"));
    QCOMPARE(back.readString("Name", "ButtonVideo"), QStringLiteral("Видео"));
    QCOMPARE(back.readString("added", "K"), QString("v"));
}

void TestIniFile::unchangedValueLeavesTheFileAlone() {
    // Stray bytes read as U+FFFD; saving the value as read must not turn them into '?'.
    for (const char *fixture : {"cp1251_0x98.ini", "utf8_stray.ini"}) {
        QTemporaryDir dir;
        const QString path = dir.filePath(fixture);
        QVERIFY(QFile::copy(QStringLiteral(KALMO_TEST_DATA "/core/") + fixture, path));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        const QByteArray original = readAll(path);
        IniFile ini(path);
        const QString calendar = ini.readString("Name", "ButtonCalendar");
        QVERIFY2(calendar.contains(QChar(0xFFFD)), fixture);
        QVERIFY(!calendar.contains(u'?'));
        ini.writeString("Name", "ButtonCalendar", calendar);
        QCOMPARE(readAll(path), original);
    }
    QCOMPARE(IniFile(QStringLiteral(KALMO_TEST_DATA "/core/utf8_stray.ini"))
                 .readString("NAME", "ButtonPhoto"),
             QStringLiteral("Фотоматериалы"));
}

void TestIniFile::oversizedFileIsNeitherReadNorRewritten() {
    QTemporaryDir dir;
    const QString big = dir.filePath("big.ini");
    const QByteArray head = "[ini]\r\nfile=1\r\n[time]\r\nimage=7\r\n";
    {
        QFile f(big);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(head);
        QVERIFY(f.resize(kMaxIniFileBytes + 1)); // sparse: the rest reads as zero bytes
    }
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("big\\.ini.*over the limit"));
    IniFile ini(big);
    QVERIFY(ini.isTooLarge());
    QCOMPARE(ini.readInteger("time", "image", 5), 5); // not read: the defaults apply
    QVERIFY(ini.sections().isEmpty());
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            if (attempt == 0) {
                ini.writeString("time", "image", "9");
            } else {
                IniFile::Batch batch(ini);
                ini.eraseSection("time");
                batch.commit();
            }
            QFAIL("an oversized file was rewritten");
        } catch (const IniWriteError &e) {
            QCOMPARE(e.reason(), IniWriteError::Reason::TooLarge);
            QCOMPARE(e.text(), "Unable to write to " + big);
        }
    }
    QCOMPARE(QFileInfo(big).size(), kMaxIniFileBytes + 1);
    QVERIFY(readAll(big).startsWith(head));

    // A write that would carry a file past the limit is refused too: it could not be read.
    const QString near = dir.filePath("near.ini");
    writeAll(near, "[a]\nb=" + QByteArray(kMaxIniFileBytes - 100, 'x') + "\n");
    IniFile nearIni(near);
    QVERIFY(!nearIni.isTooLarge());
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("near\\.ini.*over the limit"));
    QVERIFY_EXCEPTION_THROWN(nearIni.writeString("a", "c", QString(200, u'y')), IniWriteError);
    QCOMPARE(QFileInfo(near).size(), kMaxIniFileBytes - 100 + 7);
    QVERIFY(!nearIni.valueExists("a", "c"));
}

void TestIniFile::utf16EndingInHalfAUnitTakesNoLineAfterIt() {
    // Found by the fuzzer: a UTF-16 mark over 8-bit text of odd length. A line appended after
    // the dangling byte was read back out of step, as garbage.
    QTemporaryDir dir;
    const QString path = dir.filePath("odd.ini");
    QVERIFY(QFile::copy(QStringLiteral(KALMO_TEST_DATA "/core/utf16_half_unit.ini"), path));
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    const QByteArray original = readAll(path);
    IniFile ini(path);
    QCOMPARE(ini.encoding(), TextEncoding::Utf16LE);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("half a UTF-16 character"));
    QVERIFY_EXCEPTION_THROWN(ini.writeString("FuzzAdded", "k", "v"), IniWriteError);
    QCOMPARE(readAll(path), original);
    QVERIFY(!ini.sectionExists("FuzzAdded"));

    // A UTF-16 file in step takes new lines in UTF-16.
    const QString even = dir.filePath("even.ini");
    writeAll(even,
             kalmo::core::encodeText(QStringLiteral("[a]\r\nb=1\r\n"), TextEncoding::Utf16LE));
    IniFile(even).writeString("c", "d", QStringLiteral("ё"));
    QCOMPARE(readAll(even),
             kalmo::core::encodeText(QStringLiteral("[a]\r\nb=1\r\n\r\n[c]\r\nd=ё\r\n"),
                                     TextEncoding::Utf16LE));
}

void TestIniFile::readStatusTellsMissingFromUnreadable_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<IniReadStatus>("status");
    QTest::newRow("a file") << "file" << IniReadStatus::Ok;
    QTest::newRow("an empty file") << "empty" << IniReadStatus::Ok;
    QTest::newRow("no file") << "none" << IniReadStatus::Missing;
    QTest::newRow("no folder") << "nofolder" << IniReadStatus::Missing;
    QTest::newRow("a folder in its place") << "folder" << IniReadStatus::Unreadable;
    QTest::newRow("a pipe in its place") << "fifo" << IniReadStatus::Unreadable;
    QTest::newRow("over the size limit") << "big" << IniReadStatus::TooLarge;
}

void TestIniFile::readStatusTellsMissingFromUnreadable() {
    QFETCH(QString, kind);
    QFETCH(IniReadStatus, status);
    QTemporaryDir dir;
    QString path = dir.filePath("r.ini");
    if (kind == "file") {
        writeAll(path, "[a]\nb=1\n");
    } else if (kind == "empty") {
        writeAll(path, "");
    } else if (kind == "nofolder") {
        path = dir.filePath("gone/r.ini");
    } else if (kind == "folder") {
        QVERIFY(QDir(dir.path()).mkdir("r.ini"));
    } else if (kind == "fifo") {
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0644), 0);
    } else if (kind == "big") {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.resize(kMaxIniFileBytes + 1));
    }
    // Said once by each of the two readers below.
    const char *said = status == IniReadStatus::Unreadable ? "Cannot read .*r\\.ini"
                       : status == IniReadStatus::TooLarge ? "r\\.ini.*over the limit"
                                                           : nullptr;
    for (int reader = 0; said && reader < 2; ++reader)
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(said));
    const IniFile live(path), snapshot(path, IniFile::Mode::Snapshot);
    for (const IniFile *ini : {&live, &snapshot}) {
        QCOMPARE(ini->readStatus(), status);
        QCOMPARE(ini->readError().isEmpty(), !said);
        QCOMPARE(ini->readString("a", "b", "default"), QString(kind == "file" ? "1" : "default"));
    }

    // The live reader sees a readable file that takes the place of the bad one.
    if (kind == "nofolder")
        return;
    QFile::remove(path);
    QDir(dir.path()).rmdir("r.ini");
    writeAll(path, "[a]\nb=22\n");
    QCOMPARE(live.readStatus(), IniReadStatus::Ok);
    QCOMPARE(live.readString("a", "b"), QString("22"));
}

void TestIniFile::snapshotReadsFromMemory() {
    QTemporaryDir dir;
    const QString path = dir.filePath("s.ini");
    writeAll(path, "[a]\nb=1\n");
    IniFile snap(path, IniFile::Mode::Snapshot);
    IniFile(path).writeString("a", "b", "2");
    QCOMPARE(snap.readString("a", "b"), QString("1"));
}

void TestIniFile::liveReadSeesOtherWriters() {
    QTemporaryDir dir;
    const QString path = dir.filePath("l.ini");
    IniFile live(path);
    QCOMPARE(live.readString("a", "b", "none"), QString("none"));
    IniFile(path).writeString("a", "b", "1");
    QCOMPARE(live.readString("a", "b"), QString("1"));
    writeAll(path, "[a]\nb=22\n"); // a rewrite from outside, another size
    QCOMPARE(live.readString("a", "b"), QString("22"));
}

void TestIniFile::batchWritesTheFileOnce() {
    QTemporaryDir dir;
    const QString path = dir.filePath("b.ini");
    IniFile ini(path);
    {
        IniFile::Batch batch(ini);
        ini.writeString("a", "x", "1");
        ini.writeString("b", "y", "2");
        QVERIFY(!QFile::exists(path)); // nothing on disk until commit
        QCOMPARE(ini.readString("b", "y"), QString("2"));
        batch.commit();
    }
    QCOMPARE(readAll(path), QByteArray("[a]\r\nx=1\r\n\r\n[b]\r\ny=2\r\n"));
    {
        IniFile::Batch dropped(ini);
        ini.writeString("a", "x", "9");
    }
    QCOMPARE(ini.readString("a", "x"), QString("1")); // no commit: discarded

    // A refused commit leaves memory as the disk is.
    QFile::setPermissions(path, QFile::ReadOwner);
    IniFile::Batch refused(ini);
    ini.writeString("a", "x", "5");
    QVERIFY_EXCEPTION_THROWN(refused.commit(), IniWriteError);
    QCOMPARE(ini.readString("a", "x"), QString("1"));
}

void TestIniFile::killDuringWriteNeverTearsTheFile() {
    QTemporaryDir dir;
    const QString path = dir.filePath("torn.ini");
    for (int round = 0; round < 15; ++round) {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {"--write-loop", path});
        QVERIFY(child.waitForStarted());
        // The child reports each finished write; kill it right after one, mid-way into the next.
        QVERIFY(child.waitForReadyRead(20000));
        child.kill();
        child.waitForFinished();
        const QByteArray bytes = readAll(path);
        QVERIFY2(bytes == "[v]\r\nk=" + bigValue('A') + "\r\n" ||
                     bytes == "[v]\r\nk=" + bigValue('B') + "\r\n",
                 qPrintable(QString("torn file of %1 bytes").arg(bytes.size())));
    }
}

void TestIniFile::lockHeldByAnotherWriterRefusesTheWrite_data() {
    QTest::addColumn<QByteArray>("lock");
    QTest::addColumn<int>("age");
    QTest::addColumn<bool>("flocked");
    QTest::addColumn<bool>("defaultWait");
    const QByteArray self = FileLock::ownerPrefix() + " 00ff other\n";
    QTest::newRow("a live writer of this machine") << self << 0 << false << true;
    QTest::newRow("a writer of another machine")
        << QByteArray("0a1b-other-boot 4242 00ff kiosk2\n") << 2 << false << false;
    QTest::newRow("an old lock its writer still holds (flock)")
        << QByteArray("0a1b-other-boot 4242 00ff kiosk2\n") << 3600 << true << false;
}

void TestIniFile::lockHeldByAnotherWriterRefusesTheWrite() {
    QFETCH(QByteArray, lock);
    QFETCH(int, age);
    QFETCH(bool, flocked);
    QFETCH(bool, defaultWait);
    QTemporaryDir dir;
    const QString path = dir.filePath("held.ini");
    writeAll(path, "[a]\nb=1\n");
    IniFile ini(path);
    QCOMPARE(ini.readString("a", "b"), QString("1"));
    plantLock(path, lock, age);
    QFile holder(FileLock::lockPathFor(path));
    if (flocked) {
        QVERIFY(holder.open(QIODevice::ReadOnly));
        QCOMPARE(::flock(holder.handle(), LOCK_EX), 0);
    }
    if (!defaultWait)
        ini.setLockOptions({.wait = std::chrono::milliseconds(300),
                            .staleAfter = std::chrono::seconds(30),
                            .watchStale = std::chrono::milliseconds(100)});
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Cannot lock .*held\\.ini"));
    for (const bool batch : {false, true}) {
        try {
            if (batch) {
                IniFile::Batch b(ini);
                ini.writeString("a", "c", "2");
                b.commit();
            } else {
                ini.writeString("a", "b", "2");
            }
            QFAIL("the write went past a held lock");
        } catch (const IniWriteError &e) {
            QCOMPARE(e.text(), "Unable to write to " + path);
            QCOMPARE(e.reason(), IniWriteError::Reason::Locked);
        }
        if (!batch)
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Cannot lock .*held\\.ini"));
    }
    QCOMPARE(readAll(path), QByteArray("[a]\nb=1\n"));
    QCOMPARE(ini.readString("a", "b"), QString("1"));
    QCOMPARE(readAll(FileLock::lockPathFor(path)), lock); // the holder's lock stays
}

void TestIniFile::staleLockIsTakenOver_data() {
    QTest::addColumn<QByteArray>("lock");
    QTest::addColumn<int>("age");
    QTest::newRow("a writer of this machine that died")
        << FileLock::ownerPrefix().split(' ')[0] + ' ' + QByteArray::number(deadPid()) +
               " 00ff here\n"
        << 0;
    QTest::newRow("a writer of another machine, long ago")
        << QByteArray("0a1b-other-boot 4242 00ff kiosk2\n") << 3600;
    QTest::newRow("an empty lock, long ago") << QByteArray() << 3600;
}

void TestIniFile::staleLockIsTakenOver() {
    QFETCH(QByteArray, lock);
    QFETCH(int, age);
    QTemporaryDir dir;
    const QString path = dir.filePath("stale.ini");
    writeAll(path, "[a]\nb=1\n");
    plantLock(path, lock, age);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("took over the stale lock .*stale"));
    IniFile ini(path);
    ini.writeString("a", "b", "2");
    QCOMPARE(readAll(path), QByteArray("[a]\nb=2\n"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"stale.ini"});
}

void TestIniFile::changesMadeMeanwhileByAnotherWriterStay() {
    QTemporaryDir dir;
    const QString path = dir.filePath("m.ini");
    IniFile mine(path), theirs(path);
    mine.writeString("a", "mine", "1");

    // A batch opened before another writer's change is stored on top of it.
    {
        IniFile::Batch batch(mine);
        mine.writeString("a", "batch", "1");
        theirs.writeString("a", "theirs", "1");
        mine.writeString("b", "batch", "2");
        batch.commit();
    }
    QCOMPARE(IniFile(path).keys("a"), (QStringList{"mine", "theirs", "batch"}));
    QCOMPARE(IniFile(path).readString("b", "batch"), QString("2"));

    // update() reads what the file holds under the lock, however fresh our own read looked.
    IniFile snapshot(path, IniFile::Mode::Snapshot);
    theirs.writeString("count", "n", "5");
    snapshot.update(
        [&] { snapshot.writeInteger("count", "n", snapshot.readInteger("count", "n", 0) + 1); });
    QCOMPARE(IniFile(path).readString("count", "n"), QString("6"));

    // An update that changes nothing leaves the file alone; one that throws stores nothing.
    const QByteArray before = readAll(path);
    snapshot.update([&] { snapshot.writeString("count", "n", "6"); });
    QVERIFY_EXCEPTION_THROWN(snapshot.update([&] {
        snapshot.writeString("count", "n", "7");
        throw std::runtime_error("changed my mind");
    }),
                             std::runtime_error);
    QCOMPARE(readAll(path), before);
    QCOMPARE(snapshot.readString("count", "n"), QString("6"));
}

void TestIniFile::concurrentWritersKeepEveryKey_data() {
    QTest::addColumn<QString>("where");
    QTest::newRow("local disk") << "local";
    QTest::newRow("network share, one mount") << "share";
    QTest::newRow("network share, two mounts") << "share2";
}

void TestIniFile::concurrentWritersKeepEveryKey() {
    QFETCH(QString, where);
    QTemporaryDir local;
    QStringList paths;
    std::unique_ptr<QTemporaryDir> onShare;
    if (where == "local") {
        paths << local.filePath("many.ini");
    } else {
        const QString share = qEnvironmentVariable("KALMO_SHARE");
        if (share.isEmpty())
            QSKIP("no network share: ctest runs these rows as test_ini_file_share");
        onShare = std::make_unique<QTemporaryDir>(share + "/writers-XXXXXX");
        QVERIFY(onShare->isValid());
        paths << onShare->filePath("many.ini");
        if (where == "share2")
            paths << qEnvironmentVariable("KALMO_SHARE_2") + '/' +
                         QDir(share).relativeFilePath(paths[0]);
    }
    constexpr int perWriter = 200;
    runWriters(paths, perWriter);
    const IniFile result(paths[0]);
    QCOMPARE(result.readStatus(), IniReadStatus::Ok);
    const QStringList keys = result.keys("keys");
    QCOMPARE(keys.size(), 4 * perWriter);
    for (int w = 0; w < 4; ++w)
        for (int i = 0; i < perWriter; i += 37)
            QCOMPARE(result.readString("keys", QString("w%1-%2").arg(w).arg(i)),
                     QString::number(i));
}

int main(int argc, char *argv[]) {
    if (argc == 5 && QByteArray(argv[1]) == "--write-keys") {
        QCoreApplication app(argc, argv);
        IniFile ini(QString::fromLocal8Bit(argv[2]));
        const QString prefix = QString::fromLocal8Bit(argv[3]);
        int refused = 0;
        for (int i = 0, n = QByteArray(argv[4]).toInt(); i < n; ++i) {
            try {
                ini.writeString("keys", prefix + QString::number(i), QString::number(i));
            } catch (const IniWriteError &e) {
                std::fprintf(stderr, "%s\n", e.what());
                ++refused;
            }
        }
        return refused == 0 ? 0 : 1;
    }
    if (argc == 3 && QByteArray(argv[1]) == "--write-loop") {
        QCoreApplication app(argc, argv);
        IniFile ini(QString::fromLocal8Bit(argv[2]));
        for (int i = 0;; ++i) {
            ini.writeString("v", "k", QString::fromLatin1(bigValue(i % 2 ? 'B' : 'A')));
            std::fputc('.', stdout);
            std::fflush(stdout);
        }
    }
    QCoreApplication app(argc, argv);
    TestIniFile t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_ini_file.moc"
