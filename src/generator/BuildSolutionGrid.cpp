#include <array>

#include "app/Game.h"

namespace sudoku {

namespace {

constexpr int kAttemptLimit = 32000;

// Status texts of the build; the timer cycles through them.
constexpr const char* kBuilding0 = "Создание таблицы";
constexpr const char* kBuilding1 = "Создание таблицы.";
constexpr const char* kBuilding2 = "Создание таблицы..";
constexpr const char* kBuilding3 = "Создание таблицы...";

}  // namespace

// Lays the digits 1..9 down one copy per box at random empty cells; a digit whose
// copies share a row or column is taken up and laid down again, and a pass that
// reaches the attempt limit starts over from an empty grid.
void Game::BuildSolutionGrid() {
    st.Busy = 1;
    ui_.lblInfo->SetCaption(kBuilding2);
    ui_.tmrPostr->SetEnabled(true);

    Grid9& g = st.Givens;
    std::array<int, 9> placed{};  // cell index (0..80) of each copy of the current digit
    bool done = false;
    while (!done) {
        int attempts = 0;
        sv_.pump->ProcessEvents();
        g.Clear();
        int d = 1;
        bool passFailed = false;
        while (d <= 9) {
            if (++attempts == kAttemptLimit) {
                passFailed = true;
                break;
            }
            for (int idx : placed)  // take up the copies of d from the last attempt, if any
                if (g.cells[idx] == d) g.cells[idx] = 0;
            unsigned rowsUsed = 0, colsUsed = 0;
            bool conflict = false;
            for (int box = 0; box < 9; ++box) {
                const int br = 1 + 3 * (box / 3), bc = 1 + 3 * (box % 3);
                int row, col;
                do {
                    col = bc + BoxOffset();
                    row = br + BoxOffset();
                } while (g(row, col) != 0);
                g(row, col) = static_cast<std::int16_t>(d);
                placed[box] = (row - 1) * 9 + (col - 1);
                const unsigned rowBit = 1u << row, colBit = 1u << col;
                conflict = conflict || (rowsUsed & rowBit) || (colsUsed & colBit);
                rowsUsed |= rowBit;
                colsUsed |= colBit;
            }
            if (!conflict) ++d;
        }
        done = !passFailed;
    }

    st.Grid = g;
    ui_.tmrPostr->SetEnabled(false);
    ui_.lblInfo->SetCaption("");
    st.Busy = 0;
}

void Game::tmrPostr_Timer() {
    const std::string caption = ui_.lblInfo->Caption();
    const char* next = nullptr;
    if (caption == kBuilding0) next = kBuilding1;
    else if (caption == kBuilding1) next = kBuilding2;
    else if (caption == kBuilding2) next = kBuilding3;
    else if (caption == kBuilding3) next = kBuilding0;
    if (next) ui_.lblInfo->SetCaption(next);
}

}  // namespace sudoku
