#pragma once

#include "core/dialogs.h"

namespace kalmo::app {

class OverlayStack;

// File-open and folder-picking dialogs on screen: Qt's own dialog (never the desktop's,
// which would be a window of its own) as an overlay in the middle of the kiosk's window,
// modal without a nested loop.
class WidgetDialogs : public core::Dialogs {
public:
    explicit WidgetDialogs(OverlayStack &overlays) : m_overlays(overlays) {}
    void openFile(const QString &title, const QString &startDir, const QString &filter,
                  Answer done) override;
    void pickFolder(const QString &title, const QString &startDir, Answer done) override;

private:
    OverlayStack &m_overlays;
};

} // namespace kalmo::app
