// The label scene: the game's pixels on device pixels at any scale, which label a click
// reaches, the mouse rules, and what is painted again after a change, through the in-memory
// front end (a picture painted as a window paints it).
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "Fixture.h"
#include "app/FormDefinition.h"
#include "app/Layout.h"
#include "scene/PaintAreas.h"

using namespace sudoku;
using scene::DeviceRect;
using scene::Scale;
using test::Board;

namespace {

const Scale kScales[] = {Scale::FromFactor(1), Scale::FromFactor(1.25), Scale::FromFactor(1.5), Scale::FromFactor(1.75),
                         Scale::FromFactor(2), Scale::FromDpi(108), Scale::FromDpi(120), Scale::FromDpi(144),
                         Scale::FromDpi(168), Scale::FromDpi(192)};

DeviceRect Bounds(memory::MemoryLabel& l) { return l.Bounds(); }

memory::Picture Whole(Board& b) {
    DeviceRect all;
    for (const auto& l : b.scene.Labels()) all = all.United(l->Bounds());
    return memory::PaintWhole(b.scene, all.right + 4, all.bottom + 4);
}

// Lengths of the black runs met along a line of the picture.
std::vector<int> BlackRuns(const memory::Picture& p, bool across, int at) {
    std::vector<int> runs;
    int run = 0;
    const int n = across ? p.Width() : p.Height();
    for (int i = 0; i <= n; ++i) {
        const bool black = i < n && (across ? p.At(i, at) : p.At(at, i)) == palette::kText;
        if (black) ++run;
        if (!black && run) runs.push_back(run), run = 0;
    }
    return runs;
}

}  // namespace

TEST(SceneGeometry, AtScaleOneTheFormIsShownAsDesigned) {
    for (int n = 1; n <= 81; ++n) {
        const form::LabelDesign d = form::Cell(n);
        EXPECT_EQ(scene::ToDevice(d.left, d.top, d.width, d.height, Scale{}),
                  (DeviceRect{d.left, d.top, d.left + d.width, d.top + d.height}));
    }
    EXPECT_EQ(Scale{}.TextPixels(18), 24);  // 18 points at 96 DPI
    EXPECT_EQ(Scale{}.TextPixels(9), 12);
    EXPECT_EQ(Scale::FromDpi(144).TextPixels(18), 36);
    EXPECT_EQ(Scale{}.FrameWidth(), 1);
    EXPECT_EQ(Scale::FromDpi(120), Scale::FromFactor(1.25));
}

// Every border line, every gap between boxes and around the picker, one line each and none
// lost, at all sixteen sizes and every scale: counted on the painted picture.
TEST(SceneGeometry, EveryLineAndGapShowsAtEverySizeAndScale) {
    for (const Scale s : kScales) {
        Board b;
        b.scene.SetScale(s);
        for (int size = 0; size < 16; ++size) {
            SCOPED_TRACE(testing::Message() << "scale " << s.Factor() << ", " << b.st().FontSizePt << " pt");
            if (size == 0) for (int i = 0; i < 15; ++i) b.game.mnuSizeD_Click();
            else b.game.mnuSizeU_Click();
            const memory::Picture p = Whole(b);
            const DeviceRect first = Bounds(b.Cell(1));
            const int inside = s.FrameWidth() + 1;  // clear of the frame, above any text
            const std::vector<int> across = BlackRuns(p, true, first.top + inside);
            const std::vector<int> down = BlackRuns(p, false, first.left + inside);
            EXPECT_EQ(across, std::vector<int>(12 + 4, s.FrameWidth()));  // 3 boxes of 4 lines, 2 picker columns
            EXPECT_EQ(down, std::vector<int>(12, s.FrameWidth()));
            // The window colour between the boxes and between the picker columns.
            EXPECT_EQ(p.At((Bounds(b.Cell(3)).right + Bounds(b.Cell(4)).left) / 2, first.top + inside), palette::kWindow);
            EXPECT_EQ(p.At(Bounds(b.Picker(1)).right, first.top + inside), palette::kWindow);
        }
    }
}

