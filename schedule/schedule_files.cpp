#include "schedule/schedule_files.h"

namespace kalmo::schedule {

void writeDefaultBellTable(core::IniFile &settings) {
    static const char *const starts[] = {"9:00:00",  "10:00:00", "11:15:00", "13:00:00",
                                         "14:00:00", "15:15:00", "16:15:00", "17:15:00"};
    static const char *const stops[] = {"9:45:00",  "10:45:00", "12:00:00", "13:45:00",
                                        "14:45:00", "16:00:00", "17:00:00", "18:00:00"};
    settings.writeString(QStringLiteral("Raspisanie"), QStringLiteral("Count"),
                         QStringLiteral("8"));
    for (int k = 0; k < 8; ++k)
        settings.writeString(QStringLiteral("RaspisanieStart"), QString::number(k + 1),
                             QLatin1String(starts[k]));
    for (int k = 0; k < 8; ++k)
        settings.writeString(QStringLiteral("RaspisanieStop"), QString::number(k + 1),
                             QLatin1String(stops[k]));
}

bool scheduleFirstStart(const QString &scheduleFilePath) {
    core::IniFile ini(scheduleFilePath);
    if (ini.readString(QStringLiteral("ini"), QStringLiteral("file")) == QLatin1String("1"))
        return false;
    core::IniFile::Batch batch(ini);
    ini.writeString(QStringLiteral("ini"), QStringLiteral("file"), QStringLiteral("1"));
    ini.writeString(QStringLiteral("ini"), QStringLiteral("countrazdel"), QStringLiteral("1"));
    ini.writeString(QStringLiteral("1"), QStringLiteral("Countgroup"), QStringLiteral("8"));
    ini.writeString(QStringLiteral("1"), QStringLiteral("Razdel"), QStringLiteral("Раздел1"));
    for (int k = 1; k <= 8; ++k) {
        ini.writeString(QStringLiteral("1"), QStringLiteral("group%1").arg(k),
                        QStringLiteral("Группа%1").arg(k));
        ini.writeString(QStringLiteral("1"), QStringLiteral("Dir%1").arg(k),
                        QStringLiteral("Нет файла"));
    }
    batch.commit();
    return true;
}

} // namespace kalmo::schedule
