#pragma once

namespace kalmo::core {

// Lowers the calling thread's scheduling priority once (later calls on the same thread do
// nothing). For pool threads that decode pictures: decoding keeps every core busy for a
// while, and under load the GUI thread and the display server must still get their turn
// at once.
void yieldToTheGuiThread();

} // namespace kalmo::core
