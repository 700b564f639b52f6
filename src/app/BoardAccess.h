#pragma once
// What a screen reader is told of the board and how it plays it, without any toolkit: the
// game hands a BoardAccess to the front end, which bridges it to the platform's
// accessibility (AT-SPI through Qt, MSAA on Windows, the DOM in a web page).
#include <string>
#include <vector>

#include "app/Controls.h"

namespace sudoku {

enum class AccessRole { Cell, Button, Status };

// Stable ids of the things read: cell n is n (1..81), picker entry k is 81 + k (82..91,
// 91 the eraser), the status line 92. The board as a whole, the table of the 81 cells, is
// kAccessBoardId.
constexpr int kAccessPickerBase = 81;
constexpr int kAccessStatusId = 92;
constexpr int kAccessBoardId = 93;
// The board's name, as the table of the cells.
inline constexpr char kAccessBoardName[] = "Игровое поле";
// The status line's name when it shows nothing: not a message to announce.
inline constexpr char kAccessNoMessage[] = "Сообщений нет";

// One cell, picker entry or the status line, as a screen reader reads it.
struct AccessItem {
    int id = 0;
    AccessRole role = AccessRole::Cell;
    std::string name;               // UTF-8, in Russian: what the reader says
    bool selected = false;          // the selected cell
    bool pressed = false;           // the chosen picker entry (a toggle button)
    bool readOnly = false;          // a clue
    bool focused = false;           // where the reader's focus is: see BoardAccess::Update
    const Label* label = nullptr;   // where it is shown (game pixels)
    int row = 0, column = 0;        // a cell's place in the 9x9 table, 1..9; 0 for the others
    std::string cellText;           // a cell's name without its place, for readers that say
                                    // a table cell's row and column themselves
    int digit = 0;                  // the digit a cell shows, 0 when empty
    bool operator==(const AccessItem&) const = default;
};

// What changed between two snapshots of Items(), for the platform's events.
struct AccessChanges {
    std::vector<int> renamed;   // ids whose name changed
    std::vector<int> restated;  // ids whose selected, pressed, read-only or focused state changed
    std::vector<int> shown;     // ids on the list now and not before
    std::vector<int> hidden;    // ids on the list before and not now
    // What the reader must speak as focused now, with the platform's focus event: the id that
    // took the focus, or that kept it under a new name (kAccessBoardId for the board); 0 when
    // the reader has nothing new to say of the focus.
    int focus = 0;
    // Messages to speak without being asked, in order: the status line's news.
    std::vector<std::string> announcements;
    bool Any() const {
        return !renamed.empty() || !restated.empty() || !shown.empty() || !hidden.empty() || focus ||
               !announcements.empty();
    }
};

class BoardAccess {
public:
    virtual ~BoardAccess() = default;
    // In reading order: the board row by row, (1,1) to (9,9), then the shown picker entries
    // 1 to 9 and the eraser, then the status line. At most one item has the focus: it follows
    // the player's last input, whatever it came from (mouse, key, menu, the reader): the
    // selected cell; else the cell just written; else the picker entry just chosen or
    // dropped; else what had it, while it is shown. A new puzzle or an erased board leaves it
    // on the board as a whole (no item focused).
    virtual std::vector<AccessItem> Items() const = 0;
    // The reader's default action on a cell or picker entry: a click on it, through the
    // same handlers and guards as the mouse. Nothing for the status line or a hidden entry.
    virtual void Activate(int id) = 0;
    // After every input, timer tick and step of a long task: what changed since the last
    // call, the focus the reader must speak and the messages to announce. Every front end
    // raises its platform's events from this alone.
    virtual AccessChanges Update() = 0;
};

AccessChanges Compare(const std::vector<AccessItem>& before, const std::vector<AccessItem>& after);

}  // namespace sudoku
