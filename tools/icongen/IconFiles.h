#pragma once
// The game's icon as files, all drawn from icon::Pixels: PNG images for the
// desktop's icon theme, a multi-size Windows icon and a scalable SVG.
#include <string>
#include <vector>

namespace sudoku::iconfiles {

// A PNG image of the icon at one size (palette colours when the design has few).
std::string Png(int size);

// A Windows .ico holding one 32-bit image with alpha for each size: a bitmap up to
// kLargestBitmap pixels, a PNG above (Windows Vista and later read those).
inline constexpr int kLargestBitmap = 64;
std::string Ico(const std::vector<int>& sizes);

// An SVG of the icon: the design at `grid` pixels traced into rectangles, scalable to any size.
std::string Svg(int grid);

}  // namespace sudoku::iconfiles
