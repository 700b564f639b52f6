#pragma once
// The game works in pixels of a 96-DPI screen; Windows is told sizes in real pixels.
// Pure arithmetic, so it is tested without Windows.
#include <algorithm>
#include <cstdint>

#include "app/Layout.h"

namespace sudoku::win32 {

constexpr unsigned kBaseDpi = 96;

// v × dpi / 96, rounded half away from zero (as MulDiv does).
constexpr int ScaleToDpi(int v, unsigned dpi) {
    const std::int64_t p = static_cast<std::int64_t>(v) * dpi;
    return static_cast<int>((p >= 0 ? p + kBaseDpi / 2 : p - static_cast<std::int64_t>(kBaseDpi / 2)) / kBaseDpi);
}

// A rectangle of game pixels in real pixels. The edges are scaled, not the width, so
// neighbouring labels that share an edge or overlap by a pixel still do after scaling.
struct PixelRect {
    int left, top, right, bottom;
    constexpr bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};
constexpr PixelRect ScaleRect(int left, int top, int width, int height, unsigned dpi) {
    return {ScaleToDpi(left, dpi), ScaleToDpi(top, dpi), ScaleToDpi(left + width, dpi), ScaleToDpi(top + height, dpi)};
}

// Font em height in real pixels: points as on a 96-DPI screen (as the Qt window sizes
// them), then scaled like everything else.
inline int FontPixelHeight(float pt, unsigned dpi) { return std::max(1, ScaleToDpi(layout::FontPixels(pt), dpi)); }

// Width of a label's border line: whole real pixels only, so that it stays as thin as
// the overlap of two neighbouring cells (which rounding makes one or two pixels at 150 %).
constexpr int BorderWidth(unsigned dpi) { return std::max(1, static_cast<int>(dpi / kBaseDpi)); }

}  // namespace sudoku::win32
