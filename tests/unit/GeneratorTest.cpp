#include <cmath>
#include <set>

#include "Fixture.h"
#include "generator/FastRandom.h"

using namespace sudoku;
using namespace sudoku::test;

namespace {

// A random value whose box offset floor(3r) is the given one.
float OffsetValue(int offset) { return (static_cast<float>(offset) + 0.5f) / 3.0f; }

// Scripts the draws that lay digit d of the target grid down in every box: column, then row.
void ScriptDigit(std::deque<float>& script, const Grid9& target, int d) {
    for (int br = 1; br <= 7; br += 3)
        for (int bc = 1; bc <= 7; bc += 3)
            for (int i = 0; i < 9; ++i)
                if (target(br + i / 3, bc + i % 3) == d) {
                    script.push_back(OffsetValue(i % 3));
                    script.push_back(OffsetValue(i / 3));
                }
}

void ScriptPass(std::deque<float>& script, const Grid9& target) {
    for (int d = 1; d <= 9; ++d) ScriptDigit(script, target, d);
}

// Copies of digit 1 all in the top-left cell of their box: boxes of one band share a row.
void ScriptClashingDigitOne(std::deque<float>& script) {
    for (int box = 0; box < 9; ++box) {
        script.push_back(OffsetValue(0));
        script.push_back(OffsetValue(0));
    }
}

void ExpectFinishedBuild(Board& b) {
    EXPECT_TRUE(IsValidComplete(b.st().Grid));
    EXPECT_EQ(b.st().Givens, b.st().Grid);
    EXPECT_EQ(b.st().Busy, 0);
    EXPECT_FALSE(b.timer.enabled);
    EXPECT_EQ(b.info->caption, "");
}

}  // namespace

TEST(BuildSolutionGrid, CleanPassUsesExactlyItsDraws) {
    Board b;
    const Grid9 target = ValidGrid();
    ScriptPass(b.random.script, target);
    const long scripted = static_cast<long>(b.random.script.size());
    std::string opening;
    b.pump.onProcess = [&] { opening = b.timer.enabled ? b.info->caption : "timer off"; };
    b.game.BuildSolutionGrid();
    EXPECT_EQ(opening, "Создание таблицы..");  // no tick is due before the first pass
    EXPECT_EQ(b.st().Grid, target);
    EXPECT_EQ(b.random.draws, scripted);  // 9 attempts, no redraw, no conflict
    EXPECT_EQ(scripted, 9 * 9 * 2);
    EXPECT_EQ(b.pump.calls, 1);
    ExpectFinishedBuild(b);
}

TEST(BuildSolutionGrid, TakenCellIsDrawnAgainColumnFirst) {
    Board b;
    const Grid9 target = ValidGrid();
    auto& s = b.random.script;
    ScriptDigit(s, target, 1);
    // Digit 2, first box: first land on the cell of digit 1 (both coordinates are drawn again).
    int oneAt = 0;
    while (target(1 + oneAt / 3, 1 + oneAt % 3) != 1) ++oneAt;
    s.push_back(OffsetValue(oneAt % 3));
    s.push_back(OffsetValue(oneAt / 3));
    for (int d = 2; d <= 9; ++d) ScriptDigit(s, target, d);
    const long scripted = static_cast<long>(s.size());
    b.game.BuildSolutionGrid();
    EXPECT_EQ(b.st().Grid, target);
    EXPECT_EQ(b.random.draws, scripted);
}

TEST(BuildSolutionGrid, ConflictTakesTheDigitUpAndLaysItDownAgain) {
    Board b;
    const Grid9 target = ValidGrid();
    ScriptClashingDigitOne(b.random.script);
    ScriptPass(b.random.script, target);
    const long scripted = static_cast<long>(b.random.script.size());
    b.game.BuildSolutionGrid();
    EXPECT_EQ(b.st().Grid, target);  // no stray copy of the first attempt is left
    EXPECT_EQ(b.random.draws, scripted);
    EXPECT_EQ(b.pump.calls, 1);
}

TEST(BuildSolutionGrid, PassIsAbandonedWhenTheAttemptCountReachesTheLimit) {
    Board b;
    for (int attempt = 1; attempt < 32000; ++attempt) ScriptClashingDigitOne(b.random.script);
    const Grid9 target = ValidGrid();
    ScriptPass(b.random.script, target);
    const long scripted = static_cast<long>(b.random.script.size());
    int onesAtSecondPass = -1;
    b.pump.onProcess = [&] {
        EXPECT_EQ(b.st().Busy, 1);
        EXPECT_TRUE(b.timer.enabled);
        if (b.pump.calls == 2) {
            onesAtSecondPass = 0;
            for (auto v : b.st().Givens.cells) onesAtSecondPass += v == 1;
        }
    };
    b.game.BuildSolutionGrid();
    EXPECT_EQ(b.pump.calls, 2);
    EXPECT_EQ(onesAtSecondPass, 9);  // events come before the grid is emptied
    EXPECT_EQ(b.random.draws, scripted);  // 31999 attempts were made, not 32000
    EXPECT_EQ(b.st().Grid, target);
    ExpectFinishedBuild(b);
}

