#pragma once
#include <cstdint>
#include <string_view>

namespace sudoku::web {

// A browser key press as a Windows virtual-key code, by the rules of the other front ends:
// code is KeyboardEvent.code (the physical key), key is KeyboardEvent.key (what it typed) and
// plain is the key's character without Shift in the current layout (key where unknown).
// The digit row counts by position; Num Lock decides the keypad's digits and Del; a key
// outside the digit row whose plain character is '+' or '=' enlarges, '-' shrinks. 0: none.
std::int16_t VirtualKeyOf(std::string_view code, std::string_view key, std::string_view plain);

}  // namespace sudoku::web
