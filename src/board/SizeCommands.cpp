#include "app/Game.h"
#include "app/Layout.h"

namespace sudoku {

void Game::mnuSizeU_Click() {
    const int i = layout::LadderIndex(st.FontSizePt);
    if (i >= 0 && i + 1 < static_cast<int>(layout::kLadder.size())) st.FontSizePt = layout::kLadder[i + 1];
    DrawBoard();
}

void Game::mnuSizeD_Click() {
    const int i = layout::LadderIndex(st.FontSizePt);
    if (i > 0) st.FontSizePt = layout::kLadder[i - 1];
    DrawBoard();
}

}  // namespace sudoku
