// How the Windows window turns the game's 96-DPI pixels and points into real pixels.
#include <gtest/gtest.h>

#include "app/FormDefinition.h"
#include "app/Layout.h"
#include "platform/win32/DpiScale.h"

using namespace sudoku;
using win32::ScaleRect;

TEST(DpiScale, At96DpiTheFormIsShownAsDefined) {
    for (int n = 1; n <= 81; ++n) {
        const form::LabelDesign d = form::Cell(n);
        const win32::PixelRect r = ScaleRect(d.left, d.top, d.width, d.height, 96);
        EXPECT_EQ(r.left, d.left);
        EXPECT_EQ(r.right - r.left, d.width);
        EXPECT_EQ(r.bottom - r.top, d.height);
    }
    EXPECT_EQ(win32::FontPixelHeight(18, 96), 24);  // as the Qt window sizes 18 points
    EXPECT_EQ(win32::FontPixelHeight(9, 96), 12);
    EXPECT_EQ(win32::BorderWidth(96), 1);
}

TEST(DpiScale, ScaledBoardKeepsSharedBordersAndBoxGapsAtEverySize) {
    for (unsigned dpi : {120u, 144u, 168u, 192u, 240u}) {
        for (int pt : layout::kLadder) {
            const int s = layout::CellSize(pt);
            for (int k = 1; k < 9; ++k) {
                const win32::PixelRect a = ScaleRect(layout::Edge(k, s), 0, s, s, dpi);
                const win32::PixelRect b = ScaleRect(layout::Edge(k + 1, s), 0, s, s, dpi);
                SCOPED_TRACE(testing::Message() << "dpi " << dpi << ", " << pt << " pt, column " << k);
                if (k % 3 == 0) {
                    EXPECT_GT(b.left, a.right);  // the window colour shows between boxes
                } else {
                    // The overlap covers a whole border line, so two lines never show side by side.
                    EXPECT_GE(a.right - b.left, win32::BorderWidth(dpi));
                    EXPECT_LE(a.right - b.left, win32::BorderWidth(dpi) + 1);
                }
            }
        }
    }
    EXPECT_EQ(win32::FontPixelHeight(18, 144), 36);
}
