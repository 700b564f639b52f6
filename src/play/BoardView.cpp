// The board as a screen reader is told it: every name and state comes from what the window
// shows (the captions, and the meaning the palette gives each colour), so the reader hears
// what a sighted player sees.
#include <string>

#include "app/BoardAccess.h"
#include "app/Game.h"
#include "app/Palette.h"

namespace sudoku {

namespace {

std::string CellName(int n, const Label& cell) {
    // Row and column are single digits.
    std::string name = "Строка ";
    name += static_cast<char>('0' + RowOf(n));
    name += ", столбец ";
    name += static_cast<char>('0' + ColOf(n));
    name += ": ";
    name += cell.Caption().empty() ? std::string("пусто") : cell.Caption();
    switch (cell.BackColor()) {
    case palette::kCellClue: return name + ", подсказка";
    case palette::kCellSelected: return name + ", выбрана";
    case palette::kCellConflict: return name + ", повтор";
    default: return name;
    }
}

std::string PickerName(int k) {
    if (k > 9) return "Стереть";
    std::string name = "Цифра ";
    name += static_cast<char>('0' + k);
    return name;
}

// The status line without the dots that the build animates, so the reader hears it once.
std::string StatusName(std::string text) {
    while (!text.empty() && text.back() == '.') text.pop_back();
    return text.empty() ? "Сообщений нет" : text;
}

class BoardView final : public BoardAccess {
public:
    explicit BoardView(Game& game) : game_(game) {}

    std::vector<AccessItem> Items() const override {
        const Ui& ui = game_.ui();
        std::vector<AccessItem> items;
        items.reserve(92);
        for (int n = 1; n <= 81; ++n) {
            const Label& cell = *ui.lblSudoku[n];
            const Rgb back = cell.BackColor();
            items.push_back({n, AccessRole::Cell, CellName(n, cell), back == palette::kCellSelected, false,
                             back == palette::kCellClue, false, &cell});
        }
        for (int k = 1; k <= 10; ++k) {
            const Label& pick = *ui.lblSetNum[k];
            if (!pick.Visible()) continue;
            items.push_back({kAccessPickerBase + k, AccessRole::Button,
                             PickerName(k), false,
                             pick.BackColor() == palette::kPickerChosen, false, false, &pick});
        }
        items.push_back({kAccessStatusId, AccessRole::Status, StatusName(ui.lblInfo->Caption()), false, false, false,
                         false, ui.lblInfo});
        AccessItem* focus = nullptr;
        for (AccessItem& i : items) {
            if (i.selected) focus = &i;
            if (!focus && i.id == lastActivated_) focus = &i;
        }
        if (focus) focus->focused = true;
        return items;
    }

    void Activate(int id) override {
        if (id >= 1 && id <= 81) {
            lastActivated_ = id;
            game_.lblSudoku_Click(static_cast<std::int16_t>(id));
        } else if (id > kAccessPickerBase && id < kAccessStatusId) {
            const auto k = static_cast<std::int16_t>(id - kAccessPickerBase);
            if (!game_.ui().lblSetNum[k]->Visible()) return;
            // A digit for the selected cell goes into it: the focus goes with it.
            const int cell = game_.st.SelCell;
            lastActivated_ = id;
            game_.lblSetNum_Click(k);
            if (cell != 0 && game_.st.SelCell == 0) lastActivated_ = cell;
        }
    }

private:
    Game& game_;
    int lastActivated_ = 0;
};

}  // namespace

BoardAccess& Game::Access() {
    if (!access_) access_ = std::make_unique<BoardView>(*this);
    return *access_;
}

}  // namespace sudoku