// Which label a press at a device pixel reaches: the label made first lies on top, so the
// line two cells share belongs to the right or lower one; hidden labels and the status
// line let the press through to what lies beneath.
TEST(SceneHitTest, StackingVisibilityAndTheStatusLine) {
    for (const Scale s : {Scale{}, Scale::FromFactor(1.5)}) {
        Board b;
        b.scene.SetScale(s);
        const DeviceRect c1 = Bounds(b.Cell(1)), c10 = Bounds(b.Cell(10));
        EXPECT_EQ(b.scene.LabelAt(c1.right - 1, c1.top + 5), b.ui.lblSudoku[2]);
        EXPECT_EQ(b.scene.LabelAt(Bounds(b.Cell(2)).left - 1, c1.top + 5), b.ui.lblSudoku[1]);
        EXPECT_EQ(b.scene.LabelAt(c1.left + 5, c1.bottom - 1), b.ui.lblSudoku[10]);
        EXPECT_EQ(b.scene.LabelAt(c10.left + 5, c10.top), b.ui.lblSudoku[10]);
        EXPECT_EQ(b.scene.LabelAt(c1.left - 1, c1.top + 5), nullptr);  // the window itself
        // The picker hidden: its place answers no more.
        const DeviceRect p5 = Bounds(b.Picker(5));
        b.game.mnuRightDigOk_Click();
        EXPECT_EQ(b.scene.LabelAt((p5.left + p5.right) / 2, (p5.top + p5.bottom) / 2), nullptr);
        b.Picker(5).Click();
        EXPECT_EQ(b.st().SelDigit, 0);
        // The status line over the first row: a click at its middle reaches the cell beneath.
        b.info->SetTop(b.Cell(1).Top());
        b.info->Click();
        EXPECT_EQ(b.st().SelCell, 5);
    }
}

// The gaps between boxes, between the board and the picker and between picker entries
// belong to the window: every pixel of them, the first one right of or below a label
// included, reaches no label, and a click there selects nothing.
TEST(SceneHitTest, TheGapsReachNoLabel) {
    for (const Scale s : kScales) {
        SCOPED_TRACE(testing::Message() << "scale " << s.Factor());
        Board b;
        b.scene.SetScale(s);
        struct Gap {
            memory::MemoryLabel &before, &after;
            bool across;  // before lies left of after; otherwise above it
        };
        const Gap gaps[] = {{b.Cell(3), b.Cell(4), true},     {b.Cell(6), b.Cell(7), true},
                            {b.Cell(9), b.Picker(1), true},   {b.Picker(1), b.Picker(6), true},
                            {b.Cell(19), b.Cell(28), false},  {b.Cell(46), b.Cell(55), false},
                            {b.Picker(1), b.Picker(2), false}};
        for (const Gap& g : gaps) {
            const DeviceRect a = Bounds(g.before), z = Bounds(g.after);
            auto at = [&](int i) {  // the pixel i along the line through both labels' middles
                return g.across ? std::pair{i, (a.top + a.bottom) / 2} : std::pair{(a.left + a.right) / 2, i};
            };
            const int first = g.across ? a.right : a.bottom, next = g.across ? z.left : z.top;
            ASSERT_LT(first, next);
            EXPECT_EQ(b.scene.LabelAt(at(first - 1).first, at(first - 1).second), &g.before);
            for (int i = first; i < next; ++i) EXPECT_EQ(b.scene.LabelAt(at(i).first, at(i).second), nullptr) << i;
            EXPECT_EQ(b.scene.LabelAt(at(next).first, at(next).second), &g.after);
            b.scene.Press(at(first).first, at(first).second, false);
            b.scene.Release(at(first).first, at(first).second);
            EXPECT_EQ(b.st().SelCell, 0);
            EXPECT_EQ(b.st().SelDigit, 0);
        }
    }
}

