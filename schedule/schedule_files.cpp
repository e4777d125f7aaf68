#include "schedule/schedule_files.h"

#include <algorithm>

namespace kalmo::schedule {

namespace {

const QString kIni = QStringLiteral("ini");
const QString kRaspisanie = QStringLiteral("Raspisanie");
const QString kStart = QStringLiteral("RaspisanieStart");
const QString kStop = QStringLiteral("RaspisanieStop");

} // namespace

void writeDefaultBellTable(core::IniFile &settings) {
    static const char *const starts[] = {"9:00:00",  "10:00:00", "11:15:00", "13:00:00",
                                         "14:00:00", "15:15:00", "16:15:00", "17:15:00"};
    static const char *const stops[] = {"9:45:00",  "10:45:00", "12:00:00", "13:45:00",
                                        "14:45:00", "16:00:00", "17:00:00", "18:00:00"};
    settings.writeString(kRaspisanie, QStringLiteral("Count"), QStringLiteral("8"));
    for (int k = 0; k < 8; ++k)
        settings.writeString(kStart, QString::number(k + 1), QLatin1String(starts[k]));
    for (int k = 0; k < 8; ++k)
        settings.writeString(kStop, QString::number(k + 1), QLatin1String(stops[k]));
}

bool scheduleFirstStart(const QString &scheduleFilePath) {
    core::IniFile ini(scheduleFilePath);
    if (ini.readString(kIni, QStringLiteral("file")) == QLatin1String("1"))
        return false;
    bool wrote = true;
    // The mark again, under the lock: a department an administrator saved meanwhile stays.
    ini.update([&] {
        if (ini.readString(kIni, QStringLiteral("file")) == QLatin1String("1")) {
            wrote = false;
            return;
        }
        ini.writeString(kIni, QStringLiteral("file"), QStringLiteral("1"));
        ini.writeString(kIni, QStringLiteral("countrazdel"), QStringLiteral("1"));
        ini.writeString(QStringLiteral("1"), QStringLiteral("Countgroup"), QStringLiteral("8"));
        ini.writeString(QStringLiteral("1"), QStringLiteral("Razdel"), QStringLiteral("Раздел1"));
        for (int k = 1; k <= 8; ++k) {
            ini.writeString(QStringLiteral("1"), QStringLiteral("group%1").arg(k),
                            QStringLiteral("Группа%1").arg(k));
            ini.writeString(QStringLiteral("1"), QStringLiteral("Dir%1").arg(k),
                            QStringLiteral("Нет файла"));
        }
    });
    return wrote;
}

int readDepartmentCount(const core::IniFile &file) {
    return std::max(1, file.readInteger(kIni, QStringLiteral("countrazdel"), 1));
}

QString readDepartmentName(const core::IniFile &file, int n) {
    return file.readString(departmentSection(n), QStringLiteral("razdel"));
}

int readGroupCount(const core::IniFile &file, int n, int missing) {
    return std::max(0,
                    file.readInteger(departmentSection(n), QStringLiteral("countgroup"), missing));
}

QList<Group> readGroups(const core::IniFile &file, int n, int count) {
    const QString section = departmentSection(n);
    QList<Group> groups;
    groups.reserve(count);
    for (int k = 1; k <= count; ++k)
        groups.append({file.readString(section, QStringLiteral("Group%1").arg(k)),
                       file.readString(section, QStringLiteral("Dir%1").arg(k))});
    return groups;
}

void writeDepartmentCount(core::IniFile &file, int count) {
    file.writeInteger(kIni, QStringLiteral("countrazdel"), count);
}

void saveDepartment(core::IniFile &file, int n, int pages, const QString &name,
                    const QList<Group> &groups) {
    const QString section = departmentSection(n);
    // One replacement of the file: a refused write leaves the old department in place.
    core::IniFile::Batch batch(file);
    file.eraseSection(section);
    writeDepartmentCount(file, pages);
    file.writeString(section, QStringLiteral("Razdel"), name);
    file.writeInteger(section, QStringLiteral("Countgroup"), static_cast<int>(groups.size()));
    for (int k = 1; k <= groups.size(); ++k) {
        file.writeString(section, QStringLiteral("Group%1").arg(k), groups[k - 1].name);
        file.writeString(section, QStringLiteral("Dir%1").arg(k), groups[k - 1].document);
    }
    batch.commit();
}

void eraseDepartment(core::IniFile &file, int p, int pagesLeft) {
    core::IniFile::Batch batch(file);
    file.eraseSection(departmentSection(p));
    writeDepartmentCount(file, pagesLeft);
    batch.commit();
}

int readLessonCount(const core::IniFile &settings) {
    return std::max(0, settings.readInteger(kRaspisanie, QStringLiteral("count"), 8));
}

BellTable readBellTable(const core::IniFile &settings, int limit) {
    const int count = std::min(readLessonCount(settings), limit);
    BellTable table;
    for (int k = 1; k <= count; ++k) {
        const QString key = QString::number(k);
        table.starts << settings.readString(kStart, key, QString::number(k + 8) + ":15:00");
        table.stops << settings.readString(kStop, key, QString::number(k + 9) + ":00:00");
    }
    return table;
}

void saveBellTable(core::IniFile &settings, const BellTable &table) {
    core::IniFile::Batch batch(settings);
    settings.writeInteger(kRaspisanie, QStringLiteral("Count"), table.count());
    for (int k = 1; k <= table.count(); ++k)
        settings.writeString(kStart, QString::number(k), table.starts[k - 1]);
    for (int k = 1; k <= table.count(); ++k)
        settings.writeString(kStop, QString::number(k), table.stops[k - 1]);
    batch.commit();
}

} // namespace kalmo::schedule
