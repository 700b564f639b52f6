#pragma once
// The Windows virtual-key codes the game hears, by name: what Form_KeyDown receives on
// every front end.
#include <cstdint>

namespace sudoku::vk {

constexpr std::int16_t kBackspace = 0x08;
constexpr std::int16_t kClear = 0x0C;  // keypad 5 with Num Lock off
constexpr std::int16_t kEscape = 0x1B;
constexpr std::int16_t kPageUp = 0x21;
constexpr std::int16_t kPageDown = 0x22;
constexpr std::int16_t kEnd = 0x23;
constexpr std::int16_t kHome = 0x24;
constexpr std::int16_t kLeft = 0x25;
constexpr std::int16_t kUp = 0x26;
constexpr std::int16_t kRight = 0x27;
constexpr std::int16_t kDown = 0x28;
constexpr std::int16_t kInsert = 0x2D;
constexpr std::int16_t kDelete = 0x2E;
constexpr std::int16_t kDigit0 = 0x30;   // the main row's 0; 1..9 follow
constexpr std::int16_t kKeypad0 = 0x60;  // keypad 0 with Num Lock on; 1..9 follow
constexpr std::int16_t kKeypadPlus = 0x6B;
constexpr std::int16_t kKeypadMinus = 0x6D;
constexpr std::int16_t kKeypadDecimal = 0x6E;
constexpr std::int16_t kF1 = 0x70;  // F2.. follow
constexpr std::int16_t kF3 = 0x72;
constexpr std::int16_t kPlusKey = 0xBB;   // the main keyboard's key of '=' and '+' (US layout)
constexpr std::int16_t kMinusKey = 0xBD;  // the main keyboard's key of '-'

}  // namespace sudoku::vk