TEST(SceneMouse, ClicksDoubleClicksAndSlidingOff) {
    Board b;
    auto centre = [&](memory::MemoryLabel& l) {
        const DeviceRect r = Bounds(l);
        return std::pair{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    };
    const auto [x1, y1] = centre(b.Cell(1));
    const auto [x10, y10] = centre(b.Cell(10));
    // A press that slides off clicks nothing; one that slides back in does.
    EXPECT_TRUE(b.scene.Press(x1, y1, false));
    b.scene.Release(x10, y10);
    EXPECT_EQ(b.st().SelCell, 0);
    b.scene.Press(x1, y1, false);
    b.scene.Release(x1 + 1, y1);
    EXPECT_EQ(b.st().SelCell, 1);
    // A press taken away by the system clicks nothing.
    b.scene.Press(x10, y10, false);
    b.scene.Cancel();
    b.scene.Release(x10, y10);
    EXPECT_EQ(b.st().SelCell, 1);
    // A double click on the picker entry just clicked: chosen, then dropped by the second
    // click; its last release clicks no more.
    const auto [px, py] = centre(b.Picker(5));
    b.game.ClearSelection();
    b.scene.Press(px, py, false);
    b.scene.Release(px, py);
    EXPECT_EQ(b.st().SelDigit, 5);
    b.scene.Press(px, py, true);
    EXPECT_EQ(b.st().SelDigit, 0);
    b.scene.Release(px, py);
    EXPECT_EQ(b.st().SelDigit, 0);
    // The second press of a double click on another label is a press of its own.
    const auto [qx, qy] = centre(b.Picker(6));
    b.scene.Press(qx, qy, true);
    EXPECT_EQ(b.st().SelDigit, 0);
    b.scene.Release(qx, qy);
    EXPECT_EQ(b.st().SelDigit, 6);
}

// What is painted again after a change leaves the picture as a fresh paint of the whole
// would be: moves (sizes up and down), the picker hidden and shown, a new scale; a pass that
// changes nothing asks for no paint at all.
TEST(SceneRepaint, ChangedAreasLeaveNoOldPictureBehind) {
    using Step = std::function<void(Board&)>;
    const Step up = [](Board& b) { b.game.mnuSizeU_Click(); };
    const Step down = [](Board& b) { b.game.mnuSizeD_Click(); };
    const Step picker = [](Board& b) { b.game.mnuRightDigOk_Click(); };
    const auto scale = [](double f) { return [f](Board& b) { b.scene.SetScale(Scale::FromFactor(f)); }; };
    const Step play = [](Board& b) { b.Cell(1).Click(), b.Picker(4).Click(), b.Picker(4).Click(), b.Cell(2).Click(); };
    const std::vector<std::pair<const char*, std::vector<Step>>> changes{
        {"sizes + + - -", {up, up, down, down}},
        {"sizes - - + +", {down, down, up, up}},
        {"picker hidden, larger, shown", {picker, up, picker}},
        {"scale 1.5, 2, 1", {scale(1.5), scale(2), scale(1)}},
        {"a digit, a selection, a conflict", {play}},
    };
    for (const auto& [what, steps] : changes) {
        SCOPED_TRACE(what);
        Board b;
        b.scene.SetScale(Scale::FromFactor(1.25));
        memory::Picture picture = memory::PaintWhole(b.scene, 800, 700);
        b.screen.invalid.clear();
        b.game.DrawBoard();
        EXPECT_TRUE(b.screen.invalid.empty()) << "a pass that changes nothing";
        for (const Step& step : steps) {
            step(b);
            EXPECT_FALSE(b.screen.invalid.empty());
            b.screen.PaintInvalid(b.scene, picture);  // each change painted before the next, as on a screen
        }
        EXPECT_TRUE(picture == memory::PaintWhole(b.scene, 800, 700));
    }
}

// A paint from an off-screen picture (the Windows board): the picture reaches the paint box's
// far edges, wherever the box starts, and never shrinks; the update region's rectangles are
// painted apart, within the box, and the box itself when there are too many or none is known.
TEST(SceneRepaint, OffScreenPaintAreas) {
    using scene::PictureFor;
    using scene::PictureSize;
    EXPECT_EQ(PictureFor({0, 0, 389, 332}, {}), (PictureSize{389, 332}));
    EXPECT_EQ(PictureFor({300, 250, 420, 360}, {389, 332}), (PictureSize{420, 360})) << "right of and below it";
    EXPECT_EQ(PictureFor({10, 20, 30, 40}, {389, 332}), (PictureSize{389, 332}));

    const DeviceRect box{10, 10, 300, 300};
    const DeviceRect far1{10, 10, 40, 40}, far2{250, 250, 320, 320};
    EXPECT_EQ(scene::PaintAreas(box, {far1, far2}, 16), (std::vector<DeviceRect>{far1, {250, 250, 300, 300}}));
    EXPECT_EQ(scene::PaintAreas(box, {{400, 400, 410, 410}, far1}, 16), std::vector<DeviceRect>{far1})
        << "outside the box";
    std::vector<DeviceRect> many;
    for (int i = 0; i < 17; ++i) many.push_back({10 + 10 * i, 10 + 10 * i, 15 + 10 * i, 15 + 10 * i});
    EXPECT_EQ(scene::PaintAreas(box, many, 16), std::vector<DeviceRect>{box}) << "too many rectangles";
    many.pop_back();
    EXPECT_EQ(scene::PaintAreas(box, many, 16), many);
    EXPECT_EQ(scene::PaintAreas(box, {}, 16), std::vector<DeviceRect>{box}) << "no region known";
}
