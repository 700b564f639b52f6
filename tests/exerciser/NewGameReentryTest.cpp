// Regressions found by the exerciser: events handled while a new game processes
// events before its build must not carry over into the new puzzle.
#include <gtest/gtest.h>

#include "Minimise.h"
#include "ScriptedGrid.h"
#include "MemoryForm.h"

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

// The empty board filled by hand before the build is solved; the flag then
// outlived the build and froze the new puzzle.
TEST(NewGameReentry, BoardSolvedBeforeTheBuildLeavesTheNewPuzzlePlayable) {
    memory::MemoryForm f;
    ASSERT_TRUE(f.game.Form_Load());
    Game& g = f.game;
    const Grid9 full = GridFromSeed(7);
    bool filled = false;
    f.pump.onProcess = [&] {
        if (filled) return;
        filled = true;
        for (int n = 1; n <= 81; ++n) {
            g.lblSudoku_Click(static_cast<std::int16_t>(n));
            g.lblSetNum_Click(full.cells[n - 1]);
        }
        EXPECT_EQ(g.st.Solved, 1);
    };
    f.Choose("mnuNewGame");
    EXPECT_EQ(g.st.Solved, 0);
    EXPECT_EQ(f.info->caption, "");
    int empty = 1;
    while (g.st.Givens.cells[empty - 1] != 0) ++empty;
    g.lblSudoku_Click(static_cast<std::int16_t>(empty));
    EXPECT_EQ(g.st.SelCell, empty);
    // The exerciser's shortest form of it.
    const char* script =
        "@48718.00 m:mnuGame34#1 c46 p8 p2 c21 p5 c26 c1 k102 c4 p2 c68 k99 p3 c39 p7 c75 p8 c17 p5 c70 p1 c19 p7 c8 "
        "p4 c25 p8 c5 c72 p2 p7 c11 p6 c77 c51 p7 c52 p3 c47 k98 p4 c69 c81 k57 c30 p1 c27 k54 p8 c20 c73 p4 c48 k54 "
        "c59 k97 c65 p1 c23 p7 c22 k105 c62 p3 p9 c12 p5 c14 c2 k53 c78 p2 c40 p6 c76 k101 p8 c36 c28 k55 c18 p1 c50 "
        "p9 p1 c49 p2 c16 c43 k49 p3 c10 c31 k51 p9 c44 c53 p4 p3 c74 c24 p3 c58 p8 p9 c7 c80 p1 c71 p6 p4 c13 p9 c29 "
        "p5 c37 p4 c38 c60 k57 p7 c61 c45 k103 c9 p3 c34 k102 c41 p2 p6 c56 c67 p7 c3 p4 p2 c35 p8 c79 p8 c66 c42 p8 "
        "c63 p4 p2 c55 c32 k100 c33 k101 c15 p6 c6 k49 c57 k53 p5 c54 c64 p9";
    EXPECT_FALSE(ReplayScript(ParseScript(script)));
}
