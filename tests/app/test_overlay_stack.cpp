#include "app/overlay_stack.h"
#include "app/surface.h"

#include <QCloseEvent>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>
#include <memory>

using namespace kalmo;
using app::OverlayStack;

namespace {

// Counts the input the whole application sees, as the idle clock does.
struct InputCounter : QObject {
    int presses = 0;
    bool eventFilter(QObject *, QEvent *e) override {
        if (e->type() == QEvent::MouseButtonPress)
            ++presses;
        return false;
    }
};

// A page that refuses to close until told, as the main screen does.
struct Page : QWidget {
    bool mayClose = false;
    int f3 = 0;
    void closeEvent(QCloseEvent *e) override { e->setAccepted(mayClose); }
    void keyPressEvent(QKeyEvent *e) override { f3 += e->key() == Qt::Key_F3; }
};

} // namespace

class TestOverlayStack : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void lastShownIsInFrontUntilItHides();
    void higherLayersStayAbove();
    void pointerInputBelowTheFrontIsSwallowed();
    void focusStaysInTheFrontAndComesBack();
    void centredOverlaysAndDeletedOnes();
    void surfaceRoutesKeysAndCloses();

private:
    QDialog *overlay(const QString &name, QRect geometry,
                     OverlayStack::Layer layer = OverlayStack::Layer::Screen,
                     OverlayStack::Placement placement = OverlayStack::Placement::AsIs) {
        auto *d = new QDialog; // a window of its own until the stack takes it
        d->setObjectName(name);
        d->setWindowTitle(name);
        d->setGeometry(geometry);
        m_surface->overlays().add(d, layer, placement);
        return d;
    }
    QWindow *window() { return m_surface->windowHandle(); }

    std::unique_ptr<app::Surface> m_surface;
    Page *m_page = nullptr;
    QPushButton *m_button = nullptr;
    QLineEdit *m_pageEdit = nullptr;
};

void TestOverlayStack::init() {
    m_surface = std::make_unique<app::Surface>(QSize(800, 600));
    m_page = new Page;
    m_button = new QPushButton(QStringLiteral("Календарь"), m_page);
    m_button->setGeometry(350, 250, 100, 100);
    m_pageEdit = new QLineEdit(m_page);
    m_pageEdit->setGeometry(0, 0, 100, 20);
    m_surface->setPage(m_page);
    m_surface->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_surface.get()));
    m_surface->activateWindow();
    QTRY_VERIFY(m_surface->isActiveWindow());
}

void TestOverlayStack::cleanup() {
    m_surface.reset();
}

void TestOverlayStack::lastShownIsInFrontUntilItHides() {
    QDialog *a = overlay("a", QRect(0, 0, 800, 600));
    QDialog *b = overlay("b", QRect(100, 100, 200, 100));
    QVERIFY(!a->isWindow());
    QCOMPARE(a->accessibleName(), QString("a")); // its title, as a window had
    QCOMPARE(a->parentWidget(), m_surface.get());
    QCOMPARE(b->geometry(), QRect(100, 100, 200, 100));
    QVERIFY(!a->isVisible());
    OverlayStack &stack = m_surface->overlays();
    QSignalSpy changed(&stack, &OverlayStack::topChanged);
    QCOMPARE(stack.top(), nullptr);

    a->open();
    b->open();
    QCOMPARE(stack.shown(), (QList<QWidget *>{a, b}));
    QCOMPARE(stack.top(), b);
    QCOMPARE(m_surface->childAt(150, 150), b);
    QCOMPARE(m_surface->childAt(500, 500)->objectName(), QString("InputBlocker"));
    // Shown again later, the first one comes in front of the second.
    a->hide();
    a->show();
    QCOMPARE(stack.top(), a);
    QCOMPARE(m_surface->childAt(150, 150), a);

    a->accept();
    QCOMPARE(stack.top(), b);
    b->hide();
    a->open();
    b->open();
    b->reject();
    QCOMPARE(stack.top(), a);
    QCOMPARE(m_surface->childAt(500, 500), a);
    a->reject();
    QCOMPARE(stack.top(), nullptr);
    QCOMPARE(m_surface->childAt(400, 300), m_button);
    QCOMPARE(changed.count(), 9);
    QCOMPARE(changed.last().first().value<QWidget *>(), nullptr);
}

