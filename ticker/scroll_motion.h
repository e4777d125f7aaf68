#pragma once

#include <QObject>
#include <cstdint>

namespace kalmo::ticker {
Q_NAMESPACE

enum TScrollDirection { sdLeftToRight, sdRightToLeft };
Q_ENUM_NS(TScrollDirection)

// The line never measures its text: every character counts as wide as the font's point
// size in pixels. Saturates so that huge texts cannot overflow the 32-bit position.
std::int32_t estimatedTextWidth(std::int64_t characters, int pointSize);

// Where a restarted text begins: just beyond the right edge when moving left, just
// before the left edge (by its estimated width) when moving right.
std::int32_t startPosition(TScrollDirection direction, int surfaceWidth,
                           std::int32_t estimatedWidth);

// One drawn frame's move, with the wrap back to the start once the text has passed.
std::int32_t nextPosition(std::int32_t scroll, TScrollDirection direction, std::uint8_t step,
                          std::int32_t estimatedWidth, int surfaceWidth);

// Frame dropping: one of every dropped + 1 frame events draws. The counter is shared by
// all lines; returns whether this event draws.
bool frameGate(std::uint8_t droppedFrames, int &counter);

// Settings hold the step as a plain integer; the line keeps only its low 8 bits.
constexpr std::uint8_t stepFromSetting(int value) {
    return static_cast<std::uint8_t>(value);
}

} // namespace kalmo::ticker
