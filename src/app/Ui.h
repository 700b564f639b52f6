#pragma once
#include <array>

#include "app/Controls.h"

namespace sudoku {

// The controls of the main window, as the game code sees them.
// Arrays are indexed from 1, as the labels are numbered.
struct Ui {
    std::array<Label*, 82> lblSudoku{};  // 1..81, index = CellNumber
    std::array<Label*, 11> lblSetNum{};  // 1..9 digits, 10 the eraser
    Label* lblInfo = nullptr;
    Timer* tmrPostr = nullptr;
    Window* frmMain = nullptr;

    MenuItem* mnuGame67 = nullptr;
    MenuItem* mnuGame56 = nullptr;
    MenuItem* mnuGame45 = nullptr;
    MenuItem* mnuGame34 = nullptr;
    MenuItem* mnuGame23 = nullptr;
    MenuItem* mnuGame12 = nullptr;
    MenuItem* mnuRightDigOk = nullptr;
    MenuItem* mnuRightDigNo = nullptr;
    MenuItem* mnuEscEnd = nullptr;
    MenuItem* mnuEscMin = nullptr;
    MenuItem* mnuEscNo = nullptr;
};

struct Services {
    EventPump* pump = nullptr;
    RandomSource* random = nullptr;
    Process* process = nullptr;
};

}  // namespace sudoku