void TestOverlayStack::higherLayersStayAbove() {
    QDialog *notice = overlay("notice", QRect(0, 0, 800, 600), OverlayStack::Layer::Top);
    QDialog *box = overlay("box", QRect(300, 250, 200, 100), OverlayStack::Layer::Message);
    QDialog *screen = overlay("screen", QRect(0, 0, 800, 600));
    notice->show();
    box->show();
    screen->open();
    QCOMPARE(m_surface->overlays().shown(), (QList<QWidget *>{screen, box, notice}));
    QCOMPARE(m_surface->overlays().top(), notice);
    notice->hide();
    QCOMPARE(m_surface->overlays().top(), box);
    QCOMPARE(m_surface->childAt(400, 300), box);
    box->hide();
    QCOMPARE(m_surface->childAt(10, 10), screen);
}

void TestOverlayStack::pointerInputBelowTheFrontIsSwallowed() {
    InputCounter counter;
    qApp->installEventFilter(&counter);
    QSignalSpy clicked(m_button, &QPushButton::clicked);
    QDialog *d = overlay("small", QRect(0, 0, 200, 100));
    d->open();
    // The click goes where a finger would: through the window, to whatever lies there.
    QTest::mouseClick(window(), Qt::LeftButton, {}, QPoint(400, 300));
    QCOMPARE(clicked.count(), 0);
    QVERIFY(counter.presses > 0); // still input, for the idle time
    d->accept();
    QTest::mouseClick(window(), Qt::LeftButton, {}, QPoint(400, 300));
    QCOMPARE(clicked.count(), 1);
    qApp->removeEventFilter(&counter);
}

void TestOverlayStack::focusStaysInTheFrontAndComesBack() {
    m_pageEdit->setFocus();
    QDialog *a = overlay("a", QRect(0, 0, 400, 300));
    auto *first = new QLineEdit(a);
    auto *second = new QLineEdit(a);
    second->move(0, 40);
    a->open();
    QTRY_VERIFY(a->isAncestorOf(QApplication::focusWidget()));
    first->setFocus();
    // Tab goes round inside the overlay and never reaches the page below.
    for (int i = 0; i < 3; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY(a->isAncestorOf(QApplication::focusWidget()));
    }
    second->setFocus();

    // One more on top: the focus goes in; when it hides, back where it was in the first.
    QDialog *b = overlay("b", QRect(0, 0, 100, 100));
    b->open();
    QVERIFY(QApplication::focusWidget() == b || b->isAncestorOf(QApplication::focusWidget()));
    b->reject();
    QCOMPARE(QApplication::focusWidget(), second);
    a->reject();
    QCOMPARE(QApplication::focusWidget(), m_pageEdit);
}

void TestOverlayStack::centredOverlaysAndDeletedOnes() {
    QDialog *below = overlay("below", QRect(0, 0, 800, 600));
    QDialog *box = overlay("box", QRect(0, 0, 200, 100), OverlayStack::Layer::Message,
                           OverlayStack::Placement::Centred);
    below->open();
    box->show();
    QCOMPARE(box->geometry(), QRect(300, 250, 200, 100));
    // A box that sizes itself while showing stays in the middle.
    box->resize(400, 200);
    QCOMPARE(box->pos(), QPoint(200, 200));

    delete box;
    QTRY_COMPARE(m_surface->overlays().top(), below);
    QCOMPARE(m_surface->childAt(400, 300), below);
}

void TestOverlayStack::surfaceRoutesKeysAndCloses() {
    QVERIFY(m_surface->isWindow());
    QVERIFY(m_surface->windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(m_page->geometry(), QRect(0, 0, 800, 600));
    // Keys that no child has the focus for are the page's.
    m_surface->setFocus();
    QTest::keyClick(m_surface.get(), Qt::Key_F3, Qt::ControlModifier);
    QCOMPARE(m_page->f3, 1);

    // Alt+F4 and the window manager's close go to the overlay in front.
    QDialog *d = overlay("d", QRect(0, 0, 100, 100));
    d->open();
    QTest::keyClick(d, Qt::Key_F4, Qt::AltModifier);
    QVERIFY(!d->isVisible());
    d->open();
    QVERIFY(!m_surface->close());
    QVERIFY(!d->isVisible());
    QCOMPARE(m_page->f3, 1);

    // Only the page decides about the window.
    QVERIFY(!m_surface->close());
    QVERIFY(m_surface->isVisible());
    m_page->mayClose = true;
    QVERIFY(m_surface->close());
}

QTEST_MAIN(TestOverlayStack)
#include "test_overlay_stack.moc"
