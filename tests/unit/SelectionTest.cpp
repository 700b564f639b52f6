#include "Fixture.h"

using namespace sudoku;
using namespace sudoku::test;

namespace {

struct Selection : ::testing::Test {
    Board b;
    void SetUp() override {
        Grid9 clues;
        clues(1, 1) = 9;  // cell 1 is a clue
        b.SetPuzzle(clues);
    }
    void ExpectPickerPlain() {
        for (int k = 1; k <= 10; ++k) EXPECT_EQ(b.Picker(k).back, palette::kPicker) << k;
    }
};

}  // namespace

TEST_F(Selection, CellThenPickerWritesAndDropsBoth) {
    b.game.lblSudoku_Click(5);
    EXPECT_EQ(b.st().SelCell, 5);
    EXPECT_EQ(b.Cell(5).back, palette::kCellSelected);
    b.game.lblSudoku_Click(7);  // another cell moves the selection
    EXPECT_EQ(b.Cell(5).back, palette::kCellPlain);
    EXPECT_EQ(b.Cell(7).back, palette::kCellSelected);
    b.game.lblSetNum_Click(4);
    EXPECT_EQ(b.st().Grid(1, 7), 4);
    EXPECT_EQ(b.Cell(7).caption, "4");
    EXPECT_EQ(b.Cell(7).back, palette::kCellPlain);
    EXPECT_EQ(b.st().SelCell, 0);
    EXPECT_EQ(b.st().SelDigit, 0);
    ExpectPickerPlain();
}

TEST_F(Selection, PickerThenCellWritesAndDropsBoth) {
    b.game.lblSetNum_Click(3);
    EXPECT_EQ(b.Picker(3).back, palette::kPickerChosen);
    b.game.lblSetNum_Click(5);  // another entry replaces it
    EXPECT_EQ(b.Picker(3).back, palette::kPicker);
    EXPECT_EQ(b.Picker(5).back, palette::kPickerChosen);
    b.game.lblSudoku_Click(1);  // a clue: only redraws, the entry stays chosen
    EXPECT_EQ(b.st().SelDigit, 5);
    EXPECT_EQ(b.st().Grid(1, 1), 9);
    b.game.lblSudoku_Click(20);
    EXPECT_EQ(b.st().Grid(3, 2), 5);
    EXPECT_EQ(b.st().SelDigit, 0);
    EXPECT_EQ(b.st().SelCell, 0);
    ExpectPickerPlain();
}

TEST_F(Selection, SecondClicksDropTheChoice) {
    b.game.lblSetNum_Click(3);
    b.game.lblSetNum_Click(3);
    EXPECT_EQ(b.st().SelDigit, 0);
    ExpectPickerPlain();
    b.game.lblSudoku_Click(9);
    b.game.lblSudoku_Click(9);
    EXPECT_EQ(b.st().SelCell, 0);
    EXPECT_EQ(b.Cell(9).back, palette::kCellPlain);
    b.game.lblSudoku_Click(9);
    b.game.lblSudoku_Click(1);  // a clue drops the selection
    EXPECT_EQ(b.st().SelCell, 0);
}

TEST_F(Selection, SelectionCoversAConflictAndTheRedrawBringsItBack) {
    b.st().Grid(1, 5) = 9;  // clashes with the clue 9 in row 1
    b.game.DrawBoard();
    ASSERT_EQ(b.Cell(5).back, palette::kCellConflict);
    b.game.lblSudoku_Click(5);
    EXPECT_EQ(b.Cell(5).back, palette::kCellSelected);
    b.game.lblSudoku_Click(5);
    EXPECT_EQ(b.Cell(5).back, palette::kCellConflict);
}

