#pragma once
#include <vector>

#include "app/BoardAccess.h"
#include "scene/DeviceGeometry.h"

namespace sudoku::web {

// The board for screen readers in a browser: the game's accessible view drives real
// elements over the canvas (a grid of rows and cells, the picker as toggle buttons, the
// status line as a polite live region), which the browser hands to the platform's reader.
// The page makes and places the elements; this tells it what changed.
class WebAccess {
public:
    void Attach(BoardAccess& access) { access_ = &access; }
    // After each turn of events: the elements follow the view (names, states, shown or
    // hidden, where they lie at this scale, and the focus).
    void Update(scene::Scale scale);
    // A reader's default action on an element.
    void Activate(int id) {
        if (access_) access_->Activate(id);
    }

private:
    BoardAccess* access_ = nullptr;
    std::vector<AccessItem> told_;            // as the page was last told
    std::vector<scene::DeviceRect> placed_;   // by id, where each element was put
};

}  // namespace sudoku::web
