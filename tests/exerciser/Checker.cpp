#include "Checker.h"

#include <array>

#include "ScriptedGrid.h"
#include "app/Palette.h"
#include "app/Layout.h"

namespace sudoku::exercise {

// The checks run after every event, and nearly all hold: a check's detail text is made only
// when it fails (inside Checker's members; the member function Expect does the rest).
#define Expect(ok, id, detail) ((ok) ? void(++assertions) : Expect(false, id, detail))

namespace {

constexpr const char* kSolvedText = "Судоку пройден";
constexpr std::array<const char*, 4> kBuildingTexts{"Создание таблицы", "Создание таблицы.", "Создание таблицы..",
                                                    "Создание таблицы..."};

std::string Hex(Rgb c) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%06X", c);
    return buf;
}

std::string CellName(int n) { return "cell " + std::to_string(n); }

}  // namespace

const char* PointName(Point p) {
    switch (p) {
        case Point::TopLevel: return "between events";
        case Point::BeforeBuild: return "new game, before the build";
        case Point::InBuild: return "inside the build";
        case Point::AfterBuild: return "new game, after the build";
    }
    return "?";
}

bool InConflict(const Grid9& g, int r, int c) {
    const int d = g(r, c);
    if (d == 0) return false;
    int inRow = 0, inCol = 0, inBox = 0;
    const int br = (r - 1) / 3 * 3 + 1, bc = (c - 1) / 3 * 3 + 1;
    for (int i = 1; i <= 9; ++i) {
        inRow += g(r, i) == d;
        inCol += g(i, c) == d;
        inBox += g(br + (i - 1) / 3, bc + (i - 1) % 3) == d;
    }
    return inRow > 1 || inCol > 1 || inBox > 1;
}

void Checker::Invariants(memory::MemoryForm& f, Point at) {
    ++passes;
    const GameState& st = f.game.st;
    Expect(st.Busy == 0 || st.Busy == 1, "flag-range", "Busy = " + std::to_string(st.Busy));
    Expect(st.Solved == 0 || st.Solved == 1, "flag-range", "Solved = " + std::to_string(st.Solved));
    Expect((st.Busy == 1) == (at == Point::InBuild), "busy-outside-build",
           std::string("Busy = ") + std::to_string(st.Busy) + " " + PointName(at));
    Expect(f.timer.enabled == (at == Point::InBuild), "timer-outside-build",
           std::string("timer ") + (f.timer.enabled ? "on " : "off ") + PointName(at));
    Expect(f.game.NewGameInProgress == (at == Point::TopLevel ? 0 : 1), "new-game-flag",
           "NewGameInProgress = " + std::to_string(f.game.NewGameInProgress) + " " + PointName(at));
    for (int i = 0; i < 81; ++i) {
        Expect(st.Grid.cells[i] >= 0 && st.Grid.cells[i] <= 9, "digit-range", "Grid of " + CellName(i + 1));
        Expect(st.Givens.cells[i] >= 0 && st.Givens.cells[i] <= 9, "digit-range", "Givens of " + CellName(i + 1));
    }
    Selection(f, at);
    Menus(f);
    Layout(f);
    if (at == Point::TopLevel || at == Point::BeforeBuild) Board(f);
    Status(f, at);
}

void Checker::Selection(memory::MemoryForm& f, Point at) {
    const GameState& st = f.game.st;
    Expect(st.SelCell >= 0 && st.SelCell <= 81, "selection-range", "SelCell = " + std::to_string(st.SelCell));
    Expect(st.SelDigit >= 0 && st.SelDigit <= 10, "selection-range", "SelDigit = " + std::to_string(st.SelDigit));
    Expect(st.SelCell == 0 || st.SelDigit == 0, "cell-and-entry-chosen",
           "SelCell = " + std::to_string(st.SelCell) + ", SelDigit = " + std::to_string(st.SelDigit));
    if (st.SelCell != 0)
        Expect(st.Givens.cells[st.SelCell - 1] == 0, "selected-clue",
               CellName(st.SelCell) + " is selected and is a clue, " + PointName(at));
    for (int k = 1; k <= 10; ++k) {
        const Rgb back = f.Picker(k).back;
        Expect(back == palette::kPicker || back == palette::kPickerChosen, "picker-colour",
               "picker " + std::to_string(k) + " shows " + Hex(back));
        Expect((back == palette::kPickerChosen) == (st.SelDigit == k), "picker-highlight",
               "picker " + std::to_string(k) + " shows " + Hex(back) + ", SelDigit = " + std::to_string(st.SelDigit));
        Expect(f.Picker(k).caption == (k <= 9 ? std::string(1, static_cast<char>('0' + k)) : std::string()),
               "picker-caption", "picker " + std::to_string(k) + " shows '" + f.Picker(k).caption + "'");
    }
}

