#pragma once
// A window's screen in memory: the areas the label scene asked to paint again and, when a
// test wants the pixels, a picture painted through the scene as a front end paints it.
#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

#include "scene/Canvas.h"

namespace sudoku::scene {
class Scene;
}

namespace sudoku::memory {

// Device pixels. Text is drawn as a black block where its letters stand: half an em wide
// for each character and two thirds of an em high.
class Picture final : public scene::Canvas {
public:
    Picture(int width, int height) : width_(width), height_(height), px_(std::size_t(width) * height, 0) {}
    int Width() const { return width_; }
    int Height() const { return height_; }
    Rgb At(int x, int y) const { return px_[std::size_t(y) * width_ + x]; }
    bool operator==(const Picture& o) const { return width_ == o.width_ && height_ == o.height_ && px_ == o.px_; }

    void Clip(const scene::DeviceRect& area) override { clip_ = area.Intersected({0, 0, width_, height_}); }
    void Fill(const scene::DeviceRect& r, Rgb colour) override {
        const scene::DeviceRect c = r.Intersected(clip_);
        for (int y = c.top; y < c.bottom; ++y)
            std::fill_n(px_.begin() + std::ptrdiff_t(std::size_t(y) * width_ + c.left), std::max(0, c.right - c.left),
                        colour);
    }
    void Text(const scene::DeviceRect& r, const std::string& utf8, int em, bool centred) override {
        const int chars = static_cast<int>(std::count_if(utf8.begin(), utf8.end(), [](char ch) {
            return (static_cast<unsigned char>(ch) & 0xC0) != 0x80;
        }));
        const int w = chars * std::max(1, em / 2), h = std::max(1, em * 2 / 3);
        const int left = centred ? (r.left + r.right - w) / 2 : r.left;
        const int top = centred ? (r.top + r.bottom - h) / 2 : r.top;
        const scene::DeviceRect saved = clip_;
        clip_ = clip_.Intersected(r);
        Fill({left, top, left + w, top + h}, 0x000000);
        clip_ = saved;
    }

private:
    int width_, height_;
    std::vector<Rgb> px_;
    scene::DeviceRect clip_;
};

class MemoryScreen final : public scene::Surface {
public:
    // Areas to paint since the last paint; past kMostAreas the last one grows to cover the rest.
    static constexpr std::size_t kMostAreas = 64;
    std::vector<scene::DeviceRect> invalid;

    void Invalidate(const scene::DeviceRect& r) override {
        if (invalid.size() < kMostAreas) invalid.push_back(r);
        else invalid.back() = invalid.back().United(r);
    }
    // Paints the areas asked for onto the picture, as a window's paint does, and forgets them.
    void PaintInvalid(const scene::Scene& scene, Picture& picture);
};

// The whole picture, painted afresh.
Picture PaintWhole(const scene::Scene& scene, int width, int height);

}  // namespace sudoku::memory