TEST(BuildSolutionGrid, ManySeedsGiveValidDistinctGrids) {
    Board b;
    std::set<std::array<std::int16_t, 81>> seen;
    for (int seed = 0; seed < 60; ++seed) {
        b.random.Seed(static_cast<float>(seed) * 0.37f);
        b.pump.calls = 0;
        b.game.BuildSolutionGrid();
        ExpectFinishedBuild(b);
        EXPECT_GE(b.pump.calls, 1);
        seen.insert(b.st().Grid.cells);
    }
    EXPECT_EQ(seen.size(), 60u);
}

TEST(StatusAnimation, TicksCycleTheFourTextsAndLeaveOthersAlone) {
    Board b;
    const std::pair<const char*, const char*> steps[] = {
        {"Создание таблицы", "Создание таблицы."},
        {"Создание таблицы.", "Создание таблицы.."},
        {"Создание таблицы..", "Создание таблицы..."},
        {"Создание таблицы...", "Создание таблицы"},
        {"", ""},
        {"Судоку пройден", "Судоку пройден"},
        {"Создание таблицы....", "Создание таблицы...."},
    };
    for (auto [from, to] : steps) {
        b.info->caption = from;
        b.game.tmrPostr_Timer();
        EXPECT_EQ(b.info->caption, to);
    }
}

TEST(RemoveClues, EveryDifficultyKeepsItsCluesPerBox) {
    const char* items[] = {"mnuGame67", "mnuGame56", "mnuGame45", "mnuGame34", "mnuGame23", "mnuGame12"};
    for (int i = 0; i < 6; ++i) {
        Board b;
        b.Choose(items[i]);
        const int holeMin = 6 - i, holeMax = 7 - i;
        EXPECT_EQ(b.st().HoleMin, holeMin);
        EXPECT_EQ(b.st().HoleMax, holeMax);
        std::set<int> counts;
        b.game.BuildSolutionGrid();
        const Grid9 full = b.st().Grid;
        for (int game = 0; game < 300; ++game) {
            b.st().Givens = full;
            b.st().Grid = full;
            b.game.RemoveClues();
            EXPECT_EQ(b.st().Givens, b.st().Grid);
            for (int box = 0; box < 9; ++box) {
                int clues = 0;
                for (int k = 0; k < 9; ++k) {
                    const int r = 1 + 3 * (box / 3) + k / 3, c = 1 + 3 * (box % 3) + k % 3;
                    if (b.st().Grid(r, c) == 0) continue;
                    ++clues;
                    EXPECT_EQ(b.st().Grid(r, c), full(r, c));
                }
                EXPECT_GE(clues, 9 - holeMax);
                EXPECT_LE(clues, 9 - holeMin);
                counts.insert(clues);
            }
        }
        EXPECT_EQ(counts.size(), 2u) << items[i];
    }
}

TEST(RemoveClues, ScriptedDrawsBlankTheseCells) {
    Board b;  // 2 to 3 holes per box
    b.st().Givens = b.st().Grid = ValidGrid();
    auto& s = b.random.script;
    // First box: the count (3 holes), then column and row offsets; (2,0) a second time is redrawn.
    for (float v : {0.75f, OffsetValue(2), OffsetValue(0), OffsetValue(0), OffsetValue(1), OffsetValue(2),
                    OffsetValue(0), OffsetValue(1), OffsetValue(2)})
        s.push_back(v);
    for (int box = 1; box < 9; ++box)  // 2 holes: top-left, then bottom row, middle column
        for (float v : {0.25f, OffsetValue(0), OffsetValue(0), OffsetValue(1), OffsetValue(2)}) s.push_back(v);
    const long scripted = static_cast<long>(s.size());
    b.game.RemoveClues();
    EXPECT_EQ(b.random.draws, scripted);
    std::set<std::pair<int, int>> holes{{1, 3}, {2, 1}, {3, 2}};
    for (int box = 1; box < 9; ++box) {
        const int br = 1 + 3 * (box / 3), bc = 1 + 3 * (box % 3);
        holes.insert({br, bc});
        holes.insert({br + 2, bc + 1});
    }
    for (int r = 1; r <= 9; ++r)
        for (int c = 1; c <= 9; ++c) {
            EXPECT_EQ(b.st().Givens(r, c) == 0, holes.count({r, c}) == 1) << r << "," << c;
            EXPECT_EQ(b.st().Grid(r, c), b.st().Givens(r, c));
        }
}

TEST(RandomSource, NeverReachesOne) {
    const float top = FastRandom::ToUnit(0xFFFFFFFFu);
    EXPECT_LT(top, 1.0f);
    EXPECT_EQ(static_cast<int>(3.0f * top), 2);
    for (int width = 1; width <= 10; ++width) EXPECT_EQ(static_cast<int>(static_cast<float>(width) * top), width - 1);
    EXPECT_EQ(FastRandom::ToUnit(0), 0.0f);
    FastRandom r;
    r.Seed(43210.123f);
    int offsets[3] = {};
    for (int i = 0; i < 300000; ++i) {
        const float v = r.Next();
        ASSERT_GE(v, 0.0f);
        ASSERT_LT(v, 1.0f);
        ++offsets[static_cast<int>(3.0f * v)];
    }
    for (int n : offsets) EXPECT_NEAR(n, 100000, 2000);
}
