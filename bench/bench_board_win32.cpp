// Drawing, selecting and resizing on the real Windows window, shown, each followed by
// the processing of pending messages, so the repaints the change caused are included.
//   bench_board_win32 [iterations]     (under wine: wine bench_board_win32.exe)
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include "app/FormBuilder.h"
#include "app/Game.h"
#include "generator/FastRandom.h"
#include "platform/memory/MemoryControls.h"
#include "platform/win32/Win32MainWindow.h"
#include "platform/win32/Win32Services.h"

using namespace sudoku;
using Clock = std::chrono::steady_clock;

namespace {

// A complete valid grid with every `holeEvery`-th cell from `phase` blank; `shift`
// relabels the digits, so two such puzzles differ in every cell.
void Load(Game& game, int shift, int holeEvery, int phase) {
    for (int r = 1; r <= 9; ++r) {
        for (int c = 1; c <= 9; ++c) {
            const int i = (r - 1) * 9 + c - 1;
            const auto v = static_cast<std::int16_t>(((r - 1) * 3 + (r - 1) / 3 + c - 1 + shift) % 9 + 1);
            const std::int16_t d = (i >= phase && (i - phase) % holeEvery == 0) ? 0 : v;
            game.st.Givens(r, c) = d;
            game.st.Grid(r, c) = d;
        }
    }
}

void Report(const char* name, int n, const std::function<void(int)>& step) {
    const auto t0 = Clock::now();
    for (int i = 0; i < n; ++i) step(i);
    const double us = std::chrono::duration<double, std::micro>(Clock::now() - t0).count() / n;
    std::printf("%-44s %10.1f us\n", name, us);
}

}  // namespace

int main(int argc, char** argv) {
    const int n = argc > 1 ? std::atoi(argv[1]) : 200;
    memory::MemoryProcess process;  // closing does not end the benchmark
    win32::Win32EventPump pump;
    FastRandom random;
    Ui ui;
    Game game(ui, Services{&pump, &random, &process});
    game.Form_Load();
    win32::Win32MainWindow window(GetModuleHandleW(nullptr));
    form::Build(game, window);
    pump.Attach(window.Handle(), window.Accelerators());
    window.Show(SW_SHOWNORMAL);
    pump.ProcessEvents();

    Load(game, 0, 4, 1);
    game.DrawBoard();
    pump.ProcessEvents();
    Report("DrawBoard, nothing changed", n * 10, [&](int) {
        game.DrawBoard();
        pump.ProcessEvents();
    });
    Report("DrawBoard, every cell changed", n, [&](int i) {
        Load(game, (i & 1) * 4, 2, i & 1);
        game.DrawBoard();
        pump.ProcessEvents();
    });
    Load(game, 0, 4, 1);  // cells 2 and 6 are blank
    game.DrawBoard();
    Report("click selects a cell", n, [&](int i) {
        game.lblSudoku_Click(static_cast<std::int16_t>(i & 1 ? 2 : 6));
        pump.ProcessEvents();
    });
    Report("size up and down again (two full layouts)", n / 4 + 1, [&](int) {
        game.mnuSizeU_Click();
        pump.ProcessEvents();
        game.mnuSizeD_Click();
        pump.ProcessEvents();
    });
    std::fflush(stdout);
    ExitProcess(0);
}
