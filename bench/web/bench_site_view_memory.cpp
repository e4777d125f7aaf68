// Opens and closes the site view 20 times against a local page and reports the memory of
// the program (and of its browser helper processes) after the first and the last cycle.
// Exit status 0 when the program grew by at most 10 % after the first cycle.
//
// Run as root without a sandbox: QTWEBENGINE_DISABLE_SANDBOX=1 QT_QPA_PLATFORM=offscreen

#include "core/clock.h"
#include "core/idle_clock.h"
#include "tests/support/http_server.h"
#include "web/engine_setup.h"
#include "web/site_view.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <cstdio>

using kalmo::testing::HttpServer;

using namespace kalmo;

namespace {

// Resident set size of one process in KiB, 0 when it is gone.
qint64 rssKiB(const QString &pid) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong();
    }
    return 0;
}

QString parentOf(const QString &pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return {};
    const QByteArray text = stat.readAll();
    // pid (comm) state ppid ...; comm may hold blanks
    const QList<QByteArray> rest = text.mid(text.lastIndexOf(')') + 2).split(' ');
    return rest.size() > 1 ? QString::fromLatin1(rest[1]) : QString();
}

// This process and every process below it (the engine's zygote, renderers, utilities).
qint64 treeRssKiB() {
    const QString self = QString::number(QCoreApplication::applicationPid());
    QStringList tree{self};
    const QStringList all = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    bool grew = true;
    while (grew) {
        grew = false;
        for (const QString &pid : all) {
            if (!tree.contains(pid) && tree.contains(parentOf(pid))) {
                tree << pid;
                grew = true;
            }
        }
    }
    qint64 total = 0;
    for (const QString &pid : tree)
        total += rssKiB(pid);
    return total;
}

bool cycle(web::SiteView &view) {
    view.open();
    QSignalSpy loaded(view.browser(), &web::Browser::loadFinished);
    const bool ok = loaded.wait(20000);
    QPointer<web::Browser> browser = view.browser();
    view.close();
    if (!QTest::qWaitFor([&] { return browser.isNull(); }, 5000))
        return false;
    // Let the engine tear down the renderer of the closed view and the program hand the
    // freed heap back.
    QTest::qWait(1500);
    return ok;
}

} // namespace

int main(int argc, char **argv) {
    web::prepareWebEngine();
    QApplication app(argc, argv);

    HttpServer server;
    QByteArray page = "<!DOCTYPE html><html><head><title>site</title></head><body>";
    for (int i = 0; i < 200; ++i)
        page += "<p>Новости колледжа, строка " + QByteArray::number(i) + "</p>";
    page += "<script>var a=[];for(var i=0;i<100000;i++)a.push(i*2);</script></body></html>";
    server.route(QStringLiteral("/"), {"text/html; charset=utf-8", page, {}});
    const QString site = server.url(QStringLiteral("/")).toString();

    core::ManualClock clock;
    core::IdleClock idle(clock);
    QWidget host;
    host.setGeometry(0, 0, 1920, 1080);
    host.show();
    web::SiteView view(&host, idle, web::SiteViewSettings{[&] { return site; }, [] { return 60; }});
    view.setBrowserArea(QRect(0, 109, 1920, 1080 - 109));

    const int cycles = 20;
    QElapsedTimer timer;
    timer.start();
    qint64 firstOwn = 0;
    qint64 firstTree = 0;
    qint64 lastOwn = 0;
    qint64 lastTree = 0;
    for (int i = 1; i <= cycles; ++i) {
        if (!cycle(view)) {
            std::fprintf(stderr, "cycle %d: the page did not load\n", i);
            return 2;
        }
        const qint64 own = rssKiB(QString::number(QCoreApplication::applicationPid()));
        const qint64 tree = treeRssKiB();
        std::printf("cycle %2d: program %7lld KiB, with browser processes %7lld KiB\n", i,
                    static_cast<long long>(own), static_cast<long long>(tree));
        if (i == 1) {
            firstOwn = own;
            firstTree = tree;
        }
        lastOwn = own;
        lastTree = tree;
    }
    const double growth = 100.0 * double(lastOwn - firstOwn) / double(firstOwn);
    const double treeGrowth = 100.0 * double(lastTree - firstTree) / double(firstTree);
    std::printf("%d cycles in %.1f s; program grew %+.1f %%, with browser processes %+.1f %%\n",
                cycles, timer.elapsed() / 1000.0, growth, treeGrowth);
    const bool within = growth <= 10.0;
    std::printf("%s: program memory %s within 10 %% of the first cycle\n", within ? "PASS" : "FAIL",
                within ? "is" : "is not");
    return within ? 0 : 1;
}
