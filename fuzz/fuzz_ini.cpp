// The INI store: read every section and key, then write back and check that a write changes
// only what it writes.
#include "fuzz_support.h"

#include "core/ini_file.h"

using kalmo::core::IniFile;
using kalmo::core::IniWriteError;

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    kalmo::fuzz::quiet();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QString path = kalmo::fuzz::writeInput("f.ini", data, size);
    const QByteArray original(reinterpret_cast<const char *>(data), qsizetype(size));
    IniFile ini(path);
    const QStringList sections = ini.sections();
    QString firstSection, firstKey;
    for (const QString &s : sections.mid(0, 64)) {
        ini.sectionExists(s);
        for (const QString &k : ini.keys(s).mid(0, 64)) {
            ini.readString(s, k);
            ini.readInteger(s, k, 7);
            if (firstKey.isEmpty() && ini.valueExists(s, k)) {
                firstSection = s;
                firstKey = k;
            }
        }
    }
    try {
        if (!firstKey.isEmpty()) {
            // Writing back what was read leaves every byte alone (a value with a stray
            // carriage return is not one line of text: it is stored cleaned).
            const QString value = ini.readString(firstSection, firstKey);
            ini.writeString(firstSection, firstKey, value);
            if (!value.contains(u'\r'))
                FUZZ_CHECK(kalmo::fuzz::readBack(path) == original);
            // A new value reads back.
            ini.writeString(firstSection, firstKey, QStringLiteral("значение"));
            FUZZ_CHECK(IniFile(path).readString(firstSection, firstKey) ==
                       QStringLiteral("значение"));
        } else if (!ini.sectionExists(QStringLiteral("FuzzAdded"))) {
            // A new section goes after everything that was there.
            ini.writeString(QStringLiteral("FuzzAdded"), QStringLiteral("k"), QStringLiteral("v"));
            FUZZ_CHECK(kalmo::fuzz::readBack(path).startsWith(original));
            FUZZ_CHECK(IniFile(path).readString(QStringLiteral("fuzzadded"), QStringLiteral("K")) ==
                       QStringLiteral("v"));
        }
        if (!sections.isEmpty()) {
            ini.deleteKey(sections.last(), QStringLiteral("k"));
            ini.eraseSection(sections.first());
            FUZZ_CHECK(!IniFile(path).sections().contains(sections.first(), Qt::CaseInsensitive));
        }
    } catch (const IniWriteError &) {
        // Refused writes are fine; torn or changed files are not.
    }
    return 0;
}
