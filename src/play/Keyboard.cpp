#include "app/Game.h"

namespace sudoku {

namespace {

// Digit written by a key code: main-row digits are 48..57, keypad digits 96..105;
// Delete (46) and Backspace (8) erase. -1 for every other code.
int DigitOfKey(int code) {
    if (code == 46 || code == 8) return 0;
    if (code >= 48 && code <= 57) return code - 48;
    if (code >= 96 && code <= 105) return code - 96;
    return -1;
}

}  // namespace

void Game::Form_KeyDown(std::int16_t keyCode, std::int16_t /*shift*/) {
    if (keyCode == 27) {
        if (st.EscAction == 2) {
            ui_.frmMain->Close();
            return;
        }
        if (st.EscAction == 1) ui_.frmMain->Minimise();  // a refusal is ignored
        if (st.SelCell != 0) ClearSelection();
        if (st.SelDigit != 0) lblSetNum_Click(st.SelDigit);
        return;
    }
    if (keyCode == 107 || keyCode == 187) {
        mnuSizeU_Click();
        return;
    }
    if (keyCode == 109 || keyCode == 189) {
        mnuSizeD_Click();
        return;
    }
    const int digit = DigitOfKey(keyCode);
    if (digit >= 0) EnterDigit(static_cast<std::int16_t>(digit));
}

void Game::ChooseEscAction(std::int16_t value, MenuItem* own, MenuItem* other1, MenuItem* other2) {
    if (st.EscAction == value) return;
    st.EscAction = value;
    if (other1->Checked()) other1->SetChecked(false);
    if (other2->Checked()) other2->SetChecked(false);
    own->SetChecked(true);
}

void Game::mnuEscEnd_Click() { ChooseEscAction(2, ui_.mnuEscEnd, ui_.mnuEscMin, ui_.mnuEscNo); }
void Game::mnuEscMin_Click() { ChooseEscAction(1, ui_.mnuEscMin, ui_.mnuEscEnd, ui_.mnuEscNo); }
void Game::mnuEscNo_Click() { ChooseEscAction(0, ui_.mnuEscNo, ui_.mnuEscEnd, ui_.mnuEscMin); }

}  // namespace sudoku
