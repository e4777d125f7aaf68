// Reads and rewrites a settings file of 1,000,000 sections (about 14 MB), the size a
// damaged shared folder once handed a kiosk. Prints one figure per line.
#include "core/ini_file.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <ctime>
#include <optional>

using kalmo::core::IniFile;

namespace {

constexpr int kSections = 1000000;

double cpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// Wall time, and the processor time (what a busy shared machine inflates less).
struct Phase {
    QElapsedTimer wall;
    double cpu = cpuMs();
    Phase() { wall.start(); }
    void print(const char *name) const {
        std::printf("%s: %.1f ms\n%s cpu: %.1f ms\n", name, double(wall.nsecsElapsed()) / 1e6, name,
                    cpuMs() - cpu);
    }
};

} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath("kalmora.ini");
    {
        QByteArray bytes;
        bytes.reserve(kSections * 14);
        char line[32];
        for (int i = 0; i < kSections; ++i) {
            const int n = std::snprintf(line, sizeof line, "[s%06d]\nk=1\n", i);
            bytes.append(line, n);
        }
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            return 1;
        std::printf("file: %.1f MB\n", double(bytes.size()) / 1e6);
    }

    std::optional<Phase> phase(std::in_place);
    IniFile ini(path);
    const QString middle = ini.readString("S500000", "K"); // parses the whole file
    phase->print("parse");
    if (middle != "1")
        return 2;

    phase.emplace();
    ini.writeString("s500000", "k", "2"); // one line changed in the middle, file replaced
    phase->print("rewrite");

    // What a first start does: a few dozen keys, new and existing, stored once.
    phase.emplace();
    {
        IniFile::Batch batch(ini);
        for (int i = 0; i < 40; ++i) {
            ini.writeString(QStringLiteral("s%1").arg(i * 24999, 6, 10, QChar('0')), "new", "1");
            ini.writeString(QStringLiteral("added%1").arg(i % 8), QStringLiteral("key%1").arg(i),
                            "v");
        }
        batch.commit();
    }
    phase->print("first start batch");

    phase.emplace();
    IniFile again(path, IniFile::Mode::Snapshot);
    const bool ok =
        again.readString("S500000", "k") == "2" && again.readString("added7", "key39") == "v";
    phase->print("parse after rewrite");
    return ok ? 0 : 3;
}
