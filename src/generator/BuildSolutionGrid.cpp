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

constexpr unsigned kAllNine = 0x3FE;  // bits 1..9: one copy in every row (or column)

// Random values for the (column, row) draws of one attempt, fetched in batches.
// A batch never holds more than the attempt is sure to use (every box still to
// be filled takes at least one pair), so the source ends exactly where drawing
// one value at a time would leave it, and nothing is drawn ahead of an event.
class PairDraws {
public:
    explicit PairDraws(RandomSource& source) : source_(source) {}

    // boxesLeft counts the box being filled and those after it in the attempt.
    void Next(int boxesLeft, int& column, int& row) {
        if (next_ == end_) {
            end_ = 2 * boxesLeft;
            source_.NextBatch(values_.data(), end_);
            next_ = 0;
        }
        column = Game::BoxOffsetOf(values_[next_]);
        row = Game::BoxOffsetOf(values_[next_ + 1]);
        next_ += 2;
    }

private:
    RandomSource& source_;
    std::array<float, 18> values_{};
    int next_ = 0, end_ = 0;
};

}  // namespace

// Lays the digits 1..9 down one copy per box at random empty cells; a digit whose
// copies share a row or column is taken up and laid down again, and a pass that
// reaches the attempt limit starts over from an empty grid.
void Game::BuildSolutionGrid() {
    st.Busy = 1;
    ui_.lblInfo->SetCaption(kBuilding2);
    ui_.tmrPostr->SetEnabled(true);

    Grid9& g = st.Givens;
    PairDraws draws(*sv_.random);
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
            for (int box = 0; box < 9; ++box) {
                const int br = 1 + 3 * (box / 3), bc = 1 + 3 * (box % 3);
                int row, col, idx;
                do {
                    draws.Next(9 - box, col, row);
                    col += bc;
                    row += br;
                    idx = (row - 1) * 9 + (col - 1);
                } while (g.cells[idx] != 0);
                g.cells[idx] = static_cast<std::int16_t>(d);
                placed[box] = idx;
                rowsUsed |= 1u << row;
                colsUsed |= 1u << col;
            }
            if (rowsUsed == kAllNine && colsUsed == kAllNine) ++d;
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
