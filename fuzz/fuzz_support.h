#pragma once

#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <QString>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace kalmo::fuzz {

// A file of this process's own, rewritten with each input: the readers work on paths.
inline QString inputFile(const char *name) {
    static const QString folder = [] {
        // tmpfs where there is one: the store syncs every file it replaces.
        const QString tmp = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm")
                                                                      : QDir::tempPath();
        const QString f = tmp + QStringLiteral("/kalmo-fuzz-%1").arg(getpid());
        QDir().mkpath(f);
        return f;
    }();
    return folder + u'/' + QLatin1String(name);
}

inline QString writeInput(const char *name, const uint8_t *data, size_t size) {
    const QString path = inputFile(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        std::abort();
    f.write(reinterpret_cast<const char *>(data), qint64(size));
    return path;
}

inline QByteArray readBack(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The program's log lines would only slow the fuzzer down.
inline void quiet() {
    QLoggingCategory::setFilterRules(QStringLiteral("kalmo.*=false"));
}

// A broken promise of the code under test: stop here so libFuzzer keeps the input.
#define FUZZ_CHECK(cond)                                                                           \
    do {                                                                                           \
        if (!(cond)) {                                                                             \
            std::fprintf(stderr, "check failed: %s (%s:%d)\n", #cond, __FILE__, __LINE__);         \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)

} // namespace kalmo::fuzz
