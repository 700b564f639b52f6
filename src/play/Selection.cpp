#include "app/Game.h"
#include "app/Palette.h"

namespace sudoku {

namespace {
// The eraser (picker entry 10) writes an empty cell.
std::int16_t ValueOf(std::int16_t pickerEntry) { return pickerEntry == 10 ? 0 : pickerEntry; }
}  // namespace

void Game::lblSudoku_Click(std::int16_t n) {
    if (st.Busy == 1 || st.Solved == 1) return;
    if (n < 1 || n > 81) return;
    const int r = RowOf(n), c = ColOf(n);
    if (st.Givens(r, c) != 0 || n == st.SelCell) {  // a clue, or a second click on the selected cell
        DrawBoard();
        return;
    }
    if (st.SelDigit == 0) {  // cell first: select it
        DrawBoard();
        st.SelCell = n;
        Label& cell = *ui_.lblSudoku[n];
        if (cell.BackColor() != palette::kCellSelected) cell.SetBackColor(palette::kCellSelected);
        return;
    }
    st.Grid(r, c) = ValueOf(st.SelDigit);  // picker entry first: write it
    lblSetNum_Click(st.SelDigit);
    CheckSolved();
    DrawBoard();
}

void Game::lblSudoku_DblClick(std::int16_t n) { lblSudoku_Click(n); }

void Game::lblSetNum_Click(std::int16_t k) {
    if (st.Busy == 1 || st.Solved == 1) return;
    if (k < 1 || k > 10) return;
    st.SelDigit = k == st.SelDigit ? 0 : k;  // a second click on the chosen entry drops it
    for (int i = 1; i <= 10; ++i)
        if (ui_.lblSetNum[i]->BackColor() != palette::kPicker) ui_.lblSetNum[i]->SetBackColor(palette::kPicker);
    if (st.SelDigit == 0) return;
    if (st.SelCell != 0) {  // cell first: write the entry into it
        st.Grid(RowOf(st.SelCell), ColOf(st.SelCell)) = ValueOf(st.SelDigit);
        st.SelDigit = 0;
        DrawBoard();
        CheckSolved();
        return;
    }
    ui_.lblSetNum[st.SelDigit]->SetBackColor(palette::kPickerChosen);
}

void Game::lblSetNum_DblClick(std::int16_t k) { lblSetNum_Click(k); }

void Game::EnterDigit(std::int16_t v) {
    if (st.SelCell == 0 || st.Busy == 1 || st.Solved == 1) return;
    st.Grid(RowOf(st.SelCell), ColOf(st.SelCell)) = v;
    DrawBoard();
    CheckSolved();
}

void Game::ClearSelection() {
    st.SelCell = 0;
    for (int n = 1; n <= 81; ++n) {
        if (st.Givens(RowOf(n), ColOf(n)) != 0) continue;
        Label& cell = *ui_.lblSudoku[n];
        if (cell.BackColor() != palette::kCellPlain) cell.SetBackColor(palette::kCellPlain);
    }
}

void Game::mnuGameClear_Click() {
    if (st.Busy == 1 || st.Solved == 1) return;
    for (int i = 0; i < 81; ++i)
        if (st.Givens.cells[i] == 0) st.Grid.cells[i] = 0;
    DrawBoard();
}

}  // namespace sudoku
