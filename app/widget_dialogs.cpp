#include "app/widget_dialogs.h"

#include <QFileDialog>

namespace kalmo::app {

namespace {

// The dialog deletes itself once answered; `done` hears the answer exactly once.
void ask(QFileDialog *dialog, const core::Dialogs::Answer &done, bool folder) {
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::ApplicationModal);
    QObject::connect(dialog, &QFileDialog::finished, dialog, [dialog, done, folder](int result) {
        QString path = result == QDialog::Accepted && !dialog->selectedFiles().isEmpty()
                           ? dialog->selectedFiles().first()
                           : QString();
        // Folder settings are used as prefixes, so they end with a separator.
        if (folder && !path.isEmpty() && !path.endsWith(u'/'))
            path += u'/';
        done(path);
    });
    dialog->open();
}

} // namespace

void WidgetDialogs::openFile(const QString &title, const QString &startDir, const QString &filter,
                             Answer done) {
    auto *dialog = new QFileDialog(m_parent, title, startDir, filter);
    dialog->setFileMode(QFileDialog::ExistingFile);
    ask(dialog, done, false);
}

void WidgetDialogs::pickFolder(const QString &title, const QString &startDir, Answer done) {
    auto *dialog = new QFileDialog(m_parent, title, startDir);
    dialog->setFileMode(QFileDialog::Directory);
    dialog->setOption(QFileDialog::ShowDirsOnly);
    ask(dialog, done, true);
}

} // namespace kalmo::app
