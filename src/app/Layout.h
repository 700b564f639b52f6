#pragma once
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

namespace sudoku::layout {

// The size ladder and the cell size S, in pixels, for each font size.
constexpr std::array<std::int16_t, 16> kLadder{8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};
constexpr std::array<int, 16> kCellSize{15, 16, 18, 21, 22, 26, 29, 33, 36, 39, 42, 46, 49, 63, 83, 122};

// Index of a font size on the ladder, or -1 when it is not on it.
constexpr int LadderIndex(int pt) {
    for (int i = 0; i < static_cast<int>(kLadder.size()); ++i)
        if (kLadder[i] == pt) return i;
    return -1;
}

constexpr int CellSize(int pt) {
    const int i = LadderIndex(pt);
    return i < 0 ? kCellSize[7] : kCellSize[i];
}

// Left edge of column k (and top edge of row k), 1..9: cells inside a box
// overlap by one pixel, boxes are 6 pixels apart.
constexpr int Edge(int k, int s) { return 6 + (k - 1) * (s - 1) + 7 * ((k - 1) / 3); }

constexpr int PickerColumn1(int s) { return 9 * s + 18; }
constexpr int PickerColumn2(int s) { return 10 * s + 19; }
constexpr int PickerRowTop(int j, int s) { return 6 + (j - 1) * (s + 1); }

// Picker label k (1..10): left column holds 1..5, right column 6..10.
constexpr int PickerLeft(int k, int s) { return k <= 5 ? PickerColumn1(s) : PickerColumn2(s); }
constexpr int PickerTop(int k, int s) { return PickerRowTop(k <= 5 ? k : k - 5, s); }

constexpr int InfoTop(int s) { return Edge(9, s) + s + 3; }

// A font's em height in game pixels: points on a 96-DPI screen.
inline int FontPixels(float pt) { return std::max(1, static_cast<int>(std::lround(pt * 96.0f / 72.0f))); }

}  // namespace sudoku::layout
