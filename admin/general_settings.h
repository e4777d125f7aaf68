#pragma once

#include "core/ini_file.h"
#include "core/program_values.h"

#include <QString>

namespace kalmo::admin {

// The general page's contents, as the page shows them and the main settings file stores them:
// every entry is free text, numbers included.
struct GeneralSettings {
    QString site;
    QString buttonSite, buttonCalendar, buttonPhoto, buttonSchedule, buttonVideo;
    QString slideInterval, pageTimeout, rereadInterval; // seconds, seconds, minutes
    QString photoFolder, videoFolder;
    QString textFile, textStep;
    QString theme, fontName, fontSize, siteFontSize;
    bool bold = false, italic = false, underline = false;
    bool weather = true;
    bool scheduleView = true; // the bell page's box
    QString cityCode;
    QString powerOn, powerOff, powerDays; // when the screen is on: H:mm, H:mm, weekday digits

    // "[fsBold,fsItalic,fsUnderline]" for the ticked boxes, "[]" for none.
    QString fontStyleText() const;
};

// The site address the page falls back to when it is reset at closing and the file has none.
inline const QString kResetSiteAddress = QStringLiteral("https://www.kalmo-school.ru/");

// The page as loaded when the dialog is shown. The city code is not the file's: the page
// shows the code in force, so it is left as `page` has it.
void readGeneralForShowing(const core::IniFile &ini, GeneralSettings &page);

// The page reset at closing, discarding unsaved edits. The weather box, the bell page's box
// and the city code keep what the page holds.
void readGeneralForClosing(const core::IniFile &ini, GeneralSettings &page);

// "Сохранить", the writing: the texts, the font style and its boxes, then the two flags, in
// one replacement of the file. Raises core::IniWriteError.
void writeGeneral(core::IniFile &ini, const GeneralSettings &page);

// Program-wide values refreshed when the dialog is shown. The four time values must be whole
// numbers: a bad one raises core::ConversionError, and the values before it are already in.
void refreshValuesForShowing(const core::IniFile &ini, core::ProgramValues &values);

// Numbers the save converts only when it applies them to the main screen.
struct DeferredNumbers {
    QString fontSize;
    QString siteFontSize;
    QString textStep;
};

// The display schedule as saved must read: each time empty or H:mm, the days empty or
// weekday digits 1-7. Raises core::ConversionError for the first that does not.
void checkPowerValues(const core::IniFile &ini);

// Program-wide values refreshed by "Сохранить". Raises core::ConversionError for a time value
// that is not a whole number, with the values before it already in.
DeferredNumbers refreshValuesForSave(const core::IniFile &ini, core::ProgramValues &values);

} // namespace kalmo::admin
