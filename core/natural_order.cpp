#include "core/natural_order.h"

#include <QDir>
#include <algorithm>

namespace kalmo::core {

namespace {

// Compares the digit runs starting at a[i] and b[j] by value; advances both indices.
int compareNumbers(const QString &a, qsizetype &i, const QString &b, qsizetype &j) {
    auto skipZeros = [](const QString &s, qsizetype &k) {
        while (k < s.size() && s[k] == u'0')
            ++k;
    };
    const qsizetype startA = i, startB = j;
    skipZeros(a, i);
    skipZeros(b, j);
    qsizetype endA = i, endB = j;
    while (endA < a.size() && a[endA].isDigit())
        ++endA;
    while (endB < b.size() && b[endB].isDigit())
        ++endB;
    int result = 0;
    if (endA - i != endB - j) {
        result = endA - i < endB - j ? -1 : 1;
    } else {
        for (qsizetype k = 0; k < endA - i && result == 0; ++k) {
            const int da = a[i + k].digitValue(), db = b[j + k].digitValue();
            if (da != db)
                result = da < db ? -1 : 1;
        }
    }
    // Equal values: fewer leading zeros first, so the order stays total.
    if (result == 0 && (i - startA) != (j - startB))
        result = (i - startA) < (j - startB) ? -1 : 1;
    i = endA;
    j = endB;
    return result;
}

} // namespace

bool naturalLess(const QString &a, const QString &b) {
    qsizetype i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i].isDigit() && b[j].isDigit()) {
            if (const int c = compareNumbers(a, i, b, j))
                return c < 0;
            continue;
        }
        const QChar ca = a[i].toCaseFolded(), cb = b[j].toCaseFolded();
        if (ca != cb)
            return ca < cb;
        ++i;
        ++j;
    }
    if (i < a.size() || j < b.size())
        return j < b.size(); // the shorter name first
    return a < b;            // same but for case: a fixed order all the same
}

void sortNatural(QStringList &names) {
    std::sort(names.begin(), names.end(), naturalLess);
}

QStringList listFilesNatural(const QString &folder, const QStringList &extensions) {
    const QDir dir(folder);
    QStringList names;
    for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        for (const QString &ext : extensions) {
            if (name.endsWith(ext, Qt::CaseSensitive)) {
                names << name;
                break;
            }
        }
    }
    sortNatural(names);
    return names;
}

} // namespace kalmo::core
