#include "app/settings_files.h"

#include "calendar/calendar_file.h"
#include "core/log.h"
#include "core/read_problem.h"
#include "core/strict_int.h"
#include "core/worker_read.h"
#include "schedule/schedule_files.h"
#include "weather/informer_address.h"

#include <QScopeGuard>
#include <variant>

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

SettingsFiles::StartFiles SettingsFiles::readStartFiles(const QString &pointerPath,
                                                        const QString &defaultMainPath) {
    StartFiles files;
    IniFile pointer(pointerPath);
    files.mainPath =
        pointer.readString(QStringLiteral("file"), QStringLiteral("filedir"), defaultMainPath);
    files.password = pointer.readString(QStringLiteral("passwd"), QStringLiteral("passwd"),
                                        QString::fromLatin1(core::defaults::kPassword));
    // An oversized file is not read (the store logs it) and never rewritten.
    if (!pointer.isTooLarge() &&
        pointer.readString(QStringLiteral("ini"), QStringLiteral("file")) != kOne) {
        try {
            pointer.update([&] {
                if (pointer.readString(QStringLiteral("ini"), QStringLiteral("file")) == kOne)
                    return; // another start came first
                pointer.writeString(QStringLiteral("file"), QStringLiteral("filedir"),
                                    defaultMainPath);
                pointer.writeString(QStringLiteral("ini"), QStringLiteral("file"), kOne);
            });
        } catch (const core::IniWriteError &e) {
            files.problems << e.text();
        }
    }
    files.main = std::make_shared<const IniFile>(files.mainPath, IniFile::Mode::Snapshot);
    return files;
}

void SettingsFiles::applyStartFiles(const StartFiles &files) {
    m_values.mainSettingsPath = files.mainPath;
    m_values.password = files.password;
    for (const QString &text : files.problems)
        report(text);
    readKeys(*files.main, Reader::Start);
}

void SettingsFiles::readAtStart() {
    applyStartFiles(readStartFiles(pointerPath(), defaultMainPath()));
}

bool SettingsFiles::firstStartMain() {
    QStringList problems;
    const bool wrote = writeFirstStart(m_values, problems);
    for (const QString &text : problems)
        report(text);
    return wrote;
}

SettingsFiles::FirstStarts SettingsFiles::writeFirstStarts(const core::ProgramValues &values) {
    FirstStarts result;
    result.wroteMain = writeFirstStart(values, result.problems);
    try {
        schedule::scheduleFirstStart(values.scheduleFilePath());
    } catch (const core::IniWriteError &e) {
        result.problems << e.text();
    }
    return result;
}

bool SettingsFiles::writeFirstStart(const core::ProgramValues &values, QStringList &problems) {
    const auto report = [&problems](const QString &text) { problems << text; };
    // The calendar file has a first-start mark of its own; it follows the main file.
    const auto calendarFirstStart =
        qScopeGuard([&values, &report] { calendar::calendarFirstStart(values, report); });
    IniFile ini(values.mainSettingsPath);
    if (ini.isTooLarge() || ini.readString(QStringLiteral("ini"), QStringLiteral("file")) == kOne)
        return false;
    const QString base = values.baseFolder;
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
        {"style", "styletest", QString::fromLatin1(core::defaults::kTheme)},
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
        {"weather", "sity", QString::fromLatin1(core::defaults::kCityCode)},
    };
    bool wrote = true;
    try {
        // The mark again, under the lock: another kiosk's first start or an administrator's
        // save may have come in between, and their values stay.
        ini.update([&] {
            if (ini.readString(QStringLiteral("ini"), QStringLiteral("file")) == kOne) {
                wrote = false;
                return;
            }
            for (const Entry &e : entries)
                ini.writeString(QLatin1String(e.section), QLatin1String(e.key), e.value);
            schedule::writeDefaultBellTable(ini);
        });
    } catch (const core::IniWriteError &e) {
        report(e.text());
    }
    return wrote;
}

SettingsFiles::RereadFiles SettingsFiles::readRereadFiles(const QString &pointerPath,
                                                          const QString &defaultMainPath,
                                                          const QString &pathInForce) {
    RereadFiles files;
    {
        const IniFile pointer(pointerPath, IniFile::Mode::Snapshot);
        if (core::readProblem(pointer).isEmpty())
            files.mainPath = pointer.readString(QStringLiteral("file"), QStringLiteral("filedir"),
                                                defaultMainPath);
    }
    const QString path = files.mainPath.isEmpty() ? pathInForce : files.mainPath;
    auto main = std::make_shared<IniFile>(path, IniFile::Mode::Snapshot);
    if (main->readStatus() == core::IniReadStatus::Missing) {
        files.status = RereadFiles::Status::Missing;
        return files;
    }
    files.reason = core::readProblem(*main);
    if (!files.reason.isEmpty()) {
        files.status = RereadFiles::Status::Unreadable;
    } else {
        files.status = RereadFiles::Status::Read;
        files.main = std::move(main);
    }
    return files;
}

