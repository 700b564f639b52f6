#include "app/Game.h"
#include "app/VirtualKeys.h"

namespace sudoku {

namespace {

// Digit written by a key code: the main row's and the keypad's digits; Delete and Backspace
// erase. -1 for every other code.
int DigitOfKey(int code) {
    if (code == vk::kDelete || code == vk::kBackspace) return 0;
    if (code >= vk::kDigit0 && code <= vk::kDigit0 + 9) return code - vk::kDigit0;
    if (code >= vk::kKeypad0 && code <= vk::kKeypad0 + 9) return code - vk::kKeypad0;
    return -1;
}

}  // namespace

void Game::Form_KeyDown(std::int16_t keyCode, std::int16_t /*shift*/) {
    if (keyCode == vk::kEscape) {
        if (st.EscAction == 2) {
            ui_.frmMain->Close();
            return;
        }
        if (st.EscAction == 1) ui_.frmMain->Minimise();  // a refusal is ignored
        if (st.SelCell != 0) ClearSelection();
        if (st.SelDigit != 0) lblSetNum_Click(st.SelDigit);
        return;
    }
    if (keyCode == vk::kKeypadPlus || keyCode == vk::kPlusKey) {
        mnuSizeU_Click();
        return;
    }
    if (keyCode == vk::kKeypadMinus || keyCode == vk::kMinusKey) {
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
