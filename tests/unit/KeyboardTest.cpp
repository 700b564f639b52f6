#include "Fixture.h"

using namespace sudoku;
using namespace sudoku::test;

TEST(Keyboard, DigitAndEraseKeysWriteIntoTheSelectedCell) {
    struct Key {
        std::int16_t code;
        std::int16_t value;
    };
    const Key keys[] = {{49, 1}, {57, 9}, {97, 1}, {105, 9}, {53, 5}, {101, 5}, {48, 0}, {96, 0}, {46, 0}, {8, 0}};
    for (const Key& k : keys) {
        Board b;
        b.st().Grid(2, 2) = 4;
        b.game.lblSudoku_Click(CellNumber(2, 2));
        b.game.Form_KeyDown(k.code, 1);  // modifiers play no part
        EXPECT_EQ(b.st().Grid(2, 2), k.value) << k.code;
        EXPECT_EQ(b.st().SelCell, 0) << k.code;
    }
}

TEST(Keyboard, DigitsNeedASelectedCell) {
    Board b;
    b.game.Form_KeyDown(53, 0);  // nothing selected
    b.game.lblSetNum_Click(4);   // only a picker entry chosen
    b.game.Form_KeyDown(55, 0);
    for (auto v : b.st().Grid.cells) EXPECT_EQ(v, 0);
    EXPECT_EQ(b.st().SelDigit, 4);
    b.game.lblSetNum_Click(4);
    b.game.lblSudoku_Click(10);
    b.game.Form_KeyDown(50, 0);
    b.game.Form_KeyDown(51, 0);  // the second digit finds no selected cell
    EXPECT_EQ(b.st().Grid(2, 1), 2);
}

TEST(Keyboard, OtherKeysAreIgnored) {
    Board b;
    b.game.lblSudoku_Click(10);
    b.log.Reset();
    for (int code = 0; code < 256; ++code) {
        const bool used = code == 27 || code == 107 || code == 187 || code == 109 || code == 189 || code == 8 ||
                          code == 46 || (code >= 48 && code <= 57) || (code >= 96 && code <= 105);
        if (!used) b.game.Form_KeyDown(static_cast<std::int16_t>(code), 0);
    }
    EXPECT_EQ(b.log.counts.size(), 0u);
    EXPECT_EQ(b.st().SelCell, 10);
}

TEST(Keyboard, SizeKeysWorkInEveryState) {
    Board b;
    for (int i = 0; i < 20; ++i) b.game.Form_KeyDown(107, 0);  // held keypad +: one step per repeat
    EXPECT_EQ(b.st().FontSizePt, 72);
    b.game.Form_KeyDown(189, 0);
    EXPECT_EQ(b.st().FontSizePt, 48);
    b.st().Busy = 1;
    b.game.Form_KeyDown(109, 0);
    EXPECT_EQ(b.st().FontSizePt, 36);
    b.st().Busy = 0;
    b.st().Solved = 1;
    b.game.Form_KeyDown(187, 0);
    EXPECT_EQ(b.st().FontSizePt, 48);
    for (int i = 0; i < 20; ++i) b.game.Form_KeyDown(189, 0);
    EXPECT_EQ(b.st().FontSizePt, 8);
}

TEST(Keyboard, DigitsRefusedWhileBusyOrSolved) {
    for (int which = 0; which < 2; ++which) {
        Board b;
        b.game.lblSudoku_Click(3);
        (which == 0 ? b.st().Busy : b.st().Solved) = 1;
        b.game.Form_KeyDown(55, 0);
        EXPECT_EQ(b.st().Grid(1, 3), 0);
    }
}

TEST(EscKey, DropsTheChoiceAndDoesWhatTheMenuSays) {
    Board b;
    b.game.Form_KeyDown(27, 0);  // right after start: nothing happens
    EXPECT_EQ(b.window.minimiseRequests, 0);
    EXPECT_EQ(b.process.endRequests, 0);

    b.st().Grid(1, 1) = 2;
    b.st().Grid(1, 2) = 2;
    b.game.DrawBoard();
    b.game.lblSudoku_Click(40);
    b.game.Form_KeyDown(27, 0);
    EXPECT_EQ(b.st().SelCell, 0);
    EXPECT_EQ(b.Cell(40).back, palette::kCellPlain);
    EXPECT_EQ(b.Cell(1).back, palette::kCellPlain);  // conflict colour gone until the next redraw

    b.Choose("mnuEscMin");
    b.window.minimiseSucceeds = false;  // a refusal does not stop the rest
    b.game.lblSetNum_Click(7);
    b.game.Form_KeyDown(27, 0);
    EXPECT_EQ(b.window.minimiseRequests, 1);
    EXPECT_EQ(b.st().SelDigit, 0);
    EXPECT_EQ(b.Picker(7).back, palette::kPicker);

    b.Choose("mnuEscEnd");
    b.game.lblSudoku_Click(40);
    b.game.Form_KeyDown(27, 0);
    EXPECT_EQ(b.process.endRequests, 1);
    EXPECT_EQ(b.window.minimiseRequests, 1);
}

