#include "admin/general_settings.h"

#include "core/log.h"
#include "core/program_values.h"
#include "core/strict_int.h"
#include "power/display_schedule.h"

#include <algorithm>
#include <limits>

namespace kalmo::admin {

namespace {

const QString kReadError = QStringLiteral("Ошибка при чтении!");
const QString kTrue = QStringLiteral("true");
const QString kFalse = QStringLiteral("false");

QString text(const core::IniFile &ini, const char *section, const char *key,
             const QString &fallback) {
    return ini.readString(QLatin1String(section), QLatin1String(key), fallback);
}

// A whole number times a unit; out-of-range products stop at the largest interval.
int scaled(int value, int unit) {
    const qint64 product = qint64(value) * unit;
    return int(std::clamp<qint64>(product, std::numeric_limits<int>::min(),
                                  std::numeric_limits<int>::max()));
}

int strict(const core::IniFile &ini, const char *section, const char *key, const char *fallback,
           int unit = 1) {
    return scaled(core::toIntStrict(text(ini, section, key, QLatin1String(fallback))), unit);
}

// A number the page keeps as text; a value that is not a number leaves the old one in force.
void lenient(const core::IniFile &ini, const char *section, const char *key, const char *fallback,
             int &out) {
    const QString value = text(ini, section, key, QLatin1String(fallback));
    if (const auto number = core::parseInt(value))
        out = *number;
    else
        qCWarning(kalmo::lcAdmin) << section << key << "is not a number:" << value;
}

void readCommon(const core::IniFile &ini, GeneralSettings &p) {
    p.buttonSite = text(ini, "Name", "ButtonSite", QStringLiteral("САЙТ"));
    p.buttonCalendar = text(ini, "Name", "ButtonCalendar", QStringLiteral("Календарь событий"));
    p.buttonPhoto = text(ini, "Name", "ButtonPhoto", QStringLiteral("Фотоматериалы"));
    p.buttonSchedule = text(ini, "Name", "ButtonSchedule", QStringLiteral("Расписание занятий"));
    p.buttonVideo = text(ini, "Name", "ButtonVideo", QStringLiteral("Видеоматериалы"));
    p.slideInterval = text(ini, "time", "image", QStringLiteral("5"));
    p.pageTimeout = text(ini, "time", "page", QStringLiteral("20"));
    p.photoFolder = text(ini, "dir", "Dirimage", QStringLiteral("Папка с фото"));
    p.videoFolder = text(ini, "dir", "Dirvideo", QStringLiteral("Папка с видео"));
    p.textFile = text(ini, "file", "ScrollingText", QStringLiteral("text.txt"));
    p.textStep = text(ini, "file", "speedScrollingText", QStringLiteral("1"));
    p.theme = text(ini, "style", "styletest", kReadError);
    p.fontName = text(ini, "font", "style", kReadError);
    p.fontSize = text(ini, "font", "size", kReadError);
    p.siteFontSize = text(ini, "font", "sizesite", kReadError);
    // A box is ticked only by the exact word.
    p.bold = text(ini, "Check", "fsBold", kFalse) == kTrue;
    p.italic = text(ini, "Check", "fsItalic", kFalse) == kTrue;
    p.underline = text(ini, "Check", "fsUnderline", kFalse) == kTrue;
    p.powerOn = text(ini, "power", "on", QString());
    p.powerOff = text(ini, "power", "off", QString());
    p.powerDays = text(ini, "power", "days", power::DisplaySchedule::defaultDays());
}

// The values both refreshes take alike: the intervals in force and the folders.
void refreshTimesAndFolders(const core::IniFile &ini, core::ProgramValues &v) {
    v.slideshowMs = strict(ini, "time", "image", "5", 1000);
    v.video = strict(ini, "time", "video", "20");
    v.zastavka = text(ini, "time", "zastavka", kTrue);
    v.pageSeconds = strict(ini, "time", "page", "20");
    v.rereadMs = strict(ini, "time", "readsetting", "30", 60000);
    v.photoFolder = text(ini, "dir", "Dirimage", QStringLiteral("Папка с фото"));
    v.videoFolder = text(ini, "dir", "Dirvideo", QStringLiteral("Папка с видео"));
    v.scrollingTextFile = text(ini, "file", "ScrollingText", QStringLiteral("text.txt"));
}

} // namespace

QString GeneralSettings::fontStyleText() const {
    core::FontStyles styles;
    styles.bold = bold;
    styles.italic = italic;
    styles.underline = underline;
    return styles.toText();
}

void readGeneralForShowing(const core::IniFile &ini, GeneralSettings &page) {
    page.site = text(ini, "site", "site", QStringLiteral("Сайт"));
    page.rereadInterval = text(ini, "time", "readsetting", QStringLiteral("30"));
    readCommon(ini, page);
    page.weather = ini.readBool(QStringLiteral("weather"), QStringLiteral("read"), true);
    page.scheduleView = ini.readBool(QStringLiteral("Schedule"), QStringLiteral("View"), true);
}

void readGeneralForClosing(const core::IniFile &ini, GeneralSettings &page) {
    page.site = text(ini, "site", "site", kResetSiteAddress);
    page.rereadInterval = text(ini, "time", "readsetting", QStringLiteral("20"));
    readCommon(ini, page);
}

void writeGeneral(core::IniFile &ini, const GeneralSettings &p) {
    core::IniFile::Batch batch(ini);
    const auto put = [&ini](const char *section, const char *key, const QString &value) {
        ini.writeString(QLatin1String(section), QLatin1String(key), value);
    };
    put("time", "image", p.slideInterval);
    put("time", "readsetting", p.rereadInterval);
    put("time", "page", p.pageTimeout);
    put("dir", "Dirimage", p.photoFolder);
    put("dir", "Dirvideo", p.videoFolder);
    put("file", "ScrollingText", p.textFile);
    put("file", "speedScrollingText", p.textStep);
    put("style", "styletest", p.theme);
    put("font", "style", p.fontName);
    put("font", "size", p.fontSize);
    put("font", "sizesite", p.siteFontSize);
    put("Name", "ButtonSite", p.buttonSite);
    put("Name", "ButtonCalendar", p.buttonCalendar);
    put("Name", "ButtonPhoto", p.buttonPhoto);
    put("Name", "ButtonSchedule", p.buttonSchedule);
    put("Name", "ButtonVideo", p.buttonVideo);
    put("weather", "sity", p.cityCode);
    put("site", "site", p.site);
    put("Font", "StyleFont", p.fontStyleText());
    put("Check", "fsBold", p.bold ? kTrue : kFalse);
    put("Check", "fsItalic", p.italic ? kTrue : kFalse);
    put("Check", "fsUnderline", p.underline ? kTrue : kFalse);
    put("power", "on", p.powerOn);
    put("power", "off", p.powerOff);
    put("power", "days", p.powerDays);
    ini.writeBool(QStringLiteral("weather"), QStringLiteral("read"), p.weather);
    ini.writeBool(QStringLiteral("Schedule"), QStringLiteral("View"), p.scheduleView);
    batch.commit();
}

void refreshValuesForShowing(const core::IniFile &ini, core::ProgramValues &v) {
    refreshTimesAndFolders(ini, v);
    lenient(ini, "file", "speedScrollingText", "1", v.scrollingStep);
    v.fontName = text(ini, "font", "style", QStringLiteral("Шрифт"));
    lenient(ini, "font", "size", "8", v.fontSize);
    lenient(ini, "font", "sizesite", "8", v.siteFontSize);
    v.buttonSite = text(ini, "Name", "ButtonSite", QStringLiteral("САЙТ"));
    v.site = text(ini, "site", "site", QStringLiteral("Адрес сайта"));
}

void checkPowerValues(const core::IniFile &ini) {
    for (const char *key : {"on", "off"}) {
        const QString value = text(ini, "power", key, QString());
        if (!value.trimmed().isEmpty() && !power::parseClockTime(value))
            throw core::ConversionError(value, QStringLiteral("time"));
    }
    const QString days = text(ini, "power", "days", QString());
    if (!days.trimmed().isEmpty() && !power::validWeekdays(days))
        throw core::ConversionError(days, QStringLiteral("list of weekdays (1-7)"));
}

DeferredNumbers refreshValuesForSave(const core::IniFile &ini, core::ProgramValues &v) {
    DeferredNumbers later;
    refreshTimesAndFolders(ini, v);
    later.textStep = text(ini, "file", "speedScrollingText", QStringLiteral("1"));
    v.fontName = text(ini, "font", "style", QStringLiteral("Шрифт"));
    later.fontSize = text(ini, "font", "size", QStringLiteral("8"));
    later.siteFontSize = text(ini, "font", "sizesite", QStringLiteral("8"));
    v.site = text(ini, "site", "site", QStringLiteral("Сайт"));
    v.buttonSite = text(ini, "Name", "ButtonSite", QStringLiteral("САЙТ"));
    v.fontStyleText = text(ini, "Font", "StyleFont", QStringLiteral("[]"));
    v.checkBold = text(ini, "Check", "fsBold", kFalse);
    v.checkItalic = text(ini, "Check", "fsItalic", kFalse);
    v.checkUnderline = text(ini, "Check", "fsUnderline", kFalse);
    v.weather = ini.readBool(QStringLiteral("weather"), QStringLiteral("read"), true);
    v.cityCode = text(ini, "weather", "sity", QString::fromLatin1(core::defaults::kCityCode));
    return later;
}

} // namespace kalmo::admin
