#include "app/settings_files.h"

#include "core/strict_int.h"
#include "schedule/schedule_files.h"
#include "weather/informer_address.h"

#include <QFileInfo>

namespace kalmo::app {

using core::IniFile;

namespace {
const QString kOne = QStringLiteral("1");
}

SettingsFiles::SettingsFiles(core::ProgramValues &values, core::Messages &messages)
    : m_values(values), m_messages(messages) {}

QString SettingsFiles::defaultSite() {
    return QStringLiteral("https://www.kalmo-school.ru/");
}

QString SettingsFiles::defaultInformerBase() {
    return QString::fromLatin1(weather::kDefaultInformerBase);
}

QString SettingsFiles::pointerPath() const {
    return m_values.baseFolder + QStringLiteral("filesetting.ini");
}

QString SettingsFiles::defaultMainPath() const {
    return m_values.baseFolder + QStringLiteral("kalmora.ini");
}

void SettingsFiles::report(const QString &text) {
    if (m_reported.contains(text))
        return;
    m_reported.insert(text);
    m_messages.show(text);
}

int SettingsFiles::readInt(const IniFile &ini, const QString &section, const QString &key,
                           int defaultValue) {
    if (!ini.valueExists(section, key))
        return defaultValue;
    const QString text = ini.readString(section, key);
    if (auto v = core::parseInt(text))
        return *v;
    report(core::ConversionError(text).text());
    return defaultValue;
}

void SettingsFiles::readPointerAtStart() {
    IniFile pointer(pointerPath());
    m_values.mainSettingsPath =
        pointer.readString(QStringLiteral("file"), QStringLiteral("filedir"), defaultMainPath());
    m_values.password = pointer.readString(QStringLiteral("passwd"), QStringLiteral("passwd"),
                                           QStringLiteral("3049"));
    if (pointer.readString(QStringLiteral("ini"), QStringLiteral("file")) == kOne)
        return;
    try {
        pointer.writeString(QStringLiteral("file"), QStringLiteral("filedir"), defaultMainPath());
        pointer.writeString(QStringLiteral("ini"), QStringLiteral("file"), kOne);
    } catch (const core::IniWriteError &e) {
        report(e.text());
    }
}

void SettingsFiles::readMainAtStart() {
    core::ProgramValues &v = m_values;
    IniFile ini(v.mainSettingsPath, IniFile::Mode::Snapshot);
    const QString name = QStringLiteral("Name");
    v.buttonSite = ini.readString(name, QStringLiteral("ButtonSite"), QStringLiteral("САЙТ"));
    v.buttonCalendar =
        ini.readString(name, QStringLiteral("ButtonCalendar"), QStringLiteral("Календарь событий"));
    v.buttonPhoto =
        ini.readString(name, QStringLiteral("ButtonPhoto"), QStringLiteral("Фотоматериалы"));
    v.buttonSchedule = ini.readString(name, QStringLiteral("ButtonSchedule"),
                                      QStringLiteral("Расписание занятий"));
    v.buttonVideo =
        ini.readString(name, QStringLiteral("ButtonVideo"), QStringLiteral("Видеоматериалы"));

    const QString time = QStringLiteral("time");
    v.slideshowMs = readInt(ini, time, QStringLiteral("image"), 5) * 1000;
    v.video = readInt(ini, time, QStringLiteral("video"), 20);
    v.zastavka = ini.readString(time, QStringLiteral("zastavka"), QStringLiteral("false"));
    v.pageSeconds = readInt(ini, time, QStringLiteral("page"), 20);
    v.rereadMs = readInt(ini, time, QStringLiteral("readsetting"), 30) * 60000;

    v.photoFolder = ini.readString(QStringLiteral("dir"), QStringLiteral("Dirimage"),
                                   v.baseFolder + QStringLiteral("photo/"));
    v.videoFolder = ini.readString(QStringLiteral("dir"), QStringLiteral("Dirvideo"),
                                   v.baseFolder + QStringLiteral("video/"));
    v.scrollingTextFile = ini.readString(QStringLiteral("file"), QStringLiteral("ScrollingText"),
                                         QStringLiteral("text.txt"));
    v.scrollingStep = readInt(ini, QStringLiteral("file"), QStringLiteral("speedScrollingText"), 1);

    v.site = ini.readString(QStringLiteral("site"), QStringLiteral("site"), defaultSite());
    v.theme = ini.readString(QStringLiteral("style"), QStringLiteral("styletest"),
                             QStringLiteral("TabletDark"));
    v.fontName = ini.readString(QStringLiteral("font"), QStringLiteral("style"),
                                QStringLiteral("Times New Roman"));
    v.fontSize = readInt(ini, QStringLiteral("font"), QStringLiteral("size"), 18);
    v.siteFontSize = readInt(ini, QStringLiteral("font"), QStringLiteral("sizesite"), 20);
    v.fontStyleText =
        ini.readString(QStringLiteral("Font"), QStringLiteral("StyleFont"), QStringLiteral("[]"));

    v.weather = ini.readBool(QStringLiteral("weather"), QStringLiteral("read"), true);
    v.cityCode =
        ini.readString(QStringLiteral("weather"), QStringLiteral("sity"), QStringLiteral("27611"));
    v.informerBase = ini.readString(QStringLiteral("weather"), QStringLiteral("informer"),
                                    defaultInformerBase());
    v.scheduleView = ini.readBool(QStringLiteral("Schedule"), QStringLiteral("View"), true);
}

bool SettingsFiles::firstStartMain() {
    IniFile ini(m_values.mainSettingsPath);
    if (ini.readString(QStringLiteral("ini"), QStringLiteral("file")) == kOne)
        return false;
    const QString base = m_values.baseFolder;
    struct Entry {
        const char *section;
        const char *key;
        QString value;
    };
    const Entry entries[] = {
        {"time", "image", QStringLiteral("5")},
        {"time", "video", QStringLiteral("20")},
        {"time", "readsetting", QStringLiteral("30")},
        {"time", "zastavka", QStringLiteral("true")},
        {"time", "page", QStringLiteral("20")},
        {"dir", "Dirimage", base + QStringLiteral("photo/")},
        {"dir", "Dirvideo", base + QStringLiteral("video/")},
        {"file", "ScrollingText", base + QStringLiteral("text.txt")},
        {"file", "speedScrollingText", QStringLiteral("1")},
        {"site", "site", defaultSite()},
        {"style", "styletest", QStringLiteral("TabletDark")},
        {"font", "style", QStringLiteral("Times New Roman")},
        {"font", "size", QStringLiteral("18")},
        {"font", "sizesite", QStringLiteral("18")},
        {"Font", "StyleFont", QStringLiteral("[]")},
        {"Check", "fsBold", QStringLiteral("false")},
        {"Check", "fsItalic", QStringLiteral("false")},
        {"Check", "fsUnderline", QStringLiteral("false")},
        {"ini", "file", kOne},
        {"Name", "ButtonSite", QStringLiteral("Ваш САЙТ")},
        {"weather", "read", kOne},
        {"Schedule", "View", kOne},
        {"weather", "sity", QStringLiteral("27611")},
    };
    try {
        for (const Entry &e : entries)
            ini.writeString(QLatin1String(e.section), QLatin1String(e.key), e.value);
        schedule::writeDefaultBellTable(ini);
    } catch (const core::IniWriteError &e) {
        report(e.text());
    }
    return true;
}

SettingsFiles::RereadResult SettingsFiles::reread() {
    core::ProgramValues &v = m_values;
    {
        IniFile pointer(pointerPath());
        v.mainSettingsPath = pointer.readString(QStringLiteral("file"), QStringLiteral("filedir"),
                                                defaultMainPath());
    }
    const QFileInfo fi(v.mainSettingsPath);
    if (!fi.exists() || !fi.isFile())
        return RereadResult::Missing;

    IniFile ini(v.mainSettingsPath, IniFile::Mode::Snapshot);
    const QString time = QStringLiteral("time");
    v.slideshowMs = readInt(ini, time, QStringLiteral("image"), 5) * 1000;
    v.video = readInt(ini, time, QStringLiteral("video"), 20);
    v.rereadMs = readInt(ini, time, QStringLiteral("readsetting"), 30) * 60000;
    v.zastavka = ini.readString(time, QStringLiteral("zastavka"), QStringLiteral("true"));
    v.pageSeconds = readInt(ini, time, QStringLiteral("page"), 20);
    v.photoFolder = ini.readString(QStringLiteral("dir"), QStringLiteral("Dirimage"),
                                   QStringLiteral("/photo/"));
    v.videoFolder = ini.readString(QStringLiteral("dir"), QStringLiteral("Dirvideo"),
                                   QStringLiteral("/video/"));
    v.scrollingTextFile = ini.readString(QStringLiteral("file"), QStringLiteral("ScrollingText"),
                                         QStringLiteral("text.txt"));
    v.scrollingStep = readInt(ini, QStringLiteral("file"), QStringLiteral("speedScrollingText"), 1);
    v.site = ini.readString(QStringLiteral("site"), QStringLiteral("site"), defaultSite());
    v.fontName = ini.readString(QStringLiteral("font"), QStringLiteral("style"),
                                QStringLiteral("Times New Roman"));
    v.fontSize = readInt(ini, QStringLiteral("font"), QStringLiteral("size"), 8);
    v.siteFontSize = readInt(ini, QStringLiteral("font"), QStringLiteral("sizesite"), 18);
    v.fontStyleText =
        ini.readString(QStringLiteral("Font"), QStringLiteral("StyleFont"), QStringLiteral("[]"));
    v.theme = ini.readString(QStringLiteral("style"), QStringLiteral("styletest"),
                             QStringLiteral("Light"));
    v.cityCode =
        ini.readString(QStringLiteral("weather"), QStringLiteral("sity"), QStringLiteral("27611"));
    v.informerBase = ini.readString(QStringLiteral("weather"), QStringLiteral("informer"),
                                    defaultInformerBase());
    v.buttonSite = ini.readString(QStringLiteral("Name"), QStringLiteral("ButtonSite"),
                                  QStringLiteral("САЙТ"));
    v.weather = ini.readBool(QStringLiteral("weather"), QStringLiteral("read"), true);
    v.checkBold =
        ini.readString(QStringLiteral("Check"), QStringLiteral("fsBold"), QStringLiteral("false"));
    v.checkItalic = ini.readString(QStringLiteral("Check"), QStringLiteral("fsItalic"),
                                   QStringLiteral("false"));
    v.checkUnderline = ini.readString(QStringLiteral("Check"), QStringLiteral("fsUnderline"),
                                      QStringLiteral("false"));
    return RereadResult::Done;
}

} // namespace kalmo::app
