#include "Fixture.h"
#include "app/Layout.h"

using namespace sudoku;
using namespace sudoku::test;
using memory::Prop;

namespace {

void ExpectLayout(Board& b, int pt, const std::vector<int>& edges, int s) {
    ASSERT_EQ(b.st().FontSizePt, pt);
    for (int r = 1; r <= 9; ++r)
        for (int c = 1; c <= 9; ++c) {
            const auto& cell = b.Cell(CellNumber(r, c));
            EXPECT_EQ(cell.left, edges[c - 1]);
            EXPECT_EQ(cell.top, edges[r - 1]);
            EXPECT_EQ(cell.width, s);
            EXPECT_EQ(cell.height, s);
            EXPECT_EQ(cell.fontPt, static_cast<float>(pt));
            EXPECT_TRUE(cell.visible);
        }
    EXPECT_EQ(b.info->left, 6);
    EXPECT_EQ(b.info->top, edges[8] + s + 3);
}

}  // namespace

TEST(DrawBoard, DesignedWindowEqualsTheLayoutAt18Points) {
    Board b;
    b.log.Reset();
    b.game.DrawBoard();
    EXPECT_EQ(b.log.Geometry(), 0);
    EXPECT_EQ(b.log.Count(Prop::Caption), 0);
    EXPECT_EQ(b.log.Count(Prop::BackColor), 0);
    ExpectLayout(b, 18, {6, 38, 70, 109, 141, 173, 212, 244, 276}, 33);
    EXPECT_EQ(b.Picker(1).left, 315);
    EXPECT_EQ(b.Picker(6).left, 349);
    EXPECT_EQ(b.Picker(10).top, 142);
    EXPECT_EQ(b.info->top, 312);
}

TEST(DrawBoard, SecondPassWritesNoGeometryOrCaptionAndOnlyRepaintsConflicts) {
    Board b;
    Grid9 clues;
    clues(1, 1) = 5;
    b.SetPuzzle(clues);
    b.st().Grid(1, 5) = 5;  // an entry clashing with the clue in row 1
    b.st().Grid(9, 9) = 7;
    b.game.mnuSizeU_Click();
    b.log.Reset();
    b.game.DrawBoard();
    EXPECT_EQ(b.log.Geometry(), 0);
    EXPECT_EQ(b.log.Count(Prop::Caption), 0);
    // The one conflicting entry is reset to white and painted yellow again.
    EXPECT_EQ(b.log.Count(Prop::BackColor), 2);
    EXPECT_EQ(b.Cell(5).back, palette::kCellConflict);
    EXPECT_EQ(b.Cell(1).back, palette::kCellClue);
    EXPECT_EQ(b.Cell(81).caption, "7");
}

TEST(DrawBoard, GeometryAtSmallestAndLargestSizes) {
    Board b;
    for (int i = 0; i < 10; ++i) b.game.mnuSizeD_Click();
    ExpectLayout(b, 8, {6, 20, 34, 55, 69, 83, 104, 118, 132}, 15);
    for (int i = 0; i < 20; ++i) b.game.mnuSizeU_Click();
    ExpectLayout(b, 72, {6, 127, 248, 376, 497, 618, 746, 867, 988}, 122);
    EXPECT_EQ(b.Cell(81).left + 122, 1110);
    EXPECT_EQ(b.Picker(10).left + 122, 1361);
    EXPECT_EQ(b.info->top, 1113);
}

TEST(DrawBoard, LadderWalkVisitsEverySizeAndStopsAtTheEnds) {
    Board b;
    for (int i = 0; i < 7; ++i) b.game.mnuSizeD_Click();
    ASSERT_EQ(b.st().FontSizePt, 8);
    b.st().SelCell = 5;
    b.game.mnuSizeD_Click();  // at the bottom: unchanged, but still redrawn
    EXPECT_EQ(b.st().FontSizePt, 8);
    EXPECT_EQ(b.st().SelCell, 0);
    const std::pair<int, int> steps[] = {{9, 16},  {10, 18}, {11, 21}, {12, 22}, {14, 26}, {16, 29}, {18, 33}, {20, 36},
                                         {22, 39}, {24, 42}, {26, 46}, {28, 49}, {36, 63}, {48, 83}, {72, 122}};
    EXPECT_EQ(b.Cell(1).width, 15);
    for (auto [pt, s] : steps) {
        b.game.mnuSizeU_Click();
        EXPECT_EQ(b.st().FontSizePt, pt);
        EXPECT_EQ(b.Picker(7).width, s) << pt;
        EXPECT_EQ(b.Cell(81).height, s) << pt;
    }
    b.game.mnuSizeU_Click();
    EXPECT_EQ(b.st().FontSizePt, 72);
}

