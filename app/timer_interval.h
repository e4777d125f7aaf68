#pragma once

#include <QtGlobal>

class QTimer;

namespace kalmo::app {

// An interval from the settings as a timer can take it. 0 means the timer never fires (a
// QTimer at 0 would fire on every pass of the event loop); a negative value counts as 0; a
// value beyond what a QTimer holds is cut to the longest one it does (about 24.8 days).
struct TimerInterval {
    int ms = 0;
    bool runs = false;
    enum class Note { None, Negative, Clamped } note = Note::None;
};
TimerInterval timerInterval(qint64 ms);

// Sets `timer`'s interval from a settings value (logged when it had to be changed). A timer
// whose interval is 0 is stopped and stays so; one that runs keeps its countdown only when
// the interval did not change.
void applyTimerInterval(QTimer &timer, qint64 ms, const char *settingName);

// Enables `timer` unless its interval says it never fires; a running timer keeps its count.
void enableTimer(QTimer &timer);

} // namespace kalmo::app
