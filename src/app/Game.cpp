#include "app/Game.h"

namespace sudoku {

bool Game::Form_Load() {
    if (sv_.process->AnotherInstanceRunning()) return false;
    sv_.random->Seed(sv_.process->SecondsSinceMidnight());
    st.HoleMin = 2;
    st.HoleMax = 3;
    st.FontSizePt = 18;
    return true;
}

void Game::Form_Unload() { sv_.process->EndNow(); }

}  // namespace sudoku
