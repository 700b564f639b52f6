// Regressions found by the exerciser: events handled while a new game processes
// events before its build must not carry over into the new puzzle.
#include <gtest/gtest.h>

#include "Minimise.h"
#include "ScriptedGrid.h"
#include "platform/memory/MemoryControls.h"

using namespace sudoku;
using namespace sudoku::exercise;

// A cell clicked before the build would become a clue once the grid is built;
// a digit key right after the build then wrote over that clue.
TEST(NewGameReentry, CellChosenBeforeTheBuildCannotOverwriteAClue) {
    memory::MemoryForm f;
    ASSERT_TRUE(f.game.Form_Load());
    Game& g = f.game;
    int step = 0;
    f.pump.onProcess = [&] {
        ++step;
        if (step == 1) {
            g.lblSudoku_Click(67);
            ASSERT_EQ(g.st.SelCell, 67);
        } else if (g.st.Busy == 0) {  // after the build: every cell is a clue
            EXPECT_EQ(g.st.SelCell, 0);
            const int clue = g.st.Givens.cells[66];
            g.Form_KeyDown(static_cast<std::int16_t>(48 + clue % 9 + 1), 0);  // a different digit
            EXPECT_TRUE(g.st.Grid == g.st.Givens);
        }
    };
    f.Choose("mnuNewGame");
    EXPECT_EQ(g.st.SelCell, 0);
    for (int i = 0; i < 81; ++i) {
        if (g.st.Givens.cells[i] == 0) continue;
        EXPECT_EQ(g.st.Grid.cells[i], g.st.Givens.cells[i]) << "cell " << i + 1;
    }
    // The exerciser's shortest form of it.
    EXPECT_FALSE(ReplayScript(ParseScript("@35810.25 m:mnuGame34#1139283752 c67")));
}
