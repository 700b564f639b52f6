#include "Fixture.h"

using namespace sudoku;
using namespace sudoku::test;

namespace {

const char* kDifficulties[] = {"mnuGame67", "mnuGame56", "mnuGame45", "mnuGame34", "mnuGame23", "mnuGame12"};
const char* kCommands[] = {"mnuNewGame", "mnuGame67", "mnuGame56", "mnuGame45", "mnuGame34", "mnuGame23", "mnuGame12"};

int CheckedDifficulties(Board& b) {
    int n = 0;
    for (const char* item : kDifficulties) n += b.Item(item).checked;
    return n;
}

void ExpectCluesPerBox(Board& b, int holeMin, int holeMax) {
    for (int box = 0; box < 9; ++box) {
        int clues = 0;
        for (int k = 0; k < 9; ++k) clues += b.st().Givens(1 + 3 * (box / 3) + k / 3, 1 + 3 * (box % 3) + k % 3) != 0;
        EXPECT_GE(clues, 9 - holeMax) << "box " << box;
        EXPECT_LE(clues, 9 - holeMin) << "box " << box;
    }
}

}  // namespace

TEST(NewGame, DifficultyItemSetsThePairMovesTheMarkAndDrawsThePuzzle) {
    Board b;
    b.log.Reset();
    b.Choose("mnuGame67");
    EXPECT_EQ(b.log.Count(memory::Prop::Checked), 2);  // only the old mark and the new one are written
    EXPECT_EQ(b.st().HoleMin, 6);
    EXPECT_EQ(b.st().HoleMax, 7);
    EXPECT_TRUE(b.Item("mnuGame67").checked);
    EXPECT_EQ(CheckedDifficulties(b), 1);
    ExpectCluesPerBox(b, 6, 7);
    for (int n = 1; n <= 81; ++n) {
        const int r = RowOf(n), c = ColOf(n);
        const bool clue = b.st().Givens(r, c) != 0;
        EXPECT_EQ(b.Cell(n).back, clue ? palette::kCellClue : palette::kCellPlain);
        EXPECT_EQ(b.Cell(n).caption, clue ? std::to_string(b.st().Grid(r, c)) : "");
    }
    // "Новая" keeps the difficulty; the checked item again starts a new game too.
    const Grid9 first = b.st().Givens;
    b.Choose("mnuNewGame");
    EXPECT_TRUE(b.Item("mnuGame67").checked);
    ExpectCluesPerBox(b, 6, 7);
    const Grid9 second = b.st().Givens;
    b.Choose("mnuGame67");
    EXPECT_EQ(CheckedDifficulties(b), 1);
    EXPECT_NE(first, second);
    EXPECT_NE(second, b.st().Givens);
}

TEST(NewGame, EmptiesTheBoardFirstAndDropsTheChosenEntry) {
    Board b;
    b.st().Grid(5, 5) = 3;
    b.game.lblSetNum_Click(4);
    int step = 0;
    b.pump.onProcess = [&] {
        if (++step != 1) return;
        // The first processing of events follows the empty board.
        for (int n = 1; n <= 81; ++n) {
            EXPECT_EQ(b.Cell(n).caption, "");
            EXPECT_EQ(b.Cell(n).back, palette::kCellPlain);
        }
        for (auto v : b.st().Grid.cells) EXPECT_EQ(v, 0);
        EXPECT_EQ(b.st().SelDigit, 0);
        EXPECT_EQ(b.Picker(4).back, palette::kPicker);
    };
    b.Choose("mnuNewGame");
    EXPECT_GE(step, 3);  // before the build, each pass, after the build
    EXPECT_EQ(b.st().SelDigit, 0);
}

