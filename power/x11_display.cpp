#include "power/x11_display.h"

#include "core/log.h"

#include <QProcess>

namespace kalmo::power {

X11Display::X11Display(QString program, QObject *parent)
    : QObject(parent), m_program(std::move(program)) {}

X11Display::~X11Display() {
    if (m_running) {
        m_running->disconnect(this);
        m_running->kill();
        m_running->waitForFinished(1000);
    }
    // A kiosk that quits leaves the server blanking as it did before.
    if (m_saved && m_changed)
        QProcess::startDetached(m_program, xsetAtExit(*m_saved));
}

void X11Display::start() {
    enqueue(Step::Query);
}

void X11Display::setAwake(bool awake) {
    // A change of mind replaces what has not begun yet.
    m_steps.removeIf([](Step s) { return s != Step::Query; });
    enqueue(awake ? Step::Awake : Step::Asleep);
}

void X11Display::enqueue(Step step) {
    if (m_unavailable)
        return;
    m_steps << step;
    if (!m_running)
        runNext();
}

void X11Display::runNext() {
    if (m_runs.isEmpty()) {
        if (m_steps.isEmpty()) {
            emit settled();
            return;
        }
        // Expanded only now, so that a sleep gives back what the query found.
        m_step = m_steps.takeFirst();
        switch (m_step) {
        case Step::Query:
            m_runs = {{QStringLiteral("q")}};
            break;
        case Step::Awake:
            m_runs = xsetWhileAwake();
            break;
        case Step::Asleep:
            m_runs = xsetWhileAsleep(m_saved);
            break;
        }
    }
    const QStringList args = m_runs.takeFirst();
    if (m_step != Step::Query)
        m_changed = true;
    auto *process = new QProcess(this);
    m_running = process;
    process->setProcessChannelMode(QProcess::SeparateChannels);
    connect(process, &QProcess::errorOccurred, this, [this, process](QProcess::ProcessError e) {
        if (e != QProcess::FailedToStart)
            return;
        qCInfo(kalmo::lcPower).noquote()
            << "cannot run" << m_program << "- the X server's blanking is left as it is";
        m_unavailable = true;
        m_steps.clear();
        m_runs.clear();
        m_running = nullptr;
        process->deleteLater();
        emit settled();
    });
    connect(process, &QProcess::finished, this, [this, process, args](int code) {
        if (m_step == Step::Query && args == QStringList{QStringLiteral("q")}) {
            m_saved = parseXsetQuery(process->readAllStandardOutput());
            if (!m_saved)
                qCInfo(kalmo::lcPower) << "the X server reported no screen saver settings";
        }
        if (code != 0)
            qCDebug(kalmo::lcPower).noquote() << m_program << args.join(u' ') << "answered" << code
                                              << ":" << process->readAllStandardError().trimmed();
        m_running = nullptr;
        process->deleteLater();
        runNext();
    });
    process->start(m_program, args);
}

} // namespace kalmo::power
