// Needs Chromium: the real browser control against a local HTTP server and local files.
#include "core/clock.h"
#include "core/idle_clock.h"
#include "core/theme.h"
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
#include <QTcpServer>
#include <QWebEngineHistory>
#include <QWebEngineLoadingInfo>
#include <QWebEngineView>
#include <QtTest>

using kalmo::testing::HttpServer;

using namespace kalmo;
using namespace kalmo::web;

namespace {

// Waits are for states and have generous limits: on two loaded cores a navigation can take
// many seconds, and a limit only matters when something is broken.
const int kLoadMs = 90000;
// How long a tap may take to reach the page before it counts as dropped.
const int kTapTakenMs = 10000;

// Every page notes the press of a tap in its title, so a test knows the tap arrived.
const QByteArray kPressedNote =
    "<script>addEventListener('mousedown', function () { document.title = 'pressed'; }, "
    "true);</script>";

// A page whose whole surface is one link, so a tap anywhere follows it.
QByteArray linkPage(const QByteArray &href, const QByteArray &extra = {}) {
    return "<!DOCTYPE html><html><head><title>links</title><style>html,body{margin:0;height:100%}"
           "a{display:block;width:100%;height:100%}</style>" +
           kPressedNote + "</head><body><a id=\"l\" href=\"" + href + "\" " + extra +
           ">link</a></body></html>";
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

// Taps until the page shows that a tap arrived. The render widget drops input until its
// first frame is up, so the first taps may be lost; a tap that arrived is never repeated,
// because a second one on a link would start its navigation over.
bool tapUntilTaken(WebBrowser *browser, const std::function<bool()> &taken) {
    for (int attempt = 0; attempt < 9; ++attempt) {
        tapCentre(browser);
        if (QTest::qWaitFor(taken, kTapTakenMs))
            return true;
    }
    return false;
}

bool tapUntilPressed(WebBrowser *browser) {
    QSignalSpy titles(browser->page(), &QWebEnginePage::titleChanged);
    return tapUntilTaken(browser, [&] {
        return std::any_of(titles.begin(), titles.end(),
                           [](const QList<QVariant> &t) { return t.first() == "pressed"; });
    });
}

// The loads of a page in the order they happened.
class LoadLog {
public:
    explicit LoadLog(QWebEnginePage *page) {
        QObject::connect(page, &QWebEnginePage::loadingChanged, &m_context,
                         [this](const QWebEngineLoadingInfo &info) {
                             m_events.append({info.url(), info.status()});
                         });
    }

    // Waits until loading has started and then ended, successfully, on `url`. The engine
    // reports one start for loads that follow each other before the first has ended.
    bool finished(const QUrl &url) {
        return QTest::qWaitFor([&] { return succeededAfterStart(url); }, kLoadMs);
    }
    // Where the page stood each time it started loading, in order.
    QList<QUrl> started() const {
        QList<QUrl> urls;
        for (const Event &e : m_events) {
            if (e.status == QWebEngineLoadingInfo::LoadStartedStatus)
                urls << e.url;
        }
        return urls;
    }
    void clear() { m_events.clear(); }

private:
    struct Event {
        QUrl url;
        QWebEngineLoadingInfo::LoadStatus status;
    };
    bool succeededAfterStart(const QUrl &url) const {
        bool started = false;
        for (const Event &e : m_events) {
            if (e.status == QWebEngineLoadingInfo::LoadStartedStatus)
                started = true;
            else if (started && e.url == url &&
                     e.status == QWebEngineLoadingInfo::LoadSucceededStatus)
                return true;
        }
        return false;
    }

    QObject m_context;
    QList<Event> m_events;
};

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
    void unreachableSiteShowsAPlainPage();
    void sitePdfShownInline();
    void documentWindowShowsPdf();
    void documentLinksDoNotBrowseFiles();
    void engineShortcutsLeaveThePageInert();
    void pageDialogsNeverOpen();
    void pageIsPaintedAsAWidget();

private:
    WebBrowser *siteBrowser() { return qobject_cast<WebBrowser *>(m_view->browser()); }
    bool openSite(const QString &path);
    bool openSiteAt(const QUrl &url);

    HttpServer m_server;
    core::ManualClock m_clock;
    std::unique_ptr<core::IdleClock> m_idle;
    QString m_site;
    std::unique_ptr<QWidget> m_host;
    std::unique_ptr<SiteView> m_view;
};

void TestWebEngine::initTestCase() {
    m_server.route("/index.html", {"text/html", linkPage("page2.html"), {}});
    // Typing "x" on page 2 leaves for the plain page: input the page itself handles, which
    // comes after every key sent before it.
    m_server.route("/page2.html",
                   {"text/html",
                    "<html><head><title>page2</title><script>addEventListener('keydown', "
                    "function (e) { if (e.key === 'x') location.href = '/plain.html'; });"
                    "</script></head><body>2</body></html>",
                    {}});
    m_server.route("/popup.html", {"text/html", linkPage("page2.html", "target=\"_blank\""), {}});
    // The tap tries the file link first; the page then goes on to the plain page by itself.
    m_server.route("/filelink.html", {"text/html",
                                      linkPage("file:///etc/hostname",
                                               "onclick=\"setTimeout(function () { location.href = "
                                               "'/plain.html'; }, 0)\""),
                                      {}});
    m_server.route("/download.bin", {"application/octet-stream", QByteArray(4096, 'x'),
                                     "Content-Disposition: attachment; filename=x.bin\r\n"});
    m_server.route("/cookie.html",
                   {"text/html", "<html><body>c</body></html>", "Set-Cookie: visitor=1\r\n"});
    QFile pdf(QStringLiteral(KALMO_TEST_DATA "/web/schedule.pdf"));
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    m_server.route("/schedule.pdf", {"application/pdf", pdf.readAll(), {}});
    m_server.route("/plain.html", {"text/html", "<html><body>p</body></html>", {}});
    m_server.route("/red.html",
                   {"text/html", "<html><body style=\"background:#ff0000\"></body></html>", {}});
}

void TestWebEngine::init() {
    m_idle = std::make_unique<core::IdleClock>(m_clock);
    qApp->installEventFilter(m_idle.get());
    m_host = std::make_unique<QWidget>(nullptr, Qt::FramelessWindowHint);
    m_host->setGeometry(0, 0, 1280, 720);
    m_host->show();
    m_view = std::make_unique<SiteView>(
        m_host.get(), *m_idle, SiteViewSettings{[this] { return m_site; }, [] { return 60; }});
    m_view->setBrowserArea(QRect(0, 109, 1280, 720 - 109));
}

void TestWebEngine::cleanup() {
    m_view.reset();
    m_host.reset();
    m_idle.reset();
}

bool TestWebEngine::openSite(const QString &path) {
    return openSiteAt(m_server.url(path));
}

bool TestWebEngine::openSiteAt(const QUrl &url) {
    m_site = url.toString();
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
    QVERIFY(!b->page()->history()->canGoBack());
    m_view->back();
    QCOMPARE(b->url(), m_server.url("/index.html"));

    // A tap on the page counts as input: the idle close waits for the next full timeout.
    m_clock.advanceMs(59000);
    LoadLog loads(b->page());
    QVERIFY(tapUntilPressed(b));
    QVERIFY(loads.finished(m_server.url("/page2.html")));
    QCOMPARE(b->page()->title(), QStringLiteral("page2"));
    m_view->idleTick();
    QVERIFY(m_view->isOpen());
    loads.clear();
    m_view->back();
    QVERIFY(loads.finished(m_server.url("/index.html")));
    loads.clear();
    m_view->forward();
    QVERIFY(loads.finished(m_server.url("/page2.html")));

    // Home goes to the address configured now.
    m_site = m_server.url("/plain.html").toString();
    loads.clear();
    m_view->home();
    QVERIFY(loads.finished(m_server.url("/plain.html")));

    // Idle close takes the browser and its window away.
    QSignalSpy closed(m_view.get(), &SiteView::closed);
    QPointer<QWidget> window = m_view->browserWindow();
    m_clock.advanceMs(60000);
    m_view->idleTick();
    QVERIFY(!m_view->isOpen());
    QCOMPARE(closed.count(), 1);
    QTRY_VERIFY_WITH_TIMEOUT(window.isNull(), kLoadMs);
}

void TestWebEngine::popupLinkStaysInTheView() {
    QVERIFY(openSite("/popup.html"));
    WebBrowser *b = siteBrowser();
    const auto visibleWindows = [] {
        const QWidgetList all = QApplication::topLevelWidgets();
        return std::count_if(all.begin(), all.end(), [](QWidget *w) { return w->isVisible(); });
    };
    const auto windowsBefore = visibleWindows();
    LoadLog loads(b->page());
    QVERIFY(tapUntilPressed(b));
    QVERIFY(loads.finished(m_server.url("/page2.html")));
    QCOMPARE(b->url(), m_server.url("/page2.html"));
    QCOMPARE(visibleWindows(), windowsBefore);
}

void TestWebEngine::fileLinkDownloadAndOtherSchemesRefused() {
    QVERIFY(openSite("/filelink.html"));
    WebBrowser *b = siteBrowser();

    // A tapped file: link goes nowhere: the only load after the tap is the page's own move
    // to the plain page, which the page starts after the link's turn has passed.
    LoadLog loads(b->page());
    QVERIFY(tapUntilPressed(b));
    QVERIFY(loads.finished(m_server.url("/plain.html")));
    QCOMPARE(loads.started(), QList<QUrl>{m_server.url("/plain.html")});

    // Top-level loads the engine itself would follow.
    QSignalSpy refused(b, &Browser::navigationRefused);
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
    QCOMPARE(b->url(), m_server.url("/plain.html"));
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

void TestWebEngine::unreachableSiteShowsAPlainPage() {
    // A port nobody listens on: the connection is refused.
    QTcpServer probe;
    QVERIFY(probe.listen(QHostAddress::LocalHost));
    const QUrl gone(QStringLiteral("http://127.0.0.1:%1/").arg(probe.serverPort()));
    probe.close();

    m_site = gone.toString();
    m_view->open();
    WebBrowser *b = siteBrowser();
    QSignalSpy refused(b, &Browser::navigationRefused);
    QTRY_VERIFY_WITH_TIMEOUT(evaluate(b->page(), "document.body ? document.body.innerText : ''")
                                 .contains(QStringLiteral("Сайт сейчас недоступен")),
                             kLoadMs);
    // In the kiosk's own colours.
    const QColor window = core::Themes::windowColour();
    QCOMPARE(
        evaluate(b->page(), "getComputedStyle(document.body).backgroundColor"),
        QStringLiteral("rgb(%1, %2, %3)").arg(window.red()).arg(window.green()).arg(window.blue()));
    QVERIFY(refused.isEmpty());
    // The close button and the idle close work as ever.
    QVERIFY(m_view->isOpen());
    m_view->close();
    QVERIFY(!m_view->isOpen());

    // Reachable again: the site shows as usual.
    QVERIFY(openSite("/plain.html"));
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
    // The refusal itself shows the tap arrived; a repeated tap is refused the same way.
    QVERIFY(tapUntilTaken(b, [&] { return !refused.isEmpty(); }));
    QCOMPARE(refused.first().first().toUrl().fileName(), QStringLiteral("other.html"));
    QCOMPARE(b->url(), QUrl::fromLocalFile(doc));
    form.close();
}

void TestWebEngine::engineShortcutsLeaveThePageInert() {
    QVERIFY(openSite("/index.html"));
    WebBrowser *b = siteBrowser();
    LoadLog loads(b->page());
    QVERIFY(tapUntilPressed(b));
    QVERIFY(loads.finished(m_server.url("/page2.html")));
    QWidget *input = b->view()->focusProxy();
    // Keys the page does not take go up to the browser's window, and no further.
    KeyRecorder window;
    m_view->browserWindow()->installEventFilter(&window);
    loads.clear();

    const QPoint centre = input->rect().center();
    for (Qt::MouseButton button : {Qt::BackButton, Qt::RightButton}) {
        QTest::mousePress(input, button, {}, centre);
        QTest::mouseRelease(input, button, {}, centre);
    }
    QTest::keyClick(input, Qt::Key_Left, Qt::AltModifier);
    QTest::keyClick(input, Qt::Key_Back);
    QTest::keyClick(input, Qt::Key_F5);
    QTest::keyClick(input, Qt::Key_R, Qt::ControlModifier);
    // The kiosk's own keys pass on.
    QTest::keyClick(input, Qt::Key_F3, Qt::ControlModifier);
    QTest::keyClick(input, Qt::Key_F4, Qt::AltModifier);
    // Then a key the page acts on itself: its load comes after whatever the keys above set
    // off, so it must be the first and only load.
    QTest::keyClick(input, Qt::Key_X);

    QVERIFY(loads.finished(m_server.url("/plain.html")));
    QCOMPARE(loads.started(), QList<QUrl>{m_server.url("/plain.html")});
    QCOMPARE(b->page()->history()->count(), 3); // index, page2, plain: no going back
    const QWidgetList windows = QApplication::topLevelWidgets();
    QVERIFY(std::none_of(windows.begin(), windows.end(),
                         [](QWidget *w) { return w->isVisible() && qobject_cast<QMenu *>(w); }));
    QTRY_VERIFY_WITH_TIMEOUT(window.keys.contains(QStringLiteral("Ctrl+F3")), kLoadMs);
    QTRY_VERIFY_WITH_TIMEOUT(window.keys.contains(QStringLiteral("Alt+F4")), kLoadMs);
    QVERIFY(!window.keys.contains(QStringLiteral("Alt+Left")));
    QVERIFY(!window.keys.contains(QStringLiteral("F5")));
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

// The page shows in the window's own pixels, and the window is never turned into one composed
// through OpenGL: that would make every later frame of the kiosk redraw the whole screen.
void TestWebEngine::pageIsPaintedAsAWidget() {
    QVERIFY(openSite("/red.html"));
    QWidget *shown = m_view->browserWindow();
    const QPoint centre = shown->mapTo(m_host.get(), shown->rect().center());
    QTRY_COMPARE_WITH_TIMEOUT(m_host->grab().toImage().pixelColor(centre), QColor(Qt::red),
                              kLoadMs);
    QCOMPARE(m_host->windowHandle()->surfaceType(), QSurface::RasterSurface);
    QPointer<QWidget> window = m_view->browserWindow();
    m_view->close();
    QTRY_VERIFY_WITH_TIMEOUT(window.isNull(), kLoadMs);
    QCOMPARE(m_host->windowHandle()->surfaceType(), QSurface::RasterSurface);
}

int main(int argc, char **argv) {
    prepareWebEngine();
    QApplication app(argc, argv);
    TestWebEngine test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_web_engine.moc"
