#pragma once
#include <vector>

#include "app/Controls.h"

namespace sudoku::icon {

// The window icon's design at any size: a 3x3 chequerboard (white corners and
// centre, mid-grey edge squares) on light-grey lines, with a black frame from 24
// pixels up. Returns size*size pixels, row by row.
std::vector<Rgb> Pixels(int size);

// The sizes of the window icon's images.
inline constexpr int kWindowSizes[] = {48, 24, 16};

}  // namespace sudoku::icon