TEST_F(Selection, EraserEmptiesACell) {
    b.st().Grid(2, 2) = 7;
    b.game.DrawBoard();
    b.game.lblSetNum_Click(10);
    b.game.lblSudoku_Click(CellNumber(2, 2));
    EXPECT_EQ(b.st().Grid(2, 2), 0);
    EXPECT_EQ(b.Cell(CellNumber(2, 2)).caption, "");
    b.game.lblSudoku_Click(CellNumber(2, 3));
    b.game.lblSetNum_Click(10);
    EXPECT_EQ(b.st().Grid(2, 3), 0);
    EXPECT_EQ(b.st().SelCell, 0);
}

TEST_F(Selection, DoubleClicksActAsTwoClicks) {
    // On a picker label while a cell is selected: writes, then leaves that entry chosen.
    b.game.lblSudoku_Click(30);
    b.game.lblSetNum_Click(6);
    b.game.lblSetNum_DblClick(6);
    EXPECT_EQ(b.st().Grid(4, 3), 6);
    EXPECT_EQ(b.st().SelDigit, 6);
    // On a cell while an entry is chosen: writes, then leaves that cell selected.
    b.game.lblSudoku_Click(31);
    b.game.lblSudoku_DblClick(31);
    EXPECT_EQ(b.st().Grid(4, 4), 6);
    EXPECT_EQ(b.st().SelCell, 31);
    EXPECT_EQ(b.st().SelDigit, 0);
    // On an empty cell with nothing chosen: nothing selected at the end.
    b.game.lblSudoku_Click(31);
    b.game.lblSudoku_Click(40);
    b.game.lblSudoku_DblClick(40);
    EXPECT_EQ(b.st().SelCell, 0);
}

TEST_F(Selection, EraseAllKeepsCluesAndTheChosenEntry) {
    b.st().Grid(5, 5) = 1;
    b.st().Grid(6, 6) = 2;
    b.game.lblSetNum_Click(8);
    b.game.mnuGameClear_Click();
    EXPECT_EQ(b.st().Grid(5, 5), 0);
    EXPECT_EQ(b.st().Grid(6, 6), 0);
    EXPECT_EQ(b.st().Grid(1, 1), 9);
    EXPECT_EQ(b.st().SelDigit, 8);
    EXPECT_EQ(b.Picker(8).back, palette::kPickerChosen);
}

TEST(Completion, LastEntryFreezesTheBoard) {
    Board b;
    Grid9 g = ValidGrid();
    g(9, 9) = 0;
    b.st().Grid = g;  // the empty start board filled by hand but for one cell
    b.game.DrawBoard();
    b.game.lblSudoku_Click(81);
    b.game.lblSetNum_Click(ValidGrid()(9, 9));
    EXPECT_EQ(b.st().Solved, 1);
    EXPECT_EQ(b.info->caption, "Судоку пройден");

    b.log.Reset();
    const GameState before = b.st();
    b.game.lblSudoku_Click(80);
    b.game.lblSetNum_Click(1);
    b.game.mnuGameClear_Click();
    b.game.EnterDigit(0);
    EXPECT_EQ(b.log.counts.size(), 0u);
    EXPECT_EQ(b.st().Grid, before.Grid);
    EXPECT_EQ(b.st().SelDigit, 0);
    // Size changes still redraw and leave the message alone.
    b.game.mnuSizeU_Click();
    EXPECT_EQ(b.st().FontSizePt, 20);
    EXPECT_EQ(b.info->caption, "Судоку пройден");
}

TEST(Completion, WrongLastEntryLeavesThePuzzleOpen) {
    Board b;
    Grid9 g = ValidGrid();
    const int right = g(9, 9);
    g(9, 9) = 0;
    b.st().Grid = g;
    b.game.lblSudoku_Click(81);
    b.game.lblSetNum_Click(static_cast<std::int16_t>(right % 9 + 1));
    EXPECT_EQ(b.st().Solved, 0);
    EXPECT_EQ(b.Cell(81).back, palette::kCellConflict);
    b.game.lblSetNum_Click(static_cast<std::int16_t>(right));
    b.game.lblSudoku_Click(81);
    EXPECT_EQ(b.st().Solved, 1);
}
