#pragma once
// The game works in pixels of a 96-DPI screen; a screen may have more device pixels to each.
// How the game's pixels land on device pixels: one rule for every front end, pure arithmetic.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "app/Layout.h"

namespace sudoku::scene {

// A rectangle of device pixels: left and top inside, right and bottom just outside.
struct DeviceRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    constexpr bool Empty() const { return right <= left || bottom <= top; }
    constexpr bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    constexpr bool Intersects(const DeviceRect& o) const {
        return left < o.right && o.left < right && top < o.bottom && o.top < bottom;
    }
    constexpr DeviceRect Intersected(const DeviceRect& o) const {
        return {std::max(left, o.left), std::max(top, o.top), std::min(right, o.right), std::min(bottom, o.bottom)};
    }
    constexpr DeviceRect United(const DeviceRect& o) const {
        if (Empty()) return o;
        if (o.Empty()) return *this;
        return {std::min(left, o.left), std::min(top, o.top), std::max(right, o.right), std::max(bottom, o.bottom)};
    }
    constexpr bool operator==(const DeviceRect&) const = default;
};

// Device pixels to a game pixel, as a fraction: 120/96 on a 120-DPI screen, a toolkit's scale
// factor in 960ths (exact for 1.25, 1.5, 1.75 and the like). Meant for factors of 1 and more.
struct Scale {
    std::int64_t num = 1, den = 1;

    static constexpr Scale FromDpi(unsigned dpi) { return {dpi, 96}; }
    static Scale FromFactor(double factor) { return {std::max<std::int64_t>(1, std::llround(factor * 960)), 960}; }

    // A game coordinate in device pixels, rounded half away from zero (as Windows' MulDiv).
    constexpr int Device(int v) const {
        const std::int64_t p = v * num;
        return static_cast<int>((p >= 0 ? p + den / 2 : p - den / 2) / den);
    }
    // A frame line: the whole device pixels of one game pixel, at least one. Neighbours that
    // overlap by a game pixel overlap by at least this much, so their shared line stays one line.
    constexpr int FrameWidth() const { return std::max<int>(1, static_cast<int>(num / den)); }
    // A font's em height in device pixels.
    int TextPixels(float pt) const { return std::max(1, Device(layout::FontPixels(pt))); }
    double Factor() const { return static_cast<double>(num) / static_cast<double>(den); }
    constexpr bool operator==(const Scale& o) const { return num * o.den == o.num * den; }
};

// A rectangle of game pixels on the device. Its edges are scaled, not its size, so neighbours
// that share an edge or overlap by a pixel still do, and every edge is a whole device pixel.
constexpr DeviceRect ToDevice(int left, int top, int width, int height, Scale s) {
    return {s.Device(left), s.Device(top), s.Device(left + width), s.Device(top + height)};
}

}  // namespace sudoku::scene
