#pragma once

#include "core/messages.h"
#include "core/program_values.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace kalmo::admin {

// The close-program dialog: the only way to end the kiosk from its keyboard.
class TPasswordDlg : public QDialog {
    Q_OBJECT
public:
    TPasswordDlg(const core::ProgramValues &values, core::Messages &messages,
                 QWidget *parent = nullptr);

    // Shows the dialog modally with the entry reset.
    void openDialog();
    QLineEdit *entry() const { return m_entry; }

signals:
    // The right password was typed: the main window closes and the program ends.
    void closeProgramRequested();

private:
    void onOk();

    const core::ProgramValues &m_values;
    core::Messages &m_messages;
    QLineEdit *m_entry;
};

} // namespace kalmo::admin
