#include "app/widget_messages.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QWindow>

using kalmo::app::WidgetMessages;

namespace {

QList<QMessageBox *> boxes() {
    QList<QMessageBox *> out;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *box = qobject_cast<QMessageBox *>(w); box && box->isVisible())
            out << box;
    return out;
}

// A window like the kiosk's: frameless, the whole screen.
std::unique_ptr<QWidget> fullScreenWindow() {
    auto w = std::make_unique<QWidget>(nullptr, Qt::Window | Qt::FramelessWindowHint);
    w->setGeometry(0, 0, 1280, 720);
    return w;
}

} // namespace

class TestWidgetMessages : public QObject {
    Q_OBJECT
private slots:
    void cleanup() {
        for (QMessageBox *box : boxes())
            delete box;
    }

    void startUpMessagesWaitForTheMainWindow_data() {
        QTest::addColumn<bool>("hostSet");
        QTest::newRow("host named") << true;
        QTest::newRow("first window shown") << false;
    }
    void startUpMessagesWaitForTheMainWindow() {
        QFETCH(bool, hostSet);
        WidgetMessages messages;
        messages.show("Unable to write to /k/filesetting.ini"); // before the window exists
        auto host = fullScreenWindow();
        if (hostSet)
            messages.setHost(host.get());
        messages.show("Unable to write to /k/kalmora.ini"); // window made, not yet shown
        QCOMPARE(messages.heldCount(), 2);
        QVERIFY(boxes().isEmpty());

        host->show();
        QTRY_COMPARE(boxes().size(), 2);
        QCOMPARE(messages.heldCount(), 0);
        QStringList texts;
        for (QMessageBox *box : boxes())
            texts << box->text();
        texts.sort();
        QCOMPARE(texts, QStringList({"Unable to write to /k/filesetting.ini",
                                     "Unable to write to /k/kalmora.ini"}));
        for (QMessageBox *box : boxes())
            QCOMPARE(box->parentWidget(), host.get());
    }

    void boxStandsAboveTheWindowInFrontWithTheFocus_data() {
        QTest::addColumn<bool>("dialogOpen");
        QTest::newRow("over the main window") << false;
        QTest::newRow("over a modal screen") << true;
    }
    void boxStandsAboveTheWindowInFrontWithTheFocus() {
        QFETCH(bool, dialogOpen);
        auto host = fullScreenWindow();
        host->show();
        QVERIFY(QTest::qWaitForWindowExposed(host.get()));
        QDialog screen(host.get(), Qt::Dialog | Qt::FramelessWindowHint);
        if (dialogOpen) {
            screen.setGeometry(host->geometry());
            screen.setWindowModality(Qt::ApplicationModal);
            screen.show();
            QVERIFY(QTest::qWaitForWindowExposed(&screen));
        }
        QWidget *front = dialogOpen ? static_cast<QWidget *>(&screen) : host.get();

        WidgetMessages messages;
        messages.setHost(host.get());
        messages.show("Unable to write to /k/kalmora.ini");
        QCOMPARE(boxes().size(), 1);
        QMessageBox *box = boxes().constFirst();
        QCOMPARE(box->parentWidget(), front);
        QVERIFY(box->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(box->windowFlags().testFlag(Qt::Dialog));
        QCOMPARE(box->windowModality(), Qt::ApplicationModal);
        QVERIFY(box->windowHandle());
        QCOMPARE(box->windowHandle()->transientParent(), front->windowHandle());
        QTRY_COMPARE(QApplication::activeWindow(), box);
        QCOMPARE(QApplication::focusWidget(), box->button(QMessageBox::Ok));
        QCOMPARE(box->accessibleName(), QString("Unable to write to /k/kalmora.ini"));
    }

    void oneTapAnywhereDismisses_data() {
        QTest::addColumn<bool>("onText");
        QTest::newRow("on the text") << true;
        QTest::newRow("on the button") << false;
    }
    void oneTapAnywhereDismisses() {
        QFETCH(bool, onText);
        auto host = fullScreenWindow();
        host->show();
        WidgetMessages messages;
        messages.setHost(host.get());
        messages.show("Нет связи");
        QCOMPARE(boxes().size(), 1);
        QPointer<QMessageBox> box = boxes().constFirst();
        QWidget *target = box->button(QMessageBox::Ok);
        if (onText)
            for (QLabel *label : box->findChildren<QLabel *>())
                if (label->text() == "Нет связи")
                    target = label;
        QVERIFY(target);
        QTest::mouseClick(target, Qt::LeftButton);
        QTRY_VERIFY(!box);
    }
};

QTEST_MAIN(TestWidgetMessages)
#include "test_widget_messages.moc"
