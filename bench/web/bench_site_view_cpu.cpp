// CPU of the kiosk (this process and the engine's processes below it) on an X server:
// at rest, while the site view shows a static page, and after the view has closed. Runs the
// real main screen with a local site; starts Xvfb when there is no display.
//
// Usage: bench_web_site_view_cpu [window seconds=15]
#include "app/kiosk.h"
#include "bench/kiosk/proc_stats.h"
#include "bench/kiosk/xvfb.h"
#include "tests/support/http_server.h"
#include "web/engine_setup.h"
#include "web/site_view.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPointer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

using namespace kalmo;

namespace {

// Percent of a core used by this process and its children over `ms`, the event loop running.
double measure(int ms) {
    const qint64 self = QCoreApplication::applicationPid();
    const auto before = bench::treeTicks(self);
    QElapsedTimer t;
    t.start();
    QTest::qWait(ms);
    return bench::cpuPercent(before, bench::treeTicks(self), t.elapsed());
}

} // namespace

int main(int argc, char **argv) {
    const int windowMs = (argc > 1 ? std::max(3, atoi(argv[1])) : 15) * 1000;
    bench::Xvfb display(1920, 1080);
    qputenv("DISPLAY", display.name().toLatin1());
    qputenv("QT_QPA_PLATFORM", "xcb");
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    web::prepareWebEngine();
    QApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IONBF, 0);

    testing::HttpServer server;
    QByteArray page = "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>site</title>"
                      "</head><body>";
    for (int i = 0; i < 200; ++i)
        page += "<p>Новости колледжа, строка " + QByteArray::number(i) + "</p>";
    page += "</body></html>";
    server.route(QStringLiteral("/"), {"text/html; charset=utf-8", page, {}});

    QTemporaryDir dir;
    const QString base = dir.path() + '/';
    QFile ini(base + "kalmora.ini");
    if (!ini.open(QIODevice::WriteOnly))
        return 2;
    ini.write("[ini]\nfile=1\n[weather]\nread=0\n[time]\npage=3600\n[site]\nsite=" +
              server.url(QStringLiteral("/")).toString().toUtf8() + "\n");
    ini.close();

    app::Kiosk::Options options;
    options.baseFolder = base;
    options.screenSize = QSize(1920, 1080);
    app::Kiosk kiosk(options);
    kiosk.surface().show();
    QTest::qWait(5000);
    std::printf("CPU at rest: %.1f %%\n", measure(windowMs));

    web::SiteView &site = kiosk.mainWindow().siteView();
    site.open();
    QSignalSpy loaded(site.browser(), &web::Browser::loadFinished);
    if (!loaded.wait(60000)) {
        std::fprintf(stderr, "the site did not load\n");
        return 2;
    }
    QTest::qWait(5000);
    std::printf("CPU site open: %.1f %%\n", measure(windowMs));

    QPointer<QWidget> window = site.browserWindow();
    site.close();
    std::printf("CPU first 5 s after close: %.1f %%\n", measure(5000));
    std::printf("CPU after close: %.1f %%\n", measure(windowMs));
    std::printf("site window gone: %s\n", window.isNull() ? "yes" : "no");
    QCoreApplication::exit(0);
    return 0;
}
