#include "admin/access_window.h"

#include "admin/settings_dialog.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

namespace kalmo::admin {

TForm4::TForm4(const core::ProgramValues &values, TForm3 &settingsDialog, QWidget *parent)
    : QDialog(parent), m_values(values), m_settings(settingsDialog), m_entry(new QLineEdit(this)),
      m_message(new QLabel(this)) {
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("Доступ к настройкам"));
    setWindowModality(Qt::ApplicationModal);
    setFixedSize(275, 98);

    auto *label = new QLabel(QStringLiteral("Введите пароль"), this);
    label->setGeometry(8, 8, 259, 16);
    m_entry->setObjectName(QStringLiteral("Edit1"));
    m_entry->setEchoMode(QLineEdit::Password);
    m_entry->setAccessibleName(QStringLiteral("Введите пароль"));
    m_entry->setGeometry(8, 26, 259, 22);
    m_message->setObjectName(QStringLiteral("Label2"));
    m_message->setGeometry(8, 50, 259, 16);

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    auto *cancel = new QPushButton(QStringLiteral("Отмена"), this);
    ok->setGeometry(108, 68, 75, 25);
    cancel->setGeometry(192, 68, 75, 25);
    // Neither button answers Enter or Escape.
    ok->setAutoDefault(false);
    cancel->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &TForm4::checkPassword);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TForm4::keyPressEvent(QKeyEvent *event) {
    // Neither Escape nor Enter answers for a button here; keys go to the entry only.
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return ||
        event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TForm4::openWindow() {
    m_message->clear();
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
    open();
    m_entry->setFocus();
}

void TForm4::checkPassword() {
    if (m_entry->text() != m_values.password) {
        m_message->setText(QStringLiteral("Неверный пароль"));
        return;
    }
    accept();
    // The typed password is not kept for the next opening.
    m_entry->setText(QStringLiteral("******"));
    m_settings.openDialog();
}

} // namespace kalmo::admin
