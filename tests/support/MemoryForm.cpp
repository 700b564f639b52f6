#include "MemoryForm.h"

namespace sudoku::memory {

MemoryForm::MemoryForm() : game(ui, Services{&pump, &random, &process}), cells(82), pickers(11) {
    form::Build(game, *this);
    for (int n = 1; n <= 81; ++n) cells[n] = static_cast<MemoryLabel*>(ui.lblSudoku[n]);
    for (int k = 1; k <= 10; ++k) pickers[k] = static_cast<MemoryLabel*>(ui.lblSetNum[k]);
    info = static_cast<MemoryLabel*>(ui.lblInfo);
}

}  // namespace sudoku::memory
