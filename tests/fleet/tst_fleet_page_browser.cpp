// Needs Chromium: the fleet page as an administrator's browser shows it, from the folder.
#include "core/clock.h"
#include "fleet/fleet_service.h"
#include "web/engine_setup.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineView>

using namespace kalmo;
using namespace kalmo::fleet;

namespace {

constexpr int kLoadMs = 90000;

struct Kiosk {
    core::ManualClock clock{QDateTime(QDate(2026, 12, 9), QTime(9, 0, 0))};
    std::unique_ptr<FleetService> fleet;
    Kiosk(const QString &folder, const QString &name, QColor colour) {
        fleet = std::make_unique<FleetService>(FleetServices{
            name, "0.9.0", clock, [folder] { return folder; }, [] { return QString("main"); },
            [] { return QString(); }, [] { return QString(); }, QRect(0, 0, 1280, 720),
            ScreenSource{[colour](const QRect &band) {
                             QImage image(band.size(), QImage::Format_RGB32);
                             image.fill(colour);
                             return image;
                         },
                         true}});
    }
    void beatAndShoot() {
        QSignalSpy beat(fleet.get(), &FleetService::heartbeatWritten);
        QSignalSpy shot(fleet.get(), &FleetService::screenshotWritten);
        fleet->takeScreenshot();
        QVERIFY(shot.wait(kLoadMs));
        fleet->beat();
        QVERIFY(beat.wait(kLoadMs));
    }
};

QVariant evaluate(QWebEnginePage *page, const QString &script) {
    QVariant result;
    bool done = false;
    page->runJavaScript(script, [&](const QVariant &v) {
        result = v;
        done = true;
    });
    if (!QTest::qWaitFor([&] { return done; }, kLoadMs))
        return QStringLiteral("<no answer>");
    return result;
}

} // namespace

class TestFleetPageBrowser : public QObject {
    Q_OBJECT
private slots:
    void bothKiosksShowInABrowser();
};

void TestFleetPageBrowser::bothKiosksShowInABrowser() {
    QTemporaryDir dir;
    const QString folder = dir.path() + '/';
    Kiosk hall(folder, "Холл", Qt::darkBlue);
    Kiosk gym(folder, "gym 2", Qt::darkGreen);
    hall.beatAndShoot();
    gym.beatAndShoot();

    QWebEngineView view;
    view.resize(390, 844); // a phone
    view.show();
    QSignalSpy loaded(&view, &QWebEngineView::loadFinished);
    view.load(QUrl::fromLocalFile(folder + "kiosks/index.html"));
    QVERIFY(loaded.wait(kLoadMs));
    QVERIFY(loaded.first().first().toBool());
    QPointer<QWebEnginePage> page = view.page();

    const QString text = evaluate(page, "document.body.innerText").toString();
    QVERIFY2(text.contains("Холл") && text.contains("gym 2"), qPrintable(text));
    QCOMPARE(text.count("работает"), 2);
    // Both screenshots load, beside the page, whatever their names hold.
    QTRY_COMPARE_WITH_TIMEOUT(evaluate(page,
                                       "Array.from(document.images).filter(i => i.complete && "
                                       "i.naturalWidth == 960).length")
                                  .toInt(),
                              2, kLoadMs);
    // Readable on a phone: nothing wider than the screen.
    QVERIFY(evaluate(page, "document.documentElement.scrollWidth").toInt() <= 390);
    QCOMPARE(
        evaluate(page, "document.querySelector('meta[http-equiv=refresh]').content").toString(),
        QString("60"));
}

int main(int argc, char **argv) {
    web::prepareWebEngine();
    QApplication app(argc, argv);
    TestFleetPageBrowser test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_fleet_page_browser.moc"
