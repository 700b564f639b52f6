#pragma once
#include <vector>

#include "app/BoardAccess.h"
#include "scene/DeviceGeometry.h"

namespace sudoku::web {

// The board for screen readers in a browser: the game's accessible view drives real
// elements over the canvas (a grid of rows and cells, the picker as toggle buttons, the
// status line), which the browser hands to the platform's reader. The page makes and places
// the elements, moves the page's focus and speaks the messages; this tells it what the view
// decided.
class WebAccess {
public:
    void Attach(BoardAccess& access);
    // After every input and timer tick, and first in the event pump: what changed, the focus
    // and the messages, as BoardAccess::Update gives them.
    void Tell();
    // A reader's default action on an element.
    void Activate(int id);
    // Each turn: the elements over their labels at this scale.
    void Place(scene::Scale scale);

private:
    void Show(const AccessItem& item);

    BoardAccess* access_ = nullptr;
    std::vector<AccessItem> told_;            // as the page was last told
    std::vector<scene::DeviceRect> placed_;   // by id, where each element was put
    scene::Scale scale_;
};

}  // namespace sudoku::web
