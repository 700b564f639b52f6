// The board as a screen reader is told it: every name and state comes from what the window
// shows (the captions, and the meaning the palette gives each colour), so the reader hears
// what a sighted player sees.
#include <string>
#include <vector>

#include "app/BoardAccess.h"
#include "app/Game.h"
#include "app/Palette.h"

namespace sudoku {

namespace {

std::string Place(int n) {
    // Row and column are single digits.
    std::string place = "Строка ";
    place += static_cast<char>('0' + RowOf(n));
    place += ", столбец ";
    place += static_cast<char>('0' + ColOf(n));
    return place;
}

int DigitOf(const std::string& caption) {
    return caption.size() == 1 && caption[0] >= '1' && caption[0] <= '9' ? caption[0] - '0' : 0;
}

// Whether the digit a cell shows is shown again in its row, column or box.
bool Repeats(const Ui& ui, int n) {
    const int d = DigitOf(ui.lblSudoku[n]->Caption());
    if (d == 0) return false;
    const int r = RowOf(n), c = ColOf(n);
    for (int m = 1; m <= 81; ++m) {
        if (m == n) continue;
        const int mr = RowOf(m), mc = ColOf(m);
        const bool peer = mr == r || mc == c || ((mr - 1) / 3 == (r - 1) / 3 && (mc - 1) / 3 == (c - 1) / 3);
        if (peer && DigitOf(ui.lblSudoku[m]->Caption()) == d) return true;
    }
    return false;
}

// What a cell says after its place: its digit, then what the colour tells of it. A selected
// cell still says that its digit repeats, before saying that it is selected.
std::string CellText(const Ui& ui, int n) {
    const Label& cell = *ui.lblSudoku[n];
    std::string text = cell.Caption().empty() ? std::string("пусто") : cell.Caption();
    switch (cell.BackColor()) {
    case palette::kCellClue: return text + ", подсказка";
    case palette::kCellSelected: return Repeats(ui, n) ? text + ", повтор, выбрана" : text + ", выбрана";
    case palette::kCellConflict: return text + ", повтор";
    default: return text;
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
    return text.empty() ? kAccessNoMessage : text;
}

AccessItem Item(int id, AccessRole role, const Label& label) {
    AccessItem i;
    i.id = id;
    i.role = role;
    i.label = &label;
    return i;
}

const AccessItem* Find(const std::vector<AccessItem>& items, int id) {
    for (const AccessItem& i : items)
        if (i.id == id) return &i;
    return nullptr;
}

// Where the focus goes after the board went from `was` to `now`: the selected cell; else
// the one cell whose digit changed (several, or new clues, renew the board: 0); else the
// picker entry chosen or dropped; else `hint` (the item just activated), else `focus`.
int FocusAfter(const std::vector<AccessItem>& was, const std::vector<AccessItem>& now, int focus, int hint) {
    int written = 0, writes = 0;
    bool renewed = false;
    for (const AccessItem& i : now) {
        if (i.role == AccessRole::Cell && i.selected) return i.id;
        const AccessItem* old = Find(was, i.id);
        if (!old || i.role != AccessRole::Cell) continue;
        if (old->readOnly != i.readOnly) renewed = true;
        if (old->digit != i.digit) {
            written = i.id;
            ++writes;
        }
    }
    if (renewed || writes > 1) return 0;
    if (writes == 1) return written;
    for (const AccessItem& i : now) {
        const AccessItem* old = Find(was, i.id);
        if (old && i.role == AccessRole::Button && old->pressed != i.pressed) return i.id;
    }
    if (hint && Find(now, hint)) return hint;
    return Find(now, focus) ? focus : 0;
}

class BoardView final : public BoardAccess {
public:
    explicit BoardView(Game& game) : game_(game) {}

    std::vector<AccessItem> Items() const override {
        std::vector<AccessItem> items = Look();
        const int focus = seen_.empty() ? 0 : FocusAfter(seen_, items, focus_, 0);
        for (AccessItem& i : items) i.focused = i.id == focus;
        return items;
    }

    void Activate(int id) override {
        if (id >= 1 && id <= 81) {
            Settle(0);
            game_.lblSudoku_Click(static_cast<std::int16_t>(id));
            Settle(id);
        } else if (id > kAccessPickerBase && id < kAccessStatusId) {
            const auto k = static_cast<std::int16_t>(id - kAccessPickerBase);
            if (!game_.ui().lblSetNum[k]->Visible()) return;
            Settle(0);
            game_.lblSetNum_Click(k);
            Settle(id);
        }
    }

    AccessChanges Update() override {
        Settle(0);
        std::vector<AccessItem> now = Items();
        AccessChanges changes = Compare(told_, now);
        if (told_.empty()) changes = {};  // the first look: nothing was told before
        told_ = std::move(now);
        return changes;
    }

private:
    // The board as shown, no item focused yet.
    std::vector<AccessItem> Look() const {
        const Ui& ui = game_.ui();
        std::vector<AccessItem> items;
        items.reserve(92);
        for (int n = 1; n <= 81; ++n) {
            const Label& cell = *ui.lblSudoku[n];
            const Rgb back = cell.BackColor();
            AccessItem i = Item(n, AccessRole::Cell, cell);
            i.selected = back == palette::kCellSelected;
            i.readOnly = back == palette::kCellClue;
            i.row = RowOf(n);
            i.column = ColOf(n);
            i.cellText = CellText(ui, n);
            i.name = Place(n) + ": " + i.cellText;
            i.digit = DigitOf(cell.Caption());
            items.push_back(std::move(i));
        }
        for (int k = 1; k <= 10; ++k) {
            const Label& pick = *ui.lblSetNum[k];
            if (!pick.Visible()) continue;
            AccessItem i = Item(kAccessPickerBase + k, AccessRole::Button, pick);
            i.name = PickerName(k);
            i.pressed = pick.BackColor() == palette::kPickerChosen;
            items.push_back(std::move(i));
        }
        AccessItem status = Item(kAccessStatusId, AccessRole::Status, *ui.lblInfo);
        status.name = StatusName(ui.lblInfo->Caption());
        items.push_back(std::move(status));
        return items;
    }

    // Decides the focus from what changed since the last look, `hint` being the item the
    // reader has just activated (0 for any other input).
    void Settle(int hint) {
        std::vector<AccessItem> now = Look();
        if (!seen_.empty()) focus_ = FocusAfter(seen_, now, focus_, hint);
        seen_ = std::move(now);
    }

    Game& game_;
    std::vector<AccessItem> seen_;  // the board at the last look
    int focus_ = 0;                 // the focused item's id, 0 for the board as a whole
    std::vector<AccessItem> told_;  // the board as Update last told it
};

}  // namespace

BoardAccess& Game::Access() {
    if (!access_) access_ = std::make_unique<BoardView>(*this);
    return *access_;
}

}  // namespace sudoku