SettingsFiles::RereadResult SettingsFiles::applyReread(const RereadFiles &files) {
    if (!files.mainPath.isEmpty())
        m_values.mainSettingsPath = files.mainPath;
    switch (files.status) {
    case RereadFiles::Status::Missing:
        return RereadResult::Missing;
    case RereadFiles::Status::Unreadable:
        logRereadProblem(
            QStringLiteral("cannot read %1 (%2)").arg(m_values.mainSettingsPath, files.reason));
        return RereadResult::Unreadable;
    case RereadFiles::Status::Read:
        break;
    }
    if (!m_rereadProblem.isEmpty())
        qCInfo(kalmo::lcSettings).noquote()
            << "settings re-read again from" << m_values.mainSettingsPath;
    m_rereadProblem.clear();
    readKeys(*files.main, Reader::Reread);
    return RereadResult::Done;
}

void SettingsFiles::rereadTimedOut() {
    logRereadProblem(QStringLiteral("no answer from %1 within %2 s")
                         .arg(m_values.mainSettingsPath)
                         .arg(core::kFileReadTimeLimit.count() / 1000));
}

void SettingsFiles::logRereadProblem(const QString &problem) {
    if (problem == m_rereadProblem)
        return;
    m_rereadProblem = problem;
    qCWarning(kalmo::lcSettings).noquote()
        << "settings re-read skipped, the values in force stay, retried in 5 minutes:" << problem;
}

SettingsFiles::RereadResult SettingsFiles::reread() {
    return applyReread(
        readRereadFiles(pointerPath(), defaultMainPath(), m_values.mainSettingsPath));
}

