#pragma once
// The one place where the main window is made and its events reach the game. A front end
// implements ControlFactory: it makes each control as designed and reports its events
// through the callbacks it is handed, without knowing the game or any handler.
#include <cstdint>
#include <functional>

#include "app/BoardAccess.h"
#include "app/Controls.h"
#include "app/FormDefinition.h"

namespace sudoku {

class Game;

using Callback = std::function<void()>;
// A key code (Windows virtual-key code) and the modifier mask: Shift 1, Ctrl 2, Alt 4.
using KeyCallback = std::function<void(std::int16_t keyCode, std::int16_t shift)>;

// Asked for each control in the order of the form: the window, the timer, the labels
// (picker 10..1, status line, cells 81..1), then each menu followed by its items, and last
// what a screen reader is told of the board.
class ControlFactory {
public:
    virtual ~ControlFactory() = default;
    // onKey: every key press that the menus do not take. onClose: the window is closed, by any means.
    virtual Window& MakeWindow(const form::WindowDesign& design, KeyCallback onKey, Callback onClose) = 0;
    // Disabled at creation; onTick runs every interval while it is enabled.
    virtual Timer& MakeTimer(int intervalMs, Callback onTick) = 0;
    // A double click reports onClick, then onDoubleClick. Without onClick, clicks go through.
    virtual Label& MakeLabel(const form::LabelDesign& design, Callback onClick, Callback onDoubleClick) = 0;
    // A menu of the menu bar; the items added after it belong to it.
    virtual void AddMenu(const form::MenuDesign& design) = 0;
    virtual void AddSeparator(const form::MenuItemDesign& design) = 0;
    // onChoose runs when the item is chosen or its shortcut pressed. Choosing never sets the
    // mark of a checkable item: the game does.
    virtual MenuItem& AddMenuItem(const form::MenuItemDesign& design, Callback onChoose) = 0;
    // The board for screen readers; it lives as long as the game. The front end tells the
    // platform of its changes after each event it delivered (click, key, command, tick).
    virtual void SetBoardAccess(BoardAccess& access) = 0;
};

namespace form {

// The window's load event, run before any control exists: false when the process must end at once.
bool Load(Game& game);

// Makes the window and all its controls through the factory, puts each where the game
// finds it, and connects every event to its handler.
void Build(Game& game, ControlFactory& factory);

}  // namespace form
}  // namespace sudoku
