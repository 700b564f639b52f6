#pragma once
// The main window as it is created: window, labels, menus. The toolkit
// builds its controls from this; tests build in-memory controls from it.
#include <string>
#include <vector>

#include "app/Game.h"
#include "app/Ui.h"

namespace sudoku::form {

struct WindowDesign {
    std::string title;
    int clientWidth;
    int clientHeight;
    Rgb background;
    std::string fontFamily;
    float fontPt;
};

struct LabelDesign {
    int left, top, width, height;
    std::string caption;
    Rgb background;
    bool transparent;  // the window colour shows through
    float fontPt;
    bool centred;      // otherwise left-aligned
    bool border;       // one flat black pixel line
};

struct MenuItemDesign {
    const char* name;
    const char* caption;  // "-" is a separator
    bool checked;
    const char* shortcut;  // "" or a key name such as "F3"
    void (Game::*onClick)();  // null for separators
    MenuItem* Ui::*mark;      // where the game finds the item, or null
    bool IsSeparator() const { return onClick == nullptr; }
};

struct MenuDesign {
    const char* name;
    const char* caption;
    std::vector<MenuItemDesign> items;
};

const WindowDesign& Window();
LabelDesign Cell(int n);    // lblSudoku(1..81)
LabelDesign Picker(int k);  // lblSetNum(1..10)
LabelDesign Info();         // lblInfo
const std::vector<MenuDesign>& MenuBar();

// Timer tmrPostr: its interval; it is disabled at creation.
constexpr int kTimerIntervalMs = 200;

}  // namespace sudoku::form
