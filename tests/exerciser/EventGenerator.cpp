// How the exerciser picks its events: random ones, weighted by where they are
// delivered, and winning moves that carry games to their end.
#include <array>
#include <optional>
#include <utility>

#include "Session.h"

namespace sudoku::exercise {

namespace {

// Keys that do something, and F3 (114: a menu shortcut, which never reaches the key handler).
constexpr std::array<std::int16_t, 28> kUsefulKeys{27,  107, 187, 109, 189, 48,  49,  50, 51, 52, 53,  54, 55, 56,
                                                   57,  96,  97,  98,  99,  100, 101, 102, 103, 104, 105, 46, 8, 114};

}  // namespace

int Session::PumpActions(Point at) {
    ChoiceSource& ch = *choices_;
    if (depth_ > 3 || ch.Exhausted()) return 0;
    if (at == Point::BeforeBuild && static_cast<int>(ch.Below(1000)) >= 1000 - options_.floodPerMille) {
        flooding_ = true;
        return 300;
    }
    if (ch.Below(100) < 30) return 0;
    return 1 + static_cast<int>(ch.Below(static_cast<std::uint32_t>(2 * options_.meanPumpActions - 1)));
}

std::vector<Token> Session::NextAction(Point at) {
    const GameState& st = form_.game.st;
    const bool canWin = st.Busy == 0 && st.Solved == 0;
    if (canWin && choices_->Below(100) < (flooding_ ? 92u : 30u)) {
        auto move = WinningMove();
        if (!move.empty()) return move;
    }
    return {RandomEvent(at)};
}

Token Session::RandomEvent(Point at) {
    ChoiceSource& ch = *choices_;
    const bool pickerShown = form_.Item("mnuRightDigOk").checked;
    Token t;
    // Weights: cells 24, picker 15, keys 24, other menu items 10, new game, status line 1,
    // close 1, minimise refusal 1, and timer ticks while the timer runs.
    const int newGame = options_.newGameWeight;
    const int tick = form_.timer.enabled ? 20 : 0;
    int roll = static_cast<int>(ch.Below(static_cast<std::uint32_t>(24 + 15 + 24 + 10 + newGame + 3 + tick)));
    if ((roll -= 24) < 0) {
        t.kind = ch.Below(6) == 0 ? Kind::CellDblClick : Kind::CellClick;
        t.arg = static_cast<std::int16_t>(1 + ch.Below(81));
    } else if ((roll -= 15) < 0) {
        t.kind = ch.Below(5) == 0 ? Kind::PickerDblClick : Kind::PickerClick;
        t.arg = static_cast<std::int16_t>(1 + ch.Below(10));
        if (!pickerShown) t.kind = Kind::InfoClick, t.arg = 0;
    } else if ((roll -= 24) < 0) {
        t.kind = Kind::Key;
        t.arg = ch.Below(2) == 0 ? kUsefulKeys[ch.Below(kUsefulKeys.size())] : static_cast<std::int16_t>(ch.Below(256));
        t.shift = static_cast<std::int16_t>(ch.Below(8));
        if (ch.Below(10) == 0) t.repeat = static_cast<std::int16_t>(2 + ch.Below(30));  // a held key
    } else if ((roll -= 10) < 0) {
        static const std::vector<int> others = [] {
            std::vector<int> v;
            for (int i = 0; i < static_cast<int>(MenuItems().size()); ++i)
                if (!StartsNewGame(i)) v.push_back(i);
            return v;
        }();
        t.kind = Kind::Menu;
        t.arg = static_cast<std::int16_t>(others[ch.Below(static_cast<std::uint32_t>(others.size()))]);
    } else if ((roll -= newGame) < 0) {
        static const std::vector<int> starters = [] {
            std::vector<int> v;
            for (int i = 0; i < static_cast<int>(MenuItems().size()); ++i)
                if (StartsNewGame(i)) v.push_back(i);
            return v;
        }();
        t.kind = Kind::Menu;
        t.arg = static_cast<std::int16_t>(starters[ch.Below(static_cast<std::uint32_t>(starters.size()))]);
        // Rare choices take the high values, so that a used-up fuzz input (all zeros) stays cheap.
        const bool natural = naturalBuildsLeft_ != 0 && at == Point::TopLevel &&
                             static_cast<int>(ch.Below(100)) >= 100 - options_.naturalBuildPercent;
        if (natural && naturalBuildsLeft_ > 0) --naturalBuildsLeft_;
        t.buildSeed = natural ? 0 : 1 + ch.Below(0x7FFFFFFF);
    } else if ((roll -= 1) < 0) {
        t.kind = Kind::InfoClick;
    } else if ((roll -= 1) < 0) {
        t.kind = Kind::Close;
    } else if ((roll -= 1) < 0) {
        t.kind = Kind::MinimiseRefusal;
    } else {
        t.kind = Kind::Tick;
    }
    return t;
}

namespace {

// target with two non-clue cells swapped so that exactly one kind of unit breaks:
// two cells of one row and box (columns break), of one column and box (rows
// break), or, on a board without clues, two whole rows of different bands (boxes break).
std::optional<Grid9> MakeDecoy(const Grid9& target, const Grid9& givens, ChoiceSource& ch) {
    const int kind = static_cast<int>(ch.Below(3));
    for (int attempt = 0; attempt < 20; ++attempt) {
        Grid9 g = target;
        if (kind == 2) {
            if (!(givens == Grid9{})) return std::nullopt;
            const int r1 = 1 + static_cast<int>(ch.Below(3)), r2 = 4 + static_cast<int>(ch.Below(6));
            for (int c = 1; c <= 9; ++c) std::swap(g(r1, c), g(r2, c));
            return g;
        }
        const int line = 1 + static_cast<int>(ch.Below(9)), box = static_cast<int>(ch.Below(3)) * 3;
        const int a = 1 + box + static_cast<int>(ch.Below(3)), b = 1 + box + static_cast<int>(ch.Below(3));
        auto index = [&](int i) { return kind == 0 ? (line - 1) * 9 + i - 1 : (i - 1) * 9 + line - 1; };
        if (a == b || givens.cells[index(a)] != 0 || givens.cells[index(b)] != 0) continue;
        std::swap(g.cells[index(a)], g.cells[index(b)]);
        return g;
    }
    return std::nullopt;
}

}  // namespace

// Where winning moves lead: first, at times, a near miss that must not count as
// solved, then the true grid.
const Grid9& Session::Aim() {
    const GameState& st = form_.game.st;
    if (!wantDecoy_) return target_;
    if (!decoy_) decoy_ = MakeDecoy(target_, st.Givens, *choices_);
    if (!decoy_ || st.Grid == *decoy_) {
        if (decoy_) ++stats_.nearMisses;
        wantDecoy_ = false;
        decoy_.reset();
        return target_;
    }
    return *decoy_;
}

// One or two events that put the aimed-at digit into a cell that lacks it.
std::vector<Token> Session::WinningMove() {
    ChoiceSource& ch = *choices_;
    const GameState& st = form_.game.st;
    const bool pickerShown = form_.Item("mnuRightDigOk").checked;
    const Grid9& aim = Aim();
    auto wrong = [&](int n) { return st.Givens.cells[n - 1] == 0 && st.Grid.cells[n - 1] != aim.cells[n - 1]; };
    auto cell = [](int n) { return Token{Kind::CellClick, static_cast<std::int16_t>(n)}; };
    auto picker = [](int k) { return Token{Kind::PickerClick, static_cast<std::int16_t>(k)}; };
    auto key = [&](int d) {
        return Token{Kind::Key, static_cast<std::int16_t>((ch.Below(2) == 0 ? 48 : 96) + d)};
    };

    std::vector<int> todo;
    for (int n = 1; n <= 81; ++n)
        if (wrong(n)) todo.push_back(n);
    if (st.SelDigit != 0) {
        const int value = st.SelDigit == 10 ? 0 : st.SelDigit;
        for (int n : todo)
            if (aim.cells[n - 1] == value) return {cell(n)};
        return {picker(st.SelDigit)};  // drop the entry
    }
    if (st.SelCell != 0 && wrong(st.SelCell)) {
        const int d = aim.cells[st.SelCell - 1];
        return {pickerShown && ch.Below(2) == 0 ? picker(d) : key(d)};
    }
    if (todo.empty()) return {};
    const int n = todo[ch.Below(static_cast<std::uint32_t>(todo.size()))];
    const int d = aim.cells[n - 1];
    switch (pickerShown ? ch.Below(st.SelCell != 0 ? 2 : 3) : 1) {
        case 0: return {cell(n), picker(d)};
        case 1: return {cell(n), key(d)};
        default: return {picker(d), cell(n)};
    }
}


}  // namespace sudoku::exercise
