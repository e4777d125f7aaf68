#include "calendar/calendar_window.h"

namespace kalmo::calendar {

TFormCalendar::TFormCalendar(core::ProgramValues &values, QWidget *parent)
    : QDialog(parent), m_values(values) {
    setObjectName(QStringLiteral("FormCalendar"));
    setWindowTitle(QStringLiteral("MyCalendar"));
    setWindowModality(Qt::ApplicationModal);
}

} // namespace kalmo::calendar
