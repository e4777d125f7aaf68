#include "admin/settings_dialog.h"

namespace kalmo::admin {

TForm3::TForm3(core::ProgramValues &values, QWidget *parent) : QDialog(parent), m_values(values) {
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Настройки"));
    setWindowModality(Qt::ApplicationModal);
}

} // namespace kalmo::admin