TEST(EscMenu, ExactlyOneMarkAndRepeatsChangeNothing) {
    Board b;
    const char* items[] = {"mnuEscEnd", "mnuEscMin", "mnuEscNo"};
    const std::int16_t values[] = {2, 1, 0};
    for (int i : {0, 0, 1, 2, 1, 2, 2}) {
        b.log.Reset();
        const bool same = b.st().EscAction == values[i];
        b.Choose(items[i]);
        EXPECT_EQ(b.st().EscAction, values[i]);
        for (int j = 0; j < 3; ++j) EXPECT_EQ(b.Item(items[j]).checked, i == j);
        if (same) {
            EXPECT_EQ(b.log.Count(memory::Prop::Checked), 0);
        }
    }
}

TEST(PickerOption, EitherItemFlipsTheOptionAndDropsTheChoices) {
    Board b;
    auto& ok = b.Item("mnuRightDigOk");
    auto& no = b.Item("mnuRightDigNo");
    ASSERT_TRUE(ok.checked);
    b.game.lblSetNum_Click(4);
    b.Choose("mnuRightDigOk");
    EXPECT_FALSE(ok.checked);
    EXPECT_TRUE(no.checked);
    EXPECT_EQ(b.st().SelDigit, 0);
    EXPECT_FALSE(b.Picker(4).visible);
    b.Choose("mnuRightDigNo");  // the checked item: flips back
    EXPECT_TRUE(ok.checked);
    EXPECT_FALSE(no.checked);
    for (int k = 1; k <= 10; ++k) {
        EXPECT_TRUE(b.Picker(k).visible);
        EXPECT_EQ(b.Picker(k).back, palette::kPicker);
    }
    b.game.lblSudoku_Click(12);
    b.Choose("mnuRightDigNo");
    EXPECT_EQ(b.st().SelCell, 0);
    EXPECT_TRUE(no.checked);
    // Keyboard entry still works with the picker hidden, and the option switches after a solve.
    b.game.lblSudoku_Click(12);
    b.game.Form_KeyDown(104, 0);
    EXPECT_EQ(b.st().Grid(2, 3), 8);
    b.st().Solved = 1;
    b.Choose("mnuRightDigOk");
    EXPECT_TRUE(ok.checked);
}

// The Esc-action and picker-option commands have no guard: they act inside a build and after a solve.
TEST(OptionCommands, ActWhileAGridIsBuiltAndAfterTheSolve) {
    auto exercise = [](Board& b, const char* when) {
        const std::pair<const char*, std::int16_t> esc[] = {{"mnuEscMin", 1}, {"mnuEscEnd", 2}, {"mnuEscNo", 0}};
        for (auto [item, value] : esc) {
            b.Choose(item);
            EXPECT_EQ(b.st().EscAction, value) << when;
            EXPECT_TRUE(b.Item(item).checked) << item << " " << when;
        }
        b.Choose("mnuRightDigOk");
        EXPECT_TRUE(b.Item("mnuRightDigNo").checked) << when;
        EXPECT_FALSE(b.Picker(1).visible) << when;
        b.Choose("mnuRightDigNo");
        EXPECT_TRUE(b.Item("mnuRightDigOk").checked) << when;
        EXPECT_TRUE(b.Picker(1).visible) << when;
    };
    Board building;
    int inside = 0;
    building.pump.onProcess = [&] {
        if (building.st().Busy == 1 && inside++ == 0) exercise(building, "while building");
    };
    building.Choose("mnuNewGame");
    EXPECT_GE(inside, 1);
    Board solved;
    solved.st().Grid = ValidGrid();
    solved.game.CheckSolved();
    ASSERT_EQ(solved.st().Solved, 1);
    exercise(solved, "after the solve");
}
