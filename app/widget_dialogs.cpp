#include "app/widget_dialogs.h"

#include <QFileDialog>

namespace kalmo::app {

QString WidgetDialogs::openFile(const QString &title, const QString &startDir,
                                const QString &filter) {
    return QFileDialog::getOpenFileName(m_parent, title, startDir, filter);
}

QString WidgetDialogs::pickFolder(const QString &title, const QString &startDir) {
    QString folder = QFileDialog::getExistingDirectory(m_parent, title, startDir);
    // Folder settings are used as prefixes, so they end with a separator.
    if (!folder.isEmpty() && !folder.endsWith(u'/'))
        folder += u'/';
    return folder;
}

} // namespace kalmo::app
