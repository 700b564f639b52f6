#pragma once
#include "app/Controls.h"

namespace sudoku::palette {

constexpr Rgb kCellPlain = 0xFFFFFF;
constexpr Rgb kCellClue = 0xC0C0C0;
constexpr Rgb kCellSelected = 0x8080FF;
constexpr Rgb kCellConflict = 0xFFFF00;
constexpr Rgb kPicker = 0x80FF80;
constexpr Rgb kPickerChosen = 0x00C000;
constexpr Rgb kWindow = 0xC0C0FF;
constexpr Rgb kText = 0x000000;
constexpr Rgb kInfoStored = 0xC0C0C0;  // the status label is transparent; this never shows

}  // namespace sudoku::palette
