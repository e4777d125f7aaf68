#pragma once

#include "core/program_values.h"

#include <QDialog>

namespace kalmo::video {

//
class TForm6 : public QDialog {
    Q_OBJECT
public:
    explicit TForm6(core::ProgramValues &values, QWidget *parent = nullptr);

private:
    core::ProgramValues &m_values;
};

} // namespace kalmo::video
