#include "fake_browser.h"
#include "web/browser.h"
#include "web/engine_setup.h"
#include "web/input_guard.h"
#include "web/url_policy.h"

#include <QDir>
#include <QPointer>
#include <QtTest>

using namespace kalmo::web;

Q_DECLARE_METATYPE(kalmo::web::BrowserKind)

class TestWebPolicy : public QObject {
    Q_OBJECT
private slots:
    void addressToUrl_data();
    void addressToUrl();
    void navigation_data();
    void navigation();
    void escapeKeys_data();
    void escapeKeys();
    void engineFlagsDropDebugging();
    void slotHoldsOneControlAndDestroyIsSafe();
};

void TestWebPolicy::addressToUrl_data() {
    QTest::addColumn<BrowserKind>("kind");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QUrl>("expected");
    QTest::addColumn<QString>("base");
    const auto site = BrowserKind::Site;
    const auto doc = BrowserKind::Document;
    QTest::newRow("site https kept")
        << site << "https://school.ru/a?b=1" << QUrl("https://school.ru/a?b=1") << QString();
    QTest::newRow("site without scheme is http")
        << site << "www.school.ru" << QUrl("http://www.school.ru") << QString();
    QTest::newRow("site host and port")
        << site << "www.school.ru:8080/news" << QUrl("http://www.school.ru:8080/news") << QString();
    QTest::newRow("site local host and port")
        << site << "localhost:8080" << QUrl("http://localhost:8080") << QString();
    QTest::newRow("site unknown scheme kept for the policy")
        << site << "steam:run/1" << QUrl("steam:run/1") << QString();
    QTest::newRow("site blanks trimmed")
        << site << "  http://school.ru/ " << QUrl("http://school.ru/") << QString();
    QTest::newRow("site file scheme kept for the policy")
        << site << "file:///etc/passwd" << QUrl("file:///etc/passwd") << QString();
    QTest::newRow("site empty") << site << "" << QUrl() << QString();
    QTest::newRow("document absolute path")
        << doc << "/srv/docs/group 1.pdf" << QUrl::fromLocalFile("/srv/docs/group 1.pdf")
        << QString();
    // Relative paths come from the base folder, whatever the working folder is.
    QTest::newRow("document relative path")
        << doc << "docs/a.html" << QUrl::fromLocalFile("/kiosk/docs/a.html") << "/kiosk/";
    QTest::newRow("document relative path up a folder")
        << doc << "../shared/a.pdf" << QUrl::fromLocalFile("/shared/a.pdf") << "/kiosk/";
    QTest::newRow("document placeholder text is a (missing) file")
        << doc << QStringLiteral("Нет файла")
        << QUrl::fromLocalFile(QStringLiteral("/kiosk/Нет файла")) << "/kiosk/";
    QTest::newRow("document web address")
        << doc << "http://school.ru/s.pdf" << QUrl("http://school.ru/s.pdf") << QString();
}

void TestWebPolicy::addressToUrl() {
    QFETCH(BrowserKind, kind);
    QFETCH(QString, address);
    QFETCH(QUrl, expected);
    QFETCH(QString, base);
    QCOMPARE(kalmo::web::addressToUrl(address, kind, base), expected);
}

void TestWebPolicy::navigation_data() {
    QTest::addColumn<BrowserKind>("kind");
    QTest::addColumn<QUrl>("target");
    QTest::addColumn<bool>("mainFrame");
    QTest::addColumn<bool>("allowed");
    const auto site = BrowserKind::Site;
    const auto doc = BrowserKind::Document;
    // The document the kiosk loaded in Document rows.
    QTest::newRow("site http") << site << QUrl("http://school.ru/news") << true << true;
    QTest::newRow("site https") << site << QUrl("HTTPS://other.org/") << true << true;
    QTest::newRow("site file") << site << QUrl("file:///etc/passwd") << true << false;
    QTest::newRow("site data") << site << QUrl("data:text/html,<b>x</b>") << true << false;
    QTest::newRow("site blob") << site << QUrl("blob:http://school.ru/1234") << true << false;
    QTest::newRow("site view-source")
        << site << QUrl("view-source:http://school.ru/") << true << false;
    QTest::newRow("site chrome") << site << QUrl("chrome://settings") << true << false;
    QTest::newRow("site devtools") << site << QUrl("devtools://devtools/x") << true << false;
    QTest::newRow("site javascript") << site << QUrl("javascript:alert(1)") << true << false;
    QTest::newRow("site mailto") << site << QUrl("mailto:a@b.ru") << true << false;
    QTest::newRow("site custom scheme") << site << QUrl("steam://run/1") << true << false;
    QTest::newRow("site invalid") << site << QUrl() << true << false;
    QTest::newRow("site frame data") << site << QUrl("data:text/html,x") << false << true;
    QTest::newRow("site frame about") << site << QUrl("about:blank") << false << true;
    QTest::newRow("site frame file") << site << QUrl("file:///etc/passwd") << false << false;
    QTest::newRow("doc itself") << doc << QUrl("file:///srv/d/a.pdf") << true << true;
    QTest::newRow("doc own anchor") << doc << QUrl("file:///srv/d/a.pdf#page=2") << true << true;
    QTest::newRow("doc dot segments") << doc << QUrl("file:///srv/x/../d/a.pdf") << true << true;
    QTest::newRow("doc sibling file") << doc << QUrl("file:///srv/d/b.pdf") << true << false;
    QTest::newRow("doc folder listing") << doc << QUrl("file:///srv/d/") << true << false;
    QTest::newRow("doc root") << doc << QUrl("file:///") << true << false;
    QTest::newRow("doc web link") << doc << QUrl("http://school.ru/") << true << false;
    QTest::newRow("doc pdf viewer frame")
        << doc << QUrl("chrome-extension://mhjfbmdgcfjbbpaeojofohoefgiehjai/index.html") << false
        << true;
    QTest::newRow("doc frame other file") << doc << QUrl("file:///etc/passwd") << false << false;
}

