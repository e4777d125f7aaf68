#pragma once

#include "core/program_values.h"

#include <QDialog>

namespace kalmo::admin {

// The administrator's settings dialog.
class TForm3 : public QDialog {
    Q_OBJECT
public:
    explicit TForm3(core::ProgramValues &values, QWidget *parent = nullptr);

private:
    core::ProgramValues &m_values;
};

} // namespace kalmo::admin
