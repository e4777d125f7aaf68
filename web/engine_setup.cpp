#include "web/engine_setup.h"

#include <QCoreApplication>
#include <QList>

namespace kalmo::web {

QByteArray kioskEngineFlags(const QByteArray &fromEnvironment) {
    QList<QByteArray> flags;
    for (const QByteArray &flag : fromEnvironment.simplified().split(' ')) {
        if (flag.isEmpty() || flag.startsWith("--remote-debugging") ||
            flag.startsWith("--auto-open-devtools"))
            continue;
        flags << flag;
    }
    for (const char *flag :
         {"--disable-background-networking", "--disable-component-update", "--no-first-run"}) {
        if (!flags.contains(QByteArray(flag)))
            flags << QByteArray(flag);
    }
    return flags.join(' ');
}

void prepareWebEngine() {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    // The page's render widget, when composed through OpenGL, makes Qt compose the whole kiosk
    // window through OpenGL from then on, also after the view closed: every running-text frame
    // then redraws the full screen (a third of a core without a GPU). The software scene graph
    // paints the page like any other widget. An administrator can still choose another backend.
    if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND"))
        qputenv("QT_QUICK_BACKEND", "software");
    qunsetenv("QTWEBENGINE_REMOTE_DEBUGGING");
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", kioskEngineFlags(qgetenv("QTWEBENGINE_CHROMIUM_FLAGS")));
}

} // namespace kalmo::web