void TestWebPolicy::navigation() {
    QFETCH(BrowserKind, kind);
    QFETCH(QUrl, target);
    QFETCH(bool, mainFrame);
    QFETCH(bool, allowed);
    QCOMPARE(isNavigationAllowed(kind, target, mainFrame, QUrl("file:///srv/d/a.pdf")), allowed);
}

void TestWebPolicy::escapeKeys_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("inert");
    QTest::newRow("alt+left back") << int(Qt::Key_Left) << int(Qt::AltModifier) << true;
    QTest::newRow("alt+right forward") << int(Qt::Key_Right) << int(Qt::AltModifier) << true;
    QTest::newRow("browser back key") << int(Qt::Key_Back) << 0 << true;
    QTest::newRow("f5 reload") << int(Qt::Key_F5) << 0 << true;
    QTest::newRow("f12 devtools") << int(Qt::Key_F12) << 0 << true;
    QTest::newRow("ctrl+shift+i devtools")
        << int(Qt::Key_I) << int(Qt::ControlModifier | Qt::ShiftModifier) << true;
    QTest::newRow("ctrl+p print") << int(Qt::Key_P) << int(Qt::ControlModifier) << true;
    QTest::newRow("ctrl+s save") << int(Qt::Key_S) << int(Qt::ControlModifier) << true;
    QTest::newRow("ctrl+u source") << int(Qt::Key_U) << int(Qt::ControlModifier) << true;
    QTest::newRow("plain left moves the caret") << int(Qt::Key_Left) << 0 << false;
    QTest::newRow("backspace edits") << int(Qt::Key_Backspace) << 0 << false;
    QTest::newRow("typing a letter") << int(Qt::Key_S) << 0 << false;
    QTest::newRow("ctrl+c copies") << int(Qt::Key_C) << int(Qt::ControlModifier) << false;
    QTest::newRow("alt+f4 reaches the kiosk") << int(Qt::Key_F4) << int(Qt::AltModifier) << false;
    QTest::newRow("ctrl+f3 reaches the kiosk")
        << int(Qt::Key_F3) << int(Qt::ControlModifier) << false;
}

void TestWebPolicy::escapeKeys() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(bool, inert);
    QCOMPARE(isEscapeKey(key, Qt::KeyboardModifiers(modifiers)), inert);
}

void TestWebPolicy::engineFlagsDropDebugging() {
    const QByteArray flags = kioskEngineFlags(
        "--remote-debugging-port=9222 --foo  --no-first-run --auto-open-devtools-for-tabs");
    QVERIFY(!flags.contains("remote-debugging"));
    QVERIFY(!flags.contains("devtools"));
    QVERIFY(flags.contains("--foo"));
    QVERIFY(flags.contains("--disable-component-update"));
    QCOMPARE(flags.count("--no-first-run"), 1);
}

void TestWebPolicy::slotHoldsOneControlAndDestroyIsSafe() {
    QWidget owner;
    BrowserSlot slot(fakeFactory());
    slot.destroy(); // nothing to destroy
    QVERIFY(!slot.exists());

    BrowserSpec spec;
    spec.name = QStringLiteral("Chromium1");
    QPointer<Browser> first = slot.create(&owner, spec);
    QVERIFY(first);
    QCOMPARE(findBrowser(&owner, QStringLiteral("chromium1")), first.data());

    QPointer<Browser> second = slot.create(&owner, spec);
    QVERIFY(first.isNull() || !first->isVisible());
    QCOMPARE(findBrowser(&owner, QStringLiteral("CHROMIUM1")), second.data());

    slot.destroy();
    // Gone from the window at once, freed by the event loop.
    QCOMPARE(findBrowser(&owner, QStringLiteral("chromium1")), nullptr);
    QVERIFY(!slot.exists());
    QTRY_VERIFY(second.isNull());
    QTRY_VERIFY(first.isNull());
    slot.destroy();
}

QTEST_MAIN(TestWebPolicy)
#include "tst_web_policy.moc"
