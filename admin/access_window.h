#pragma once

#include "core/program_values.h"

#include <QDialog>

class QLabel;
class QLineEdit;

namespace kalmo::admin {

class TForm3;

// Password entry in front of the settings dialog (Ctrl+F3 on the main screen).
class TForm4 : public QDialog {
    Q_OBJECT
public:
    TForm4(const core::ProgramValues &values, TForm3 &settingsDialog, QWidget *parent = nullptr);

    // Shows the window modally; the message label starts empty, the entry keeps its text.
    void openWindow();
    // "OK": the right password opens the settings dialog in place of this window.
    void checkPassword();

    QLineEdit *entry() const { return m_entry; }
    QLabel *message() const { return m_message; }

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    const core::ProgramValues &m_values;
    TForm3 &m_settings;
    QLineEdit *m_entry;
    QLabel *m_message;
};

} // namespace kalmo::admin
