#include "app/Game.h"

namespace sudoku {

// Blanks between HoleMin and HoleMax random cells of every box, in both grids.
void Game::RemoveClues() {
    const float width = static_cast<float>(st.HoleMax - st.HoleMin + 1);
    for (int br = 1; br <= 7; br += 3) {
        for (int bc = 1; bc <= 7; bc += 3) {
            const int n = st.HoleMin + static_cast<int>(width * sv_.random->Next());
            bool blanked[3][3] = {};
            for (int removed = 0; removed < n && removed < 9; ++removed) {
                int a, b;
                do {
                    a = BoxOffset();
                    b = BoxOffset();
                } while (blanked[b][a]);
                blanked[b][a] = true;
                st.Givens(br + b, bc + a) = 0;
                st.Grid(br + b, bc + a) = 0;
            }
        }
    }
}

}  // namespace sudoku
