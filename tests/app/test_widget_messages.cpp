#include "app/surface.h"
#include "app/widget_messages.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <memory>

using kalmo::app::OverlayStack;
using kalmo::app::Surface;
using kalmo::app::WidgetMessages;

namespace {

// The kiosk's window: the whole screen, a page under everything.
struct Window {
    Window() : surface(std::make_unique<Surface>(QSize(1280, 720))) {
        surface->setPage(new QWidget);
    }
    QList<QMessageBox *> boxes() const {
        QList<QMessageBox *> out;
        for (QMessageBox *box : surface->findChildren<QMessageBox *>())
            if (box->isVisibleTo(surface.get()))
                out << box;
        return out;
    }
    std::unique_ptr<Surface> surface;
};

} // namespace

class TestWidgetMessages : public QObject {
    Q_OBJECT
private slots:
    void startUpMessagesShowWithTheWindow() {
        Window w;
        WidgetMessages messages(w.surface->overlays());
        messages.show("Unable to write to /k/filesetting.ini");
        messages.show("Unable to write to /k/kalmora.ini");
        QCOMPARE(w.boxes().size(), 2);
        QVERIFY(!w.boxes().first()->isVisible()); // the window is not on screen yet

        w.surface->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.surface.get()));
        QStringList texts;
        for (QMessageBox *box : w.boxes()) {
            QVERIFY(box->isVisible());
            QVERIFY(!box->isWindow());
            texts << box->text();
        }
        texts.sort();
        QCOMPARE(texts, QStringList({"Unable to write to /k/filesetting.ini",
                                     "Unable to write to /k/kalmora.ini"}));
    }

    void boxStandsAboveTheScreenInFrontWithTheFocus_data() {
        QTest::addColumn<bool>("screenOpen");
        QTest::newRow("over the main screen") << false;
        QTest::newRow("over an open screen") << true;
    }
    void boxStandsAboveTheScreenInFrontWithTheFocus() {
        QFETCH(bool, screenOpen);
        Window w;
        w.surface->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.surface.get()));
        auto *screen = new QDialog;
        screen->setGeometry(w.surface->rect());
        w.surface->overlays().add(screen);
        if (screenOpen)
            screen->open();

        WidgetMessages messages(w.surface->overlays());
        messages.show("Unable to write to /k/kalmora.ini", "Ошибка");
        QCOMPARE(w.boxes().size(), 1);
        QMessageBox *box = w.boxes().constFirst();
        QCOMPARE(w.surface->overlays().top(), box);
        QCOMPARE(box->geometry().center(), w.surface->rect().center());
        QVERIFY(box->isAncestorOf(w.surface->childAt(box->geometry().center())));
        QTRY_COMPARE(QApplication::focusWidget(), box->button(QMessageBox::Ok));
        QCOMPARE(box->accessibleName(), QString("Unable to write to /k/kalmora.ini"));
        QCOMPARE(box->windowTitle(), QStringLiteral("Ошибка"));
        // Its title drawn by itself, across its top, above the text.
        auto *title = box->findChild<QLabel *>("MessageTitle");
        QVERIFY(title && title->isVisible());
        QCOMPARE(title->text(), QStringLiteral("Ошибка"));
        QCOMPARE(title->geometry(), QRect(0, 0, box->width(), title->height()));
        for (QLabel *label : box->findChildren<QLabel *>())
            if (label->text() == "Unable to write to /k/kalmora.ini")
                QVERIFY(label->geometry().top() >= title->geometry().bottom());
        // A screen that opens later (an idle close, a timer) stays under the box.
        screen->hide();
        screen->open();
        QCOMPARE(w.surface->overlays().top(), box);
    }

    void oneTapAnywhereDismisses_data() {
        QTest::addColumn<bool>("onText");
        QTest::newRow("on the text") << true;
        QTest::newRow("on the button") << false;
    }
    void oneTapAnywhereDismisses() {
        QFETCH(bool, onText);
        Window w;
        w.surface->show();
        WidgetMessages messages(w.surface->overlays());
        messages.show("Нет связи");
        QCOMPARE(w.boxes().size(), 1);
        QPointer<QMessageBox> box = w.boxes().constFirst();
        QWidget *target = box->button(QMessageBox::Ok);
        if (onText)
            for (QLabel *label : box->findChildren<QLabel *>())
                if (label->text() == "Нет связи")
                    target = label;
        QVERIFY(target);
        QTest::mouseClick(target, Qt::LeftButton);
        QTRY_VERIFY(!box);
        QCOMPARE(w.surface->overlays().top(), nullptr);
    }
};

QTEST_MAIN(TestWidgetMessages)
#include "test_widget_messages.moc"
