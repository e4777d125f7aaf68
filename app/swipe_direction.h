#pragma once

namespace kalmo::app {

// A one-finger swipe on the main screen, as the detector reports it and the slideshow takes it.
enum class SwipeDirection { Left, Right, Up, Down };

} // namespace kalmo::app
