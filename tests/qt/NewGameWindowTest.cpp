#include "QtFixture.h"
#include "app/Palette.h"

using namespace sudoku;
using namespace sudoku::test;

namespace {

// Fills the empty cells of g so that it is valid; false if it cannot be done.
bool Solve(Grid9& g, int from = 0) {
    while (from < 81 && g.cells[from] != 0) ++from;
    if (from == 81) return true;
    const int r = from / 9 + 1, c = from % 9 + 1;
    for (std::int16_t d = 1; d <= 9; ++d) {
        bool ok = true;
        for (int i = 1; i <= 9 && ok; ++i) {
            const int br = (r - 1) / 3 * 3 + 1 + (i - 1) / 3, bc = (c - 1) / 3 * 3 + 1 + (i - 1) % 3;
            ok = g(r, i) != d && g(i, c) != d && g(br, bc) != d;
        }
        if (!ok) continue;
        g.cells[from] = d;
        if (Solve(g, from + 1)) return true;
    }
    g.cells[from] = 0;
    return false;
}

}  // namespace

using NewGameWindow = RealWindow;

TEST_F(NewGameWindow, PlayTheGeneratedPuzzleToTheEndThenStartAgain) {
    Click(Picker(4));  // a chosen entry is dropped by the new game
    Choose("mnuNewGame");
    EXPECT_EQ(st().SelDigit, 0);
    EXPECT_EQ(Back(Picker(4)), palette::kPicker);
    EXPECT_EQ(Info()->text(), QString());
    int clues = 0;
    for (int n = 1; n <= 81; ++n) {
        if (st().Givens.cells[n - 1] == 0) continue;
        ++clues;
        EXPECT_EQ(Back(Cell(n)), palette::kCellClue);
        EXPECT_EQ(Cell(n)->text(), QString::number(st().Givens.cells[n - 1]));
    }
    EXPECT_GE(clues, 54);
    EXPECT_LE(clues, 63);

    Grid9 solution = st().Grid;
    ASSERT_TRUE(Solve(solution));
    for (int n = 1; n <= 81; ++n) {
        if (st().Givens.cells[n - 1] != 0) continue;
        Click(Cell(n));
        Click(Picker(solution.cells[n - 1]));
    }
    EXPECT_EQ(Info()->text(), QString::fromUtf8("Судоку пройден"));
    EXPECT_EQ(st().Solved, 1);

    Choose("mnuGame12");
    EXPECT_EQ(st().Solved, 0);
    EXPECT_EQ(Info()->text(), QString());
    EXPECT_TRUE(window->Action("mnuGame12")->isChecked());
    EXPECT_FALSE(window->Action("mnuGame23")->isChecked());
    int empty = 1;
    while (st().Givens.cells[empty - 1] != 0) ++empty;
    Click(Cell(empty));
    EXPECT_EQ(Back(Cell(empty)), palette::kCellSelected);
}
