#pragma once

#include "power/x11_saver_settings.h"

#include <QObject>
#include <QStringList>
#include <optional>

class QProcess;

namespace kalmo::power {

// The X server's side of sleeping: while awake its screen saver and DPMS timeouts are off,
// while asleep they are given back and the display is switched off (DPMS). Driven through
// xset, one run at a time and never waited for; without xset it is logged once and the
// black cover is all there is.
class X11Display : public QObject {
    Q_OBJECT
public:
    // `program`: the xset to run (a test hands in its own).
    explicit X11Display(QString program = QStringLiteral("xset"), QObject *parent = nullptr);
    ~X11Display() override;

    // Reads the settings to give back later; the first call to make.
    void start();
    void setAwake(bool awake);

    const std::optional<XSaverSettings> &saved() const { return m_saved; }
    bool idle() const { return !m_running && m_steps.isEmpty() && m_runs.isEmpty(); }

signals:
    // Every queued run has finished.
    void settled();

private:
    enum class Step { Query, Awake, Asleep };
    void enqueue(Step step);
    void runNext();

    QString m_program;
    std::optional<XSaverSettings> m_saved;
    QList<Step> m_steps;       // what is still to be done, in order
    QList<QStringList> m_runs; // the xset runs of the step under way
    Step m_step = Step::Query;
    QProcess *m_running = nullptr;
    bool m_unavailable = false;
    bool m_changed = false; // the server's settings are ours now
};

} // namespace kalmo::power
