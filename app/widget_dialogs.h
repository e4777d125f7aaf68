#pragma once

#include "core/dialogs.h"

class QWidget;

namespace kalmo::app {

// File-open and folder-picking dialogs on screen.
class WidgetDialogs : public core::Dialogs {
public:
    explicit WidgetDialogs(QWidget *parent = nullptr) : m_parent(parent) {}
    QString openFile(const QString &title, const QString &startDir, const QString &filter) override;
    QString pickFolder(const QString &title, const QString &startDir) override;

private:
    QWidget *m_parent;
};

} // namespace kalmo::app
