#include "app/widget_messages.h"

#include <QMessageBox>

namespace kalmo::app {

void WidgetMessages::show(const QString &text, const QString &title) {
    // The box owns itself and goes away when dismissed.
    auto *box =
        new QMessageBox(QMessageBox::NoIcon, title.isEmpty() ? QStringLiteral("Kalmo") : title,
                        text, QMessageBox::Ok);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::ApplicationModal);
    box->setAccessibleName(text);
    box->open();
}

} // namespace kalmo::app
