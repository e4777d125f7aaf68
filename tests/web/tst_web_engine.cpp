// Needs Chromium: the real browser control against a local HTTP server and local files.
#include "core/clock.h"
#include "core/idle_clock.h"
#include "main_window_stub.h"
#include "tests/support/http_server.h"
#include "web/engine_setup.h"
#include "web/form_browser.h"
#include "web/kiosk_page.h"
#include "web/site_view.h"
#include "web/web_browser.h"

#include <QApplication>
#include <QDialog>
#include <QMenu>
#include <QSignalSpy>
#include <QWebEngineView>
#include <QtTest>

using kalmo::testing::HttpServer;

using namespace kalmo;
using namespace kalmo::web;

namespace {

const int kLoadMs = 20000;

// A page whose whole surface is one link, so a tap anywhere follows it.
QByteArray linkPage(const QByteArray &href, const QByteArray &extra = {}) {
    return "<!DOCTYPE html><html><head><title>links</title><style>html,body{margin:0;height:100%}"
           "a{display:block;width:100%;height:100%}</style></head><body><a id=\"l\" href=\"" +
           href + "\" " + extra + ">link</a></body></html>";
}

QString evaluate(QWebEnginePage *page, const QString &script) {
    QString result;
    bool done = false;
    page->runJavaScript(script, [&](const QVariant &v) {
        result = v.toString();
        done = true;
    });
    if (!QTest::qWaitFor([&] { return done; }, kLoadMs))
        return QStringLiteral("<no answer>");
    return result;
}

// A real tap in the middle of the page, as a visitor's finger would give it.
void tapCentre(WebBrowser *browser) {
    QWidget *target = browser->view()->focusProxy();
    QVERIFY(target);
    const QPoint centre = target->rect().center();
    QTest::mouseMove(target, centre);
    QTest::mouseClick(target, Qt::LeftButton, {}, centre);
}

// The render widget may still ignore input right after loadFinished; taps until the page
// shows it took one.
bool tapUntil(WebBrowser *browser, const std::function<bool()> &tookIt) {
    for (int attempt = 0; attempt < 20; ++attempt) {
        tapCentre(browser);
        if (QTest::qWaitFor(tookIt, 1000))
            return true;
    }
    return false;
}

// Keys that reach a widget, as "Ctrl+F3".
class KeyRecorder : public QObject {
public:
    QStringList keys;

protected:
    bool eventFilter(QObject *, QEvent *event) override {
        if (event->type() == QEvent::KeyPress)
            keys << QKeySequence(static_cast<QKeyEvent *>(event)->keyCombination()).toString();
        return false;
    }
};

} // namespace

class TestWebEngine : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void siteViewBrowsesBackHomeForward();
    void popupLinkStaysInTheView();
    void fileLinkDownloadAndOtherSchemesRefused();
    void noSessionSurvivesTheClose();
    void sitePdfShownInline();
    void documentWindowShowsPdf();
    void documentLinksDoNotBrowseFiles();
    void engineShortcutsLeaveThePageInert();
    void pageDialogsNeverOpen();

private:
    WebBrowser *siteBrowser() { return qobject_cast<WebBrowser *>(m_view->browser()); }
    bool openSite(const QString &path);

    HttpServer m_server;
    core::ManualClock m_clock;
    std::unique_ptr<core::IdleClock> m_idle;
    QString m_site;
    std::unique_ptr<MainWindowStub> m_main;
    std::unique_ptr<SiteView> m_view;
};

