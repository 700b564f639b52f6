#pragma once
#include <gtest/gtest.h>

#include "app/Palette.h"
#include "MemoryForm.h"

namespace sudoku::test {

// A valid complete grid: row r is the row before it shifted by 3 (by 1 at a box row).
inline Grid9 ValidGrid() {
    Grid9 g;
    for (int r = 1; r <= 9; ++r)
        for (int c = 1; c <= 9; ++c) g(r, c) = static_cast<std::int16_t>(((r - 1) * 3 + (r - 1) / 3 + (c - 1)) % 9 + 1);
    return g;
}

inline bool IsValidComplete(const Grid9& g) {
    auto unitOk = [&](auto at) {
        unsigned seen = 0;
        for (int i = 0; i < 9; ++i) {
            const int d = at(i);
            if (d < 1 || d > 9 || (seen & (1u << d))) return false;
            seen |= 1u << d;
        }
        return true;
    };
    for (int k = 1; k <= 9; ++k) {
        const int br = 1 + 3 * ((k - 1) / 3), bc = 1 + 3 * ((k - 1) % 3);
        if (!unitOk([&](int i) { return g(k, i + 1); })) return false;
        if (!unitOk([&](int i) { return g(i + 1, k); })) return false;
        if (!unitOk([&](int i) { return g(br + i / 3, bc + i % 3); })) return false;
    }
    return true;
}

// A freshly started window in memory.
struct Board : memory::MemoryForm {
    Board() { EXPECT_TRUE(game.Form_Load()); }
    GameState& st() { return game.st; }
    // Makes the given grid the puzzle: its non-zero cells become clues.
    void SetPuzzle(const Grid9& clues) {
        st().Givens = clues;
        st().Grid = clues;
        game.DrawBoard();
    }
};

}  // namespace sudoku::test
