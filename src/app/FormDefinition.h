#pragma once
// The main window as it is created: window, labels, menus, and which handler of the
// game each event goes to. The form builder makes the controls from this through a
// front end, and connects the handlers.
#include <cstdint>
#include <string>
#include <vector>

#include "app/Controls.h"
#include "app/Ui.h"

namespace sudoku {
class Game;
}

namespace sudoku::form {

// A handler of the game for a command, and for an event of a label with its index.
using Command = void (*)(Game&);
using LabelEvent = void (*)(Game&, std::int16_t index);

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
    std::int16_t index = 0;                // within its array
    LabelEvent onClick = nullptr;          // null: clicks go through to the window
    LabelEvent onDoubleClick = nullptr;
};

// A menu shortcut: function key F1..F24, or none.
struct Shortcut {
    int functionKey = 0;
    explicit operator bool() const { return functionKey > 0; }
};

struct MenuItemDesign {
    const char* name;
    const char* caption;  // "-" is a separator
    bool checked;
    Shortcut shortcut;
    Command onClick;          // null for separators
    MenuItem* Ui::*mark;      // where the game finds the item, or null
    bool IsSeparator() const { return onClick == nullptr; }
    // Only items whose mark the game keeps carry one.
    bool Checkable() const { return mark != nullptr; }
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
// A caption as a menu is told it: menus take '&' as a mnemonic, so it is doubled and shown as it is.
std::string MenuText(const char* caption);

// Timer tmrPostr: its interval; it is disabled at creation.
constexpr int kTimerIntervalMs = 200;

}  // namespace sudoku::form
