#pragma once

#include "core/program_values.h"

#include <QDialog>

class QLabel;
class QWidget;

namespace kalmo::schedule {

// The class schedule screen: departments, groups, the bell list and the countdown.
class TMyRaspisanie : public QDialog {
    Q_OBJECT
public:
    explicit TMyRaspisanie(core::ProgramValues &values, QWidget *parent = nullptr);

    // The bell list and the countdown line; the main screen shows or hides them before opening.
    QWidget *bellList() const { return m_bellList; }
    QLabel *countdown() const { return m_countdown; }

private:
    core::ProgramValues &m_values;
    QWidget *m_bellList; // FlowPanel2
    QLabel *m_countdown; // Label1
};

} // namespace kalmo::schedule
