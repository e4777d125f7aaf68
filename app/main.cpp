#include "app/kiosk.h"
#include "web/engine_setup.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QScreen>
#include <QStyleFactory>
#include <cstdio>

int main(int argc, char *argv[]) {
    kalmo::web::prepareWebEngine();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kalmo"));
    // Themes are palettes on the Fusion style, so they look alike on every platform.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Kalmo information kiosk"));
    parser.addHelpOption();
    const QCommandLineOption baseOption(
        QStringLiteral("base"), QStringLiteral("Base folder (default: the executable's folder)."),
        QStringLiteral("DIR"));
    parser.addOption(baseOption);
    parser.process(app);

    QString base = parser.isSet(baseOption) ? parser.value(baseOption)
                                            : QCoreApplication::applicationDirPath();
    QDir dir(base);
    if (!dir.exists() && !QDir().mkpath(base)) {
        std::fprintf(stderr, "kalmo: cannot create the base folder %s\n", qPrintable(base));
        return 2;
    }
    base = dir.absolutePath();
    if (!base.endsWith(u'/'))
        base += u'/';
    // Relative names in the settings (the running text file, the weather pictures) are
    // relative to the base folder.
    QDir::setCurrent(base);

    kalmo::app::Kiosk::Options options;
    options.baseFolder = base;
    const QScreen *screen = QGuiApplication::primaryScreen();
    options.screenSize = screen ? screen->geometry().size() : QSize(1920, 1080);
    kalmo::app::Kiosk kiosk(options);
    kiosk.mainWindow().show();
    return QApplication::exec();
}
