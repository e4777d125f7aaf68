#pragma once

#include "core/program_values.h"

#include <QDialog>

namespace kalmo::photo {

//
class TForm5 : public QDialog {
    Q_OBJECT
public:
    explicit TForm5(core::ProgramValues &values, QWidget *parent = nullptr);

private:
    core::ProgramValues &m_values;
};

} // namespace kalmo::photo
