#pragma once

#include "app/window_set.h"

#include <QString>

namespace kalmo::app {

class TForm1;

// What the kiosk shows, as the heartbeat names it: main, site, calendar, schedule, photo,
// video or settings. Only asks widgets whether they are visible: cheap enough for every second.
QString shownScreen(TForm1 &form, const WindowSet &windows);

// The file name of the photo on the main screen; empty before the first one.
QString photoOnScreen(TForm1 &form);

// What an urgent notice stops and, once it has gone, closes and starts again.
class NoticeHold {
public:
    // Stops the slideshow, the running text, every transition and the videos.
    void hold(TForm1 &form, const WindowSet &windows);
    // Closes the screens that were open under the notice (the settings dialog keeps its
    // edits and stays) and starts again what the notice stopped.
    void release(TForm1 &form, const WindowSet &windows);

private:
    bool m_holding = false;
    bool m_slideshowWasRunning = false;
    bool m_tickerWasRunning = false;
};

} // namespace kalmo::app
