#include "schedule/bell_rows.h"

#include "schedule/bell_time.h"
#include "schedule/schedule_files.h"

namespace kalmo::schedule {

namespace {

const QString kStart = QStringLiteral("RaspisanieStart");
const QString kStop = QStringLiteral("RaspisanieStop");
const QString kZero = QStringLiteral("00:00:00");

QString notATime(const QString &text) {
    return QStringLiteral("'%1' is not a valid time").arg(text);
}

} // namespace

QString shownMessage(QString text) {
    return text.replace(QStringLiteral("\n\r"), QStringLiteral("\n"));
}

void BellRows::load(const core::IniFile &settings, core::Messages &messages) {
    m_rows.clear();
    m_loaded = false;
    const int count = readLessonCount(settings);
    for (int n = 1; n <= count; ++n) {
        BellRow row;
        row.number = QString::number(n);
        row.start = settings.readString(kStart, QString::number(n),
                                        QString::number(n + 8) + QStringLiteral(":15:00"));
        row.stop = settings.readString(kStop, QString::number(n),
                                       QString::number(n + 9) + QStringLiteral(":15:00"));
        // Keys of lessons beyond N, left by an earlier, longer table, are not lessons.
        const QString next =
            n < count ? settings.readString(kStart, QString::number(n + 1)) : QString();
        if (next.isEmpty()) {
            row.pause = kLastBreak;
            m_rows.append(row);
            break;
        }
        const auto end = parseBellTime(row.stop);
        const auto nextStart = parseBellTime(next);
        if (!end || !nextStart) {
            messages.show(notATime(end ? next : row.stop));
            return;
        }
        row.pause = QString::number(wholeMinutesBetween(*end, *nextStart));
        m_rows.append(row);
    }
    m_loaded = true;
}

void BellRows::add() {
    m_rows.append({QString::number(m_rows.size() + 1), kZero, kZero, QStringLiteral("0")});
}

bool BellRows::remove(int k) {
    if (k < 1 || k > count())
        return false;
    m_rows.removeAt(k - 1);
    return true;
}

bool BellRows::save(core::IniFile &settings, core::Messages &messages) {
    if (!m_loaded) {
        messages.show(kNotLoaded);
        return false;
    }
    const int n = count();
    QList<QTime> starts, stops;
    for (int k = 1; k <= n; ++k) {
        const BellRow &row = m_rows[k - 1];
        if (row.start == kZero || row.stop == kZero)
            messages.show(QStringLiteral("Проверьте значения времени в строке %1.").arg(k));
        const auto start = parseBellTime(row.start);
        const auto stop = parseBellTime(row.stop);
        if (!start || !stop) {
            messages.show(QStringLiteral("Не верное время в строке %1.").arg(k));
            return false;
        }
        if (*stop < *start) {
            messages.show(shownMessage(QStringLiteral("Не верно задан временной диапазон.\n\r"
                                                      "Проверьте начало и конец . ") +
                                       QString::number(k) + QStringLiteral(" пары.")));
            return false;
        }
        starts << *start;
        stops << *stop;
    }
    for (int k = 1; k < n; ++k) {
        if (stops[k - 1] > starts[k]) {
            messages.show(shownMessage(QStringLiteral("Не верно задан временной диапазон.\n\r"
                                                      "Проверьте окончение ") +
                                       QString::number(k) + QStringLiteral(" пары") +
                                       QStringLiteral("и начало . ") + QString::number(k + 1) +
                                       QStringLiteral(" пары.")));
            return false;
        }
    }
    BellTable table;
    for (const BellRow &row : std::as_const(m_rows)) {
        table.starts << row.start;
        table.stops << row.stop;
    }
    try {
        saveBellTable(settings, table);
    } catch (const core::IniWriteError &e) {
        messages.show(e.text());
        return false;
    }
    for (int k = 1; k < n; ++k)
        m_rows[k - 1].pause = QString::number(wholeMinutesBetween(stops[k - 1], starts[k]));
    if (n > 0)
        m_rows[n - 1].pause = kLastBreak;
    return true;
}

} // namespace kalmo::schedule
