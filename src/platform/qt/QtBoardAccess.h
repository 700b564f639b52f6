#pragma once
#include <QRect>
#include <memory>
#include <vector>

#include "app/BoardAccess.h"

class QAccessibleInterface;
class QWidget;

namespace sudoku::qt {

// The board on Qt's accessibility (AT-SPI on Linux): the widget that shows the labels gets
// an accessible interface whose children are the board's items (cells, shown picker
// entries, status line), each with its name, state, rectangle and press action.
class QtBoardAccess {
public:
    QtBoardAccess();
    ~QtBoardAccess();
    QtBoardAccess(const QtBoardAccess&) = delete;
    QtBoardAccess& operator=(const QtBoardAccess&) = delete;

    // board: the widget the labels are shown on; it is named "board".
    void Attach(QWidget* board, BoardAccess& access);
    // After each event the window delivered to the game: the platform hears what changed.
    void Update();

    // For the accessible interfaces.
    std::vector<AccessItem> Items() const { return access_ ? access_->Items() : std::vector<AccessItem>{}; }
    void Activate(int id);
    QAccessibleInterface* Child(int id) const;
    QAccessibleInterface* BoardInterface() const;
    QWidget* Board() const { return board_; }
    // A label's game pixels on the screen.
    QRect ScreenRect(const Label& label) const;

private:
    QWidget* board_ = nullptr;
    BoardAccess* access_ = nullptr;
    std::vector<AccessItem> shown_;  // as the platform was last told
    mutable std::vector<QAccessibleInterface*> children_;  // by id, made when first asked for
};

}  // namespace sudoku::qt