void TestWebEngine::initTestCase() {
    m_server.route("/index.html", {"text/html", linkPage("page2.html"), {}});
    m_server.route(
        "/page2.html",
        {"text/html", "<html><head><title>page2</title></head><body>2</body></html>", {}});
    m_server.route("/popup.html", {"text/html", linkPage("page2.html", "target=\"_blank\""), {}});
    m_server.route(
        "/filelink.html",
        {"text/html", linkPage("file:///etc/hostname", "onclick=\"document.title='tapped'\""), {}});
    m_server.route("/download.bin", {"application/octet-stream", QByteArray(4096, 'x'),
                                     "Content-Disposition: attachment; filename=x.bin\r\n"});
    m_server.route("/cookie.html",
                   {"text/html", "<html><body>c</body></html>", "Set-Cookie: visitor=1\r\n"});
    QFile pdf(QStringLiteral(KALMO_TEST_DATA "/web/schedule.pdf"));
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    m_server.route("/schedule.pdf", {"application/pdf", pdf.readAll(), {}});
    m_server.route("/plain.html", {"text/html", "<html><body>p</body></html>", {}});
}

void TestWebEngine::init() {
    m_idle = std::make_unique<core::IdleClock>(m_clock);
    qApp->installEventFilter(m_idle.get());
    m_main = std::make_unique<MainWindowStub>();
    m_view = std::make_unique<SiteView>(
        m_main->widgets(), *m_idle, SiteViewSettings{[this] { return m_site; }, [] { return 60; }});
}

void TestWebEngine::cleanup() {
    m_view.reset();
    m_main.reset();
    m_idle.reset();
}

bool TestWebEngine::openSite(const QString &path) {
    m_site = m_server.url(path).toString();
    m_view->open();
    QSignalSpy loaded(m_view->browser(), &Browser::loadFinished);
    return loaded.wait(kLoadMs) && loaded.first().first().toBool();
}

void TestWebEngine::siteViewBrowsesBackHomeForward() {
    QVERIFY(openSite("/index.html"));
    WebBrowser *b = siteBrowser();
    QCOMPARE(b->url(), m_server.url("/index.html"));
    QCOMPARE(b->view()->contextMenuPolicy(), Qt::NoContextMenu);

    // Back with no history does nothing.
    m_view->back();
    QCOMPARE(b->url(), m_server.url("/index.html"));

    // A tap on the page counts as input: the idle close waits for the next full timeout.
    m_clock.advanceMs(59000);
    QVERIFY(tapUntil(b, [&] { return b->url() == m_server.url("/page2.html"); }));
    QTRY_COMPARE_WITH_TIMEOUT(b->page()->title(), QStringLiteral("page2"), kLoadMs);
    m_view->idleTick();
    QVERIFY(m_view->isOpen());
    m_view->back();
    QTRY_COMPARE_WITH_TIMEOUT(b->url(), m_server.url("/index.html"), kLoadMs);
    m_view->forward();
    QTRY_COMPARE_WITH_TIMEOUT(b->url(), m_server.url("/page2.html"), kLoadMs);

    // Home goes to the address configured now.
    m_site = m_server.url("/plain.html").toString();
    m_view->home();
    QTRY_COMPARE_WITH_TIMEOUT(b->url(), m_server.url("/plain.html"), kLoadMs);

    // Idle close gives the main screen back with the slideshow running.
    m_clock.advanceMs(60000);
    m_view->idleTick();
    QVERIFY(!m_view->isOpen());
    QVERIFY(m_main->slideshow.isActive());
    QVERIFY(m_main->mainShown());
}

void TestWebEngine::popupLinkStaysInTheView() {
    QVERIFY(openSite("/popup.html"));
    WebBrowser *b = siteBrowser();
    const auto visibleWindows = [] {
        const QWidgetList all = QApplication::topLevelWidgets();
        return std::count_if(all.begin(), all.end(), [](QWidget *w) { return w->isVisible(); });
    };
    const auto windowsBefore = visibleWindows();
    QVERIFY(tapUntil(b, [&] { return b->url() == m_server.url("/page2.html"); }));
    QCOMPARE(visibleWindows(), windowsBefore);
}

