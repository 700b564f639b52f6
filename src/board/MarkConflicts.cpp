#include <array>

#include "app/Game.h"
#include "app/Palette.h"

namespace sudoku {

namespace {

// The 27 units in the order they are examined: boxes, rows, columns.
// Each unit lists its nine cells as (row, column) in visiting order.
struct Unit {
    std::array<std::array<int, 2>, 9> cells;
};

constexpr std::array<Unit, 27> MakeUnits() {
    std::array<Unit, 27> units{};
    int u = 0;
    for (int br = 1; br <= 7; br += 3)
        for (int bc = 1; bc <= 7; bc += 3, ++u)
            for (int i = 0; i < 9; ++i) units[u].cells[i] = {br + i / 3, bc + i % 3};
    for (int r = 1; r <= 9; ++r, ++u)
        for (int c = 1; c <= 9; ++c) units[u].cells[c - 1] = {r, c};
    for (int c = 1; c <= 9; ++c, ++u)
        for (int r = 1; r <= 9; ++r) units[u].cells[r - 1] = {r, c};
    return units;
}

constexpr auto kUnits = MakeUnits();

}  // namespace

void Game::MarkConflicts() {
    for (const Unit& unit : kUnits) {
        std::array<int, 10> seen{};
        for (auto [r, c] : unit.cells) {
            const int d = st.Grid(r, c);
            if (d >= 1 && d <= 9) seen[d] = seen[d] == 0 ? 1 : 2;
        }
        for (int d = 1; d <= 9; ++d) {
            if (seen[d] != 2) continue;
            for (auto [r, c] : unit.cells)
                if (st.Grid(r, c) == d && st.Givens(r, c) == 0)
                    ui_.lblSudoku[CellNumber(r, c)]->SetBackColor(palette::kCellConflict);
        }
    }
}

}  // namespace sudoku
