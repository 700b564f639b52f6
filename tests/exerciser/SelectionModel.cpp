#include "SelectionModel.h"

#include "ScriptedGrid.h"

namespace sudoku::exercise {

namespace {

bool Frozen(const PlayState& s) { return s.Busy == 1 || s.Solved == 1; }

void Write(PlayState& s, int n, int pickerEntryOrDigit, bool fromPicker) {
    s.Grid.cells[n - 1] = static_cast<std::int16_t>(fromPicker && pickerEntryOrDigit == 10 ? 0 : pickerEntryOrDigit);
    if (CompleteAndValid(s.Grid)) s.Solved = 1;
}

void ClickCell(PlayState& s, int n) {
    if (Frozen(s)) return;
    if (s.Givens.cells[n - 1] != 0 || n == s.SelCell) {
        s.SelCell = 0;
    } else if (s.SelDigit == 0) {
        s.SelCell = static_cast<std::int16_t>(n);
    } else {
        Write(s, n, s.SelDigit, true);
        s.SelDigit = 0;
        s.SelCell = 0;
    }
}

void ClickPicker(PlayState& s, int k) {
    if (Frozen(s)) return;
    s.SelDigit = static_cast<std::int16_t>(k == s.SelDigit ? 0 : k);
    if (s.SelDigit != 0 && s.SelCell != 0) {
        Write(s, s.SelCell, s.SelDigit, true);
        s.SelDigit = 0;
        s.SelCell = 0;
    }
}

int DigitOfKey(int code) {
    if (code == 46 || code == 8) return 0;
    if (code >= 48 && code <= 57) return code - 48;
    if (code >= 96 && code <= 105) return code - 96;
    return -1;
}

void PressKey(PlayState& s, int code) {
    if (code == 27) {
        s.SelCell = 0;
        if (s.SelDigit != 0) ClickPicker(s, s.SelDigit);
    } else if (code == 107 || code == 187 || code == 109 || code == 189) {
        s.SelCell = 0;  // a size command redraws
    } else if (const int d = DigitOfKey(code); d >= 0 && s.SelCell != 0 && !Frozen(s)) {
        Write(s, s.SelCell, d, false);
        s.SelCell = 0;
    }
}

}  // namespace

PlayState PlayStateOf(const GameState& st) {
    return {st.SelCell, st.SelDigit, st.Solved, st.Busy, st.EscAction, st.Givens, st.Grid};
}

std::optional<PlayState> Predict(const PlayState& before, const Token& t) {
    PlayState s = before;
    switch (t.kind) {
        case Kind::CellDblClick: ClickCell(s, t.arg); [[fallthrough]];
        case Kind::CellClick: ClickCell(s, t.arg); return s;
        case Kind::PickerDblClick: ClickPicker(s, t.arg); [[fallthrough]];
        case Kind::PickerClick: ClickPicker(s, t.arg); return s;
        case Kind::InfoClick:
        case Kind::MinimiseRefusal: return s;
        case Kind::Key:
            if (t.arg == 27 && s.EscAction == 2) return std::nullopt;  // closes the window
            for (int i = 0; i < t.repeat; ++i) PressKey(s, t.arg);
            return s;
        case Kind::Menu: {
            const std::string& name = MenuItems().at(t.arg);
            if (IsSeparator(t.arg)) return s;
            if (name == "mnuSizeU" || name == "mnuSizeD") {
                s.SelCell = 0;
                return s;
            }
            if (name == "mnuRightDigOk" || name == "mnuRightDigNo") {
                if (s.SelDigit != 0) ClickPicker(s, s.SelDigit);
                s.SelCell = 0;
                return s;
            }
            if (name == "mnuGameClear") {
                if (Frozen(s)) return s;
                for (int i = 0; i < 81; ++i)
                    if (s.Givens.cells[i] == 0) s.Grid.cells[i] = 0;
                s.SelCell = 0;
                return s;
            }
            return std::nullopt;
        }
        default: return std::nullopt;
    }
}

}  // namespace sudoku::exercise
