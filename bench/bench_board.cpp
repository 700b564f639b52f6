// Drawing, selecting and new games on the real window (offscreen, unless
// QT_QPA_PLATFORM says otherwise) and, for reference, on the in-memory controls.
// Benchmarks ending in /1 also process the pending events afterwards, so they
// include the repaint the change caused.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <chrono>
#include <memory>

#include "app/FormBuilder.h"
#include "app/Game.h"
#include "generator/FastRandom.h"
#include "MemoryForm.h"
#include "platform/qt/QtMainWindow.h"
#include "platform/qt/QtServices.h"

using namespace sudoku;
using Clock = std::chrono::steady_clock;

namespace {

// A complete valid grid; `shift` relabels the digits so every cell changes.
Grid9 FullGrid(int shift) {
    Grid9 g;
    for (int r = 1; r <= 9; ++r)
        for (int c = 1; c <= 9; ++c) g(r, c) = static_cast<std::int16_t>(((r - 1) * 3 + (r - 1) / 3 + c - 1 + shift) % 9 + 1);
    return g;
}

// A puzzle of that grid: every `holeEvery`-th cell (from `phase`) is blank.
struct Puzzle {
    Grid9 givens, grid;
};
Puzzle MakePuzzle(int shift, int holeEvery, int phase) {
    Puzzle p{FullGrid(shift), FullGrid(shift)};
    for (int i = phase; i < 81; i += holeEvery) p.givens.cells[i] = p.grid.cells[i] = 0;
    return p;
}

void Load(Game& game, const Puzzle& p) {
    game.st.Givens = p.givens;
    game.st.Grid = p.grid;
}

void ProcessEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

// Times every event processing, so a new game can be split into the build and the rest.
class TimedPump final : public EventPump {
public:
    std::vector<Clock::time_point> entered, left;
    void ProcessEvents() override {
        entered.push_back(Clock::now());
        inner_.ProcessEvents();
        left.push_back(Clock::now());
    }

private:
    qt::QtEventPump inner_;
};

// The real window, shown, with a game whose process services are in memory
// (no lock file, closing does not end the benchmark).
struct QtBoard {
    TimedPump pump;
    FastRandom random;
    memory::MemoryProcess process;
    Ui ui;
    Game game{ui, Services{&pump, &random, &process}};
    qt::QtMainWindow window;

    QtBoard() {
        game.Form_Load();
        form::Build(game, window);
        window.show();
        for (int i = 0; i < 5; ++i) ProcessEvents();
    }
};

QtBoard* qtBoard = nullptr;

struct MemoryBoard {
    memory::MemoryForm form;
    MemoryBoard() { form.game.Form_Load(); }
};

template <typename Board>
Game& GameOf(Board& b);
template <>
Game& GameOf(QtBoard& b) { return b.game; }
template <>
Game& GameOf(memory::MemoryForm& f) { return f.game; }

template <typename Board>
void DrawBoardUnchanged(benchmark::State& state, Board& board) {
    Game& game = GameOf(board);
    const bool paint = state.range(0) != 0;
    Load(game, MakePuzzle(0, 4, 1));
    game.DrawBoard();
    if (paint) ProcessEvents();
    for (auto _ : state) {
        game.DrawBoard();
        if (paint) ProcessEvents();
    }
}

template <typename Board>
void DrawBoardFullChange(benchmark::State& state, Board& board) {
    Game& game = GameOf(board);
    const bool paint = state.range(0) != 0;
    // Clues and blanks swap places and the digits are relabelled: every caption
    // and every background changes.
    const Puzzle puzzles[2] = {MakePuzzle(0, 2, 0), MakePuzzle(4, 2, 1)};
    int i = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Load(game, puzzles[i ^= 1]);
        state.ResumeTiming();
        game.DrawBoard();
        if (paint) ProcessEvents();
    }
}

template <typename Board>
void ClickSelectsCell(benchmark::State& state, Board& board) {
    Game& game = GameOf(board);
    const bool paint = state.range(0) != 0;
    Load(game, MakePuzzle(0, 4, 1));  // cells 2 and 6 are blank
    game.DrawBoard();
    if (paint) ProcessEvents();
    const std::int16_t cells[2] = {2, 6};
    int i = 0;
    for (auto _ : state) {
        game.lblSudoku_Click(cells[i ^= 1]);
        if (paint) ProcessEvents();
    }
    if (game.st.SelCell != cells[i]) state.SkipWithError("the click did not select the cell");
}

void BM_Qt_DrawBoardUnchanged(benchmark::State& s) { DrawBoardUnchanged(s, *qtBoard); }
void BM_Qt_DrawBoardFullChange(benchmark::State& s) { DrawBoardFullChange(s, *qtBoard); }
void BM_Qt_ClickSelectsCell(benchmark::State& s) { ClickSelectsCell(s, *qtBoard); }

void BM_Memory_DrawBoardUnchanged(benchmark::State& s) {
    MemoryBoard b;
    DrawBoardUnchanged(s, b.form);
}
void BM_Memory_DrawBoardFullChange(benchmark::State& s) {
    MemoryBoard b;
    DrawBoardFullChange(s, b.form);
}
void BM_Memory_ClickSelectsCell(benchmark::State& s) {
    MemoryBoard b;
    ClickSelectsCell(s, b.form);
}

// "Новая" on the real window up to the drawn puzzle. The reported time is the
// whole command less the build of the solution grid (from the end of the first
// event processing to the start of the last); the build's mean is a counter.
void BM_Qt_NewGameBesidesBuild(benchmark::State& state) {
    QtBoard& b = *qtBoard;
    double buildMs = 0;
    for (auto _ : state) {
        b.pump.entered.clear();
        b.pump.left.clear();
        const auto t0 = Clock::now();
        b.game.mnuNewGame_Click();
        ProcessEvents();
        const auto t1 = Clock::now();
        const auto build = b.pump.entered.back() - b.pump.left.front();
        buildMs += std::chrono::duration<double, std::milli>(build).count();
        state.SetIterationTime(std::chrono::duration<double>(t1 - t0 - build).count());
    }
    state.counters["build_ms"] = benchmark::Counter(buildMs, benchmark::Counter::kAvgIterations);
}

}  // namespace

BENCHMARK(BM_Qt_DrawBoardUnchanged)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Qt_DrawBoardFullChange)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Qt_ClickSelectsCell)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Memory_DrawBoardUnchanged)->Arg(0)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Memory_DrawBoardFullChange)->Arg(0)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Memory_ClickSelectsCell)->Arg(0)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Qt_NewGameBesidesBuild)->UseManualTime()->Iterations(200)->Repetitions(1)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    benchmark::Initialize(&argc, argv);
    QApplication app(argc, argv);
    auto board = std::make_unique<QtBoard>();
    qtBoard = board.get();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    qtBoard = nullptr;
    return 0;
}
