#include "calendar/editor_days.h"

namespace kalmo::calendar {

namespace {
const QString kEventKey = QStringLiteral("event");
const QString kImageKey = QStringLiteral("image");
const QString kFileKey = QStringLiteral("file");
} // namespace

QString placeholderText() {
    return QStringLiteral("Здесь должен быть Ваш текст");
}

StoredDay readDay(const CalendarFile &file, const QString &key, const QString &pictureWithoutKey) {
    return {file.readString(key, kEventKey, placeholderText()),
            file.readString(key, kImageKey, pictureWithoutKey), file.readString(key, kFileKey)};
}

void writeDayContent(CalendarFile &file, const QString &key, const DayContent &content) {
    file.deleteKey(key, kEventKey);
    file.writeString(key, kEventKey, eventTextForm(content.text));
    file.writeString(key, kImageKey, content.picture);
    file.writeString(key, kFileKey, content.file);
}

void DayBook::add(CalendarFile &file, const QString &key, DayKind kind, const DayContent &current,
                  const std::function<void()> &listed) {
    file.writeInteger(key, QStringLiteral("eventday"), kind);
    if (listed)
        listed();
    if (m_pending)
        writeDayContent(file, *m_pending, current);
    m_pending = key;
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
