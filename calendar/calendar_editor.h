#pragma once

#include "core/program_values.h"

#include <QDialog>

namespace kalmo::calendar {

//
class TFormCalendarSetting : public QDialog {
    Q_OBJECT
public:
    explicit TFormCalendarSetting(core::ProgramValues &values, QWidget *parent = nullptr);

private:
    core::ProgramValues &m_values;
};

} // namespace kalmo::calendar