void TestWebEngine::fileLinkDownloadAndOtherSchemesRefused() {
    QVERIFY(openSite("/filelink.html"));
    WebBrowser *b = siteBrowser();
    QSignalSpy refused(b, &Browser::navigationRefused);

    // A tapped file: link goes nowhere (the engine refuses it before the kiosk page sees it).
    QSignalSpy started(b->page(), &QWebEnginePage::loadStarted);
    QVERIFY(tapUntil(b, [&] { return evaluate(b->page(), "document.title") == "tapped"; }));
    QVERIFY(!started.wait(1500));
    QCOMPARE(b->url(), m_server.url("/filelink.html"));
    refused.clear();

    // Top-level loads the engine itself would follow.
    const QString pdf = QStringLiteral(KALMO_TEST_DATA "/web/schedule.pdf");
    for (const QString &address :
         {QUrl::fromLocalFile(pdf).toString(), QStringLiteral("data:text/html,<b>x</b>"),
          QStringLiteral("view-source:") + m_server.url("/index.html").toString()}) {
        b->load(address);
        QTRY_VERIFY2_WITH_TIMEOUT(!refused.isEmpty(), qPrintable(address), kLoadMs);
        QCOMPARE(refused.takeFirst().first().toUrl().scheme(), QUrl(address).scheme());
    }

    QSignalSpy downloads(b, &Browser::downloadRefused);
    b->load(m_server.url("/download.bin").toString());
    QVERIFY(downloads.wait(kLoadMs));
    QCOMPARE(downloads.first().first().toUrl(), m_server.url("/download.bin"));
    QCOMPARE(b->url(), m_server.url("/filelink.html"));
}

void TestWebEngine::noSessionSurvivesTheClose() {
    QVERIFY(openSite("/cookie.html"));
    QCOMPARE(evaluate(siteBrowser()->page(), "document.cookie"), QStringLiteral("visitor=1"));
    evaluate(siteBrowser()->page(), "localStorage.setItem('k', 'v'); 'ok'");
    m_view->close();

    QVERIFY(openSite("/plain.html"));
    QCOMPARE(evaluate(siteBrowser()->page(), "document.cookie"), QString());
    QCOMPARE(evaluate(siteBrowser()->page(), "String(localStorage.getItem('k'))"),
             QStringLiteral("null"));
}

void TestWebEngine::sitePdfShownInline() {
    QVERIFY(openSite("/schedule.pdf"));
    WebBrowser *b = siteBrowser();
    QSignalSpy downloads(b, &Browser::downloadRefused);
    QTRY_COMPARE_WITH_TIMEOUT(evaluate(b->page(), "document.contentType"),
                              QStringLiteral("application/pdf"), kLoadMs);
    QCOMPARE(b->url(), m_server.url("/schedule.pdf"));
    QVERIFY(downloads.isEmpty());
}

void TestWebEngine::documentWindowShowsPdf() {
    TFormBrowser form(*m_idle, [] { return 60; });
    const QString pdf = QStringLiteral(KALMO_TEST_DATA "/web/schedule.pdf");
    QVERIFY(form.openDocument(pdf));
    auto *b = qobject_cast<WebBrowser *>(form.browser());
    QVERIFY(b);
    QSignalSpy loaded(b, &Browser::loadFinished);
    QSignalSpy downloads(b, &Browser::downloadRefused);
    QVERIFY(loaded.wait(kLoadMs));
    QVERIFY(loaded.first().first().toBool());
    QCOMPARE(b->url(), QUrl::fromLocalFile(pdf));
    // Shown by the engine's own viewer, not handed out as a download.
    QTRY_VERIFY_WITH_TIMEOUT(evaluate(b->page(), "document.contentType") == "application/pdf",
                             kLoadMs);
    QCOMPARE(evaluate(b->page(), "String(document.querySelector('embed') !== null)"),
             QStringLiteral("true"));
    QVERIFY(downloads.isEmpty());
    form.close();
}

