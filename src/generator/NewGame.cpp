#include "app/Game.h"

namespace sudoku {

void Game::NewGame() {
    if (st.Busy == 1 || NewGameInProgress == 1) return;
    NewGameInProgress = 1;
    st.Solved = 0;
    ClearGrids();
    DrawBoard();
    sv_.pump->ProcessEvents();
    // A cell chosen meanwhile would be a clue of the grid about to be built: drop it.
    st.SelCell = 0;
    // The empty board may have been filled meanwhile; that does not solve the new puzzle.
    st.Solved = 0;
    BuildSolutionGrid();
    sv_.pump->ProcessEvents();
    RemoveClues();
    DrawBoard();
    NewGameInProgress = 0;
}

void Game::ClearGrids() {
    st.Givens.Clear();
    st.Grid.Clear();
    if (st.SelDigit != 0) lblSetNum_Click(st.SelDigit);
}

void Game::UncheckDifficultyMenus() {
    for (MenuItem* item : {ui_.mnuGame67, ui_.mnuGame56, ui_.mnuGame45, ui_.mnuGame34, ui_.mnuGame23, ui_.mnuGame12})
        if (item->Checked()) item->SetChecked(false);
}

void Game::mnuNewGame_Click() {
    if (st.Busy == 1 || NewGameInProgress == 1) return;
    NewGame();
}

void Game::ChooseDifficulty(std::int16_t holeMin, std::int16_t holeMax, MenuItem* item) {
    if (st.Busy == 1 || NewGameInProgress == 1) return;
    st.HoleMin = holeMin;
    st.HoleMax = holeMax;
    UncheckDifficultyMenus();
    item->SetChecked(true);
    NewGame();
}

void Game::mnuGame67_Click() { ChooseDifficulty(6, 7, ui_.mnuGame67); }
void Game::mnuGame56_Click() { ChooseDifficulty(5, 6, ui_.mnuGame56); }
void Game::mnuGame45_Click() { ChooseDifficulty(4, 5, ui_.mnuGame45); }
void Game::mnuGame34_Click() { ChooseDifficulty(3, 4, ui_.mnuGame34); }
void Game::mnuGame23_Click() { ChooseDifficulty(2, 3, ui_.mnuGame23); }
void Game::mnuGame12_Click() { ChooseDifficulty(1, 2, ui_.mnuGame12); }

}  // namespace sudoku
