#pragma once

#include "core/ini_file.h"
#include "core/messages.h"

#include <QList>
#include <QString>

namespace kalmo::schedule {

// One lesson of the bell editor: "Пара", "Начало ", "Конец", "Перерыв".
struct BellRow {
    QString number;
    QString start;
    QString stop;
    QString pause;
    bool operator==(const BellRow &) const = default;
};

// The bell editor's lesson list and what its buttons do, without widgets.
class BellRows {
public:
    static inline const QString kLastBreak = QStringLiteral("Окончание занятий");

    // Why a list that was not loaded whole is not saved.
    static inline const QString kNotLoaded = QStringLiteral(
        "Расписание звонков не сохранено: оно загружено не полностью, и сохранение стерло бы "
        "остальные звонки. Исправьте ошибку, о которой сообщалось при открытии настроек, и "
        "откройте настройки снова.");

    // Rebuilds the list from the main settings file: N = `Count` (default 8), each start
    // defaulting to n + 8 ":15:00" and each end to n + 9 ":15:00"; the list ends at lesson N
    // or at the first lesson after which no start is stored. A stored time that does not
    // read stops the loading at that row and is reported; such a list is not saved.
    void load(const core::IniFile &settings, core::Messages &messages);
    // Whether the list holds what the file holds: loaded, and without a stop on a bad time.
    bool isLoaded() const { return m_loaded; }

    // A new lesson "00:00:00" - "00:00:00" with a break of "0"; nothing is written.
    void add();
    // Removes row k (1-based) from the list only: the file keeps every lesson, without a
    // hole, until the list is saved.
    bool remove(int k);
    // Checks the rows, stores them and recomputes the breaks. Returns false when a check or
    // a write stopped it, or the list was not loaded whole; warnings about "00:00:00" do not.
    bool save(core::IniFile &settings, core::Messages &messages);

    const QList<BellRow> &rows() const { return m_rows; }
    QList<BellRow> &rows() { return m_rows; }
    int count() const { return static_cast<int>(m_rows.size()); }

private:
    QList<BellRow> m_rows;
    bool m_loaded = false;
};

// A message of the program with its "\n\r" pairs shown as one line break.
QString shownMessage(QString text);

} // namespace kalmo::schedule
