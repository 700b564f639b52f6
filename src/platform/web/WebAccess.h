#pragma once
#include <vector>

#include "app/BoardAccess.h"
#include "scene/Scene.h"

namespace sudoku::web {

// The board for screen readers in a browser: the game's accessible view drives real
// elements over the canvas (a grid of rows and cells, the picker as toggle buttons, the
// status line), which the browser hands to the platform's reader. The page makes and places
// the elements, moves the page's focus and speaks the messages; this tells it what the view
// decided.
class WebAccess {
public:
    explicit WebAccess(const scene::Scene& scene) : scene_(scene) {}
    void Attach(BoardAccess& access);
    // After every input and timer tick, and first in the event pump: what changed, the focus
    // and the messages, as BoardAccess::Update gives them.
    void Tell();
    // A reader's default action on an element.
    void Activate(int id);
    // Each turn: the elements over their labels' own pixels, where these moved.
    void Place();

private:
    scene::DeviceRect Where(const AccessItem& item) const;
    void Show(const AccessItem& item);

    const scene::Scene& scene_;
    BoardAccess* access_ = nullptr;
    std::vector<AccessItem> told_;            // as the page was last told
    std::vector<scene::DeviceRect> placed_;   // by id, where each element was put
};

}  // namespace sudoku::web
