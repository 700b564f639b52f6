#pragma once
// What a screen reader is told of the board and how it plays it, without any toolkit: the
// game hands a BoardAccess to the front end, which bridges it to the platform's
// accessibility (AT-SPI through Qt, MSAA on Windows).
#include <string>
#include <vector>

#include "app/Controls.h"

namespace sudoku {

enum class AccessRole { Cell, Button, Status };

// Stable ids of the things read: cell n is n (1..81), picker entry k is 81 + k (82..91,
// 91 the eraser), the status line 92.
constexpr int kAccessPickerBase = 81;
constexpr int kAccessStatusId = 92;

// One cell, picker entry or the status line, as a screen reader reads it.
struct AccessItem {
    int id = 0;
    AccessRole role = AccessRole::Cell;
    std::string name;               // UTF-8, in Russian: what the reader says
    bool selected = false;          // the selected cell
    bool pressed = false;           // the chosen picker entry
    bool readOnly = false;          // a clue
    bool focused = false;           // where the reader's focus is: see BoardAccess::Items
    const Label* label = nullptr;   // where it is shown (game pixels)
    bool operator==(const AccessItem&) const = default;
};

class BoardAccess {
public:
    virtual ~BoardAccess() = default;
    // In reading order: the board row by row, (1,1) to (9,9), then the shown picker entries
    // 1 to 9 and the eraser, then the status line. One item has the focus: the selected
    // cell, or else the item last activated, while it is shown.
    virtual std::vector<AccessItem> Items() const = 0;
    // The reader's default action on a cell or picker entry: a click on it, through the
    // same handlers and guards as the mouse. Nothing for the status line or a hidden entry.
    virtual void Activate(int id) = 0;
};

// What changed between two snapshots of Items(), for the platform's events.
struct AccessChanges {
    std::vector<int> renamed;   // ids whose name changed
    std::vector<int> restated;  // ids whose selected, pressed, read-only or focused state changed
    std::vector<int> shown;     // ids on the list now and not before
    std::vector<int> hidden;    // ids on the list before and not now
    int focus = 0;              // the id that took the focus, 0 when the focus stayed
    bool Any() const { return !renamed.empty() || !restated.empty() || !shown.empty() || !hidden.empty() || focus; }
};

AccessChanges Compare(const std::vector<AccessItem>& before, const std::vector<AccessItem>& after);

}  // namespace sudoku