TEST(DrawBoard, CellAppearanceFollowsGivensAndGrid) {
    Board b;
    Grid9 clues;
    clues(2, 2) = 5;
    b.SetPuzzle(clues);
    b.st().Grid(3, 3) = 5;  // entered, and in conflict with the clue's box
    b.st().Grid(4, 4) = 6;
    b.game.DrawBoard();
    EXPECT_EQ(b.Cell(CellNumber(2, 2)).caption, "5");
    EXPECT_EQ(b.Cell(CellNumber(2, 2)).back, palette::kCellClue);
    EXPECT_EQ(b.Cell(CellNumber(3, 3)).back, palette::kCellConflict);
    EXPECT_EQ(b.Cell(CellNumber(4, 4)).caption, "6");
    EXPECT_EQ(b.Cell(CellNumber(4, 4)).back, palette::kCellPlain);
    b.st().Grid(4, 4) = 0;
    b.game.DrawBoard();
    EXPECT_EQ(b.Cell(CellNumber(4, 4)).caption, "");
}

TEST(DrawBoard, WhileBusyOnlyLaysOut) {
    Board b;
    b.st().Grid(1, 1) = 3;
    b.Cell(2).back = palette::kCellSelected;
    b.st().Busy = 1;
    b.log.Reset();
    b.game.mnuSizeU_Click();
    EXPECT_EQ(b.log.Count(Prop::Caption), 0);
    EXPECT_EQ(b.log.Count(Prop::BackColor), 0);
    EXPECT_GT(b.log.Geometry(), 0);
    EXPECT_EQ(b.Cell(1).caption, "");
    EXPECT_EQ(b.Cell(2).back, palette::kCellSelected);
    EXPECT_EQ(b.Cell(81).left, layout::Edge(9, 36));
}

TEST(DrawBoard, HiddenPickerKeepsItsGeometryAndIsLaidOutWhenShownAgain) {
    Board b;
    b.game.mnuRightDigOk_Click();
    for (int k = 1; k <= 10; ++k) EXPECT_FALSE(b.Picker(k).visible);
    b.game.mnuSizeU_Click();
    EXPECT_EQ(b.Picker(1).left, 315);  // untouched while hidden
    EXPECT_EQ(b.Picker(1).width, 33);
    b.game.mnuRightDigNo_Click();
    for (int k = 1; k <= 10; ++k) {
        EXPECT_TRUE(b.Picker(k).visible);
        EXPECT_EQ(b.Picker(k).width, 36);
        EXPECT_EQ(b.Picker(k).fontPt, 20.0f);
    }
    EXPECT_EQ(b.Picker(1).left, 9 * 36 + 18);
    EXPECT_EQ(b.Picker(10).left, 10 * 36 + 19);
    EXPECT_EQ(b.Picker(10).top, 6 + 4 * 37);
}

TEST(DrawBoard, AMovingCellIsHiddenBeforeItsGeometryOrFontIsWritten) {
    Board b;
    for (int i = 0; i < 7; ++i) b.game.mnuSizeD_Click();
    for (int i = 0; i < 15; ++i) b.game.mnuSizeU_Click();
    EXPECT_GT(b.log.Geometry(), 81 * 15);
    b.Cell(41).fontPt = 9;  // its font alone to change
    b.game.DrawBoard();
    EXPECT_EQ(b.Cell(41).fontPt, 72.0f);
    for (int n = 1; n <= 81; ++n) EXPECT_EQ(b.Cell(n).shownMoves, 0) << "cell " << n;
}
