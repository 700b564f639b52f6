// The game on the Windows API alone.
#include <windows.h>

#include "app/FormBuilder.h"
#include "app/Game.h"
#include "generator/FastRandom.h"
#include "platform/win32/Win32MainWindow.h"
#include "platform/win32/Win32Services.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    sudoku::win32::Win32Process process;
    sudoku::win32::Win32EventPump pump;
    sudoku::FastRandom random;
    sudoku::Ui ui;
    sudoku::Game game(ui, sudoku::Services{&pump, &random, &process});
    // A second copy ends here, before any window exists.
    if (!sudoku::form::Load(game)) return 0;

    sudoku::win32::Win32MainWindow window(instance);
    sudoku::form::Build(game, window);
    pump.Attach(window.Handle(), window.Accelerators());
    window.Show(showCommand);
    pump.Run();
    return 0;
}
