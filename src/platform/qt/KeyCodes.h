#pragma once
#include <cstdint>

class QKeyEvent;

namespace sudoku::qt {

// The game receives Windows virtual-key codes, whatever the layout or Shift says.
// On Windows the native virtual key already is that code. Elsewhere the physical
// key (its scan code) decides, so Shift+1 is still 1 and the keypad is told apart
// from the main row; events without a scan code (headless tests) fall back to
// the toolkit's key and keypad flag. 0 for keys the game has no use for.
std::int16_t VirtualKeyOf(const QKeyEvent& event);

// The two halves, exposed for tests.
std::int16_t VirtualKeyFromScanCode(std::uint32_t xkbScanCode);  // evdev code + 8
std::int16_t VirtualKeyFromQtKey(int qtKey, bool keypad);

}  // namespace sudoku::qt
