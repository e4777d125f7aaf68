#pragma once

#include <QFont>
#include <QString>

namespace kalmo::core {

// Built-in defaults written or fallen back to in several places: one source for each.
namespace defaults {
inline constexpr char kPassword[] = "3049";
inline constexpr char kTheme[] = "TabletDark";
inline constexpr char kCityCode[] = "27611";
} // namespace defaults

// The values read from the pointer file and the main settings file, held for the whole run
// by the application and read by every window. Only the settings reader and the settings
// dialog change them.
struct ProgramValues {
    QString baseFolder;        // executable's folder or --base; ends with '/'
    QString programDataFolder; // the program's own pictures: build tree or /usr/share/kalmo
    QString mainSettingsPath;  // main settings file in force
    QString password = QString::fromLatin1(defaults::kPassword);

    QString buttonSite = QStringLiteral("САЙТ");
    QString buttonCalendar = QStringLiteral("Календарь событий");
    QString buttonPhoto = QStringLiteral("Фотоматериалы");
    QString buttonSchedule = QStringLiteral("Расписание занятий");
    QString buttonVideo = QStringLiteral("Видеоматериалы");

    // Kept in 64 bits: a setting in minutes times 60000 does not fit an int. A timer takes
    // them through app::applyTimerInterval.
    qint64 slideshowMs = 5000; // time/image x 1000
    int video = 20;            // carried, nothing depends on it
    QString zastavka = QStringLiteral("false");
    int pageSeconds = 20;         // idle timeout of the site view and the document screens
    qint64 rereadMs = 30 * 60000; // time/readsetting x 60000

    QString photoFolder; // ends with '/'
    QString videoFolder; // ends with '/'
    QString scrollingTextFile = QStringLiteral("text.txt");
    int scrollingStep = 1;

    QString site;
    QString theme = QString::fromLatin1(defaults::kTheme);
    QString fontName = QStringLiteral("Times New Roman");
    int fontSize = 18;
    int siteFontSize = 20;
    QString fontStyleText = QStringLiteral("[]");
    QString checkBold;
    QString checkItalic;
    QString checkUnderline;

    bool weather = true;
    QString cityCode = QString::fromLatin1(defaults::kCityCode);
    QString informerBase;
    bool scheduleView = true;

    // [power]: when the screen is on, as stored. No on- or off-time: it never sleeps.
    QString powerOn;                             // H:mm
    QString powerOff;                            // H:mm
    QString powerDays = QStringLiteral("12345"); // ISO weekday digits of the on-days

    // A program picture or file by its relative name ("cloudiness/00.png"): the base folder's
    // copy when there is one (the administrator may replace it), else the program's own.
    QString asset(const QString &relative) const;

    // A file or folder named in the settings, relative names taken from the base folder (never
    // from the working folder). Folders keep their trailing '/' (or lack of one).
    QString resolve(const QString &name) const;

    // Folder of the main settings file, where the calendar and schedule files lie.
    QString dataFolder() const;
    QString scheduleFilePath() const { return dataFolder() + QStringLiteral("raspisanie.ini"); }
    QString calendarFilePath() const { return dataFolder() + QStringLiteral("dateini.ini"); }
};

// Font styles named in a font-style text such as "[fsBold,fsUnderline]"; each name counts
// wherever it occurs, so "fsItalic" without brackets is italic too.
struct FontStyles {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;

    static FontStyles parse(const QString &text);
    QString toText() const;
    void applyTo(QFont &font) const;
};

} // namespace kalmo::core
