#include "app/widget_dialogs.h"

#include "app/overlay_stack.h"

#include <QFileDialog>

namespace kalmo::app {

namespace {

// The dialog deletes itself once answered; `done` hears the answer exactly once.
void ask(OverlayStack &overlays, QFileDialog *dialog, const core::Dialogs::Answer &done,
         bool folder) {
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    overlays.add(dialog, OverlayStack::Layer::Screen, OverlayStack::Placement::Centred);
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
    auto *dialog = new QFileDialog(m_overlays.host(), title, startDir, filter);
    dialog->setFileMode(QFileDialog::ExistingFile);
    ask(m_overlays, dialog, done, false);
}

void WidgetDialogs::pickFolder(const QString &title, const QString &startDir, Answer done) {
    auto *dialog = new QFileDialog(m_overlays.host(), title, startDir);
    dialog->setFileMode(QFileDialog::Directory);
    dialog->setOption(QFileDialog::ShowDirsOnly);
    ask(m_overlays, dialog, done, true);
}

} // namespace kalmo::app
