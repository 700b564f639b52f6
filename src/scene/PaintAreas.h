#pragma once
// One paint of a window that keeps its picture off-screen: which areas to paint, and how large
// the off-screen picture must be. Pure arithmetic on the rectangles the toolkit reports.
#include <cstddef>
#include <vector>

#include "scene/DeviceGeometry.h"

namespace sudoku::scene {

// The parts of the update region inside the paint box, not the box around them (the cell that
// lost the selection and the one that gained it may lie far apart); the box itself when the
// region has more than `most` rectangles, or none is known.
inline std::vector<DeviceRect> PaintAreas(const DeviceRect& box, const std::vector<DeviceRect>& region,
                                          std::size_t most) {
    std::vector<DeviceRect> parts;
    if (region.size() <= most) {
        for (const DeviceRect& r : region)
            if (const DeviceRect part = r.Intersected(box); !part.Empty()) parts.push_back(part);
    }
    if (parts.empty()) parts.push_back(box);
    return parts;
}

struct PictureSize {
    int width = 0, height = 0;
    constexpr bool operator==(const PictureSize&) const = default;
};

// The off-screen picture that the box can be painted into at the window's own coordinates: it
// reaches the box's right and bottom edges, and it never shrinks from the one held.
constexpr PictureSize PictureFor(const DeviceRect& box, PictureSize held) {
    return {std::max(box.right, held.width), std::max(box.bottom, held.height)};
}

}  // namespace sudoku::scene