void TestWebEngine::documentLinksDoNotBrowseFiles() {
    TFormBrowser form(*m_idle, [] { return 60; });
    const QString doc = QStringLiteral(KALMO_TEST_DATA "/web/document.html");
    form.openDocument(doc);
    auto *b = qobject_cast<WebBrowser *>(form.browser());
    QSignalSpy loaded(b, &Browser::loadFinished);
    QVERIFY(loaded.wait(kLoadMs));
    QSignalSpy refused(b, &Browser::navigationRefused);
    QVERIFY(tapUntil(b, [&] { return !refused.isEmpty(); }));
    QCOMPARE(refused.first().first().toUrl().fileName(), QStringLiteral("other.html"));
    QCOMPARE(b->url(), QUrl::fromLocalFile(doc));
    form.close();
}

void TestWebEngine::engineShortcutsLeaveThePageInert() {
    QVERIFY(openSite("/index.html"));
    WebBrowser *b = siteBrowser();
    QVERIFY(tapUntil(b, [&] { return b->url() == m_server.url("/page2.html"); }));
    QTRY_COMPARE_WITH_TIMEOUT(b->page()->title(), QStringLiteral("page2"), kLoadMs);
    QWidget *input = b->view()->focusProxy();
    KeyRecorder host;
    m_main->host.installEventFilter(&host);
    QSignalSpy started(b->page(), &QWebEnginePage::loadStarted);

    const QPoint centre = input->rect().center();
    for (Qt::MouseButton button : {Qt::BackButton, Qt::RightButton}) {
        QTest::mousePress(input, button, {}, centre);
        QTest::mouseRelease(input, button, {}, centre);
    }
    QTest::keyClick(input, Qt::Key_Left, Qt::AltModifier);
    QTest::keyClick(input, Qt::Key_Back);
    QTest::keyClick(input, Qt::Key_F5);
    QTest::keyClick(input, Qt::Key_R, Qt::ControlModifier);
    // The kiosk's own keys go on to the main window, whose handler decides by focus.
    QTest::keyClick(input, Qt::Key_F3, Qt::ControlModifier);
    QTest::keyClick(input, Qt::Key_F4, Qt::AltModifier);

    QVERIFY(!started.wait(1500));
    QCOMPARE(b->url(), m_server.url("/page2.html"));
    const QWidgetList windows = QApplication::topLevelWidgets();
    QVERIFY(std::none_of(windows.begin(), windows.end(),
                         [](QWidget *w) { return w->isVisible() && qobject_cast<QMenu *>(w); }));
    QTRY_VERIFY(host.keys.contains(QStringLiteral("Ctrl+F3")));
    QTRY_VERIFY(host.keys.contains(QStringLiteral("Alt+F4")));
    QVERIFY(!host.keys.contains(QStringLiteral("Alt+Left")));
}

void TestWebEngine::pageDialogsNeverOpen() {
    m_server.route("/dialogs.html",
                   {"text/html",
                    "<html><head><title>x</title><script>onload = function () { alert('1');"
                    "document.title = confirm('2') + ',' + prompt('3', 'd'); };</script></head>"
                    "<body>d</body></html>",
                    {}});
    // A dialog would run an event loop of its own, inside which the idle close destroyed the
    // page under it. Any dialog that does come up is ended here so the test cannot hang.
    bool sawDialog = false;
    QTimer guard;
    connect(&guard, &QTimer::timeout, this, [&] {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (auto *d = qobject_cast<QDialog *>(w); d && d->isVisible()) {
                sawDialog = true;
                d->reject();
            }
        }
    });
    guard.start(50);
    QVERIFY(openSite("/dialogs.html"));
    QTRY_COMPARE_WITH_TIMEOUT(siteBrowser()->page()->title(), QStringLiteral("false,null"),
                              kLoadMs);
    QVERIFY(!sawDialog);
}

int main(int argc, char **argv) {
    prepareWebEngine();
    QApplication app(argc, argv);
    TestWebEngine test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_web_engine.moc"
