// Drawing, selecting and resizing on the real Windows window, shown, each followed by
// the processing of pending messages, so the repaints the change caused are included.
//   bench_board_win32 [iterations]     (under wine: wine bench_board_win32.exe)
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "app/FormBuilder.h"
#include "app/Game.h"
#include "generator/FastRandom.h"
#include "platform/memory/MemoryControls.h"
#include "platform/win32/DpiApi.h"
#include "scene/DeviceGeometry.h"
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

// The median over five rounds of n steps, per step: the machine may be busy with other work.
double Report(const char* name, int n, const std::function<void(int)>& step) {
    std::vector<double> rounds;
    for (int round = 0; round < 5; ++round) {
        const auto t0 = Clock::now();
        for (int i = 0; i < n; ++i) step(i);
        rounds.push_back(std::chrono::duration<double, std::micro>(Clock::now() - t0).count() / n);
    }
    std::sort(rounds.begin(), rounds.end());
    std::printf("%-44s %10.1f us\n", name, rounds[2]);
    return rounds[2];
}

// A press and a release of the left button at the middle of a label, as Windows sends them.
void Click(HWND window, const Label& label, unsigned dpi) {
    const int x = scene::Scale::FromDpi(dpi).Device(label.Left() + label.Width() / 2);
    const int y = scene::Scale::FromDpi(dpi).Device(label.Top() + label.Height() / 2);
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

}  // namespace

int main(int argc, char** argv) {
    const int n = argc > 1 ? std::atoi(argv[1]) : 200;
    win32::DpiApi::Load();
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
    const double idle = Report("DrawBoard, nothing changed", n * 10, [&](int) {
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
    const unsigned dpi = win32::DpiApi::WindowDpi(window.Handle());
    // Far apart: the cell that loses the selection at the top left, the one that gains it at the bottom.
    const double click = Report("mouse click on a cell (press, release)", n, [&](int i) {
        Click(window.Handle(), *ui.lblSudoku[i & 1 ? 2 : 78], dpi);
        pump.ProcessEvents();
    });
    const double layout = Report("full re-layout (one size step)", n / 2 + 1, [&](int i) {
        if (i & 1) {
            game.mnuSizeD_Click();
        } else {
            game.mnuSizeU_Click();
        }
        pump.ProcessEvents();
    });
    std::printf("at %u DPI; against DrawBoard that changes nothing: click %.1fx, re-layout %.1fx\n", dpi,
                click / idle, layout / idle);
    std::printf("targets: re-layout <= 3000 us, click <= 500 us\n");
    std::fflush(stdout);
    ExitProcess(0);
}
