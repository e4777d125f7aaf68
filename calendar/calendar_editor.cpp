#include "calendar/calendar_editor.h"

namespace kalmo::calendar {

TFormCalendarSetting::TFormCalendarSetting(core::ProgramValues &values, QWidget *parent)
    : QDialog(parent), m_values(values) {
    setObjectName(QStringLiteral("FormCalendarSetting"));
    setWindowTitle(QStringLiteral("FormCalendarSetting"));
    setWindowModality(Qt::ApplicationModal);
}

} // namespace kalmo::calendar
