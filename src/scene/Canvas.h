#pragma once
// What a front end gives the label scene: a canvas to paint on and a surface to tell what
// needs painting again. Both speak device pixels of the window's client area.
#include <string>

#include "app/Controls.h"
#include "scene/DeviceGeometry.h"

namespace sudoku::scene {

class Canvas {
public:
    virtual ~Canvas() = default;
    // Everything painted after this lands within the area.
    virtual void Clip(const DeviceRect& area) = 0;
    virtual void Fill(const DeviceRect& r, Rgb colour) = 0;
    // One line of black text in the game's font with an em height of pixelHeight, centred in r
    // or at its top left, cut off at r's edges. An ampersand is shown as it is.
    virtual void Text(const DeviceRect& r, const std::string& utf8, int pixelHeight, bool centred) = 0;
};

class Surface {
public:
    virtual ~Surface() = default;
    // This area has changed: paint it again soon, through the scene.
    virtual void Invalidate(const DeviceRect& area) = 0;
};

}  // namespace sudoku::scene
