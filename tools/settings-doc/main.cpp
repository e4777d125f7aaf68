// Writes the table of the main settings file's keys into the README between its markers,
// from the program's own key table: `kalmo-settings-doc README.md`. Without an argument it
// prints the table.
#include "app/settings_files.h"

#include <QCoreApplication>
#include <QFile>
#include <cstdio>

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    const QString table = kalmo::app::mainKeysMarkdown();
    if (argc < 2) {
        std::fputs(table.toUtf8().constData(), stdout);
        return 0;
    }
    QFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "kalmo-settings-doc: cannot read %s\n", argv[1]);
        return 1;
    }
    QString text = QString::fromUtf8(file.readAll());
    file.close();
    const QString begin = QStringLiteral("<!-- settings-keys:begin -->\n");
    const QString end = QStringLiteral("<!-- settings-keys:end -->");
    const qsizetype from = text.indexOf(begin), to = text.indexOf(end);
    if (from < 0 || to < from) {
        std::fprintf(stderr, "kalmo-settings-doc: no settings-keys markers in %s\n", argv[1]);
        return 1;
    }
    text.replace(from + begin.size(), to - from - begin.size(), table);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text.toUtf8()) < 0) {
        std::fprintf(stderr, "kalmo-settings-doc: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
