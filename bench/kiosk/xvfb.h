#pragma once

#include <QFile>
#include <QProcess>
#include <QThread>

namespace kalmo::bench {

// A display for the program: the one in DISPLAY, or a private Xvfb.
class Xvfb {
public:
    Xvfb(int width, int height) {
        m_name = qEnvironmentVariable("DISPLAY");
        if (!m_name.isEmpty())
            return;
        for (int n = 90; n <= 140; ++n) {
            if (QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n)) ||
                QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(n)))
                continue;
            m_name = QStringLiteral(":%1").arg(n);
            m_xvfb.start(QStringLiteral("Xvfb"),
                         {m_name, "-screen", "0", QStringLiteral("%1x%2x24").arg(width).arg(height),
                          "-nolisten", "tcp"});
            for (int i = 0; i < 100 && !QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n));
                 ++i)
                QThread::msleep(50);
            return;
        }
        qFatal("no free display number");
    }
    ~Xvfb() {
        if (m_xvfb.state() != QProcess::NotRunning) {
            m_xvfb.terminate();
            m_xvfb.waitForFinished(3000);
        }
    }
    QString name() const { return m_name; }

private:
    QString m_name;
    QProcess m_xvfb;
};

} // namespace kalmo::bench