TEST(NewGame, AfterASolvedPuzzleTheBoardRespondsAgain) {
    Board b;
    b.st().Grid = ValidGrid();
    b.game.CheckSolved();
    ASSERT_EQ(b.st().Solved, 1);
    b.Choose("mnuNewGame");
    EXPECT_EQ(b.st().Solved, 0);
    EXPECT_EQ(b.info->caption, "");
    int empty = 1;
    while (b.st().Givens.cells[empty - 1] != 0) ++empty;
    b.game.lblSudoku_Click(static_cast<std::int16_t>(empty));
    EXPECT_EQ(b.st().SelCell, empty);
}

TEST(NewGame, InputDuringTheBuildChangesNothing) {
    Board b;
    b.Choose("mnuGame45");
    const int holeMin = b.st().HoleMin;
    b.game.mnuRightDigOk_Click();  // picker hidden: the option command must still work inside
    int inside = 0;
    b.pump.onProcess = [&] {
        if (b.st().Busy != 1) return;
        ++inside;
        const Grid9 givens = b.st().Givens;
        b.log.Reset();
        for (const char* cmd : kCommands) b.Choose(cmd);
        b.Choose("mnuGameClear");
        b.game.lblSudoku_Click(11);
        b.game.lblSudoku_DblClick(12);
        b.game.lblSetNum_Click(3);
        b.game.Form_KeyDown(51, 0);
        EXPECT_EQ(b.log.counts.size(), 0u);
        EXPECT_EQ(b.st().Givens, givens);
        EXPECT_EQ(b.st().SelCell, 0);
        EXPECT_EQ(b.st().SelDigit, 0);
        // Size and picker option still lay out, leaving captions and colours alone.
        b.game.mnuSizeU_Click();
        b.game.mnuRightDigNo_Click();
        EXPECT_EQ(b.log.Count(memory::Prop::Caption), 0);
        EXPECT_EQ(b.log.Count(memory::Prop::BackColor), 0);
        EXPECT_GT(b.log.Geometry(), 0);
        b.game.mnuSizeD_Click();
        b.game.mnuRightDigNo_Click();
        EXPECT_EQ(b.info->caption.rfind("Создание таблицы", 0), 0u);
    };
    b.Choose("mnuNewGame");
    EXPECT_GE(inside, 1);
    EXPECT_EQ(b.st().HoleMin, holeMin);
    EXPECT_TRUE(b.Item("mnuGame45").checked);
    EXPECT_EQ(CheckedDifficulties(b), 1);
    ExpectCluesPerBox(b, 4, 5);
}

// A command that arrives while the new game processes events outside the build
// (before it and after it) must not start a second game inside the first.
TEST(NewGame, CommandsAreRefusedForTheWholeNewGame) {
    for (const char* cmd : kCommands) {
        for (int at : {1, 2}) {  // the processing before the build, or after it
            Board b;
            b.Choose("mnuGame23");
            int outside = 0;
            bool delivered = false;
            b.pump.onProcess = [&] {
                if (b.st().Busy == 1) return;
                if (++outside != at) return;
                delivered = true;
                b.Choose(cmd);
            };
            b.Choose("mnuGame12");
            EXPECT_TRUE(delivered);
            EXPECT_EQ(b.st().HoleMin, 1) << cmd << " at " << at;
            EXPECT_EQ(b.st().HoleMax, 2);
            EXPECT_TRUE(b.Item("mnuGame12").checked);
            EXPECT_EQ(CheckedDifficulties(b), 1);
            ExpectCluesPerBox(b, 1, 2);
            EXPECT_EQ(b.st().Busy, 0);
            EXPECT_EQ(b.game.NewGameInProgress, 0);
            // Once it has ended, the commands work again.
            b.pump.onProcess = nullptr;
            b.Choose("mnuGame67");
            ExpectCluesPerBox(b, 6, 7);
        }
    }
}

TEST(NewGame, ClosingDuringTheBuildEndsTheProcess) {
    Board b;
    b.Choose("mnuEscEnd");
    b.pump.onProcess = [&] {
        if (b.st().Busy == 1 && b.process.endRequests == 0) b.game.Form_KeyDown(27, 0);
    };
    b.Choose("mnuNewGame");
    EXPECT_EQ(b.process.endRequests, 1);
}
