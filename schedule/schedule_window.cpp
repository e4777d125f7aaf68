#include "schedule/schedule_window.h"

#include <QLabel>

namespace kalmo::schedule {

TMyRaspisanie::TMyRaspisanie(core::ProgramValues &values, QWidget *parent)
    : QDialog(parent), m_values(values), m_bellList(new QWidget(this)),
      m_countdown(new QLabel(this)) {
    setObjectName(QStringLiteral("MyRaspisanie"));
    setWindowTitle(QStringLiteral("MyRaspisanie"));
    setWindowModality(Qt::ApplicationModal);
    m_bellList->setObjectName(QStringLiteral("FlowPanel2"));
    m_countdown->setObjectName(QStringLiteral("Label1"));
}

} // namespace kalmo::schedule
