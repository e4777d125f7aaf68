#include "app/kiosk.h"
#include "core/log.h"
#include "core/log_file.h"
#include "core/program_folders.h"
#include "web/engine_setup.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QLoggingCategory>
#include <QScreen>
#include <QStyleFactory>
#include <cstdio>
#include <memory>
#include <unistd.h>

namespace {

struct CommandLine {
    QString base;
    bool showCursor = false;
    bool done = false; // --help or --version answered, or a bad option reported
    int exitCode = 0;
};

// Read before the application object exists, so that --help and --version answer on a
// terminal without a display.
CommandLine parseCommandLine(int argc, char *argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Kalmo information kiosk"));
    const QCommandLineOption helpOption({QStringLiteral("h"), QStringLiteral("help")},
                                        QStringLiteral("Displays help on the options."));
    const QCommandLineOption versionOption({QStringLiteral("v"), QStringLiteral("version")},
                                           QStringLiteral("Displays the version."));
    const QCommandLineOption baseOption(
        QStringLiteral("base"),
        QStringLiteral("Base folder with the settings, photos, videos and the log (default: the "
                       "executable's folder in a build tree, ~/.local/share/kalmo when "
                       "installed)."),
        QStringLiteral("DIR"));
    const QCommandLineOption cursorOption(
        QStringLiteral("show-cursor"),
        QStringLiteral("Show the mouse pointer (for a kiosk driven by a mouse)."));
    parser.addOptions({helpOption, versionOption, baseOption, cursorOption});
    CommandLine line;
    if (!parser.parse(arguments)) {
        std::fprintf(stderr, "kalmo: %s\n", qPrintable(parser.errorText()));
        line.done = true;
        line.exitCode = 2;
    } else if (parser.isSet(helpOption)) {
        std::fputs(qPrintable(parser.helpText().replace(QStringLiteral("<executable_name>"),
                                                        QStringLiteral("kalmo"))),
                   stdout);
        line.done = true;
    } else if (parser.isSet(versionOption)) {
        std::printf("kalmo %s\n", KALMO_VERSION);
        line.done = true;
    }
    line.base = parser.value(baseOption);
    line.showCursor = parser.isSet(cursorOption);
    return line;
}

// KALMO_FAKE_NOW (for trying the kiosk out, never set on a kiosk): the time the program's
// clock starts at, "2026-12-11T19:00:00" or a time of today, "19:00"; it runs on from there.
std::unique_ptr<kalmo::core::Clock> fakeClock() {
    const QString text = qEnvironmentVariable("KALMO_FAKE_NOW").trimmed();
    if (text.isEmpty())
        return nullptr;
    QDateTime at = QDateTime::fromString(text, Qt::ISODate);
    if (!at.isValid()) {
        const QTime time = QTime::fromString(text, QStringLiteral("H:mm:ss")).isValid()
                               ? QTime::fromString(text, QStringLiteral("H:mm:ss"))
                               : QTime::fromString(text, QStringLiteral("H:mm"));
        if (time.isValid())
            at = QDateTime(QDate::currentDate(), time);
    }
    if (!at.isValid()) {
        qCWarning(kalmo::lcApp).noquote() << "KALMO_FAKE_NOW is not a time:" << text;
        return nullptr;
    }
    qCInfo(kalmo::lcApp).noquote() << "the clock is set to" << at.toString(Qt::ISODate);
    return std::make_unique<kalmo::core::ShiftedClock>(at);
}

} // namespace

int main(int argc, char *argv[]) {
    const CommandLine options = parseCommandLine(argc, argv);
    if (options.done)
        return options.exitCode;
    kalmo::web::prepareWebEngine();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kalmo"));
    QApplication::setApplicationVersion(QStringLiteral(KALMO_VERSION));
    // Themes are palettes on the Fusion style, so they look alike on every platform.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));

    const kalmo::core::ProgramFolders folders = kalmo::core::resolveProgramFolders(
        QCoreApplication::applicationDirPath(), options.base, kalmo::core::userDataFolder());
    const bool newBase = !QDir(folders.base).exists();
    if (newBase && !QDir().mkpath(folders.base)) {
        std::fprintf(stderr, "kalmo: cannot create the base folder %s\n", qPrintable(folders.base));
        return 2;
    }

    // Developers' messages go to the log, never in front of a visitor.
    if (qEnvironmentVariableIsEmpty("QT_LOGGING_RULES"))
        QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
    kalmo::core::LogFile log({folders.base + QStringLiteral("kalmo.log"),
                              kalmo::core::LogFile::DefaultRotateBytes, isatty(STDERR_FILENO) != 0,
                              nullptr});
    qCInfo(kalmo::lcApp).noquote()
        << "Kalmo" << QCoreApplication::applicationVersion() << "starting on" << folders.base
        << "with program data in" << folders.data;
    if (!log.isOpen())
        qCWarning(kalmo::lcApp).noquote() << "cannot write the log file" << log.path();
    // A new base folder starts with the sample content, so its first run shows a living screen.
    if (newBase && !kalmo::core::copyMissing(folders.data + QStringLiteral("sample"), folders.base))
        qCWarning(kalmo::lcApp) << "could not copy all of the sample content";

    kalmo::app::Kiosk::Options kioskOptions;
    kioskOptions.baseFolder = folders.base;
    kioskOptions.programDataFolder = folders.data;
    kioskOptions.showCursor = options.showCursor;
    kioskOptions.version = QStringLiteral(KALMO_VERSION);
    kioskOptions.lastProblem = [&log] { return log.lastProblem(); };
    kioskOptions.desktopPower = true;
    const std::unique_ptr<kalmo::core::Clock> clock = fakeClock();
    kioskOptions.clock = clock.get();
    const QScreen *screen = QGuiApplication::primaryScreen();
    kioskOptions.screenSize = screen ? screen->geometry().size() : QSize(1920, 1080);
    kalmo::app::Kiosk kiosk(kioskOptions);
    kiosk.surface().show();
    const int code = QApplication::exec();
    qCInfo(kalmo::lcApp) << "stopped with code" << code;
    return code;
}
