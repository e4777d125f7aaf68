// kalmo-settings: reads and changes a kiosk's INI files from the command line, through the
// kiosk's own store, so a script or an administrator of a fleet writes a shared file safely
// while kiosks read and write it too.
//
//   kalmo-settings get FILE SECTION KEY         prints the value
//   kalmo-settings set FILE SECTION KEY VALUE   writes it (under the file's lock)
//   kalmo-settings list FILE                    prints every section and key, as INI text
//
// Exit status 0 on success; 1 with a one-line reason on stderr when the file cannot be read
// or written or the key is not there; 2 for a wrong command line.
#include "core/ini_file.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>
#include <optional>

using kalmo::core::IniFile;
using kalmo::core::IniReadStatus;
using kalmo::core::IniWriteError;

namespace {

void print(FILE *to, const QString &line) {
    std::fputs(line.toUtf8().constData(), to);
    std::fputc('\n', to);
}

int fail(const QString &why) {
    print(stderr, QStringLiteral("kalmo-settings: ") + why);
    return 1;
}

int usage() {
    print(stderr, QStringLiteral("usage: kalmo-settings get FILE SECTION KEY | set FILE SECTION "
                                 "KEY VALUE | list FILE"));
    return 2;
}

// Nothing when the file could be read (or is missing and that is fine); otherwise the reason.
std::optional<QString> readProblem(const IniFile &ini, bool missingIsFine) {
    switch (ini.readStatus()) {
    case IniReadStatus::Ok:
        return std::nullopt;
    case IniReadStatus::Missing:
        if (missingIsFine)
            return std::nullopt;
        return QStringLiteral("%1: no such file").arg(ini.path());
    case IniReadStatus::Unreadable:
    case IniReadStatus::TooLarge:
        break;
    }
    return QStringLiteral("cannot read %1: %2").arg(ini.path(), ini.readError());
}

} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    // The store's log lines are for the kiosk's log; here the one-line reason says it all.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    if (args.isEmpty())
        return usage();
    const QString command = args.takeFirst();
    const int wanted = command == u"get" ? 3 : command == u"set" ? 4 : command == u"list" ? 1 : -1;
    if (wanted < 0 || args.size() != wanted)
        return usage();
    const IniFile::Mode mode = command == u"set" ? IniFile::Mode::Live : IniFile::Mode::Snapshot;
    IniFile ini(args[0], mode);

    if (command == u"get") {
        if (const auto problem = readProblem(ini, false))
            return fail(*problem);
        if (!ini.valueExists(args[1], args[2]))
            return fail(QStringLiteral("%1 has no key %2 in section [%3]")
                            .arg(ini.path(), args[2], args[1]));
        print(stdout, ini.readString(args[1], args[2]));
        return 0;
    }
    if (command == u"set") {
        // A file that is there but cannot be read is never replaced; the store refuses it.
        if (const auto problem = readProblem(ini, true))
            return fail(*problem);
        try {
            ini.writeString(args[1], args[2], args[3]);
        } catch (const IniWriteError &e) {
            return fail(e.text());
        }
        return 0;
    }
    if (const auto problem = readProblem(ini, false))
        return fail(*problem);
    const QStringList sections = ini.sections();
    for (qsizetype s = 0; s < sections.size(); ++s) {
        if (s > 0)
            print(stdout, QString());
        print(stdout, u'[' + sections[s] + u']');
        for (const QString &key : ini.keys(sections[s]))
            print(stdout, key + u'=' + ini.readString(sections[s], key));
    }
    return 0;
}
