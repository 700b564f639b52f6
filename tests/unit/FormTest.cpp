#include <gtest/gtest.h>

#include "app/Palette.h"
#include "platform/memory/MemoryControls.h"

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
