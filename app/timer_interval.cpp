#include "app/timer_interval.h"

#include "core/log.h"

#include <QTimer>
#include <limits>

namespace kalmo::app {

TimerInterval timerInterval(qint64 ms) {
    TimerInterval t;
    if (ms < 0) {
        t.note = TimerInterval::Note::Negative;
        return t;
    }
    constexpr qint64 longest = std::numeric_limits<int>::max();
    if (ms > longest) {
        t.note = TimerInterval::Note::Clamped;
        ms = longest;
    }
    t.ms = int(ms);
    t.runs = ms > 0;
    return t;
}

void applyTimerInterval(QTimer &timer, qint64 ms, const char *settingName) {
    const TimerInterval t = timerInterval(ms);
    switch (t.note) {
    case TimerInterval::Note::Negative:
        qCWarning(kalmo::lcSettings).nospace()
            << settingName << ": a negative interval (" << ms
            << " ms) counts as 0: " << timer.objectName() << " stops";
        break;
    case TimerInterval::Note::Clamped:
        qCWarning(kalmo::lcSettings).nospace()
            << settingName << ": " << ms << " ms is longer than a timer holds; "
            << timer.objectName() << " runs every " << t.ms << " ms";
        break;
    case TimerInterval::Note::None:
        break;
    }
    if (!t.runs) {
        timer.stop();
        timer.setInterval(0);
        return;
    }
    timer.setInterval(t.ms);
}

void enableTimer(QTimer &timer) {
    if (timer.interval() > 0 && !timer.isActive())
        timer.start();
}

} // namespace kalmo::app
