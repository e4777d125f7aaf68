#pragma once

#include <QByteArray>

namespace kalmo::web {

// Chromium flags for the kiosk, merged with any the environment already gives: no
// background downloads of components, no first-run work, and never a debugging port.
QByteArray kioskEngineFlags(const QByteArray &fromEnvironment);

// Call before the QApplication is constructed: shares GL contexts (the web engine needs
// it) and sets QTWEBENGINE_CHROMIUM_FLAGS; drops a remote debugging port from the
// environment so nobody can steer the browser from outside. Pages are painted by the
// software scene graph unless QT_QUICK_BACKEND says otherwise, so that a web view leaves the
// kiosk's one window drawn as plain widgets.
void prepareWebEngine();

} // namespace kalmo::web
