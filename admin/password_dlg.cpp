#include "admin/password_dlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kalmo::admin {

TPasswordDlg::TPasswordDlg(const core::ProgramValues &values, core::Messages &messages,
                           QWidget *parent)
    : QDialog(parent), m_values(values), m_messages(messages), m_entry(new QLineEdit(this)) {
    setObjectName(QStringLiteral("PasswordDlg"));
    setWindowTitle(QStringLiteral("Пароль"));
    setWindowModality(Qt::ApplicationModal);

    auto *label = new QLabel(QStringLiteral("Введите пароль для закрытия программы"), this);
    m_entry->setObjectName(QStringLiteral("Password"));
    m_entry->setEchoMode(QLineEdit::Password);
    m_entry->setStyleSheet(QStringLiteral("lineedit-password-character: 42;")); // '*'
    m_entry->setAccessibleName(QStringLiteral("Пароль"));

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    QPushButton *cancel =
        buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    ok->setObjectName(QStringLiteral("OKBtn"));
    cancel->setObjectName(QStringLiteral("CancelBtn"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &TPasswordDlg::onOk);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_entry);
    layout->addWidget(buttons);
}

void TPasswordDlg::openDialog() {
    m_entry->setText(QStringLiteral("******"));
    m_entry->selectAll();
    m_entry->setFocus();
    open();
}

void TPasswordDlg::onOk() {
    // Exact comparison: no trimming, case matters, an empty password matches an empty entry.
    const bool right = m_entry->text() == m_values.password;
    accept();
    if (right)
        emit closeProgramRequested();
    else
        m_messages.show(QStringLiteral("Неверный пароль"), QStringLiteral("Ошибка"));
}

} // namespace kalmo::admin