namespace {

using core::ProgramValues;
using Field = std::variant<QString ProgramValues::*, int ProgramValues::*, qint64 ProgramValues::*,
                           bool ProgramValues::*>;

// A key of the main settings file: where it goes, and its default for each reader
// (nullptr: that reader leaves it alone). "{base}" stands for the base folder, "{site}" and
// "{informer}" for the built-in addresses.
struct MainKey {
    const char *section;
    const char *key;
    Field field;
    const char *atStart;
    const char *atReread;
    const char *meaning; // for the administrator's guide
    int scale = 1;       // intervals kept in milliseconds (64-bit fields)
};

const MainKey kMainKeys[] = {
    {"Name", "ButtonSite", &ProgramValues::buttonSite, "САЙТ", "САЙТ",
     "Caption of the site button (the site name on the date panel is fixed)"},
    {"Name", "ButtonCalendar", &ProgramValues::buttonCalendar, "Календарь событий", nullptr,
     "Caption of the calendar button"},
    {"Name", "ButtonPhoto", &ProgramValues::buttonPhoto, "Фотоматериалы", nullptr,
     "Caption of the photo viewer button"},
    {"Name", "ButtonSchedule", &ProgramValues::buttonSchedule, "Расписание занятий", nullptr,
     "Caption of the schedule button"},
    {"Name", "ButtonVideo", &ProgramValues::buttonVideo, "Видеоматериалы", nullptr,
     "Caption of the video button"},
    {"time", "image", &ProgramValues::slideshowMs, "5", "5",
     "Seconds between photos of the slideshow (0 stops it)", 1000},
    {"time", "video", &ProgramValues::video, "20", "20",
     "Kept for older kiosks; nothing depends on it"},
    {"time", "zastavka", &ProgramValues::zastavka, "false", "true",
     "Kept for older kiosks; nothing depends on it"},
    {"time", "page", &ProgramValues::pageSeconds, "20", "20",
     "Seconds without a touch before the site view and the document screens close"},
    {"time", "readsetting", &ProgramValues::rereadMs, "30", "30",
     "Minutes between re-reads of this file (0 stops re-reading)", 60000},
    {"dir", "Dirimage", &ProgramValues::photoFolder, "{base}photo/", "/photo/",
     "Folder of the photos (slideshow and photo viewer)"},
    {"dir", "Dirvideo", &ProgramValues::videoFolder, "{base}video/", "/video/",
     "Folder of the videos"},
    {"file", "ScrollingText", &ProgramValues::scrollingTextFile, "text.txt", "text.txt",
     "File of the running text (UTF-8, UTF-16 with a BOM, or Windows-1251)"},
    {"file", "speedScrollingText", &ProgramValues::scrollingStep, "1", "1",
     "Pixels the running text moves per frame"},
    {"site", "site", &ProgramValues::site, "{site}", "{site}",
     "Address of the institution's web site"},
    {"style", "styletest", &ProgramValues::theme, core::defaults::kTheme, "Light",
     "Name of the colour theme"},
    {"font", "style", &ProgramValues::fontName, "Times New Roman", "Times New Roman",
     "Font family of the captions"},
    {"font", "size", &ProgramValues::fontSize, "18", "8",
     "Font size of the button captions, in points"},
    {"font", "sizesite", &ProgramValues::siteFontSize, "20", "18",
     "Font size of the site name, in points"},
    {"Font", "StyleFont", &ProgramValues::fontStyleText, "[]", "[]",
     "Font style of the captions, e.g. [fsBold,fsItalic]"},
    {"Check", "fsBold", &ProgramValues::checkBold, nullptr, "false",
     "Bold box of the settings dialog"},
    {"Check", "fsItalic", &ProgramValues::checkItalic, nullptr, "false",
     "Italic box of the settings dialog"},
    {"Check", "fsUnderline", &ProgramValues::checkUnderline, nullptr, "false",
     "Underline box of the settings dialog"},
    {"weather", "read", &ProgramValues::weather, "1", "1", "1 shows the weather panel, 0 hides it"},
    {"weather", "sity", &ProgramValues::cityCode, core::defaults::kCityCode,
     core::defaults::kCityCode, "Weather informer's code of the city"},
    {"weather", "informer", &ProgramValues::informerBase, "{informer}", "{informer}",
     "Base address of the weather informer (never written by the kiosk)"},
    {"Schedule", "View", &ProgramValues::scheduleView, "1", nullptr,
     "1 shows the bell list and the countdown on the schedule screen"},
    {"power", "on", &ProgramValues::powerOn, "", "",
     "Time the screen wakes, H:mm (none, or the same as `off`: it never sleeps)"},
    {"power", "off", &ProgramValues::powerOff, "", "", "Time the screen goes to sleep, H:mm"},
    {"power", "days", &ProgramValues::powerDays, "12345", "12345",
     "Weekdays the screen is on (1 Monday .. 7 Sunday); the calendar's days off and weekend "
     "days sleep too"},
};

// A default as the administrator's guide shows it.
QString shownDefault(const MainKey &k) {
    QString text = QString::fromUtf8(k.atStart ? k.atStart : k.atReread);
    text.replace(QLatin1String("{base}"), QLatin1String("<base>/"));
    text.replace(QLatin1String("{site}"), SettingsFiles::defaultSite());
    text.replace(QLatin1String("{informer}"), SettingsFiles::defaultInformerBase());
    return text;
}

} // namespace

QString mainKeysMarkdown() {
    QString table = QStringLiteral("| section | key | default | meaning |\n|---|---|---|---|\n");
    for (const MainKey &k : kMainKeys) {
        const QString shown = shownDefault(k);
        table += QStringLiteral("| `%1` | `%2` | %3 | %4 |\n")
                     .arg(QLatin1String(k.section), QLatin1String(k.key),
                          shown.isEmpty() ? QStringLiteral("none") : u'`' + shown + u'`',
                          QString::fromUtf8(k.meaning));
    }
    return table;
}

void SettingsFiles::readKeys(const IniFile &ini, Reader reader) {
    for (const MainKey &k : kMainKeys) {
        const char *fallback = reader == Reader::Start ? k.atStart : k.atReread;
        if (!fallback)
            continue;
        QString defaultText = QString::fromUtf8(fallback);
        defaultText.replace(QLatin1String("{base}"), m_values.baseFolder);
        defaultText.replace(QLatin1String("{site}"), defaultSite());
        defaultText.replace(QLatin1String("{informer}"), defaultInformerBase());
        const QString section = QLatin1String(k.section), key = QLatin1String(k.key);
        if (auto text = std::get_if<QString ProgramValues::*>(&k.field))
            m_values.*(*text) = ini.readString(section, key, defaultText);
        else if (auto number = std::get_if<int ProgramValues::*>(&k.field))
            m_values.*(*number) = readInt(ini, section, key, defaultText.toInt());
        else if (auto interval = std::get_if<qint64 ProgramValues::*>(&k.field))
            m_values.*(*interval) =
                qint64(readInt(ini, section, key, defaultText.toInt())) * k.scale;
        else if (auto flag = std::get_if<bool ProgramValues::*>(&k.field))
            m_values.*(*flag) = ini.readBool(section, key, defaultText.toInt() != 0);
    }
}

} // namespace kalmo::app
