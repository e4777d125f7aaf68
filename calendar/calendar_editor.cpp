#include "calendar/calendar_editor.h"

#include "core/escape_guard.h"

#include <QShowEvent>
#include <QVBoxLayout>

namespace kalmo::calendar {

TFormCalendarSetting::TFormCalendarSetting(CalendarEditorServices services,
                                           std::function<QString()> dataFolder, QWidget *parent)
    : QDialog(parent), m_dataFolder(std::move(dataFolder)),
      m_editor(new CalendarEditorPanel(std::move(services), windowHome(), this)) {
    setObjectName(QStringLiteral("FormCalendarSetting"));
    setWindowTitle(QStringLiteral("FormCalendarSetting"));
    setWindowModality(Qt::ApplicationModal);
    new core::EscapeGuard(this);
    // The settings dialog's face, so both homes of the editor read alike.
    QFont tahoma(QStringLiteral("Tahoma"));
    tahoma.setPointSize(8);
    setFont(tahoma);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_editor);
    resize(m_editor->home().size);
}

void TFormCalendarSetting::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        m_editor->open(m_dataFolder() + calendarFileName());
}

void TFormCalendarSetting::hideEvent(QHideEvent *event) {
    if (!event->spontaneous())
        m_editor->release();
    QDialog::hideEvent(event);
}

} // namespace kalmo::calendar
