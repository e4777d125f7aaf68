#include "core/clock.h"
#include "core/idle_clock.h"
#include "fake_browser.h"
#include "web/form_browser.h"
#include "web/site_view.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>
#include <memory>

using namespace kalmo;
using namespace kalmo::web;

namespace {

FakeBrowser *fake(Browser *b) {
    return qobject_cast<FakeBrowser *>(b);
}

} // namespace

class TestSiteView : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void openShowsTheSiteOverTheHost();
    void closeTakesTheBrowserAway();
    void navigationFollowsTheConfiguredAddress();
    void navigationWithoutViewDoesNothing();
    void idleClose_data();
    void idleClose();
    void idleTimerFiresOnceWithoutSiteView();
    void documentWindowShowsAttachment();
    void documentWindowEmptyPathNeverOpens();
    void documentWindowIdleClose();

private:
    std::unique_ptr<core::ManualClock> m_clock;
    std::unique_ptr<core::IdleClock> m_idle;
    QString m_site;
    int m_page = 60;
    std::unique_ptr<QWidget> m_host;
    std::unique_ptr<SiteView> m_view;
    std::unique_ptr<QSignalSpy> m_opened, m_closed;
};

void TestSiteView::init() {
    m_clock = std::make_unique<core::ManualClock>();
    m_idle = std::make_unique<core::IdleClock>(*m_clock);
    m_site = QStringLiteral("http://school.example/");
    m_page = 60;
    m_host = std::make_unique<QWidget>(nullptr, Qt::FramelessWindowHint);
    m_host->setGeometry(0, 0, 1920, 1080);
    m_host->show();
    m_view = std::make_unique<SiteView>(
        m_host.get(), *m_idle,
        SiteViewSettings{[this] { return m_site; }, [this] { return m_page; }}, fakeFactory());
    m_view->setBrowserArea(QRect(0, 109, 1920, 1080 - 109));
    m_opened = std::make_unique<QSignalSpy>(m_view.get(), &SiteView::opened);
    m_closed = std::make_unique<QSignalSpy>(m_view.get(), &SiteView::closed);
}

void TestSiteView::cleanup() {
    m_opened.reset();
    m_closed.reset();
    m_view.reset();
    m_host.reset();
    m_idle.reset();
    m_clock.reset();
}

void TestSiteView::openShowsTheSiteOverTheHost() {
    QCOMPARE(m_view->idleTimer()->objectName(), QStringLiteral("Timer8"));
    QVERIFY(m_view->idleTimer()->isActive()); // from start

    m_view->open();
    QVERIFY(m_view->isOpen());
    QCOMPARE(m_opened->count(), 1);
    QCOMPARE(m_closed->count(), 0);
    QVERIFY(m_view->idleTimer()->isActive());

    // A panel of the host over its area, above the host's own controls.
    QWidget *window = m_view->browserWindow();
    QVERIFY(window);
    QVERIFY(!window->isWindow());
    QCOMPARE(window->parentWidget(), m_host.get());
    QVERIFY(window->isVisible());
    QCOMPARE(window->geometry(), QRect(0, 109, 1920, 1080 - 109));
    QWidget *under = m_host->childAt(960, 600);
    QVERIFY(under == window || window->isAncestorOf(under));

    FakeBrowser *b = fake(m_view->browser());
    QVERIFY(b);
    QCOMPARE(b->parentWidget(), window);
    QCOMPARE(b->geometry(), QRect(0, 0, 1920, 1080 - 109));
    QVERIFY(b->spec.cacheOff);
    QCOMPARE(b->spec.kind, BrowserKind::Site);
    QCOMPARE(b->calls, QStringList{QStringLiteral("load http://school.example/")});
    QVERIFY(b->isVisible());
}

void TestSiteView::closeTakesTheBrowserAway() {
    m_view->open();
    QPointer<Browser> b = m_view->browser();
    QPointer<QWidget> window = m_view->browserWindow();
    m_view->close();
    QVERIFY(!m_view->isOpen());
    QCOMPARE(m_closed->count(), 1);
    QVERIFY(b.isNull() || !b->isVisible());
    QVERIFY(window.isNull() || !window->isVisible());
    QVERIFY(!m_view->browserWindow());
    // The close button leaves Timer8 running; its next idle firing stops it.
    QVERIFY(m_view->idleTimer()->isActive());
    QTRY_VERIFY(b.isNull());
    QTRY_VERIFY(window.isNull());

    // A second opening gets a fresh control.
    m_view->open();
    QVERIFY(m_view->browser());
    QVERIFY(m_view->browser() != b.data());
}

void TestSiteView::navigationFollowsTheConfiguredAddress() {
    m_view->open();
    FakeBrowser *b = fake(m_view->browser());
    m_view->back();
    m_view->forward();
    // Home reloads the address configured now, not the one first shown.
    m_site = QStringLiteral("https://new.example/");
    m_view->home();
    QCOMPARE(b->calls,
             (QStringList{QStringLiteral("load http://school.example/"), QStringLiteral("back"),
                          QStringLiteral("forward"), QStringLiteral("load https://new.example/")}));
}

void TestSiteView::navigationWithoutViewDoesNothing() {
    m_view->back();
    m_view->home();
    m_view->forward();
    m_view->close(); // the closing steps on a closed view
    QVERIFY(!m_view->isOpen());
    QCOMPARE(m_closed->count(), 1);
    QCOMPARE(m_opened->count(), 0);
}