void Checker::Menus(memory::MemoryForm& f) {
    const GameState& st = f.game.st;
    static const std::array<std::pair<const char*, int>, 6> kLevels{
        {{"mnuGame67", 6}, {"mnuGame56", 5}, {"mnuGame45", 4}, {"mnuGame34", 3}, {"mnuGame23", 2}, {"mnuGame12", 1}}};
    bool pairKnown = false;
    for (const auto& [name, holeMin] : kLevels) {
        const bool mine = st.HoleMin == holeMin && st.HoleMax == holeMin + 1;
        pairKnown = pairKnown || mine;
        Expect(f.Item(name).checked == mine, "difficulty-mark",
               std::string(name) + (f.Item(name).checked ? " checked" : " unchecked") + " with HoleMin " +
                   std::to_string(st.HoleMin) + ", HoleMax " + std::to_string(st.HoleMax));
    }
    Expect(pairKnown, "difficulty-pair", std::to_string(st.HoleMin) + "-" + std::to_string(st.HoleMax));

    const bool shown = f.Item("mnuRightDigOk").checked;
    Expect(shown != f.Item("mnuRightDigNo").checked, "picker-option-mark", "both or neither picker items checked");
    for (int k = 1; k <= 10; ++k)
        Expect(f.Picker(k).visible == shown, "picker-visibility",
               "picker " + std::to_string(k) + (shown ? " hidden" : " shown") + " against the option");

    Expect(st.EscAction >= 0 && st.EscAction <= 2, "esc-range", "EscAction = " + std::to_string(st.EscAction));
    Expect(f.Item("mnuEscEnd").checked == (st.EscAction == 2) && f.Item("mnuEscMin").checked == (st.EscAction == 1) &&
               f.Item("mnuEscNo").checked == (st.EscAction == 0),
           "esc-mark", "Esc marks do not show EscAction = " + std::to_string(st.EscAction));
}

void Checker::Layout(memory::MemoryForm& f) {
    const GameState& st = f.game.st;
    Expect(layout::LadderIndex(st.FontSizePt) >= 0, "size-ladder", "FontSizePt = " + std::to_string(st.FontSizePt));
    const int s = layout::CellSize(st.FontSizePt);
    const float pt = st.FontSizePt;
    auto at = [&](const memory::MemoryLabel& l, int left, int top) {
        return l.left == left && l.top == top && l.width == s && l.height == s && l.fontPt == pt;
    };
    for (int n = 1; n <= 81; ++n) {
        const auto& cell = f.Cell(n);
        Expect(at(cell, layout::Edge(ColOf(n), s), layout::Edge(RowOf(n), s)) && cell.visible, "cell-layout",
               CellName(n) + " at " + std::to_string(cell.left) + "," + std::to_string(cell.top) + " size " +
                   std::to_string(cell.width) + " for " + std::to_string(st.FontSizePt) + " pt");
    }
    if (f.Item("mnuRightDigOk").checked)
        for (int k = 1; k <= 10; ++k)
            Expect(at(f.Picker(k), layout::PickerLeft(k, s), layout::PickerTop(k, s)), "picker-layout",
                   "picker " + std::to_string(k) + " at " + std::to_string(f.Picker(k).left) + "," +
                       std::to_string(f.Picker(k).top) + " for " + std::to_string(st.FontSizePt) + " pt");
    const auto& info = *f.info;
    Expect(info.left == 6 && info.top == layout::InfoTop(s) && info.width == 303 && info.height == 19 &&
               info.fontPt == 9 && info.visible,
           "status-layout", "status line at " + std::to_string(info.left) + "," + std::to_string(info.top));
}

// Captions and colours of the cells; they follow the grids whenever no build is running.
void Checker::Board(memory::MemoryForm& f) {
    const GameState& st = f.game.st;
    for (int n = 1; n <= 81; ++n) {
        const int r = RowOf(n), c = ColOf(n);
        const int given = st.Givens(r, c), digit = st.Grid(r, c);
        Expect(given == 0 || digit == given, "clue-overwritten",
               CellName(n) + ": clue " + std::to_string(given) + ", Grid " + std::to_string(digit));
        const std::string& caption = f.Cell(n).caption;
        Expect(caption == (digit == 0 ? std::string() : std::to_string(digit)), "cell-caption",
               CellName(n) + " shows '" + caption + "', Grid holds " + std::to_string(digit));
        const Rgb back = f.Cell(n).back;
        if (given != 0) {
            Expect(back == palette::kCellClue, "clue-colour", CellName(n) + " is a clue on " + Hex(back));
            continue;
        }
        Expect(back == palette::kCellPlain || back == palette::kCellConflict || back == palette::kCellSelected,
               "cell-colour", CellName(n) + " on " + Hex(back));
        Expect((back == palette::kCellSelected) == (st.SelCell == n), "selection-colour",
               CellName(n) + " on " + Hex(back) + ", SelCell = " + std::to_string(st.SelCell));
        if (back == palette::kCellConflict)
            Expect(InConflict(st.Grid, r, c), "conflict-colour", CellName(n) + " is yellow without a conflict");
    }
}

void Checker::Status(memory::MemoryForm& f, Point at) {
    const GameState& st = f.game.st;
    const std::string& caption = f.info->caption;
    if (st.Solved == 1) {
        Expect(CompleteAndValid(st.Grid), "solved-incomplete", std::string("Solved with an unfinished grid, ") + PointName(at));
        if (at != Point::InBuild)
            Expect(caption == kSolvedText, "solved-caption", "Solved while the status line shows '" + caption + "'");
    }
    switch (at) {
        case Point::TopLevel:
            Expect(caption == (st.Solved == 1 ? kSolvedText : ""), "status-text",
                   "status line '" + caption + "' with Solved = " + std::to_string(st.Solved));
            Expect(st.Solved == 1 || !CompleteAndValid(st.Grid), "solved-unnoticed",
                   "a complete valid grid is not reported as solved");
            break;
        case Point::InBuild: {
            bool building = false;
            for (const char* t : kBuildingTexts) building = building || caption == t;
            Expect(building, "build-status-text", "status line '" + caption + "' inside the build");
            break;
        }
        case Point::AfterBuild:
            Expect(caption.empty(), "build-status-text", "status line '" + caption + "' after the build");
            Expect(st.Givens == st.Grid && CompleteAndValid(st.Givens), "built-grid",
                   "the build did not leave the same complete valid grid in Givens and Grid");
            break;
        case Point::BeforeBuild:
            for (auto v : st.Givens.cells) Expect(v == 0, "new-game-clear", "a clue is left before the build");
            break;
    }
}

}  // namespace sudoku::exercise
