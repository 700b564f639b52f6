#pragma once
#include <cstdint>
#include <memory>

#include "app/BoardAccess.h"
#include "app/GameState.h"
#include "app/Ui.h"

namespace sudoku {

// The main window's behaviour: every event handler and shared procedure.
// Handlers are defined next to the subsystem they belong to
// (generator/, board/, play/); start-up and shut-down live in app/.
class Game {
public:
    Game(Ui& ui, Services services) : ui_(ui), sv_(services) {}

    GameState st;
    // 1 from the first step of a new game to its last: the new-game and
    // difficulty commands are refused for all of that time, not only during the build.
    std::int16_t NewGameInProgress = 0;

    // Start-up and shut-down. Form_Load returns false when the process must end at once.
    bool Form_Load();
    void Form_Unload();

    // Puzzle generation.
    void BuildSolutionGrid();
    // A random offset 0..2 inside a box, from one random value.
    static int BoxOffsetOf(float r) { return static_cast<int>(3.0f * r); }
    void tmrPostr_Timer();
    void RemoveClues();
    void NewGame();
    void ClearGrids();
    void UncheckDifficultyMenus();
    void mnuNewGame_Click();
    void mnuGame67_Click();
    void mnuGame56_Click();
    void mnuGame45_Click();
    void mnuGame34_Click();
    void mnuGame23_Click();
    void mnuGame12_Click();

    // Board display.
    void DrawBoard();
    void MarkConflicts();
    void mnuSizeU_Click();
    void mnuSizeD_Click();

    // Play.
    void lblSudoku_Click(std::int16_t n);
    void lblSudoku_DblClick(std::int16_t n);
    void lblSetNum_Click(std::int16_t k);
    void lblSetNum_DblClick(std::int16_t k);
    void EnterDigit(std::int16_t v);
    void ClearSelection();
    void mnuGameClear_Click();
    void CheckSolved();
    void Form_KeyDown(std::int16_t keyCode, std::int16_t shift);
    void mnuEscEnd_Click();
    void mnuEscMin_Click();
    void mnuEscNo_Click();
    void mnuRightDigOk_Click();
    void mnuRightDigNo_Click();

    Ui& ui() { return ui_; }
    const Ui& ui() const { return ui_; }
    // What a screen reader is told of the board, and its clicks (play/BoardView.cpp).
    BoardAccess& Access();

private:
    void ChooseDifficulty(std::int16_t holeMin, std::int16_t holeMax, MenuItem* item);
    void ChooseEscAction(std::int16_t value, MenuItem* own, MenuItem* other1, MenuItem* other2);
    void SwapPickerMarks(MenuItem* own, MenuItem* other);
    int BoxOffset() { return BoxOffsetOf(sv_.random->Next()); }

    Ui& ui_;
    Services sv_;
    std::unique_ptr<BoardAccess> access_;
};

}  // namespace sudoku
