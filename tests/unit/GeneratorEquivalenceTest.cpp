// The solution grid builder against a plain step-by-step transcription of its
// rules, drawing one random value at a time: for every seed both must make the
// same grid, with the same random draws, the same passes and the same Givens
// whenever events are processed.
#include <gtest/gtest.h>

#include <vector>

#include "generator/FastRandom.h"
#include "MemoryForm.h"

using namespace sudoku;

namespace {

struct StepByStepBuild {
    Grid9 givens;
    std::vector<Grid9> givensAtEvents;  // Givens each time events would be processed
};

bool HoldsElsewhere(const Grid9& g, int i, int j, int d) {
    for (int r = i - 1; r >= 1; --r)
        if (g(r, j) == d) return true;
    for (int c = j - 1; c >= 1; --c)
        if (g(i, c) == d) return true;
    for (int r = i + 1; r <= 9; ++r)
        if (g(r, j) == d) return true;
    for (int c = j + 1; c <= 9; ++c)
        if (g(i, c) == d) return true;
    return false;
}

StepByStepBuild BuildStepByStep(RandomSource& random) {
    StepByStepBuild out;
    Grid9& g = out.givens;
    const auto offset = [&random] { return static_cast<int>(3.0f * random.Next()); };
    for (;;) {  // step 4: a pass
        int attempts = 0;
        out.givensAtEvents.push_back(g);
        for (int r = 1; r <= 9; ++r)
            for (int c = 1; c <= 9; ++c) g(r, c) = 0;
        int d = 1;
        bool passAbandoned = false;
        while (d <= 9) {  // step 5
            if (++attempts == 32000) {  // step 6
                passAbandoned = true;
                break;
            }
            for (int r = 1; r <= 9; ++r)  // step 7
                for (int c = 1; c <= 9; ++c)
                    if (g(r, c) == d) g(r, c) = 0;
            for (int br = 1; br <= 7; br += 3) {  // step 8
                for (int bc = 1; bc <= 7; bc += 3) {
                    int column = bc + offset();
                    int row = br + offset();
                    while (g(row, column) != 0) {
                        column = bc + offset();
                        row = br + offset();
                    }
                    g(row, column) = static_cast<std::int16_t>(d);
                }
            }
            bool conflict = false;  // step 9
            for (int i = 1; i <= 9 && !conflict; ++i)
                for (int j = 1; j <= 9 && !conflict; ++j)
                    if (g(i, j) == d && HoldsElsewhere(g, i, j, d)) conflict = true;
            if (!conflict) ++d;
        }
        if (!passAbandoned) return out;
    }
}

bool IsCompleteAndValid(const Grid9& g) {
    for (int u = 0; u < 9; ++u) {
        unsigned row = 0, col = 0, box = 0;
        for (int i = 0; i < 9; ++i) {
            row |= 1u << g(u + 1, i + 1);
            col |= 1u << g(i + 1, u + 1);
            box |= 1u << g(u / 3 * 3 + i / 3 + 1, u % 3 * 3 + i % 3 + 1);
        }
        if (row != 0x3FE || col != 0x3FE || box != 0x3FE) return false;
    }
    return true;
}

// Runs the game's build and the transcription from identically prepared sources
// and compares everything either can observe.
// Returns the number of passes.
int ExpectSameAsStepByStep(float seed, const std::deque<float>& script) {
    SCOPED_TRACE(testing::Message() << "seed " << seed << ", " << script.size() << " scripted values");
    memory::MemoryForm f;
    f.random.Seed(seed);
    f.random.script = script;
    std::vector<Grid9> atEvents;
    f.pump.onProcess = [&] {
        EXPECT_EQ(f.game.st.Busy, 1);
        atEvents.push_back(f.game.st.Givens);
    };
    f.game.BuildSolutionGrid();

    memory::ScriptedRandom reference;
    reference.Seed(seed);
    reference.script = script;
    const StepByStepBuild expected = BuildStepByStep(reference);

    EXPECT_TRUE(IsCompleteAndValid(expected.givens));
    EXPECT_EQ(f.game.st.Givens, expected.givens);
    EXPECT_EQ(f.game.st.Grid, expected.givens);
    EXPECT_EQ(f.random.draws, reference.draws);
    EXPECT_EQ(f.pump.calls, static_cast<int>(expected.givensAtEvents.size()));
    EXPECT_EQ(atEvents, expected.givensAtEvents);
    // Both sources carry on from the same place.
    for (int i = 0; i < 3; ++i) EXPECT_EQ(f.random.Next(), reference.Next());
    return f.pump.calls;
}

}  // namespace

TEST(GeneratorEquivalence, MatchesTheStepsForManySeeds) {
    int multiPassBuilds = 0;
    for (int i = 1; i <= 40 && !HasFailure(); ++i)
        if (ExpectSameAsStepByStep(static_cast<float>(i) * 1234.567f, {}) > 1) ++multiPassBuilds;
    EXPECT_GE(multiPassBuilds, 10);  // abandoned passes and their event processing are covered
}

// Values at the edges of the three offsets, then the seeded generator: the build
// must switch from scripted values to generated ones at the same draw.
TEST(GeneratorEquivalence, MatchesTheStepsAcrossScriptedEdgeValues) {
    const float edges[] = {0.0f, 0.33333331f, 0.33333334f, 0.6666666f, 0.6666667f, 0.99999994f, 0.5f};
    std::deque<float> script;
    for (int i = 0; i < 997; ++i) script.push_back(edges[(i * 5) % 7]);
    for (float seed : {1.0f, 4321.25f, 86399.9f}) ExpectSameAsStepByStep(seed, script);
}

// A batch is the same values as single draws, also where a script runs out.
TEST(GeneratorEquivalence, BatchesEqualSingleDraws) {
    FastRandom single, batched;
    single.Seed(777.5f);
    batched.Seed(777.5f);
    float batch[18];
    for (int n : {18, 1, 2, 7, 0, 16}) {
        batched.NextBatch(batch, n);
        for (int i = 0; i < n; ++i) EXPECT_EQ(batch[i], single.Next()) << "batch of " << n << ", value " << i;
    }

    memory::ScriptedRandom scriptedSingle, scriptedBatched;
    for (memory::ScriptedRandom* r : {&scriptedSingle, &scriptedBatched}) {
        r->Seed(3.0f);
        r->script = {0.25f, 0.5f, 0.75f};
    }
    scriptedBatched.NextBatch(batch, 2);
    scriptedBatched.NextBatch(batch + 2, 5);
    for (int i = 0; i < 7; ++i) EXPECT_EQ(batch[i], scriptedSingle.Next()) << "value " << i;
    EXPECT_EQ(scriptedBatched.draws, 7);
    EXPECT_EQ(scriptedSingle.draws, 7);
    EXPECT_EQ(scriptedBatched.Next(), scriptedSingle.Next());
}
