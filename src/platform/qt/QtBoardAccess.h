#pragma once
#include <QRect>
#include <memory>
#include <string>
#include <vector>

#include "app/BoardAccess.h"

class QAccessibleInterface;

namespace sudoku::qt {

class QtBoard;

// The board on Qt's accessibility (AT-SPI on Linux): the widget that shows the labels gets
// an accessible interface whose children are the table of the 81 cells, the shown picker
// entries and the status line, each with its name, state, rectangle and click action; the
// board's announcements are shown as a notification.
class QtBoardAccess {
public:
    QtBoardAccess();
    ~QtBoardAccess();
    QtBoardAccess(const QtBoardAccess&) = delete;
    QtBoardAccess& operator=(const QtBoardAccess&) = delete;

    // board: the widget the labels are shown on; it is named "board".
    void Attach(QtBoard* board, BoardAccess& access);
    // After each event the window delivered to the game: the platform hears what changed.
    void Update();

    // For the accessible interfaces.
    std::vector<AccessItem> Items() const { return access_ ? access_->Items() : std::vector<AccessItem>{}; }
    void Activate(int id);
    QAccessibleInterface* Child(int id) const;  // an item, or the table (kAccessBoardId)
    QAccessibleInterface* At(int x, int y) const;  // at a screen point
    QAccessibleInterface* BoardInterface() const;
    QtBoard* Board() const { return board_; }
    // A label's own pixels on the screen.
    QRect ScreenRect(const Label& label) const;

private:
    void Announce(const std::string& message);

    QtBoard* board_ = nullptr;
    BoardAccess* access_ = nullptr;
    std::vector<AccessItem> shown_;  // as the platform was last told
    mutable std::vector<QAccessibleInterface*> children_;  // by id, made when first asked for
    QAccessibleInterface* notification_ = nullptr;
};

// Before the QApplication: lets a screen reader started after the game find it. Qt 6.4
// reads the accessibility bus's IsEnabled and ScreenReaderEnabled once, when it meets the
// bus, and never hears them change (a reader sets IsEnabled when it starts); so wherever
// that bus runs, the game joins it at once. That costs the start-up nothing measurable:
// the bus address is asked without waiting, and the two property reads it saves are waits.
// Without the bus nothing changes. A value the user set is kept.
void JoinAccessibilityBusAlways();

}  // namespace sudoku::qt
