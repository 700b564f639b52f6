#include "app/Game.h"

namespace sudoku {

namespace {

// True when no digit repeats among the nine cells that cell(i) returns.
template <typename CellAt>
bool UnitValid(CellAt cell) {
    bool seen[10] = {};
    for (int i = 0; i < 9; ++i) {
        const int d = cell(i);
        if (d < 1 || d > 9 || seen[d]) return false;
        seen[d] = true;
    }
    return true;
}

}  // namespace

void Game::CheckSolved() {
    const Grid9& g = st.Grid;
    for (auto v : g.cells)
        if (v == 0) return;
    for (int br = 1; br <= 7; br += 3)
        for (int bc = 1; bc <= 7; bc += 3)
            if (!UnitValid([&](int i) { return g(br + i / 3, bc + i % 3); })) return;
    for (int r = 1; r <= 9; ++r)
        if (!UnitValid([&](int i) { return g(r, i + 1); })) return;
    for (int c = 1; c <= 9; ++c)
        if (!UnitValid([&](int i) { return g(i + 1, c); })) return;
    st.Solved = 1;
    ui_.lblInfo->SetCaption("Судоку пройден");
}

}  // namespace sudoku
