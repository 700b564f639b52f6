#pragma once
#include <array>
#include <cstdint>

namespace sudoku {

// A 9x9 grid addressed by (row, column), both 1..9; 0 = empty.
struct Grid9 {
    std::array<std::int16_t, 81> cells{};

    std::int16_t& operator()(int r, int c) { return cells[(r - 1) * 9 + (c - 1)]; }
    std::int16_t operator()(int r, int c) const { return cells[(r - 1) * 9 + (c - 1)]; }
    void Clear() { cells.fill(0); }
    bool operator==(const Grid9&) const = default;
};

// Everything the game remembers between two events.
struct GameState {
    std::int16_t Busy = 0;       // 1 while a solution grid is being built
    std::int16_t Solved = 0;     // 1 once the puzzle is complete and valid
    std::int16_t SelCell = 0;    // selected cell 1..81, 0 = none
    std::int16_t SelDigit = 0;   // chosen picker entry 1..10, 0 = none
    std::int16_t EscAction = 0;  // 0 nothing, 1 minimise, 2 close
    std::int16_t HoleMin = 0;
    std::int16_t HoleMax = 0;
    Grid9 Givens;                // clues; 0 = not a clue
    Grid9 Grid;                  // clues plus the player's entries
    std::int16_t FontSizePt = 0;
};

inline int RowOf(int cellNumber) { return (cellNumber - 1) / 9 + 1; }
inline int ColOf(int cellNumber) { return (cellNumber - 1) % 9 + 1; }
inline int CellNumber(int r, int c) { return (r - 1) * 9 + c; }

}  // namespace sudoku
