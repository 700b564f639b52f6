#include "platform/memory/MemoryScreen.h"

#include "scene/Scene.h"

namespace sudoku::memory {

void MemoryScreen::PaintInvalid(const scene::Scene& scene, Picture& picture) {
    for (const scene::DeviceRect& area : invalid) scene.Paint(picture, area);
    invalid.clear();
}

Picture PaintWhole(const scene::Scene& scene, int width, int height) {
    Picture picture(width, height);
    scene.Paint(picture, {0, 0, width, height});
    return picture;
}

}  // namespace sudoku::memory
