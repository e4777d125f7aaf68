#pragma once

#include "core/dialogs.h"

class QWidget;

namespace kalmo::app {

// File-open and folder-picking dialogs on screen, shown window-modal without a nested loop.
class WidgetDialogs : public core::Dialogs {
public:
    explicit WidgetDialogs(QWidget *parent = nullptr) : m_parent(parent) {}
    void openFile(const QString &title, const QString &startDir, const QString &filter,
                  Answer done) override;
    void pickFolder(const QString &title, const QString &startDir, Answer done) override;

private:
    QWidget *m_parent;
};

} // namespace kalmo::app
