// The exerciser's own machinery: its text form, replay, grids, checks and shrinking.
#include <gtest/gtest.h>

#include <functional>

#include "Minimise.h"
#include "ScriptedGrid.h"
#include "Session.h"
#include "app/Palette.h"

using namespace sudoku;
using namespace sudoku::exercise;

namespace {

std::vector<Token> Tokens(const std::string& text) { return ParseScript(text).tokens; }

}  // namespace

TEST(ExerciserScript, TextRoundTripsAndRejectsNonsense) {
    SeededChoices choices(11);
    Session session(100.25f);
    ASSERT_FALSE(session.Generate(choices, 300));
    const Script recorded = session.RecordedScript();
    const Script parsed = ParseScript(ToText(recorded));
    EXPECT_EQ(parsed.clockSeconds, recorded.clockSeconds);
    EXPECT_EQ(parsed.tokens, recorded.tokens);

    const Script s = ParseScript("@12.50 c81 P10 k53x4s2 m:mnuGame45#77 m:r3 y t X f i");
    ASSERT_EQ(s.tokens.size(), 10u);
    EXPECT_EQ(s.tokens[2].repeat, 4);
    EXPECT_EQ(s.tokens[2].shift, 2);
    EXPECT_EQ(s.tokens[3].buildSeed, 77u);
    EXPECT_TRUE(IsSeparator(s.tokens[4].arg));
    for (const char* bad : {"c0", "c82", "p11", "k256", "m:mnuNothing", "q", "k5x", "c5z"})
        EXPECT_THROW(ParseScript(bad), std::invalid_argument) << bad;
}

TEST(ExerciserScript, ReplayOnAFreshWindowRepeatsTheRun) {
    SeededChoices choices(5);
    Options options;
    options.naturalBuildPercent = 50;  // include builds of several passes
    options.maxNaturalBuilds = 2;
    Session first(2000.75f, options);
    ASSERT_FALSE(first.Generate(choices, 600));
    ASSERT_GT(first.stats().nested, 0);

    Session second(2000.75f);
    ASSERT_FALSE(second.Replay(first.Recorded()));
    EXPECT_EQ(second.Recorded(), first.Recorded());
    const auto& a = first.Form();
    auto& b = second.Form();
    EXPECT_TRUE(a.game.st.Grid == b.game.st.Grid);
    EXPECT_TRUE(a.game.st.Givens == b.game.st.Givens);
    EXPECT_EQ(a.game.st.FontSizePt, b.game.st.FontSizePt);
    for (int n = 1; n <= 81; ++n) {
        EXPECT_EQ(a.cells[n]->caption, b.cells[n]->caption);
        EXPECT_EQ(a.cells[n]->back, b.cells[n]->back);
    }
    EXPECT_EQ(a.random.draws, b.random.draws);
}

TEST(ExerciserGrid, ScriptedDrawsMakeTheBuildLayDownThatGridInOnePass) {
    for (std::uint32_t seed = 1; seed <= 300; ++seed) ASSERT_TRUE(CompleteAndValid(GridFromSeed(seed))) << seed;
    EXPECT_FALSE(GridFromSeed(1) == GridFromSeed(2));

    memory::MemoryForm f;
    ASSERT_TRUE(f.game.Form_Load());
    const Grid9 grid = GridFromSeed(42);
    for (float v : BuildDraws(grid)) f.random.script.push_back(v);
    int passes = 0;
    Grid9 built;
    f.pump.onProcess = [&] {
        if (f.game.st.Busy == 1) ++passes;
        else built = f.game.st.Givens;  // the last call comes after the build
    };
    f.Choose("mnuNewGame");
    EXPECT_EQ(passes, 1);
    EXPECT_TRUE(built == grid);
    EXPECT_TRUE(f.random.script.empty());
}

