#include "calendar/calendar_file.h"

#include "core/log.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextDocument>

namespace kalmo::calendar {

using core::ColorCode;

CalendarFile::CalendarFile(const QString &path, Mode mode, int valueLimit)
    : m_ini(path,
            mode == Mode::Snapshot ? core::IniFile::Mode::Snapshot : core::IniFile::Mode::Live),
      m_limit(valueLimit) {}

QString CalendarFile::readString(const QString &section, const QString &key,
                                 const QString &defaultValue) const {
    const QString value = m_ini.readString(section, key, defaultValue);
    return m_limit > 0 && value.size() > m_limit ? value.left(m_limit) : value;
}

int CalendarFile::readInteger(const QString &section, const QString &key, int defaultValue) const {
    return m_ini.readInteger(section, key, defaultValue);
}

bool CalendarFile::readBool(const QString &section, const QString &key, bool defaultValue) const {
    return m_ini.readBool(section, key, defaultValue);
}

ColorCode CalendarFile::readColor(const QString &section, const QString &key,
                                  ColorCode defaultValue) const {
    if (!m_ini.valueExists(section, key))
        return defaultValue;
    const QString text = readString(section, key);
    if (auto code = core::colorFromText(text))
        return *code;
    qCWarning(kalmo::lcCalendar).noquote()
        << "Not a colour:" << section + '/' + key << '=' << text.left(80) << "in" << path()
        << "- using" << core::colorToText(defaultValue);
    return defaultValue;
}

void CalendarFile::writeString(const QString &section, const QString &key, const QString &value) {
    m_ini.writeString(section, key, value);
}

void CalendarFile::writeInteger(const QString &section, const QString &key, int value) {
    m_ini.writeInteger(section, key, value);
}

void CalendarFile::writeBool(const QString &section, const QString &key, bool value) {
    m_ini.writeBool(section, key, value);
}

void CalendarFile::writeColor(const QString &section, const QString &key, ColorCode value) {
    m_ini.writeString(section, key, core::colorToText(value));
}

void CalendarFile::deleteKey(const QString &section, const QString &key) {
    m_ini.deleteKey(section, key);
}

void CalendarFile::eraseSection(const QString &section) {
    m_ini.eraseSection(section);
}

QString dateKey(int day, int month, int year) {
    return QStringLiteral("%1.%2.%3").arg(day).arg(month).arg(year);
}

QString dateKey(const QDate &date) {
    return dateKey(date.day(), date.month(), date.year());
}

QString eventTextForm(const QString &plainText) {
    if (plainText.isEmpty())
        return QString();
    QString joined = plainText;
    joined.remove(QStringLiteral("\r\n"));
    // A text box hands over bare line feeds; they join the same way.
    joined.remove(u'\n');
    joined.remove(u'\r');
    return QStringLiteral("<body> <p align=\"center\"> ") + joined + QStringLiteral("</p> </body>");
}

QString eventPlainText(const QString &html) {
    QTextDocument doc;
    doc.setHtml(html);
    return doc.toPlainText().trimmed();
}

QString calendarFileName() {
    return QStringLiteral("dateini.ini");
}

QString pageDataFolder(const core::ProgramValues &values) {
    return values.dataFolder();
}

QString screenDataFolder(const core::ProgramValues &values) {
    if (QFileInfo(values.mainSettingsPath).isDir())
        return values.baseFolder;
    return values.dataFolder();
}

QString defaultDayPicture(const QString &dataFolder, const core::ProgramValues &values) {
    const QString own = dataFolder + QStringLiteral("image/event.png");
    if (QFileInfo::exists(own))
        return own;
    const QString shipped = values.asset(QStringLiteral("image/event.png"));
    return QFileInfo::exists(shipped) ? shipped : own;
}

bool seedCalendarFile(const QString &path, const QString &baseFolder) {
    CalendarFile file(path);
    if (file.readInteger(QStringLiteral("ini"), QStringLiteral("file"), 0) == 1)
        return false;
    const QString ini = QStringLiteral("ini");
    struct Key {
        const char *key;
        const char *value;
    };
    static const Key lookKeys[] = {
        {"file", "1"},
        {"fontsize", "14"},
        {"fontname", "Times New Roman"},
        {"DownBorderColor", "claqua"},
        {"DownColor", "claqua"},
        {"DownTextColor", "clBlack"},
        {"HoverBorderColor", "clNavy"},
        {"HoverColor", "claqua"},
        {"HoverTextColor", "clBlack"},
        {"TextColor", "clBlack"},
        {"Saturday", "0"},
        {"Sunday", "1"},
        {"output", "clRed"},
        {"holiday", "clRed"},
        {"event", "clRed"},
    };
    struct Holiday {
        const char *section;
        const char *text;
        const char *picture;
    };
    static const Holiday holidays[] = {
        {"31.12.2017", "Новый год", "Новый год.jpg"},
        {"23.2.2017", "День защитника отечества", "23 февраля.PNG"},
        {"8.3.2017", "8 Марта", "8 марта.jpg"},
        {"9.5.2017", "День победы", "9 мая.jpg"},
    };
    core::IniFile::Batch batch(file.ini());
    for (const Key &k : lookKeys)
        file.writeString(ini, QLatin1String(k.key), QString::fromUtf8(k.value));
    for (const Holiday &h : holidays) {
        const QString section = QLatin1String(h.section);
        file.writeString(section, dayKey::event,
                         QStringLiteral("<body> <p align=\"center\"> ") +
                             QString::fromUtf8(h.text) + QStringLiteral(" </p> </body>"));
        file.writeString(section, dayKey::image,
                         baseFolder + QStringLiteral("image/") + QString::fromUtf8(h.picture));
        file.writeString(section, dayKey::file, QString());
        file.writeInteger(section, dayKey::kind, kHoliday);
    }
    batch.commit();
    return true;
}

QStringList shippedPictureNames() {
    return {QStringLiteral("Новый год.jpg"), QStringLiteral("23 февраля.PNG"),
            QStringLiteral("8 марта.jpg"), QStringLiteral("9 мая.jpg"),
            QStringLiteral("event.png")};
}

void calendarFirstStart(const core::ProgramValues &values,
                        const std::function<void(const QString &)> &report) {
    if (!values.programDataFolder.isEmpty() && !values.baseFolder.isEmpty()) {
        const QString target = values.baseFolder + QStringLiteral("image/");
        for (const QString &name : shippedPictureNames()) {
            const QString shipped = values.programDataFolder + QStringLiteral("image/") + name;
            if (QFileInfo::exists(target + name) || !QFileInfo::exists(shipped))
                continue;
            if (!QDir().mkpath(target) || !QFile::copy(shipped, target + name))
                qCWarning(kalmo::lcCalendar).noquote()
                    << "Could not copy the calendar picture" << shipped << "to" << target;
        }
    }
    const QString path = screenDataFolder(values) + calendarFileName();
    try {
        seedCalendarFile(path, values.baseFolder);
    } catch (const core::IniWriteError &e) {
        report(e.text());
    }
}

} // namespace kalmo::calendar
