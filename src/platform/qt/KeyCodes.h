#pragma once
#include <cstdint>
#include <span>

class QKeyEvent;

namespace sudoku::qt {

// The game receives Windows virtual-key codes, whatever Shift says. On Windows the
// native virtual key already is that code. Elsewhere the physical key (its scan code)
// decides for the digit rows, Esc and the erase keys, so Shift+1 is still 1 and the
// keypad is told apart from the main row; Num Lock decides for the keypad's digit keys
// and Del, as on Windows (off: navigation keys and Delete); the main keyboard's plus and minus are the
// keys that carry + (or =) and - in the active layout, as Windows maps them. Events
// without a scan code (headless tests) fall back to the toolkit's key and keypad flag.
// 0 for keys the game has no use for.
std::int16_t VirtualKeyOf(const QKeyEvent& event);

// The parts, exposed for tests.
std::int16_t VirtualKeyFromScanCode(std::uint32_t xkbScanCode);  // evdev code + 8
std::int16_t VirtualKeyFromQtKey(int qtKey, bool keypad);
// 187 for the key that types + or = unshifted, 189 for - (X keysyms); else 0.
std::int16_t VirtualKeyFromSymbol(std::uint32_t plain);
// A key's core keyboard mapping lists its unshifted and shifted symbols group by group;
// the active group is the one holding the symbol just typed (the first when none does).
// Returns that group's unshifted symbol, or the typed one when the mapping is unknown.
std::uint32_t PlainSymbolOf(std::span<const std::uint32_t> keysyms, std::uint32_t typed);

}  // namespace sudoku::qt
