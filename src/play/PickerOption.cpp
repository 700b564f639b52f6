#include "app/Game.h"

namespace sudoku {

// Each item looks only at its own check mark and swaps the two marks,
// so every click on either item flips the option.
void Game::SwapPickerMarks(MenuItem* own, MenuItem* other) {
    if (own->Checked()) {
        own->SetChecked(false);
        other->SetChecked(true);
    } else {
        other->SetChecked(false);
        own->SetChecked(true);
    }
    if (st.SelDigit != 0) lblSetNum_Click(st.SelDigit);
    DrawBoard();
}

void Game::mnuRightDigOk_Click() { SwapPickerMarks(ui_.mnuRightDigOk, ui_.mnuRightDigNo); }
void Game::mnuRightDigNo_Click() { SwapPickerMarks(ui_.mnuRightDigNo, ui_.mnuRightDigOk); }

}  // namespace sudoku
