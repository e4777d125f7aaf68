#pragma once

#include <QImage>
#include <QRect>

namespace kalmo::fleet {

// Whether the program runs on an X server, where x11Grab works.
bool x11Available();

// A part of the X screen as it is shown, read over a connection of its own, so any thread
// may call it and the GUI thread's connection never waits for the copy. Null on failure.
QImage x11Grab(const QRect &area);

} // namespace kalmo::fleet
