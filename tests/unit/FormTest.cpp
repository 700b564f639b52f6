#include <gtest/gtest.h>

#include "app/IconDesign.h"
#include "app/Palette.h"
#include "MemoryForm.h"

using namespace sudoku;

TEST(Form, StartsAsDesigned) {
    memory::MemoryForm f;
    ASSERT_TRUE(f.game.Form_Load());
    EXPECT_EQ(f.game.st.HoleMin, 2);
    EXPECT_EQ(f.game.st.HoleMax, 3);
    EXPECT_EQ(f.game.st.FontSizePt, 18);
    EXPECT_EQ(f.Cell(1).left, 6);
    EXPECT_EQ(f.Picker(10).caption, "");
    EXPECT_EQ(f.Picker(9).caption, "9");
    EXPECT_TRUE(f.Item("mnuGame23").checked);
}

TEST(Form, SeedsTheRandomSourceFromTheClockAtStart) {
    auto puzzleAt = [](float secondsSinceMidnight) {
        memory::MemoryForm f;
        f.process.seconds = secondsSinceMidnight;
        EXPECT_TRUE(f.game.Form_Load());
        f.Choose("mnuNewGame");
        return f.game.st.Givens;
    };
    EXPECT_EQ(puzzleAt(30000.25f), puzzleAt(30000.25f));  // the clock alone decides
    EXPECT_NE(puzzleAt(30000.25f), puzzleAt(30001.5f));
}

TEST(Form, IconHasAOnePixelBlackFrameAt48And24AndNoneAt16) {
    for (int size : icon::kWindowSizes) {
        const std::vector<Rgb> px = icon::Pixels(size);
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                const bool ring = x == 0 || y == 0 || x == size - 1 || y == size - 1;
                EXPECT_EQ(px[static_cast<size_t>(y * size + x)] == 0x000000, ring && size >= 24)
                    << size << " px at " << x << "," << y;
            }
    }
}
