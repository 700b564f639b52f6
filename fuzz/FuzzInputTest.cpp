// The fuzz input: a violation aborts, so that libFuzzer keeps the input, and no input
// of up to 1024 bytes causes more than the bounded work.
#include <gtest/gtest.h>

#include <vector>

#include "FuzzInput.h"

using namespace sudoku;
using namespace sudoku::fuzz;

namespace {

using Bytes = std::vector<std::uint8_t>;

// Clock, then again and again: no winning move (99), a new game (73 of 79), «Новая» (0), by
// the game's own search (99), and four idle bytes (zeros: no events inside a build). The
// second such request comes after the first build, so that the input asks for two searches.
Bytes OwnSearchAgain(std::uint16_t clock, std::size_t size) {
    Bytes b{static_cast<std::uint8_t>(clock >> 8), static_cast<std::uint8_t>(clock)};
    for (std::size_t i = 0; b.size() < size; ++i) b.push_back(i % 8 < 4 ? Bytes{99, 73, 0, 99}[i % 4] : 0);
    return b;
}

// Clock, then the cheapest events: no winning move (99), a click on the status line (76 of 79).
Bytes TwoBytesAnEvent(std::size_t size) {
    Bytes b{0, 0};
    while (b.size() < size) b.insert(b.end(), {99, 76});
    return b;
}

Bytes RandomInput(exercise::SeededChoices& rng) {
    Bytes b(2 + rng.Below(1023));
    for (auto& v : b) v = static_cast<std::uint8_t>(rng.Below(256));
    return b;
}

}  // namespace

TEST(FuzzInput, AViolationAbortsSoThatLibFuzzerKeepsTheInput) {
    const Bytes input = OwnSearchAgain(1000, 64);
    CheckInput(input.data(), input.size());  // the game as it is: nothing to report
    const auto breakCell = [](exercise::Session& s) { s.Form().game.st.Grid.cells[0] = 5; };
    EXPECT_DEATH(CheckInput(input.data(), input.size(), breakCell), "VIOLATION cell-caption");
}

// A pass of the game's own search that fails runs its whole attempt limit: the costly
// step. One such pass per input, however often the search would fail or the input ask for
// it; every other build takes one pass, and the input's length bounds its events: one
// top-level event for every four bytes after the clock.
TEST(FuzzInput, AnInputGetsOnePassOfTheGamesOwnSearchAndLengthBoundsItsEvents) {
    exercise::SeededChoices rng(7);
    std::vector<Bytes> inputs;
    for (std::uint16_t clock = 0; clock < 16; ++clock) inputs.push_back(OwnSearchAgain(clock * 997, 600));
    const std::size_t asking = inputs.size();
    inputs.push_back(TwoBytesAnEvent(600));
    for (int i = 0; i < 60; ++i) inputs.push_back(RandomInput(rng));
    exercise::Stats all;
    int cutShort = 0;
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        const Bytes& b = inputs[i];
        const InputRun run = RunInput(b.data(), b.size());
        ASSERT_FALSE(run.violation) << run.violation->id << ": " << run.violation->detail;
        const exercise::Stats& s = run.stats;
        const long eventBound = static_cast<long>((b.size() - 2) / 4) + 1;  // actions, of one or two events
        EXPECT_LE(s.naturalBuilds, 1);
        if (i < asking) {
            EXPECT_GE(s.gamesStarted, 2) << "the second request for the game's own search not reached";
        }
        EXPECT_LE(s.buildPasses, s.gamesStarted + 1) << s.naturalBuilds << " built by the game's own search";
        EXPECT_LE(s.topLevel, 2 * eventBound);  // a winning move may be a click and an entry
        if (i == asking) {
            EXPECT_EQ(s.topLevel, eventBound) << "two bytes an event: the length is the bound";
        }
        EXPECT_LE(s.Events(), static_cast<long>(b.size()));
        all.Add(s);
        cutShort += run.cutShort;
    }
    // Still a fuzzer of the whole game: its own search that failed once, new games, solved
    // games, sizes.
    EXPECT_GT(cutShort, 0);
    EXPECT_GT(all.naturalBuilds, cutShort);
    EXPECT_GT(all.gamesStarted, 100);
    EXPECT_GT(all.gamesSolved, 0);
    EXPECT_TRUE(all.keys.test(107) && all.keys.test(109));
    EXPECT_GT(all.nested, 0);
}