void TestSiteView::idleClose_data() {
    QTest::addColumn<int>("page");
    QTest::addColumn<qint64>("idleMs");
    QTest::addColumn<bool>("closes");
    QTest::newRow("just under the timeout") << 60 << qint64(59999) << false;
    QTest::newRow("exactly the timeout") << 60 << qint64(60000) << true;
    QTest::newRow("long idle") << 60 << qint64(3600000) << true;
    QTest::newRow("zero timeout closes at once") << 0 << qint64(0) << true;
}

void TestSiteView::idleClose() {
    QFETCH(int, page);
    QFETCH(qint64, idleMs);
    QFETCH(bool, closes);
    m_page = page;
    m_clock->setTick(0xFFFFF000u); // across the 32-bit wrap
    m_idle->touch();
    m_view->open();
    m_clock->advanceMs(idleMs);
    m_view->idleTick();
    QCOMPARE(m_view->isOpen(), !closes);
    QCOMPARE(m_view->idleTimer()->isActive(), !closes);
    QCOMPARE(m_closed->count(), closes ? 1 : 0);
}

void TestSiteView::idleTimerFiresOnceWithoutSiteView() {
    m_idle->touch();
    m_clock->advanceMs(30000);
    m_view->idleTick();
    QCOMPARE(m_closed->count(), 0);
    QVERIFY(m_view->idleTimer()->isActive());

    // A touch resets the count.
    m_idle->touch();
    m_clock->advanceMs(59000);
    m_view->idleTick();
    QVERIFY(m_view->idleTimer()->isActive());

    // The closing steps run once on the closed view (the host restarts its slideshow).
    m_clock->advanceMs(1000);
    m_view->idleTick();
    QCOMPARE(m_closed->count(), 1);
    QVERIFY(!m_view->idleTimer()->isActive());

    // Opening the view starts it again.
    m_view->open();
    QVERIFY(m_view->idleTimer()->isActive());
}

void TestSiteView::documentWindowShowsAttachment() {
    TFormBrowser form(
        *m_idle, [this] { return m_page; }, fakeFactory());
    QCOMPARE(form.windowTitle(), QStringLiteral("FormBrowser"));
    QCOMPARE(form.closeButton()->objectName(), QStringLiteral("SpeedButton1"));
    QCOMPARE(form.closeButton()->text(), QStringLiteral("Закрыть"));
    QVERIFY(!form.idleTimer()->isActive());
    QSignalSpy paused(&form, &TFormBrowser::callerIdlePaused);
    QSignalSpy resumed(&form, &TFormBrowser::callerIdleResumed);

    const QSize screen = form.screen()->geometry().size();
    QVERIFY(form.openDocument(QStringLiteral("/srv/docs/event.pdf")));
    QVERIFY(form.isVisible());
    QVERIFY(form.isModal());
    QCOMPARE(paused.count(), 1);
    QCOMPARE(resumed.count(), 0);
    QCOMPARE(form.closeButton()->geometry(), QRect(0, 0, screen.width(), 90));
    FakeBrowser *b = fake(form.browser());
    QVERIFY(b);
    QCOMPARE(b->parentWidget(), &form);
    QCOMPARE(b->geometry(), QRect(0, 95, screen.width(), screen.height() - 95));
    QCOMPARE(b->spec.background, QColor(Qt::black));
    QCOMPARE(b->spec.kind, BrowserKind::Document);
    QCOMPARE(b->calls, QStringList{QStringLiteral("load /srv/docs/event.pdf")});
    QVERIFY(form.idleTimer()->isActive());

    QPointer<Browser> shown = b;
    form.closeButton()->click();
    QVERIFY(!form.isVisible());
    QCOMPARE(resumed.count(), 1);
    QVERIFY(!form.browser());
    QTRY_VERIFY(shown.isNull());

    // Shown again: a new control on the new path.
    QVERIFY(form.openDocument(QStringLiteral("/srv/docs/other.html")));
    QCOMPARE(paused.count(), 2);
    QCOMPARE(fake(form.browser())->calls, QStringList{QStringLiteral("load /srv/docs/other.html")});
    form.close();
}

void TestSiteView::documentWindowEmptyPathNeverOpens() {
    TFormBrowser form(
        *m_idle, [this] { return m_page; }, fakeFactory());
    QSignalSpy paused(&form, &TFormBrowser::callerIdlePaused);
    QVERIFY(!form.openDocument(QString()));
    QVERIFY(!form.isVisible());
    QVERIFY(!form.browser());
    QCOMPARE(paused.count(), 0);
}

void TestSiteView::documentWindowIdleClose() {
    TFormBrowser form(
        *m_idle, [this] { return m_page; }, fakeFactory());
    QSignalSpy resumed(&form, &TFormBrowser::callerIdleResumed);
    m_idle->touch();
    form.openDocument(QStringLiteral("/srv/docs/event.pdf"));

    m_clock->advanceMs(59999);
    form.idleTick();
    QVERIFY(form.isVisible());

    m_clock->advanceMs(1);
    form.idleTick();
    QVERIFY(!form.isVisible());
    QVERIFY(!form.browser());
    QCOMPARE(resumed.count(), 1);
    QVERIFY(!form.idleTimer()->isActive());

    // Closed by its button, the timer runs on and repeats the closing steps once.
    m_idle->touch();
    form.openDocument(QStringLiteral("/srv/docs/event.pdf"));
    form.closeButton()->click();
    QCOMPARE(resumed.count(), 2);
    QVERIFY(form.idleTimer()->isActive());
    m_clock->advanceMs(60000);
    form.idleTick();
    QCOMPARE(resumed.count(), 3);
    QVERIFY(!form.isVisible());
    QVERIFY(!form.idleTimer()->isActive());
}

QTEST_MAIN(TestSiteView)
#include "tst_web_site_view.moc"
