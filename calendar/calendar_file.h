#pragma once

#include "core/colors.h"
#include "core/ini_file.h"
#include "core/program_values.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <functional>

namespace kalmo::calendar {

// Day kinds stored as `eventday`.
enum DayKind { kEvent = 1, kDayOff = 2, kHoliday = 3 };

// The keys of a day's section.
namespace dayKey {
inline const QString kind = QStringLiteral("eventday");
inline const QString event = QStringLiteral("event");
inline const QString image = QStringLiteral("image");
inline const QString file = QStringLiteral("file");
} // namespace dayKey

// dateini.ini: the marked days and the look of the day tile. Reads through a snapshot (the
// calendar screen: loaded once, released with the object) or live (the editors: every write
// reaches the file at once). Writers raise core::IniWriteError.
class CalendarFile {
public:
    enum class Mode { Live, Snapshot };
    // The editors see at most this many characters of a value.
    static constexpr int kEditorValueLimit = 2047;

    // `valueLimit` 0 reads values whole.
    explicit CalendarFile(const QString &path, Mode mode = Mode::Live, int valueLimit = 0);

    const QString &path() const { return m_ini.path(); }

    // Section names in file order (`ini` included).
    QStringList sections() const { return m_ini.sections(); }
    bool sectionExists(const QString &section) const { return m_ini.sectionExists(section); }

    QString readString(const QString &section, const QString &key,
                       const QString &defaultValue = QString()) const;
    int readInteger(const QString &section, const QString &key, int defaultValue) const;
    bool readBool(const QString &section, const QString &key, bool defaultValue) const;
    // A value that is neither a colour name nor a number gives the default and a log line.
    core::ColorCode readColor(const QString &section, const QString &key,
                              core::ColorCode defaultValue) const;
    // True when the key is there: lets a caller tell a missing `image` from an empty one.
    bool valueExists(const QString &section, const QString &key) const {
        return m_ini.valueExists(section, key);
    }

    void writeString(const QString &section, const QString &key, const QString &value);
    void writeInteger(const QString &section, const QString &key, int value);
    void writeBool(const QString &section, const QString &key, bool value);
    void writeColor(const QString &section, const QString &key, core::ColorCode value);
    void deleteKey(const QString &section, const QString &key);
    void eraseSection(const QString &section);

    // Groups writes into one replacement of the file (see core::IniFile::Batch).
    core::IniFile &ini() { return m_ini; }
    const core::IniFile &ini() const { return m_ini; }

private:
    core::IniFile m_ini;
    int m_limit;
};

// The day's section name: "9.5.2017", "31.12.2017".
QString dateKey(const QDate &date);
QString dateKey(int day, int month, int year);

// A day's text as stored: the lines run together inside a centred paragraph; empty stays
// empty.
QString eventTextForm(const QString &plainText);
// The visible text of a stored fragment.
QString eventPlainText(const QString &html);

// Where dateini.ini lies, always ending in '/'. The settings page uses the folder of the main
// settings file; the calendar screen (and its editor window) the base folder instead when
// that path names an existing folder.
QString pageDataFolder(const core::ProgramValues &values);
QString screenDataFolder(const core::ProgramValues &values);
QString calendarFileName();

// The picture of a day without an `image` key: <data folder>image/event.png, or the
// program's own when the data folder has none.
QString defaultDayPicture(const QString &dataFolder, const core::ProgramValues &values);

// Writes the first-start keys and the four holidays unless `ini`/`file` is 1. `baseFolder`
// ends with '/'. Returns true when it wrote. Raises core::IniWriteError.
bool seedCalendarFile(const QString &path, const QString &baseFolder);

// The program's calendar pictures, by their names in the image folder.
QStringList shippedPictureNames();

// At program start: copies the shipped calendar pictures missing from <base>image/ and seeds
// the screen's calendar file. A refused write goes to `report` once; nothing stops the start.
void calendarFirstStart(const core::ProgramValues &values,
                        const std::function<void(const QString &)> &report);

} // namespace kalmo::calendar