// Every check can fail: each broken state below is reported under its own name.
TEST(ExerciserChecker, ReportsEachBrokenInvariant) {
    struct Case {
        const char* id;
        std::function<void(memory::MemoryForm&)> breakIt;
    };
    auto firstCell = [](memory::MemoryForm& f, bool clue) {
        for (int n = 1; n <= 81; ++n)
            if ((f.game.st.Givens.cells[n - 1] != 0) == clue) return n;
        return 0;
    };
    const std::vector<Case> cases{
        {"cell-and-entry-chosen", [&](auto& f) { f.game.st.SelCell = firstCell(f, false), f.game.st.SelDigit = 3; }},
        {"selected-clue", [&](auto& f) { f.game.st.SelCell = firstCell(f, true); }},
        {"clue-overwritten", [&](auto& f) { auto& v = f.game.st.Grid.cells[firstCell(f, true) - 1]; v = v % 9 + 1; }},
        {"cell-caption", [&](auto& f) { f.Cell(firstCell(f, false)).caption = "7"; }},
        {"clue-colour", [&](auto& f) { f.Cell(firstCell(f, true)).back = palette::kCellPlain; }},
        {"selection-colour", [&](auto& f) { f.Cell(firstCell(f, false)).back = palette::kCellSelected; }},
        {"conflict-colour", [&](auto& f) { f.Cell(firstCell(f, false)).back = palette::kCellConflict; }},
        {"cell-colour", [&](auto& f) { f.Cell(firstCell(f, false)).back = palette::kPicker; }},
        {"picker-highlight", [](auto& f) { f.Picker(4).back = palette::kPickerChosen; }},
        {"difficulty-mark", [](auto& f) { f.Item("mnuGame67").checked = true; }},
        {"difficulty-pair", [](auto& f) { f.Item("mnuGame12").checked = false, f.game.st.HoleMin = 8, f.game.st.HoleMax = 9; }},
        {"picker-option-mark", [](auto& f) { f.Item("mnuRightDigNo").checked = true; }},
        {"picker-visibility", [](auto& f) { f.Picker(2).visible = false; }},
        {"esc-mark", [](auto& f) { f.Item("mnuEscMin").checked = true; }},
        {"size-ladder", [](auto& f) { f.game.st.FontSizePt = 13; }},
        {"cell-layout", [](auto& f) { f.Cell(40).left += 1; }},
        {"picker-layout", [](auto& f) { f.Picker(10).top += 1; }},
        {"status-layout", [](auto& f) { f.info->top = 0; }},
        {"busy-outside-build", [](auto& f) { f.game.st.Busy = 1; }},
        {"timer-outside-build", [](auto& f) { f.timer.enabled = true; }},
        {"new-game-flag", [](auto& f) { f.game.NewGameInProgress = 1; }},
        {"status-text", [](auto& f) { f.info->caption = "Судоку пройден"; }},
        {"solved-incomplete", [](auto& f) { f.game.st.Solved = 1; }},
        {"digit-range", [&](auto& f) { f.game.st.Grid.cells[firstCell(f, false) - 1] = 12; }},
    };
    for (const Case& c : cases) {
        Session session(300.0f);
        ASSERT_FALSE(session.Replay(Tokens("m:mnuGame12#9")));
        Checker checker;
        ASSERT_NO_THROW(checker.Invariants(session.Form(), Point::TopLevel));
        c.breakIt(session.Form());
        try {
            checker.Invariants(session.Form(), Point::TopLevel);
            ADD_FAILURE() << c.id << " not reported";
        } catch (const ViolationError& e) {
            EXPECT_EQ(e.violation.id, c.id);
        }
    }

    // A complete valid grid that was never reported as solved.
    memory::MemoryForm f;
    ASSERT_TRUE(f.game.Form_Load());
    f.game.st.Grid = GridFromSeed(3);
    for (int n = 1; n <= 81; ++n) f.Cell(n).caption = std::to_string(f.game.st.Grid.cells[n - 1]);
    try {
        Checker().Invariants(f, Point::TopLevel);
        ADD_FAILURE() << "solved-unnoticed not reported";
    } catch (const ViolationError& e) {
        EXPECT_EQ(e.violation.id, "solved-unnoticed");
    }
}

TEST(ExerciserMinimise, KeepsOnlyTheEventsTheFailureNeeds) {
    // Fails when a click on cell 5 is followed, at any distance, by picker 3.
    const ScriptRunner run = [](const Script& s) -> std::optional<Violation> {
        bool cell = false;
        for (const Token& t : s.tokens) {
            if (t.kind == Kind::CellClick && t.arg == 5) cell = true;
            if (cell && t.kind == Kind::PickerClick && t.arg == 3) return Violation{"planted", ""};
        }
        return std::nullopt;
    };
    const Script failing = ParseScript("@1.00 c1 k27x5 c5 y p2 m:mnuSizeU c9 y y p3 c5 t X");
    const MinimiseResult m = Minimise(failing, "planted", run, 30);
    EXPECT_TRUE(m.complete);
    EXPECT_EQ(ToText(m.script), "@1.00 c5 p3");
    EXPECT_EQ(m.violation.id, "planted");

    const MinimiseResult none = Minimise(ParseScript("@1.00 c1"), "planted", run, 30);
    EXPECT_EQ(none.script.tokens.size(), 1u);  // does not fail: left as it was
}

TEST(ExerciserRun, ReachesEveryEventProcessingStepAndTheSolvedBoard) {
    SeededChoices choices(99);
    Options options;
    options.maxNaturalBuilds = 3;
    Session session(4321.5f, options);
    const auto v = session.Generate(choices, 4000);
    ASSERT_FALSE(v) << v->id << ": " << v->detail;
    const Stats& s = session.stats();
    EXPECT_GT(s.pumpSteps[static_cast<int>(Point::BeforeBuild)], 0);
    EXPECT_GT(s.pumpSteps[static_cast<int>(Point::InBuild)], 0);
    EXPECT_GT(s.pumpSteps[static_cast<int>(Point::AfterBuild)], 0);
    EXPECT_GT(s.nested, s.topLevel / 2);
    EXPECT_GT(s.gamesSolved, 0);
    EXPECT_GT(s.eventsWhileSolved, 0);
    EXPECT_GT(s.refusedChecked, 0);
    EXPECT_GT(s.closes, 0);
}
