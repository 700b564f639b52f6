#pragma once
// Complete valid grids made from a seed, and the random draws that make the
// game's grid builder lay exactly that grid down in its first pass.
#include <cstdint>
#include <vector>

#include "app/GameState.h"

namespace sudoku::exercise {

Grid9 GridFromSeed(std::uint32_t seed);

// 162 draws: for each digit 1..9 and each box in reading order, the column
// offset and then the row offset of the digit's cell in that box.
std::vector<float> BuildDraws(const Grid9& grid);

// True when every row, column and box holds 1..9 once each.
bool CompleteAndValid(const Grid9& grid);

}  // namespace sudoku::exercise
