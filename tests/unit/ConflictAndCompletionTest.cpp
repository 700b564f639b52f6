#include "Fixture.h"

using namespace sudoku;
using namespace sudoku::test;

namespace {
Rgb Back(Board& b, int r, int c) { return b.Cell(CellNumber(r, c)).back; }
}  // namespace

TEST(MarkConflicts, CluesCountButAreNeverPainted) {
    Board b;
    Grid9 clues;
    clues(1, 1) = 4;
    clues(5, 2) = 7;
    b.SetPuzzle(clues);
    b.st().Grid(1, 9) = 4;  // same row as the clue 4
    b.st().Grid(7, 2) = 7;  // same column as the clue 7 ...
    b.st().Grid(9, 2) = 7;  // ... three times
    b.st().Grid(2, 6) = 8;  // column 6 only: no row or box shared
    b.st().Grid(8, 6) = 8;
    b.game.DrawBoard();
    EXPECT_EQ(Back(b, 1, 1), palette::kCellClue);
    EXPECT_EQ(Back(b, 1, 9), palette::kCellConflict);
    EXPECT_EQ(Back(b, 5, 2), palette::kCellClue);
    EXPECT_EQ(Back(b, 7, 2), palette::kCellConflict);
    EXPECT_EQ(Back(b, 9, 2), palette::kCellConflict);
    EXPECT_EQ(Back(b, 2, 6), palette::kCellConflict);
    EXPECT_EQ(Back(b, 8, 6), palette::kCellConflict);
    EXPECT_EQ(Back(b, 2, 2), palette::kCellPlain);  // empty cells stay white
}

TEST(MarkConflicts, DuplicatesInABoxAndTheirRemoval) {
    Board b;
    b.st().Grid(1, 1) = 3;
    b.st().Grid(2, 3) = 3;  // same box only
    b.st().Grid(4, 4) = 3;  // no unit shared with either
    b.game.DrawBoard();
    EXPECT_EQ(Back(b, 1, 1), palette::kCellConflict);
    EXPECT_EQ(Back(b, 2, 3), palette::kCellConflict);
    EXPECT_EQ(Back(b, 4, 4), palette::kCellPlain);
    b.st().Grid(2, 3) = 0;
    b.game.DrawBoard();
    EXPECT_EQ(Back(b, 1, 1), palette::kCellPlain);
}

TEST(MarkConflicts, FullValidGridPaintsNothing) {
    Board b;
    b.st().Grid = ValidGrid();
    b.log.Reset();
    b.game.DrawBoard();
    for (int n = 1; n <= 81; ++n) EXPECT_EQ(b.Cell(n).back, palette::kCellPlain);
    EXPECT_EQ(b.log.Count(memory::Prop::BackColor), 0);
}

TEST(CheckSolved, AcceptsAnyFullValidGrid) {
    for (int variant = 0; variant < 3; ++variant) {
        Board b;
        Grid9 g = ValidGrid();
        // Relabel the digits: still valid, and not the grid any puzzle came from.
        for (auto& v : g.cells) v = static_cast<std::int16_t>((v - 1 + variant * 4) % 9 + 1);
        b.st().Grid = g;
        b.game.CheckSolved();
        EXPECT_EQ(b.st().Solved, 1);
        EXPECT_EQ(b.info->caption, "Судоку пройден");
    }
}

TEST(CheckSolved, RefusesNearMisses) {
    struct Case {
        const char* what;
        void (*spoil)(Grid9&);
    };
    const Case cases[] = {
        {"one empty cell", [](Grid9& g) { g(5, 5) = 0; }},
        // Swapping two cells of one row keeps rows valid and breaks the columns (and maybe boxes).
        {"column repeat", [](Grid9& g) { std::swap(g(1, 1), g(1, 4)); }},
        // Swapping two whole columns of different stacks keeps rows and columns valid, breaks boxes.
        {"box repeat",
         [](Grid9& g) {
             for (int r = 1; r <= 9; ++r) std::swap(g(r, 3), g(r, 4));
         }},
        {"row repeat", [](Grid9& g) { std::swap(g(1, 1), g(4, 1)); }},
        {"digit out of range", [](Grid9& g) { g(9, 9) = 10; }},
    };
    for (const Case& c : cases) {
        Board b;
        Grid9 g = ValidGrid();
        c.spoil(g);
        b.st().Grid = g;
        b.game.CheckSolved();
        EXPECT_EQ(b.st().Solved, 0) << c.what;
        EXPECT_EQ(b.info->caption, "") << c.what;
    }
}
