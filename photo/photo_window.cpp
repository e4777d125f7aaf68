#include "photo/photo_window.h"

namespace kalmo::photo {

TForm5::TForm5(core::ProgramValues &values, QWidget *parent) : QDialog(parent), m_values(values) {
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(QStringLiteral("Photo"));
    setWindowModality(Qt::ApplicationModal);
}

} // namespace kalmo::photo
