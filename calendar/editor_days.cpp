#include "calendar/editor_days.h"

namespace kalmo::calendar {

QString placeholderText() {
    return QStringLiteral("Здесь должен быть Ваш текст");
}

StoredDay readDay(const CalendarFile &file, const QString &key, const QString &pictureWithoutKey) {
    return {file.readString(key, dayKey::event, placeholderText()),
            file.readString(key, dayKey::image, pictureWithoutKey),
            file.readString(key, dayKey::file)};
}

void writeDayContent(CalendarFile &file, const QString &key, const DayContent &content) {
    file.deleteKey(key, dayKey::event);
    file.writeString(key, dayKey::event, eventTextForm(content.text));
    file.writeString(key, dayKey::image, content.picture);
    file.writeString(key, dayKey::file, content.file);
}

void DayBook::add(CalendarFile &file, const QString &key, DayKind kind, const DayContent &current,
                  const std::function<void()> &listed) {
    file.writeInteger(key, dayKey::kind, kind);
    if (listed)
        listed();
    if (m_pending)
        writeDayContent(file, *m_pending, current);
    m_pending = key;
}

void DayBook::mark(CalendarFile &file, const QString &key, DayKind kind,
                   const DayContent &current) {
    file.writeInteger(key, dayKey::kind, kind);
    if (m_pending)
        writeDayContent(file, *m_pending, current);
    m_pending.reset();
}

void DayBook::save(CalendarFile &file, const QString &key, const DayContent &content) {
    writeDayContent(file, key, content);
    m_pending.reset();
}

void DayBook::remove(CalendarFile &file, const QString &key) {
    file.eraseSection(key);
    m_pending.reset();
}

} // namespace kalmo::calendar
